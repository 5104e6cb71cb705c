// The keyword recognizer: whole tokens, the case of the ASCII letters A to Z
// ignored and nothing else.
#include <string>

#include "ase_model/ase_tokens.h"
#include "parser_test_util.h"

namespace tessaly {
namespace {

TEST(Keywords, EverySpellingAndItsNearMisses) {
  for (int i = 1; i < kKeywordCount; ++i) {
    const Kw kw = static_cast<Kw>(i);
    const std::string spelling(KeywordSpelling(kw));
    ASSERT_FALSE(spelling.empty()) << i;
    EXPECT_EQ(LookupKeyword(spelling), kw) << spelling;

    std::string lower = spelling, mixed = spelling;
    for (size_t k = 0; k < spelling.size(); ++k) {
      const char c = spelling[k];
      if (c >= 'A' && c <= 'Z') {
        lower[k] = static_cast<char>(c + 32);
        if (k % 2) mixed[k] = static_cast<char>(c + 32);
      }
    }
    EXPECT_EQ(LookupKeyword(lower), kw) << lower;
    EXPECT_EQ(LookupKeyword(mixed), kw) << mixed;

    // Bytes other than letters must match exactly: '_' is not DEL, '3' is
    // not 0x13, '*' is not LF.
    for (size_t k = 0; k < spelling.size(); ++k) {
      const char c = spelling[k];
      if (c >= 'A' && c <= 'Z') continue;
      std::string flipped = spelling;
      flipped[k] = static_cast<char>(c ^ 0x20);
      EXPECT_EQ(LookupKeyword(flipped), Kw::None) << spelling << " byte " << k;
    }
    // Latin-1 letters are not folded onto ASCII ones.
    std::string latin = spelling;
    latin[1] = static_cast<char>(static_cast<unsigned char>(latin[1]) | 0x80);
    EXPECT_EQ(LookupKeyword(latin), Kw::None) << spelling;

    EXPECT_NE(LookupKeyword(spelling + "X"), kw) << spelling;
    EXPECT_NE(LookupKeyword(spelling + "_"), kw) << spelling;
    EXPECT_NE(LookupKeyword(spelling.substr(0, spelling.size() - 1)), kw) << spelling;
    EXPECT_EQ(LookupKeyword(spelling.substr(1)), Kw::None) << spelling;
    EXPECT_EQ(LookupKeyword("\"" + spelling + "\""), Kw::None) << spelling;
  }
}

TEST(Keywords, OtherTokens) {
  for (const char* token :
       {"", "*", "{", "}", "0", "*MESH_", "*UVW_NOISE_AMT", "*MATERIALS", "*MESH_VERTEX_LIST{",
        "*MESH_FACE:", "*NODE_NAME\"", "**SCENE", "*SCENE*", "*SCENE_FILENAME_",
        "*A_VERY_LONG_TOKEN_THAT_IS_NO_KEYWORD_AT_ALL"}) {
    EXPECT_EQ(LookupKeyword(token), Kw::None) << token;
  }
  // Inside a file: a near miss is passed over with its value.
  const auto doc = test::MustLoad(
      "*GEOMOBJECT { *MESH { *MESH\x7FNUMVERTEX 5 *MESH_NUMVERTEXX 6 *mesh_numfaces 7 } }");
  EXPECT_EQ(doc->GetGeomObject(0)->Mesh->NumVertex, 0);
  EXPECT_EQ(doc->GetGeomObject(0)->Mesh->NumFaces, 7);
}

}  // namespace
}  // namespace tessaly
