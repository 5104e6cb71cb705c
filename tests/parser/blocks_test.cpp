// The block readers: scene, texture maps, materials, geometric objects with
// node transforms, groups, and the mesh block.
#include <array>
#include <functional>
#include <string>

#include "parser_test_util.h"

namespace tessaly {
namespace {

using test::LoadText;
using test::MustLoad;

void ExpectColor(const TASEColor& c, float r, float g, float b, float a, const std::string& what) {
  EXPECT_EQ(c.R, r) << what;
  EXPECT_EQ(c.G, g) << what;
  EXPECT_EQ(c.B, b) << what;
  EXPECT_EQ(c.A, a) << what;
}

void ExpectVector(const TASEVector3& v, float x, float y, float z, const std::string& what) {
  EXPECT_EQ(v.X, x) << what;
  EXPECT_EQ(v.Y, y) << what;
  EXPECT_EQ(v.Z, z) << what;
}

// ---------------------------------------------------------------- scene

TEST(Scene, DefaultsAndEveryKeyword) {
  const auto empty = MustLoad("*SCENE { *SCENE_OTHER 1 2 3 }");
  const TASEScene& d = *empty->Scene;
  EXPECT_EQ(d.FileName, "");
  EXPECT_EQ(d.FirstFrame, 0);
  EXPECT_EQ(d.LastFrame, 0);
  EXPECT_EQ(d.FrameSpeed, 0);
  EXPECT_EQ(d.TicksPerFrame, 0);
  ExpectColor(d.BackgroundStatic, 0, 0, 0, 1, "background default");
  ExpectColor(d.AmbientStatic, 0, 0, 0, 1, "ambient default");

  const auto doc = MustLoad(
      "*SCENE {\n"
      "\t*SCENE_FILENAME \"my   scene.max\"\n"
      "\t*SCENE_FIRSTFRAME -5\n"
      "\t*scene_lastframe 100\n"
      "\t*SCENE_FRAMESPEED 30\n"
      "\t*SCENE_TICKSPERFRAME 160\n"
      "\t*SCENE_TICKSPERFRAME 80\n"
      "\t*SCENE_BACKGROUND_STATIC 0.0566 0.2208 0.4000\n"
      "\t*Scene_Ambient_Static 1e0 -0.5 2\n"
      "}\n");
  const TASEScene& s = *doc->Scene;
  EXPECT_EQ(s.FileName, "my scene.max");
  EXPECT_EQ(s.FirstFrame, -5);
  EXPECT_EQ(s.LastFrame, 100);
  EXPECT_EQ(s.FrameSpeed, 30);
  EXPECT_EQ(s.TicksPerFrame, 80);
  ExpectColor(s.BackgroundStatic, 0.0566f, 0.2208f, 0.4f, 1, "background");
  ExpectColor(s.AmbientStatic, 1, -0.5f, 2, 1, "ambient");
}

TEST(Scene, ErrorKeepsEarlierValues) {
  const auto r = LoadText("*SCENE { *SCENE_FIRSTFRAME 3 *SCENE_LASTFRAME 2.0 }");
  EXPECT_EQ(r.message, "'2.0' is not a valid integer value");
  EXPECT_EQ(r.doc->Scene->FirstFrame, 3);
}

// ---------------------------------------------------------------- maps

std::string InMaterial(const std::string& body) {
  return "*MATERIAL_LIST {\n*MATERIAL 0 {\n" + body + "\n}\n}\n";
}

const TASEMaterial& Material0(const TASEFile& doc) {
  static const TASEMaterial none;
  if (!doc.MaterialList || !doc.MaterialList->GetMaterial(0)) {
    ADD_FAILURE() << "no material 0";
    return none;
  }
  return *doc.MaterialList->GetMaterial(0);
}

TEST(Map, EmptyBlockHasEveryDefault) {
  const auto doc = MustLoad(InMaterial("*MAP_DIFFUSE { }"));
  const TASEMap& m = *Material0(*doc).Maps[kMapDiffuse];
  EXPECT_EQ(m.Name, "");
  EXPECT_EQ(m.MapClass, "");
  EXPECT_EQ(m.SubNo, 0);
  EXPECT_EQ(m.Amount, 0.0f);
  EXPECT_EQ(m.Bitmap, "");
  EXPECT_EQ(m.MapType, "");
  EXPECT_EQ(m.UOffset, 0.0f);
  EXPECT_EQ(m.VOffset, 0.0f);
  EXPECT_EQ(m.UTiling, 0.0f);
  EXPECT_EQ(m.VTiling, 0.0f);
  EXPECT_EQ(m.Angle, 0.0f);
  EXPECT_EQ(m.Blur, 0.0f);
  EXPECT_EQ(m.BlurOffset, 0.0f);
  EXPECT_EQ(m.NoiseAmount, 0.0f);
  EXPECT_EQ(m.NoiseSize, 0.0f);
  EXPECT_EQ(m.NoiseLevel, 0.0f);
  EXPECT_EQ(m.NoisePhase, 0.0f);
  EXPECT_EQ(m.BitmapFilter, "");
}

TEST(Map, EveryKeyword) {
  const auto doc =
      MustLoad(InMaterial("*MAP_DIFFUSE {\n"
                          "  *MAP_NAME \"Map  #1\"\n"
                          "  *MAP_CLASS \"Bitmap\"\n"
                          "  *MAP_SUBNO 1\n"
                          "  *MAP_AMOUNT 0.5\n"
                          "  *BITMAP \"C:\\maps\\wall tile.tga\"\n"
                          "  *MAP_TYPE Screen\n"
                          "  *UVW_U_OFFSET 0.1\n"
                          "  *UVW_V_OFFSET -0.2\n"
                          "  *UVW_U_TILING 2\n"
                          "  *UVW_V_TILING 3\n"
                          "  *UVW_ANGLE 1.2566\n"
                          "  *UVW_BLUR 1.5\n"
                          "  *UVW_BLUR_OFFSET 0.25\n"
                          "  *UVW_NOUSE_AMT 1.75\n"
                          "  *UVW_NOISE_AMT 9\n"  // not the format's spelling: passed over
                          "  *UVW_NOISE_SIZE 4\n"
                          "  *UVW_NOISE_LEVEL 5\n"
                          "  *UVW_NOISE_PHASE 6\n"
                          "  *BITMAP_FILTER \"Pyramidal\"\n"
                          "}"));
  const TASEMap& m = *Material0(*doc).Maps[kMapDiffuse];
  EXPECT_EQ(m.Name, "Map #1");
  EXPECT_EQ(m.MapClass, "Bitmap");
  EXPECT_EQ(m.SubNo, 1);
  EXPECT_EQ(m.Amount, 0.5f);
  EXPECT_EQ(m.Bitmap, "C:\\maps\\wall tile.tga");
  EXPECT_EQ(m.MapType, "Screen");
  EXPECT_EQ(m.UOffset, 0.1f);
  EXPECT_EQ(m.VOffset, -0.2f);
  EXPECT_EQ(m.UTiling, 2.0f);
  EXPECT_EQ(m.VTiling, 3.0f);
  EXPECT_EQ(m.Angle, 1.2566f);
  EXPECT_EQ(m.Blur, 1.5f);
  EXPECT_EQ(m.BlurOffset, 0.25f);
  EXPECT_EQ(m.NoiseAmount, 1.75f);
  EXPECT_EQ(m.NoiseSize, 4.0f);
  EXPECT_EQ(m.NoiseLevel, 5.0f);
  EXPECT_EQ(m.NoisePhase, 6.0f);
  EXPECT_EQ(m.BitmapFilter, "\"Pyramidal\"");  // one word: quotes kept
}

TEST(Map, ValueForms) {
  const struct {
    const char* what;
    std::string body;
    std::function<void(const TASEMap&)> check;
  } cases[] = {
      {"lower-case keywords", "*map_name \"n\" *uvw_u_tiling 4",
       [](const TASEMap& m) {
         EXPECT_EQ(m.Name, "n");
         EXPECT_EQ(m.UTiling, 4.0f);
       }},
      {"later value wins", "*MAP_AMOUNT 1 *MAP_AMOUNT 2",
       [](const TASEMap& m) { EXPECT_EQ(m.Amount, 2.0f); }},
      {"one word keeps quotes", "*MAP_TYPE \"Spherical\"",
       [](const TASEMap& m) { EXPECT_EQ(m.MapType, "\"Spherical\""); }},
      {"quoted value swallows the next keyword", "*MAP_NAME \"a *MAP_SUBNO 3 b\" *MAP_AMOUNT 1",
       [](const TASEMap& m) {
         EXPECT_EQ(m.Name, "a *MAP_SUBNO 3 b");
         EXPECT_EQ(m.SubNo, 0);
         EXPECT_EQ(m.Amount, 1.0f);
       }},
      {"single quotes run on to a double quote", "*MAP_NAME 'a' *MAP_SUBNO 3\"",
       [](const TASEMap& m) {
         EXPECT_EQ(m.Name, "a' *MAP_SUBNO 3");
         EXPECT_EQ(m.SubNo, 0);
       }},
      {"keyword inside an unknown nested block",
       "*MAP_NAME \"outer\" *MAP_OUTPUT { *MAP_NAME \"inner\" }",
       [](const TASEMap& m) { EXPECT_EQ(m.Name, "inner"); }},
      {"a keyword's prefix is not the keyword", "*BITMAP_FILTER Box *BITMAPX \"no\"",
       [](const TASEMap& m) {
         EXPECT_EQ(m.BitmapFilter, "Box");
         EXPECT_EQ(m.Bitmap, "");
       }},
  };
  for (const auto& c : cases) {
    const auto doc = MustLoad(InMaterial("*MAP_BUMP { " + c.body + " }"));
    const auto& map = Material0(*doc).Maps[kMapBump];
    ASSERT_TRUE(map) << c.what;
    SCOPED_TRACE(c.what);
    c.check(*map);
  }
}

TEST(Map, OneWordValueTakesTheClosingBrace) {
  // The brace still closes the map, whose loop then reads one more token:
  // the material's next keyword, which is lost to the material.
  const auto doc =
      MustLoad(InMaterial("*MAP_BUMP { *MAP_TYPE } *MATERIAL_SHINE 0.5 *MATERIAL_WIRESIZE 2"));
  const TASEMaterial& m = Material0(*doc);
  EXPECT_EQ(m.Maps[kMapBump]->MapType, "}");
  EXPECT_EQ(m.Shine, 0.0f);
  EXPECT_EQ(m.WireSize, 2.0f);
  // When that token is the material's own "}", the depth falls below the
  // map's entry depth.
  const auto r = LoadText(InMaterial("*MAP_BUMP { *MAP_TYPE }"));
  EXPECT_EQ(r.message, "Brackets do not match!");
  EXPECT_EQ(r.line, 4);
}

// ---------------------------------------------------------------- materials

TEST(Material, Defaults) {
  const auto doc = MustLoad(InMaterial("*MATERIAL_DIFFUSE 0.5 0.25 1"));
  const TASEMaterial& m = Material0(*doc);
  EXPECT_EQ(m.Name, "");
  EXPECT_EQ(m.MaterialClass, "");
  ExpectColor(m.Ambient, 0, 0, 0, 1, "ambient");
  ExpectColor(m.Diffuse, 0.5f, 0.25f, 1, 1, "diffuse");
  ExpectColor(m.Specular, 0, 0, 0, 1, "specular");
  EXPECT_EQ(m.Shine, 0.0f);
  EXPECT_EQ(m.ShineStrength, 0.0f);
  EXPECT_EQ(m.Transparency, 1.0f);
  EXPECT_EQ(m.WireSize, 1.0f);
  EXPECT_EQ(m.Shading, "");
  EXPECT_EQ(m.XPFalloff, 0.0f);
  EXPECT_EQ(m.SelfIllum, 0.0f);
  EXPECT_EQ(m.Falloff, "");
  EXPECT_EQ(m.XPType, "");
  for (const auto& map : m.Maps)
    EXPECT_FALSE(map);
}

TEST(Material, EveryKeywordAndMapSlot) {
  const char* const kMapKeywords[kMapSlotCount] = {
      "*MAP_AMBIENT",       "*MAP_DIFFUSE",   "*MAP_SPECULAR", "*MAP_SHINE",
      "*MAP_SHINESTRENGTH", "*MAP_SELFILLUM", "*MAP_OPACITY",  "*MAP_FILTERCOLOR",
      "*MAP_BUMP",          "*MAP_REFLECT",   "*MAP_REFRACT"};
  std::string body =
      "*MATERIAL_NAME \"Red  Paint\"\n"
      "*MATERIAL_CLASS \"Standard\"\n"
      "*MATERIAL_AMBIENT 0.1 0.2 0.3\n"
      "*MATERIAL_DIFFUSE 0.4 0.5 0.6\n"
      "*MATERIAL_SPECULAR 0.7 0.8 0.9\n"
      "*MATERIAL_SHINE 0.25\n"
      "*MATERIAL_SHINESTRENGTH 0.05\n"
      "*MATERIAL_TRANSPARENCY 0\n"
      "*MATERIAL_WIRESIZE 2\n"
      "*MATERIAL_SHADING Blinn\n"
      "*MATERIAL_XP_FALLOFF 0.125\n"
      "*MATERIAL_SELFILLUM 0.75\n"
      "*MATERIAL_FALLOFF In\n"
      "*MATERIAL_XP_TYPE \"Filter\"\n";
  for (int slot = 0; slot < kMapSlotCount; ++slot) {
    body += std::string(kMapKeywords[slot]) + " { *MAP_SUBNO " + std::to_string(slot) + " }\n";
  }
  const auto doc = MustLoad(InMaterial(body));
  const TASEMaterial& m = Material0(*doc);
  EXPECT_EQ(m.Name, "Red Paint");
  EXPECT_EQ(m.MaterialClass, "Standard");
  ExpectColor(m.Ambient, 0.1f, 0.2f, 0.3f, 1, "ambient");
  ExpectColor(m.Diffuse, 0.4f, 0.5f, 0.6f, 1, "diffuse");
  ExpectColor(m.Specular, 0.7f, 0.8f, 0.9f, 1, "specular");
  EXPECT_EQ(m.Shine, 0.25f);
  EXPECT_EQ(m.ShineStrength, 0.05f);
  EXPECT_EQ(m.Transparency, 0.0f);
  EXPECT_EQ(m.WireSize, 2.0f);
  EXPECT_EQ(m.Shading, "Blinn");
  EXPECT_EQ(m.XPFalloff, 0.125f);
  EXPECT_EQ(m.SelfIllum, 0.75f);
  EXPECT_EQ(m.Falloff, "In");
  EXPECT_EQ(m.XPType, "\"Filter\"");
  for (int slot = 0; slot < kMapSlotCount; ++slot) {
    ASSERT_TRUE(m.Maps[slot]) << kMapKeywords[slot];
    EXPECT_EQ(m.Maps[slot]->SubNo, slot) << kMapKeywords[slot];
  }
}

TEST(Material, SecondMapReplacesTheFirstWhole) {
  const auto doc =
      MustLoad(InMaterial("*MAP_DIFFUSE { *MAP_NAME \"first\" *UVW_U_TILING 2 }\n"
                          "*MAP_DIFFUSE { *MAP_AMOUNT 1 }"));
  const TASEMap& m = *Material0(*doc).Maps[kMapDiffuse];
  EXPECT_EQ(m.Name, "");
  EXPECT_EQ(m.UTiling, 0.0f);
  EXPECT_EQ(m.Amount, 1.0f);
}

TEST(Material, NestedBlocksOverrideInTextOrder) {
  // A sub-material is not a keyword of the material: its keywords act on
  // the material itself, the values written last winning.
  const auto doc = MustLoad(
      InMaterial("*MATERIAL_NAME \"outer\" *MATERIAL_DIFFUSE 1 1 1 *MATERIAL_SHINE 0.5\n"
                 "*SUBMATERIAL 0 { *MATERIAL_NAME \"sub0\" *MATERIAL_DIFFUSE 0.5 0.5 0.5 }\n"
                 "*SUBMATERIAL 1 { *MATERIAL_NAME \"sub1\" *MAP_DIFFUSE { *MAP_NAME \"m\" } }"));
  const TASEMaterial& m = Material0(*doc);
  EXPECT_EQ(m.Name, "sub1");
  ExpectColor(m.Diffuse, 0.5f, 0.5f, 0.5f, 1, "diffuse");
  EXPECT_EQ(m.Shine, 0.5f);
  EXPECT_EQ(m.Maps[kMapDiffuse]->Name, "m");
}

TEST(MaterialList, NumberedSlots) {
  const struct {
    const char* what;
    std::string body;
    size_t length;
    std::vector<std::pair<int32_t, const char*>> present;  // number, name
  } cases[] = {
      {"empty list", "", 0, {}},
      {"one material", "*MATERIAL_COUNT 1 *MATERIAL 0 { *MATERIAL_NAME \"a\" }", 1, {{0, "a"}}},
      {"gap",
       "*MATERIAL 0 { *MATERIAL_NAME \"a\" } *MATERIAL 2 { *MATERIAL_NAME \"c\" }",
       3,
       {{0, "a"}, {2, "c"}}},
      {"descending",
       "*MATERIAL 3 { *MATERIAL_NAME \"d\" } *MATERIAL 1 { *MATERIAL_NAME \"b\" }",
       4,
       {{1, "b"}, {3, "d"}}},
      {"replacement keeps nothing of the first",
       "*MATERIAL 0 { *MATERIAL_NAME \"a\" *MATERIAL_SHINE 0.5 } *MATERIAL 0 { }",
       1,
       {{0, ""}}},
      {"lower case keyword", "*material 1 { *material_name \"x\" }", 2, {{1, "x"}}},
      {"longer words and their numbers passed over",
       "*MATERIAL_COUNT 5 *MATERIALS 7 *MATERIAL_X 9 { } *MATERIAL 0 { }",
       1,
       {{0, ""}}},
      {"hexadecimal number", "*MATERIAL $2 { }", 3, {{2, ""}}},
  };
  for (const auto& c : cases) {
    const auto doc = MustLoad("*MATERIAL_LIST { " + c.body + " }");
    ASSERT_TRUE(doc->MaterialList) << c.what;
    const TASEMaterialList& list = *doc->MaterialList;
    EXPECT_EQ(list.Materials.size(), c.length) << c.what;
    for (int32_t i = -2; i < static_cast<int32_t>(c.length) + 2; ++i) {
      const char* name = nullptr;
      for (const auto& [number, n] : c.present) {
        if (number == i) name = n;
      }
      const TASEMaterial* m = list.GetMaterial(i);
      EXPECT_EQ(m != nullptr, name != nullptr) << c.what << " #" << i;
      if (m && name) {
        EXPECT_EQ(m->Name, name) << c.what << " #" << i;
      }
    }
    EXPECT_EQ(list.GetMaterial(INT32_MAX), nullptr);
    EXPECT_EQ(list.GetMaterial(INT32_MIN), nullptr);
  }
  // A replaced material's values do not carry over.
  const auto doc =
      MustLoad("*MATERIAL_LIST { *MATERIAL 0 { *MATERIAL_SHINE 0.5 } *MATERIAL 0 { } }");
  EXPECT_EQ(doc->MaterialList->GetMaterial(0)->Shine, 0.0f);
}

TEST(MaterialList, FailuresKeepWhatWasRead) {
  const auto r = LoadText(
      "*MATERIAL_LIST {\n*MATERIAL 0 { *MATERIAL_NAME \"a\" }\n"
      "*MATERIAL 1 { *MATERIAL_NAME \"b\" *MATERIAL_SHINE x } }");
  EXPECT_EQ(r.message, "'x' is not a valid floating point value");
  EXPECT_EQ(r.line, 3);
  ASSERT_TRUE(r.doc->MaterialList);
  ASSERT_TRUE(r.doc->MaterialList->GetMaterial(1));
  EXPECT_EQ(r.doc->MaterialList->GetMaterial(1)->Name, "b");

  const auto bad = LoadText("*MATERIAL_LIST { *MATERIAL 0 { } *MATERIAL one { } }");
  EXPECT_EQ(bad.message, "'one' is not a valid integer value");
  EXPECT_EQ(bad.doc->MaterialList->Materials.size(), 1u);

  const auto negative = LoadText("*MATERIAL_LIST {\n*MATERIAL -1 { } }");
  EXPECT_EQ(negative.message, "Index -1 out of range in material list");
  EXPECT_EQ(negative.line, 2);
  EXPECT_TRUE(negative.doc->MaterialList->Materials.empty());
}

// ---------------------------------------------------------------- objects

TEST(GeomObject, DefaultsAndKeywords) {
  const auto empty = MustLoad("*GEOMOBJECT { }");
  const TASEGeomObject& d = *empty->GetGeomObject(0);
  EXPECT_EQ(d.NodeName, "");
  EXPECT_FALSE(d.NodeTM);
  EXPECT_FALSE(d.Mesh);
  EXPECT_FALSE(d.MotionBlur);
  EXPECT_FALSE(d.CastShadow);
  EXPECT_FALSE(d.RecvShadow);
  EXPECT_EQ(d.MaterialRef, 0);

  const auto doc = MustLoad(
      "*GEOMOBJECT {\n"
      "  *NODE_NAME \"Box  01\"\n"
      "  *NODE_TM { *NODE_NAME \"tm name\" }\n"
      "  *MESH { *MESH_NUMVERTEX 1 }\n"
      "  *MESH { *MESH_NUMVERTEX 2 }\n"
      "  *PROP_MOTIONBLUR 0 *PROP_CASTSHADOW 1 *PROP_RECVSHADOW 0.0\n"
      "  *MATERIAL_REF 99\n"
      "}");
  const TASEGeomObject& g = *doc->GetGeomObject(0);
  EXPECT_EQ(g.NodeName, "Box 01");
  ASSERT_TRUE(g.NodeTM);
  EXPECT_EQ(g.NodeTM->NodeName, "tm name");
  ASSERT_TRUE(g.Mesh);
  EXPECT_EQ(g.Mesh->NumVertex, 2);  // the second mesh replaced the first
  EXPECT_FALSE(g.MotionBlur);
  EXPECT_TRUE(g.CastShadow);
  EXPECT_TRUE(g.RecvShadow);
  EXPECT_EQ(g.MaterialRef, 99);  // names no material: stored as it is
}

TEST(NodeTM, DefaultsAndKeywords) {
  const auto empty = MustLoad("*GEOMOBJECT { *NODE_TM { } }");
  const TASENodeTM& d = *empty->GetGeomObject(0)->NodeTM;
  EXPECT_EQ(d.NodeName, "");
  const std::array<float, 16> identity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  EXPECT_EQ(d.Matrix, identity);
  ExpectVector(d.Scale, 0, 0, 0, "scale default");
  ExpectVector(d.InheritPos, 0, 0, 0, "inherit default");
  EXPECT_EQ(d.RotAngle, 0.0f);

  const auto doc = MustLoad(
      "*GEOMOBJECT { *NODE_TM {\n"
      "  *NODE_NAME \"n\"\n"
      "  *INHERIT_POS 0 1 0 *INHERIT_ROT 1 0 1 *INHERIT_SCL 1 1 0\n"
      "  *TM_ROW0 1 2 3\n"
      "  *TM_ROW1 4 5 6\n"
      "  *TM_ROW2 7 8 9\n"
      "  *TM_ROW3 10 11 12\n"
      "  *TM_POS 10 11 12 *TM_ROTAXIS 0 0 1 *TM_ROTANGLE 1.5708\n"
      "  *TM_SCALE 1 2 3 *TM_SCALEAXIS 0 1 0 *TM_SCALEAXISANG 0.5\n"
      "} }");
  const TASENodeTM& n = *doc->GetGeomObject(0)->NodeTM;
  EXPECT_EQ(n.NodeName, "n");
  ExpectVector(n.InheritPos, 0, 1, 0, "inherit pos");
  ExpectVector(n.InheritRot, 1, 0, 1, "inherit rot");
  ExpectVector(n.InheritScl, 1, 1, 0, "inherit scl");
  // Each file row becomes a column.
  const std::array<float, 16> matrix{1, 4, 7, 10, 2, 5, 8, 11, 3, 6, 9, 12, 0, 0, 0, 1};
  EXPECT_EQ(n.Matrix, matrix);
  ExpectVector(n.Pos, 10, 11, 12, "pos");
  ExpectVector(n.RotAxis, 0, 0, 1, "rot axis");
  EXPECT_EQ(n.RotAngle, 1.5708f);
  ExpectVector(n.Scale, 1, 2, 3, "scale");
  ExpectVector(n.ScaleAxis, 0, 1, 0, "scale axis");
  EXPECT_EQ(n.ScaleAxisAng, 0.5f);
}

TEST(NodeTM, SingleRowsKeepTheRestOfTheIdentity) {
  const struct {
    const char* keyword;
    std::array<float, 16> matrix;
  } cases[] = {
      {"*TM_ROW0", {5, 0, 0, 0, 6, 1, 0, 0, 7, 0, 1, 0, 0, 0, 0, 1}},
      {"*TM_ROW1", {1, 5, 0, 0, 0, 6, 0, 0, 0, 7, 1, 0, 0, 0, 0, 1}},
      {"*TM_ROW2", {1, 0, 5, 0, 0, 1, 6, 0, 0, 0, 7, 0, 0, 0, 0, 1}},
      {"*TM_ROW3", {1, 0, 0, 5, 0, 1, 0, 6, 0, 0, 1, 7, 0, 0, 0, 1}},
  };
  for (const auto& c : cases) {
    const auto doc = MustLoad(std::string("*GEOMOBJECT { *NODE_TM { ") + c.keyword + " 5 6 7 } }");
    EXPECT_EQ(doc->GetGeomObject(0)->NodeTM->Matrix, c.matrix) << c.keyword;
  }
}

TEST(Group, NamesAndNesting) {
  const auto doc = MustLoad(
      "*GROUP \"Outer  group\" {\n"
      "  *GEOMOBJECT { *NODE_NAME \"a\" }\n"
      "  *GROUP \"inner\" {\n"
      "    *GEOMOBJECT { *NODE_NAME \"b\" }\n"
      "    *GROUP \"innermost\" { *GEOMOBJECT { *NODE_NAME \"c\" } }\n"
      "  }\n"
      "  *GEOMOBJECT { *NODE_NAME \"d\" }\n"
      "}\n"
      "*group \"second\" { }\n");
  ASSERT_EQ(doc->Groups.size(), 2u);
  const TASEGroup& g = *doc->Groups[0];
  EXPECT_EQ(g.Name, "Outer group");
  ASSERT_EQ(g.GeomObjects.size(), 4u);
  const char* names[] = {"a", "b", "c", "d"};
  for (size_t i = 0; i < 4; ++i)
    EXPECT_EQ(g.GeomObjects[i]->NodeName, names[i]);
  EXPECT_EQ(doc->GeomObjectCount(), 0);
  // An unquoted one-word name runs on to the next token ending in a quote:
  // here there is none before the end of the text.
  EXPECT_EQ(LoadText("*GROUP single { }").message, "Unterminated string!");
  EXPECT_EQ(doc->Groups[1]->Name, "second");
}

// ---------------------------------------------------------------- mesh

TEST(Mesh, CountsAndLists) {
  const auto empty = MustLoad("*GEOMOBJECT { *MESH { } }");
  const TASEMesh& e = *empty->GetGeomObject(0)->Mesh;
  EXPECT_FALSE(e.VertexList || e.FaceList || e.Normals || e.TVertexList || e.CVertexList ||
               e.TFaceList || e.CFaceList);
  EXPECT_EQ(e.TimeValue, 0);
  EXPECT_EQ(e.NumVertex, 0);
  EXPECT_EQ(e.NumFaces, 0);
  EXPECT_EQ(e.NumTVertex, 0);
  EXPECT_EQ(e.NumCVertex, 0);

  const auto doc = MustLoad(
      "*GEOMOBJECT { *MESH {\n"
      "  *TIMEVALUE 10 *mesh_numvertex 8 *MESH_NUMFACES 12 *MESH_NUMTVERTEX 3 *MESH_NUMCVERTEX 4\n"
      "  *MESH_NUMFACES 13\n"
      "  *MESH_VERTEX_LIST { *MESH_VERTEX 0 1 2 3 }\n"
      "  *MESH_VERTEX_LIST { *MESH_VERTEX 1 4 5 6 }\n"
      "  *MESH_FACE_LIST { *MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 1 }\n"
      "  *MESH_TVERTLIST { } *MESH_CVERTLIST { } *MESH_TFACELIST { } *MESH_CFACELIST { }\n"
      "  *MESH_NORMALS { }\n"
      "  *MESH_EXTRA { *MESH_NUMCVERTEX 5 }\n"
      "} }");
  const TASEMesh& m = *doc->GetGeomObject(0)->Mesh;
  EXPECT_EQ(m.TimeValue, 10);
  EXPECT_EQ(m.NumVertex, 8);
  EXPECT_EQ(m.NumFaces, 13);
  EXPECT_EQ(m.NumTVertex, 3);
  EXPECT_EQ(m.NumCVertex, 5);
  // The second vertex list replaced the first: index 0 is a gap now.
  ASSERT_TRUE(m.VertexList);
  ASSERT_EQ(m.VertexList->Vertices.size(), 2u);
  ExpectVector(m.VertexList->GetVertex(0), 0, 0, 0, "replaced");
  ExpectVector(m.VertexList->GetVertex(1), 4, 5, 6, "second list");
  ASSERT_TRUE(m.FaceList);
  EXPECT_EQ(m.FaceList->Count(), 1);  // declared counts do not size lists
  EXPECT_TRUE(m.TVertexList && m.CVertexList && m.TFaceList && m.CFaceList && m.Normals);

  const auto r = LoadText("*GEOMOBJECT { *MESH { *TIMEVALUE 0.5 } }");
  EXPECT_EQ(r.message, "'0.5' is not a valid integer value");
}

}  // namespace
}  // namespace tessaly
