// The ASE keyword spellings, in one place, and the recognizer that maps a
// token to its keyword without comparing it against every spelling.
#pragma once

#include <cstdint>
#include <string_view>

namespace tessaly {

// X(identifier, spelling). The spellings are the file format's own, its
// misspelt "*UVW_NOUSE_AMT" included.
#define TESSALY_ASE_KEYWORDS(X)                        \
  X(AsciiExport, "*3DSMAX_ASCIIEXPORT")                \
  X(Comment, "*COMMENT")                               \
  X(Scene, "*SCENE")                                   \
  X(MaterialList, "*MATERIAL_LIST")                    \
  X(GeomObject, "*GEOMOBJECT")                         \
  X(Group, "*GROUP")                                   \
  X(SceneFileName, "*SCENE_FILENAME")                  \
  X(SceneFirstFrame, "*SCENE_FIRSTFRAME")              \
  X(SceneLastFrame, "*SCENE_LASTFRAME")                \
  X(SceneFrameSpeed, "*SCENE_FRAMESPEED")              \
  X(SceneTicksPerFrame, "*SCENE_TICKSPERFRAME")        \
  X(SceneBackgroundStatic, "*SCENE_BACKGROUND_STATIC") \
  X(SceneAmbientStatic, "*SCENE_AMBIENT_STATIC")       \
  X(MapName, "*MAP_NAME")                              \
  X(MapClass, "*MAP_CLASS")                            \
  X(MapSubNo, "*MAP_SUBNO")                            \
  X(MapAmount, "*MAP_AMOUNT")                          \
  X(Bitmap, "*BITMAP")                                 \
  X(MapType, "*MAP_TYPE")                              \
  X(UvwUOffset, "*UVW_U_OFFSET")                       \
  X(UvwVOffset, "*UVW_V_OFFSET")                       \
  X(UvwUTiling, "*UVW_U_TILING")                       \
  X(UvwVTiling, "*UVW_V_TILING")                       \
  X(UvwAngle, "*UVW_ANGLE")                            \
  X(UvwBlur, "*UVW_BLUR")                              \
  X(UvwBlurOffset, "*UVW_BLUR_OFFSET")                 \
  X(UvwNoiseAmount, "*UVW_NOUSE_AMT")                  \
  X(UvwNoiseSize, "*UVW_NOISE_SIZE")                   \
  X(UvwNoiseLevel, "*UVW_NOISE_LEVEL")                 \
  X(UvwNoisePhase, "*UVW_NOISE_PHASE")                 \
  X(BitmapFilter, "*BITMAP_FILTER")                    \
  X(Material, "*MATERIAL")                             \
  X(MaterialName, "*MATERIAL_NAME")                    \
  X(MaterialClass, "*MATERIAL_CLASS")                  \
  X(MaterialAmbient, "*MATERIAL_AMBIENT")              \
  X(MaterialDiffuse, "*MATERIAL_DIFFUSE")              \
  X(MaterialSpecular, "*MATERIAL_SPECULAR")            \
  X(MaterialShine, "*MATERIAL_SHINE")                  \
  X(MaterialShineStrength, "*MATERIAL_SHINESTRENGTH")  \
  X(MaterialTransparency, "*MATERIAL_TRANSPARENCY")    \
  X(MaterialWireSize, "*MATERIAL_WIRESIZE")            \
  X(MaterialShading, "*MATERIAL_SHADING")              \
  X(MaterialXPFalloff, "*MATERIAL_XP_FALLOFF")         \
  X(MaterialSelfIllum, "*MATERIAL_SELFILLUM")          \
  X(MaterialFalloff, "*MATERIAL_FALLOFF")              \
  X(MaterialXPType, "*MATERIAL_XP_TYPE")               \
  X(MapAmbient, "*MAP_AMBIENT")                        \
  X(MapDiffuse, "*MAP_DIFFUSE")                        \
  X(MapSpecular, "*MAP_SPECULAR")                      \
  X(MapShine, "*MAP_SHINE")                            \
  X(MapShineStrength, "*MAP_SHINESTRENGTH")            \
  X(MapSelfIllum, "*MAP_SELFILLUM")                    \
  X(MapOpacity, "*MAP_OPACITY")                        \
  X(MapFilterColor, "*MAP_FILTERCOLOR")                \
  X(MapBump, "*MAP_BUMP")                              \
  X(MapReflect, "*MAP_REFLECT")                        \
  X(MapRefract, "*MAP_REFRACT")                        \
  X(NodeName, "*NODE_NAME")                            \
  X(NodeTM, "*NODE_TM")                                \
  X(Mesh, "*MESH")                                     \
  X(PropMotionBlur, "*PROP_MOTIONBLUR")                \
  X(PropCastShadow, "*PROP_CASTSHADOW")                \
  X(PropRecvShadow, "*PROP_RECVSHADOW")                \
  X(MaterialRef, "*MATERIAL_REF")                      \
  X(InheritPos, "*INHERIT_POS")                        \
  X(InheritRot, "*INHERIT_ROT")                        \
  X(InheritScl, "*INHERIT_SCL")                        \
  X(TMRow0, "*TM_ROW0")                                \
  X(TMRow1, "*TM_ROW1")                                \
  X(TMRow2, "*TM_ROW2")                                \
  X(TMRow3, "*TM_ROW3")                                \
  X(TMPos, "*TM_POS")                                  \
  X(TMRotAxis, "*TM_ROTAXIS")                          \
  X(TMRotAngle, "*TM_ROTANGLE")                        \
  X(TMScale, "*TM_SCALE")                              \
  X(TMScaleAxis, "*TM_SCALEAXIS")                      \
  X(TMScaleAxisAng, "*TM_SCALEAXISANG")                \
  X(TimeValue, "*TIMEVALUE")                           \
  X(MeshNumVertex, "*MESH_NUMVERTEX")                  \
  X(MeshNumFaces, "*MESH_NUMFACES")                    \
  X(MeshVertexList, "*MESH_VERTEX_LIST")               \
  X(MeshFaceList, "*MESH_FACE_LIST")                   \
  X(MeshTVertList, "*MESH_TVERTLIST")                  \
  X(MeshCVertList, "*MESH_CVERTLIST")                  \
  X(MeshTFaceList, "*MESH_TFACELIST")                  \
  X(MeshCFaceList, "*MESH_CFACELIST")                  \
  X(MeshNumTVertex, "*MESH_NUMTVERTEX")                \
  X(MeshNumCVertex, "*MESH_NUMCVERTEX")                \
  X(MeshNormals, "*MESH_NORMALS")                      \
  X(MeshVertex, "*MESH_VERTEX")                        \
  X(MeshFace, "*MESH_FACE")                            \
  X(MeshSmoothing, "*MESH_SMOOTHING")                  \
  X(MeshMtlId, "*MESH_MTLID")                          \
  X(MeshVertexNormal, "*MESH_VERTEXNORMAL")            \
  X(MeshFaceNormal, "*MESH_FACENORMAL")                \
  X(MeshTVert, "*MESH_TVERT")                          \
  X(MeshVertCol, "*MESH_VERTCOL")                      \
  X(MeshTFace, "*MESH_TFACE")                          \
  X(MeshCFace, "*MESH_CFACE")

enum class Kw : uint8_t {
  None,
#define TESSALY_KW_ENUM(id, spelling) id,
  TESSALY_ASE_KEYWORDS(TESSALY_KW_ENUM)
#undef TESSALY_KW_ENUM
      Count
};

inline constexpr int kKeywordCount = static_cast<int>(Kw::Count);

// The spelling of a keyword as the format writes it ("" for Kw::None).
std::string_view KeywordSpelling(Kw keyword);

namespace keyword_detail {
Kw LookupStarred(std::string_view token);
}

// The keyword a token is, comparing whole tokens and ignoring the case of the
// ASCII letters A to Z only; Kw::None for every other token. Tokens that do
// not start with '*' (numbers, labels, braces) are turned away at once.
inline Kw LookupKeyword(std::string_view token) {
  if (token.size() < 5 || token[0] != '*') return Kw::None;
  return keyword_detail::LookupStarred(token);
}

}  // namespace tessaly
