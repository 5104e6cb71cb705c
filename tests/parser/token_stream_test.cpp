// The token stream: cutting, brace depth, the NUL cut, byte-order marks,
// line numbers of errors, StripQuotes, and files that cannot be opened.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "parser_test_util.h"

namespace tessaly {
namespace {

using test::LoadText;
using test::ScratchFile;

// Every token up to the end of the text, with the depth after each.
struct Cut {
  std::vector<std::string> tokens;
  std::vector<int> depths;
};

Cut CutAll(TTokenStream& stream) {
  Cut cut;
  for (std::string_view t = stream.NextToken(); !t.empty(); t = stream.NextToken()) {
    cut.tokens.emplace_back(t);
    cut.depths.push_back(stream.Depth);
  }
  return cut;
}

Cut CutText(std::string text) {
  TTokenStream stream = TTokenStream::FromText(std::move(text));
  return CutAll(stream);
}

using Tokens = std::vector<std::string>;

struct CutCase {
  const char* what;
  std::string text;
  Tokens tokens;
};

TEST(TokenStream, CutsAtTheFiveDelimitersOnly) {
  const CutCase cases[] = {
      {"empty text", "", {}},
      {"only separators", " \t\r\n \r\n\n", {}},
      {"runs of separators", "  a \t\t b\r\n\r\nc\rd\ne  ", {"a", "b", "c", "d", "e"}},
      {"quotes are token bytes", "\"two words\"", {"\"two", "words\""}},
      {"braces glued to words", "*SCENE{ }\"", {"*SCENE{", "}\""}},
      {"punctuation", "a,b;c:d", {"a,b;c:d"}},
      {"vertical tab and form feed are token bytes", "a\vb\fc", {"a\vb\fc"}},
      {"bytes 128 to 255", "\x80\xA0\xFF x\xE9y", {"\x80\xA0\xFF", "x\xE9y"}},
      {"NUL ends the text", std::string("ab\0cd ef", 8), {"ab"}},
      {"NUL right after a separator", std::string("a \0 b", 5), {"a"}},
      {"control bytes inside long tokens",
       "abcdefg\x01hijklmno\x1Fpq\x7F\x80!\x1B rs\x08tuvwxyz0123456789",
       {"abcdefg\x01hijklmno\x1Fpq\x7F\x80!\x1B", "rs\x08tuvwxyz0123456789"}},
      {"delimiter at every offset of a word",
       "12345678 1234567\t123456\r12345\n1234 123 12 1",
       {"12345678", "1234567", "123456", "12345", "1234", "123", "12", "1"}},
  };
  for (const CutCase& c : cases) {
    EXPECT_EQ(CutText(c.text).tokens, c.tokens) << c.what;
  }
}

TEST(TokenStream, CountsDepthForWholeBraceTokensOnly) {
  TTokenStream stream = TTokenStream::FromText("{ a { {x } x} }");
  const Cut cut = CutAll(stream);
  EXPECT_EQ(cut.tokens, (Tokens{"{", "a", "{", "{x", "}", "x}", "}"}));
  EXPECT_EQ(cut.depths, (std::vector<int>{1, 1, 2, 2, 1, 1, 0}));
  // The end of the text: the empty token, again and again, depth unchanged.
  EXPECT_EQ(stream.NextToken(), "");
  EXPECT_EQ(stream.NextToken(), "");
  EXPECT_EQ(stream.Depth, 0);
}

TEST(TokenStream, EndOfTextInsideABlockIsNotAnError) {
  TTokenStream stream = TTokenStream::FromText("{ {");
  EXPECT_EQ(CutAll(stream).depths, (std::vector<int>{1, 2}));
  EXPECT_EQ(stream.NextToken(), "");
  EXPECT_EQ(stream.Depth, 2);
}

TEST(TokenStream, CloseBraceBelowZeroThrows) {
  TTokenStream stream = TTokenStream::FromText("{ }\n}\nnext");
  stream.NextToken();
  stream.NextToken();
  try {
    stream.NextToken();
    FAIL() << "no error";
  } catch (const EParseError& e) {
    EXPECT_STREQ(e.what(), "Brackets do not match!");
    EXPECT_EQ(e.Line(), 2);
  }
  EXPECT_EQ(stream.Depth, -1);
}

// The line an error names, for every kind of line break. The error is raised
// by a "}" at the top level on the third line of each text.
TEST(TokenStream, ErrorLinesCountEveryKindOfLineBreak) {
  const struct {
    const char* what;
    std::string text;
    int line;
  } cases[] = {
      {"LF", "*COMMENT \"a\"\n\n}\n", 3},
      {"CRLF", "*COMMENT \"a\"\r\n\r\n}\r\n", 3},
      {"CR only", "*COMMENT \"a\"\r\r}\r", 3},
      {"LF CR is two breaks", "*COMMENT \"a\"\n\r}", 3},
      {"first line", "}", 1},
      {"after a UTF-8 mark", "\xEF\xBB\xBF\n\n}", 3},
  };
  for (const auto& c : cases) {
    const auto r = LoadText(c.text);
    EXPECT_EQ(r.message, "Brackets do not match!") << c.what;
    EXPECT_EQ(r.line, c.line) << c.what;
  }
}

// When the text ends inside a block the error names the last line of the
// text; a final line break does not open a further line.
TEST(TokenStream, EndOfTextErrorsNameTheLastLine) {
  const struct {
    const char* what;
    std::string text;
    int line;
  } cases[] = {
      {"no final break", "*SCENE {\n*SCENE_FIRSTFRAME 1", 2},
      {"final LF", "*SCENE {\n*SCENE_FIRSTFRAME 1\n", 2},
      {"final CRLF", "*SCENE {\r\n*SCENE_FIRSTFRAME 1\r\n", 2},
      {"blank lines at the end", "*SCENE {\n\n\n\n", 4},
      {"text cut at a NUL", std::string("*SCENE {\n\0\n\n\n}", 14), 1},
  };
  for (const auto& c : cases) {
    const auto r = LoadText(c.text);
    EXPECT_EQ(r.message, "Brackets do not match!") << c.what;
    EXPECT_EQ(r.line, c.line) << c.what;
  }
}

std::string Utf16(const std::u16string& units, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t u : units) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    bytes += bigEndian ? hi : lo;
    bytes += bigEndian ? lo : hi;
  }
  return bytes;
}

TEST(TokenStream, ByteOrderMarks) {
  const std::u16string text = u"*3DSMAX_ASCIIEXPORT\t200\r\n*COMMENT \"caf\u00E9 \u263A\"\r\n";
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"UTF-16 LE", Utf16(text, false)},
      {"UTF-16 BE", Utf16(text, true)},
      {"UTF-8", "\xEF\xBB\xBF*3DSMAX_ASCIIEXPORT\t200\r\n*COMMENT \"caf\xE9 ?\"\r\n"},
  };
  for (const auto& c : cases) {
    const ScratchFile file("bom.ase", c.bytes);
    TASEFile doc;
    ASSERT_NO_THROW(doc.LoadFromFile(file.Path())) << c.what;
    ASSERT_TRUE(doc.Header) << c.what;
    EXPECT_EQ(doc.Header->Version, "200") << c.what;
    ASSERT_EQ(doc.Comments.size(), 1u) << c.what;
    // Code units below 256 become that byte; others become '?'.
    EXPECT_EQ(doc.Comments[0]->Text, "caf\xE9 ?") << c.what;
  }
}

TEST(TokenStream, ByteOrderMarkDetailsAndLookalikes) {
  const struct {
    const char* what;
    std::string bytes;
    std::string text;
  } cases[] = {
      {"UTF-16 NUL unit cuts the text", Utf16(std::u16string(u"ab c\0d", 6), false), "ab c"},
      {"UTF-16 odd last byte dropped", Utf16(u"ab", true) + "A", "ab"},
      {"UTF-16 surrogate pair", Utf16(u"a\U0001F600b", false), "a??b"},
      {"mark alone", "\xFF\xFE", ""},
      {"UTF-8 mark only dropped at the start", "a\xEF\xBB\xBF", "a\xEF\xBB\xBF"},
      {"no mark: bytes unchanged", "\xFE\xFE\xFF", "\xFE\xFE\xFF"},
      {"one UTF-8 mark only",
       "\xEF\xBB\xBF\xEF\xBB\xBF"
       "a",
       "\xEF\xBB\xBF"
       "a"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TTokenStream::FromText(c.bytes).Text(), c.text) << c.what;
  }
  // A UTF-8 mark is not glued to the first keyword.
  EXPECT_EQ(CutText("\xEF\xBB\xBF*SCENE {").tokens, (Tokens{"*SCENE", "{"}));
}

TEST(TokenStream, FileReadsLikeText) {
  const std::string bytes = std::string("*COMMENT \"x\xFFy\"\r\n\t{ }") + '\0' + "} }";
  const ScratchFile file("plain.ase", bytes);
  TTokenStream stream = TTokenStream::LoadFromFile(file.Path());
  EXPECT_EQ(CutAll(stream).tokens, (Tokens{"*COMMENT", "\"x\xFFy\"", "{", "}"}));
}

TEST(TokenStream, SmallAndOddFiles) {
  const struct {
    const char* what;
    std::string bytes;
    Tokens tokens;
  } cases[] = {
      {"empty", "", {}},
      {"one NUL", std::string(1, '\0'), {}},
      {"UTF-8 mark only", "\xEF\xBB\xBF", {}},
      {"UTF-16 mark only", "\xFE\xFF", {}},
      {"one byte", "x", {"x"}},
      {"no final line break", "a\r\nb", {"a", "b"}},
  };
  for (const auto& c : cases) {
    const ScratchFile file("odd.ase", c.bytes);
    TTokenStream stream = TTokenStream::LoadFromFile(file.Path());
    EXPECT_EQ(CutAll(stream).tokens, c.tokens) << c.what;
    EXPECT_EQ(stream.NextToken(), "") << c.what;
  }
}

TEST(TokenStream, MissingFileNamesFullPathAndReason) {
  const std::string name = "no_such_dir_tessaly/missing.ase";
  const std::string expected = "Cannot open file \"" +
                               (std::filesystem::current_path() / name).string() + "\". " +
                               std::strerror(ENOENT);
  try {
    TTokenStream::LoadFromFile(name);
    FAIL() << "no error";
  } catch (const EParseError& e) {
    EXPECT_EQ(e.what(), expected);
    EXPECT_EQ(e.Line(), 0);
  }
  // Through the document, which stays as it was.
  TASEFile doc;
  ASSERT_NO_THROW(doc.LoadFromText("*COMMENT \"kept\""));
  try {
    doc.LoadFromFile(name);
    FAIL() << "no error";
  } catch (const EParseError& e) {
    EXPECT_EQ(e.what(), expected);
  }
  ASSERT_EQ(doc.Comments.size(), 1u);
  EXPECT_EQ(doc.Comments[0]->Text, "kept");
}

TEST(TokenStream, DirectoryCannotBeRead) {
  const auto dir = std::filesystem::temp_directory_path();
  try {
    TTokenStream::LoadFromFile(dir.string());
    FAIL() << "no error";
  } catch (const EParseError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + dir.lexically_normal().string() +
                                         "\". " + std::strerror(EISDIR));
  }
}

TEST(StripQuotes, RemovesOneQuoteAtEachEnd) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"\"", ""},
      {"'", ""},
      {"\"\"", ""},
      {"abc", "abc"},
      {"\"abc\"", "abc"},
      {"'abc\"", "abc"},
      {"\"abc'", "abc"},
      {"\"abc", "abc"},
      {"abc'", "abc"},
      {"\"\"abc\"\"", "\"abc\""},
      {"a\"b'c", "a\"b'c"},
      {"`abc`", "`abc`"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(StripQuotes(c.in), c.out) << "[" << c.in << "]";
}

}  // namespace
}  // namespace tessaly
