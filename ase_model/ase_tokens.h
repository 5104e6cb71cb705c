// The ASE keyword spellings, in one place, and the recognizer that maps a
// token to its keyword without comparing it against every spelling.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

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

// How tokens are matched against keywords: word by word, with the 0x20 bit
// of the letters A to Z (and of nothing else) ignored.
namespace keyword_detail {

inline constexpr std::string_view kSpellings[] = {"",
#define TESSALY_KW_SPELLING(id, spelling) spelling,
                                                  TESSALY_ASE_KEYWORDS(TESSALY_KW_SPELLING)
#undef TESSALY_KW_SPELLING
};
static_assert(std::size(kSpellings) == kKeywordCount);

// The longest spelling: three overlapping words cover every keyword.
inline constexpr size_t kMaxLength = [] {
  size_t longest = 0;
  for (const std::string_view s : kSpellings)
    longest = s.size() > longest ? s.size() : longest;
  return longest;
}();
static_assert(kMaxLength <= 24);

// Four or eight bytes as one word in the machine's byte order (assembled
// byte by byte when evaluated at compile time).
template <size_t n>
constexpr uint64_t Load(const char* p) {
  if (std::is_constant_evaluated()) {
    uint64_t word = 0;
    for (size_t i = 0; i < n; ++i) {
      const uint64_t byte = static_cast<unsigned char>(p[i]);
      word |= byte << (std::endian::native == std::endian::little ? 8 * i : 8 * (n - 1 - i));
    }
    return word;
  } else if constexpr (n == 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    return word;
  } else {
    uint32_t word;
    std::memcpy(&word, p, 4);
    return word;
  }
}

// A text of 5 to 24 bytes as three words that together cover it: from eight
// bytes on the words at 0, at 8 (n - 8 when shorter than 16) and at n - 8;
// below that the four bytes at 0 (twice) and at n - 4.
struct Words {
  uint64_t w[3];
};
constexpr Words Split(const char* p, size_t n) {
  if (n >= 8) return {{Load<8>(p), Load<8>(p + (n >= 16 ? 8 : n - 8)), Load<8>(p + n - 8)}};
  const uint64_t first = Load<4>(p);
  return {{first, first, Load<4>(p + n - 4)}};
}

// A keyword as the words of its lower-case spelling, with the 0x20 bits a
// token may differ in (set for letters only). Kw::None has length 0.
struct Pattern {
  Words lower{};
  Words caseBits{};
  size_t length = 0;
};

inline constexpr auto kPatterns = [] {
  std::array<Pattern, kKeywordCount> patterns{};
  for (size_t i = 1; i < patterns.size(); ++i) {
    const std::string_view s = kSpellings[i];
    char lower[kMaxLength] = {}, caseBits[kMaxLength] = {};
    for (size_t k = 0; k < s.size(); ++k) {
      const bool upper = s[k] >= 'A' && s[k] <= 'Z';
      lower[k] = upper ? static_cast<char>(s[k] + 32) : s[k];
      caseBits[k] = upper ? 0x20 : 0;
    }
    patterns[i] = {Split(lower, s.size()), Split(caseBits, s.size()), s.size()};
  }
  return patterns;
}();

constexpr bool Same(const Words& words, const Pattern& p) {
  return (((words.w[0] ^ p.lower.w[0]) & ~p.caseBits.w[0]) |
          ((words.w[1] ^ p.lower.w[1]) & ~p.caseBits.w[1]) |
          ((words.w[2] ^ p.lower.w[2]) & ~p.caseBits.w[2])) == 0;
}

Kw LookupStarred(std::string_view token);

}  // namespace keyword_detail

// The keyword a token is, comparing whole tokens and ignoring the case of the
// ASCII letters A to Z only; Kw::None for every other token. Tokens that do
// not start with '*' (numbers, labels, braces) are turned away at once.
inline Kw LookupKeyword(std::string_view token) {
  if (token.size() < 5 || token[0] != '*') return Kw::None;
  return keyword_detail::LookupStarred(token);
}

// Whether the token is the given keyword, by the same rule, without a
// lookup: for a reader that expects one keyword above all others.
inline bool IsKeyword(std::string_view token, Kw keyword) {
  const keyword_detail::Pattern& p = keyword_detail::kPatterns[static_cast<size_t>(keyword)];
  return p.length != 0 && token.size() == p.length &&
         keyword_detail::Same(keyword_detail::Split(token.data(), token.size()), p);
}

}  // namespace tessaly
