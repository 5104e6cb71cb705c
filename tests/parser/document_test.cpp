// The document and the rules every block reader shares: top level, error
// messages, quoted texts, yes/no values, the block-reading convention and the
// per-load decimal separator.
#include <string>

#include "parser_test_util.h"

namespace tessaly {
namespace {

using test::LoadText;
using test::MustLoad;

TEST(Document, EmptyOrUnknownTextGivesAnEmptyDocument) {
  // An unknown top-level block left open is no error: the top level ends at
  // the end of the text whatever the depth.
  for (const char* text : {"", "  \r\n", "*FOO 1 2 { *BAR { x } }", "*scene_x { }", "*FOO { {"}) {
    const auto doc = MustLoad(text);
    EXPECT_FALSE(doc->Header) << text;
    EXPECT_TRUE(doc->Comments.empty()) << text;
    EXPECT_FALSE(doc->Scene) << text;
    EXPECT_FALSE(doc->MaterialList) << text;
    EXPECT_EQ(doc->GeomObjectCount(), 0) << text;
    EXPECT_TRUE(doc->Groups.empty()) << text;
  }
}

TEST(Document, TopLevelKeywords) {
  const auto doc = MustLoad(
      "*3dsmax_asciiexport 200\n"
      "*COMMENT \"one\"\n"
      "*Scene { *SCENE_FIRSTFRAME 1 }\n"
      "*SCENE { *SCENE_FIRSTFRAME 2 }\n"
      "*MATERIAL_LIST { *MATERIAL 0 { } }\n"
      "*comment \"two words\"\n"
      "*GEOMOBJECT { *NODE_NAME \"a\" }\n"
      "*GROUP \"g\" { *GEOMOBJECT { *NODE_NAME \"in group\" } }\n"
      "*UNKNOWN { *GEOMOBJECT { *NODE_NAME \"b\" } }\n"
      "*3DSMAX_ASCIIEXPORT 300\n");
  ASSERT_TRUE(doc->Header);
  EXPECT_EQ(doc->Header->Version, "300");
  ASSERT_EQ(doc->Comments.size(), 2u);
  EXPECT_EQ(doc->Comments[0]->Text, "one");
  EXPECT_EQ(doc->Comments[1]->Text, "two words");
  ASSERT_TRUE(doc->Scene);
  EXPECT_EQ(doc->Scene->FirstFrame, 2);  // the second scene replaced the first
  ASSERT_TRUE(doc->MaterialList);
  EXPECT_TRUE(doc->MaterialList->GetMaterial(0));
  // The object inside the group is the group's; the one inside an unknown
  // top-level block is the document's.
  ASSERT_EQ(doc->GeomObjectCount(), 2);
  EXPECT_EQ(doc->GetGeomObject(0)->NodeName, "a");
  EXPECT_EQ(doc->GetGeomObject(1)->NodeName, "b");
  EXPECT_EQ(doc->GetGeomObject(2), nullptr);
  EXPECT_EQ(doc->GetGeomObject(-1), nullptr);
  ASSERT_EQ(doc->Groups.size(), 1u);
  ASSERT_EQ(doc->Groups[0]->GeomObjects.size(), 1u);
  EXPECT_EQ(doc->Groups[0]->GeomObjects[0]->NodeName, "in group");
}

TEST(Document, HeaderValueIsOneTokenUnconverted) {
  EXPECT_EQ(MustLoad("*3DSMAX_ASCIIEXPORT \"2,00\"")->Header->Version, "\"2,00\"");
  // The header as the last token of the text: an empty version, no error.
  const auto doc = MustLoad("*3DSMAX_ASCIIEXPORT");
  ASSERT_TRUE(doc->Header);
  EXPECT_EQ(doc->Header->Version, "");
}

TEST(Document, SecondLoadAppendsAndReplaces) {
  TASEFile doc;
  doc.LoadFromText(
      "*3DSMAX_ASCIIEXPORT 1 *COMMENT \"a\" *SCENE { *SCENE_FIRSTFRAME 1 } "
      "*MATERIAL_LIST { *MATERIAL 0 { } } *GEOMOBJECT { } *GROUP \"g\" { }");
  doc.LoadFromText(
      "*3DSMAX_ASCIIEXPORT 2 *COMMENT \"b\" *SCENE { } *MATERIAL_LIST { *MATERIAL 1 { } } "
      "*GEOMOBJECT { } *GROUP \"h\" { }");
  EXPECT_EQ(doc.Header->Version, "2");
  ASSERT_EQ(doc.Comments.size(), 2u);
  EXPECT_EQ(doc.Comments[1]->Text, "b");
  EXPECT_EQ(doc.Scene->FirstFrame, 0);
  EXPECT_FALSE(doc.MaterialList->GetMaterial(0));
  EXPECT_TRUE(doc.MaterialList->GetMaterial(1));
  EXPECT_EQ(doc.GeomObjectCount(), 2);
  ASSERT_EQ(doc.Groups.size(), 2u);
  EXPECT_EQ(doc.Groups[1]->Name, "h");
}

// Every message of the error tables, exactly, with the line it names.
TEST(Document, ErrorMessages) {
  const struct {
    const char* what;
    std::string text;
    std::string message;
    int line;
  } cases[] = {
      {"close brace at the top level", "*COMMENT \"a\"\n}", "Brackets do not match!", 2},
      {"block not opened", "*SCENE\n*SCENE_FIRSTFRAME 1 }",
       "Can't deal with this! (Token: \"*SCENE_FIRSTFRAME\")", 2},
      {"block not opened at the end", "*SCENE", "Can't deal with this! (Token: \"\")", 1},
      {"brace glued to a word", "*SCENE\n{x }", "Can't deal with this! (Token: \"{x\")", 2},
      {"group name not followed by a block", "*GROUP \"g\"\n*GEOMOBJECT { }",
       "Can't deal with this! (Token: \"*GEOMOBJECT\")", 2},
      {"map not opened", "*MATERIAL_LIST {\n*MATERIAL 0 {\n*MAP_DIFFUSE *MAP_NAME \"x\" } } }",
       "Can't deal with this! (Token: \"*MAP_NAME\")", 3},
      {"text ends inside a block", "*GEOMOBJECT {\n*NODE_NAME \"a\"\n", "Brackets do not match!",
       2},
      {"text ends inside a nested block", "*GEOMOBJECT {\n*MESH {\n*MESH_NUMFACES 1 }",
       "Brackets do not match!", 3},
      // The name swallows two closing braces, so the depth falls below the
      // material's own before its loop ends.
      {"depth after a block below the entry depth",
       "*MATERIAL_LIST {\n*MATERIAL 0 {\n*MATERIAL_NAME } }\nend\" next", "Brackets do not match!",
       4},
      {"unterminated name", "*SCENE {\n*SCENE_FILENAME \"a b\n}\n", "Unterminated string!", 3},
      {"unterminated comment", "*COMMENT \"a b", "Unterminated string!", 1},
      {"unterminated group name", "*GROUP \"a {", "Unterminated string!", 1},
      {"comment not quoted", "\n*COMMENT text\"", "Comment not in quotes? (Last token: \"text\"\")",
       2},
      {"comment at the end", "*COMMENT", "Comment not in quotes? (Last token: \"\")", 1},
      {"comment opened by a single quote", "*COMMENT 'x'",
       "Comment not in quotes? (Last token: \"'x'\")", 1},
      {"integer with a fraction", "*SCENE {\n*SCENE_FIRSTFRAME 1.5 }",
       "'1.5' is not a valid integer value", 2},
      {"integer overflow", "*SCENE { *SCENE_LASTFRAME 2147483648 }",
       "'2147483648' is not a valid integer value", 1},
      {"integer missing before the brace", "*SCENE { *SCENE_FRAMESPEED }",
       "'}' is not a valid integer value", 1},
      {"real not a number", "*SCENE {\n\n*SCENE_AMBIENT_STATIC 0.1 0.2 zero }",
       "'zero' is not a valid floating point value", 3},
      {"colour short of a value", "*SCENE { *SCENE_BACKGROUND_STATIC 1 2\n}",
       "'}' is not a valid floating point value", 2},
      {"real words", "*SCENE { *SCENE_BACKGROUND_STATIC nan 0 0 }",
       "'nan' is not a valid floating point value", 1},
  };
  for (const auto& c : cases) {
    const auto r = LoadText(c.text);
    EXPECT_TRUE(r.failed) << c.what;
    EXPECT_EQ(r.message, c.message) << c.what;
    EXPECT_EQ(r.line, c.line) << c.what;
  }
}

TEST(Document, ErrorKeepsWhatWasRead) {
  const auto r = LoadText(
      "*COMMENT \"a\"\n"
      "*GEOMOBJECT { *NODE_NAME \"obj\" *MESH { *MESH_NUMVERTEX 4 *MESH_NUMFACES x } }\n"
      "*COMMENT \"never\"\n");
  EXPECT_EQ(r.message, "'x' is not a valid integer value");
  ASSERT_EQ(r.doc->Comments.size(), 1u);
  ASSERT_EQ(r.doc->GeomObjectCount(), 1);
  const TASEGeomObject& obj = *r.doc->GetGeomObject(0);
  EXPECT_EQ(obj.NodeName, "obj");
  ASSERT_TRUE(obj.Mesh);
  EXPECT_EQ(obj.Mesh->NumVertex, 4);
}

// The quoted-text reading, through the scene's file name.
TEST(QuotedText, Gathering) {
  const struct {
    const char* what;
    std::string value;  // what follows *SCENE_FILENAME
    std::string text;
    int firstFrame;  // a *SCENE_FIRSTFRAME 5 after the value is read unless swallowed
  } cases[] = {
      {"one quoted word", "\"abc\"", "abc", 5},
      {"runs of blanks become one", "\"a  \t b\r\n\r\nc\"", "a b c", 5},
      {"empty quotes", "\"\"", "", 5},
      {"opening quote followed by a blank", "\" abc\"", "", 5},
      {"unquoted word runs on", "abc def\"", "abc def", 5},
      {"single quotes do not end it", "'a b' c\"", "a b' c", 5},
      {"doubled quotes keep the inner pair", "\"\"abc\"\"", "\"abc\"", 5},
      {"quote inside the token", "\"a\"b\"", "a\"b", 5},
      {"swallows keywords up to the closing quote", "\"a *SCENE_FIRSTFRAME 7 b\"",
       "a *SCENE_FIRSTFRAME 7 b", 5},
      {"bytes kept as they are", "\"C:\\maps\\\xE9t\xE9.bmp\"", "C:\\maps\\\xE9t\xE9.bmp", 5},
  };
  for (const auto& c : cases) {
    const auto doc = MustLoad("*SCENE { *SCENE_FILENAME " + c.value + " *SCENE_FIRSTFRAME 5 }");
    ASSERT_TRUE(doc->Scene) << c.what;
    EXPECT_EQ(doc->Scene->FileName, c.text) << c.what;
    EXPECT_EQ(doc->Scene->FirstFrame, c.firstFrame) << c.what;
  }
  // A brace among the gathered tokens moves the depth all the same.
  const auto r = LoadText("*SCENE { *SCENE_FILENAME \"a } b\" *SCENE_FIRSTFRAME 5 }");
  EXPECT_EQ(r.message, "Brackets do not match!");
  EXPECT_EQ(r.line, 1);
  EXPECT_EQ(r.doc->Scene->FileName, "a } b");
  // The scene ended with the gathered brace; the top level passed over the
  // keyword and then met the extra "}".
  EXPECT_EQ(r.doc->Scene->FirstFrame, 0);
}

// Yes/no values, through a geometric object's properties.
TEST(YesNo, OnlyAPlainZeroIsFalse) {
  const struct {
    std::string token;
    bool value;
  } cases[] = {{"0", false}, {"1", true},  {"00", true}, {"0.0", true},
               {"-0", true}, {"no", true}, {"+0", true}, {"0,0", true}};
  for (const auto& c : cases) {
    const auto doc =
        MustLoad("*GEOMOBJECT { *PROP_MOTIONBLUR 1 *PROP_MOTIONBLUR " + c.token +
                 " *PROP_CASTSHADOW " + c.token + " *PROP_RECVSHADOW " + c.token + " }");
    const TASEGeomObject& g = *doc->GetGeomObject(0);
    EXPECT_EQ(g.MotionBlur, c.value) << c.token;
    EXPECT_EQ(g.CastShadow, c.value) << c.token;
    EXPECT_EQ(g.RecvShadow, c.value) << c.token;
  }
  // The empty token at the end of the text is true; the load then fails.
  const auto r = LoadText("*GEOMOBJECT { *PROP_CASTSHADOW");
  EXPECT_EQ(r.message, "Brackets do not match!");
  EXPECT_TRUE(r.doc->GetGeomObject(0)->CastShadow);
}

TEST(BlockConvention, KeywordsActedOnAtAnyDepthInsideTheBlock) {
  const auto doc = MustLoad(
      "*SCENE {\n"
      "  *SCENE_FIRSTFRAME 1\n"
      "  *SCENE_EXTRA { *DEEPER { *SCENE_FIRSTFRAME 9 } }\n"
      "  *SCENE_LASTFRAME 3\n"
      "}\n"
      "*COMMENT \"after\"\n");
  EXPECT_EQ(doc->Scene->FirstFrame, 9);
  EXPECT_EQ(doc->Scene->LastFrame, 3);
  // The block's closing brace was consumed: the top level read the comment.
  ASSERT_EQ(doc->Comments.size(), 1u);
}

TEST(BlockConvention, ValueTakesABraceAndEndsTheBlockEarly) {
  // "*PROP_CASTSHADOW }" takes the object's closing brace as its value; the
  // object ends there and the following tokens belong to the top level.
  const auto doc = MustLoad("*GEOMOBJECT { *PROP_CASTSHADOW } *NODE_NAME \"top\" *COMMENT \"c\"");
  EXPECT_TRUE(doc->GetGeomObject(0)->CastShadow);
  EXPECT_EQ(doc->GetGeomObject(0)->NodeName, "");
  EXPECT_EQ(doc->Comments.size(), 1u);
}

TEST(BlockConvention, SkippingAndRejectingReadersAtTheEndOfTheText) {
  const struct {
    std::string text;
    std::string message;
  } cases[] = {
      {"*SCENE {", "Brackets do not match!"},
      {"*MATERIAL_LIST {", "Brackets do not match!"},
      {"*MATERIAL_LIST { *MATERIAL 0 {", "Brackets do not match!"},
      {"*MATERIAL_LIST { *MATERIAL 0 { *MAP_BUMP {", "Brackets do not match!"},
      {"*GEOMOBJECT {", "Brackets do not match!"},
      {"*GEOMOBJECT { *NODE_TM {", "Brackets do not match!"},
      {"*GROUP \"g\" {", "Brackets do not match!"},
      {"*GEOMOBJECT { *MESH {", "Brackets do not match!"},
      {"*GEOMOBJECT { *MESH { *MESH_FACE_LIST {", "Brackets do not match!"},
      {"*GEOMOBJECT { *MESH { *MESH_NORMALS {", "Brackets do not match!"},
      {"*GEOMOBJECT { *MESH { *MESH_VERTEX_LIST {", "Invalid token in vertex list! (\"\")"},
      {"*GEOMOBJECT { *MESH { *MESH_TVERTLIST {", "Invalid token in tvertex list! (\"\")"},
      {"*GEOMOBJECT { *MESH { *MESH_CVERTLIST {", "Invalid token in cvertex list! (\"\")"},
      {"*GEOMOBJECT { *MESH { *MESH_TFACELIST {", "Invalid token in tface list! (\"\")"},
      {"*GEOMOBJECT { *MESH { *MESH_CFACELIST {", "Invalid token in cface list! (\"\")"},
  };
  for (const auto& c : cases) {
    const auto r = LoadText(c.text + "\n");
    EXPECT_EQ(r.message, c.message) << c.text;
    EXPECT_EQ(r.line, 1) << c.text;
  }
}

// The first real value of each load fixes the decimal separator for that
// load; a later load decides afresh.
TEST(DecimalSeparator, DecidedPerLoad) {
  const std::string stop = "*SCENE { *SCENE_BACKGROUND_STATIC 0.5 1 2.25 }";
  const std::string commaFile =
      "*SCENE { *SCENE_FIRSTFRAME 1 *SCENE_BACKGROUND_STATIC 0,5 1 2,25 "
      "*SCENE_AMBIENT_STATIC 1 0,125 3 }";
  const auto a = MustLoad(commaFile);
  EXPECT_EQ(a->Scene->BackgroundStatic.R, 0.5f);
  EXPECT_EQ(a->Scene->BackgroundStatic.B, 2.25f);
  EXPECT_EQ(a->Scene->AmbientStatic.G, 0.125f);
  const auto b = MustLoad(stop);  // a full-stop file after a comma file
  EXPECT_EQ(b->Scene->BackgroundStatic.B, 2.25f);
  const auto c = MustLoad(commaFile);  // and a comma file again
  EXPECT_EQ(c->Scene->AmbientStatic.G, 0.125f);

  // Within one load a value with the other separator fails.
  const struct {
    const char* what;
    std::string text;
    std::string message;
  } cases[] = {
      {"comma first, then a full stop",
       "*SCENE { *SCENE_BACKGROUND_STATIC 0,5 1 2 *SCENE_AMBIENT_STATIC 0.5 1 2 }",
       "'0.5' is not a valid floating point value"},
      {"full stop first, then a comma",
       "*SCENE { *SCENE_BACKGROUND_STATIC 0.5 1 2 *SCENE_AMBIENT_STATIC 0,5 1 2 }",
       "'0,5' is not a valid floating point value"},
      {"neither in the first value means a full stop",
       "*SCENE { *SCENE_BACKGROUND_STATIC 0 1 0,5 }", "'0,5' is not a valid floating point value"},
      {"the first value decides even when it fails", "*SCENE { *SCENE_BACKGROUND_STATIC x,y 1 2 }",
       "'x,y' is not a valid floating point value"},
  };
  for (const auto& k : cases) {
    const auto r = LoadText(k.text);
    EXPECT_EQ(r.message, k.message) << k.what;
  }
  // A load that fails after deciding on a comma leaves nothing behind.
  EXPECT_TRUE(LoadText("*SCENE { *SCENE_BACKGROUND_STATIC 0,5 1 2 *SCENE_FIRSTFRAME x }").failed);
  MustLoad(stop);
}

TEST(DecimalSeparator, WholeFilesFromDisk) {
  const test::ScratchFile commaFile("comma.ase",
                                    "*GEOMOBJECT { *NODE_TM { *TM_POS 1,5 -2,25 0 } }\r\n");
  const test::ScratchFile stopFile("stop.ase",
                                   "*GEOMOBJECT { *NODE_TM { *TM_POS 1.5 -2.25 0 } }\r\n");
  for (const auto* file : {&commaFile, &stopFile, &commaFile}) {
    TASEFile doc;
    ASSERT_NO_THROW(doc.LoadFromFile(file->Path())) << file->Path();
    EXPECT_EQ(doc.GetGeomObject(0)->NodeTM->Pos.Y, -2.25f);
  }
}

}  // namespace
}  // namespace tessaly
