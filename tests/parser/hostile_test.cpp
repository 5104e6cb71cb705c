// Hostile input: huge, deep, malformed and unreadable files must end in a
// clear parse error or a valid document, never a crash, a hang or a runaway
// allocation.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "parser_test_util.h"
#include "tools/json_dump.h"

namespace tessaly::test {
namespace {

constexpr size_t kHundredMB = 100u << 20;

std::string Repeat(const std::string& unit, size_t times) {
  std::string text;
  text.reserve(unit.size() * times);
  for (size_t i = 0; i < times; ++i)
    text += unit;
  return text;
}

// The whole document as JSON, to compare two loads.
std::string Dump(const TASEFile& doc) {
  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* out = open_memstream(&buffer, &size);
  {
    JsonWriter json(out);
    WriteDocument(json, doc);
  }
  std::fclose(out);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

// --- Deep nesting -----------------------------------------------------------

struct Case {
  const char* name;
  std::string text;
  const char* error;  // nullptr: must load
};

std::string PrintCase(const testing::TestParamInfo<Case>& info) {
  return info.param.name;
}

class Nesting : public testing::TestWithParam<Case> {};

TEST_P(Nesting, EndsInTheExpectedWay) {
  const Case& c = GetParam();
  const Loaded loaded = LoadText(c.text);
  if (c.error) {
    EXPECT_TRUE(loaded.failed);
    EXPECT_EQ(loaded.message, c.error);
  } else {
    EXPECT_FALSE(loaded.failed) << loaded.message;
  }
}

const std::string kMillionOpen = Repeat("{ ", 1000000);
const std::string kMillionClose = Repeat("} ", 1000000);

INSTANTIATE_TEST_SUITE_P(
    Hostile, Nesting,
    testing::Values(
        // Braces outside every block only move the depth; the end of the text
        // ends the load whatever the depth is.
        Case{"MillionOpenAtTopLevel", kMillionOpen, nullptr},
        Case{"MillionOpenGlued", std::string(1000000, '{'), nullptr},
        Case{"MillionOpenInsideScene", "*SCENE " + kMillionOpen, "Brackets do not match!"},
        Case{"MillionOpenInsideVertexList",
             "*GEOMOBJECT { *MESH { *MESH_VERTEX_LIST " + kMillionOpen,
             "Invalid token in vertex list! (\"{\")"},
        Case{"MillionBalancedInsideScene",
             "*SCENE " + kMillionOpen + "*SCENE_FIRSTFRAME 7 " + kMillionClose, nullptr},
        Case{"MillionClose", kMillionClose, "Brackets do not match!"},
        // Every known block repeated a million times inside the one before:
        // the readers nest by the format's structure, not by the text, so
        // this stays a loop and never a million-deep recursion.
        Case{
            "MillionNestedKnownBlocks",
            Repeat("*GROUP \"g\" { *GEOMOBJECT { *NODE_TM { } *MESH { *MESH_FACE_LIST { ", 200000) +
                Repeat("*MATERIAL_LIST { *MATERIAL 0 { *MAP_DIFFUSE { ", 200000),
            "Brackets do not match!"}),
    PrintCase);

// --- 100 MB tokens and strings ---------------------------------------------

TEST(Hostile, HundredMegabyteTokenAtTopLevelIsPassedOver) {
  std::string text = "*COMMENT \"before\" ";
  text.append(kHundredMB, 'x');
  text += " *COMMENT \"after\"";
  const Loaded loaded = LoadText(std::move(text));
  ASSERT_FALSE(loaded.failed) << loaded.message;
  ASSERT_EQ(loaded.doc->Comments.size(), 2u);
  EXPECT_EQ(loaded.doc->Comments[1]->Text, "after");
}

TEST(Hostile, HundredMegabyteWholeNumberFailsWithTheToken) {
  std::string text = "*SCENE { *SCENE_FIRSTFRAME 1";
  text.append(kHundredMB, '0');
  text += " }";
  const Loaded loaded = LoadText(std::move(text));
  ASSERT_TRUE(loaded.failed);
  const std::string suffix = "' is not a valid integer value";
  ASSERT_EQ(loaded.message.size(), 2 + kHundredMB + suffix.size());
  EXPECT_EQ(loaded.message.substr(0, 4), "'100");
  EXPECT_EQ(loaded.message.substr(loaded.message.size() - suffix.size()), suffix);
  EXPECT_EQ(loaded.line, 1);
}

TEST(Hostile, HundredMegabyteRealIsInfinite) {
  std::string text = "*SCENE { *SCENE_AMBIENT_STATIC 9";
  text.append(kHundredMB, '9');
  text += " 0.5 1e-100000000000 }";
  const Loaded loaded = LoadText(std::move(text));
  ASSERT_FALSE(loaded.failed) << loaded.message.substr(0, 200);
  const TASEColor& c = loaded.doc->Scene->AmbientStatic;
  EXPECT_TRUE(std::isinf(c.R) && c.R > 0);
  EXPECT_EQ(c.G, 0.5f);
  EXPECT_EQ(c.B, 0.0f);
}

// A quoted text that never closes, as one token and as millions of words,
// in each reader that gathers quoted text.
class UnclosedString : public testing::TestWithParam<std::pair<const char*, bool>> {};

TEST_P(UnclosedString, FailsAsUnterminated) {
  const auto [prefix, words] = GetParam();
  std::string text = prefix;
  text += '"';
  if (words) {
    text += Repeat("abc ", kHundredMB / 4);
  } else {
    text.append(kHundredMB, 'a');
  }
  const Loaded loaded = LoadText(std::move(text));
  EXPECT_TRUE(loaded.failed);
  EXPECT_EQ(loaded.message, "Unterminated string!");
}

INSTANTIATE_TEST_SUITE_P(Hostile, UnclosedString,
                         testing::Values(std::pair{"*COMMENT ", false},
                                         std::pair{"*COMMENT ", true}, std::pair{"*GROUP ", true},
                                         std::pair{"*GEOMOBJECT { *NODE_NAME ", false}));

// --- Numbers and indices at the 32-bit limits -------------------------------

struct NumberCase {
  const char* token;
  bool converts;
  int32_t value;
};

class WholeNumberLimits : public testing::TestWithParam<NumberCase> {};

TEST_P(WholeNumberLimits, ConvertOrFailClearly) {
  const NumberCase& c = GetParam();
  const Loaded loaded = LoadText(std::string("*SCENE { *SCENE_LASTFRAME ") + c.token + " }");
  if (c.converts) {
    ASSERT_FALSE(loaded.failed) << loaded.message;
    EXPECT_EQ(loaded.doc->Scene->LastFrame, c.value);
  } else {
    EXPECT_TRUE(loaded.failed);
    EXPECT_EQ(loaded.message, std::string("'") + c.token + "' is not a valid integer value");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, WholeNumberLimits,
    testing::Values(
        NumberCase{"2147483647", true, 2147483647}, NumberCase{"-2147483648", true, INT32_MIN},
        NumberCase{"+2147483647", true, 2147483647},
        NumberCase{"000000000000000000002147483647", true, 2147483647},
        NumberCase{"2147483648", false, 0}, NumberCase{"-2147483649", false, 0},
        NumberCase{"4294967296", false, 0}, NumberCase{"99999999999999999999999999999", false, 0},
        NumberCase{"$7FFFFFFF", true, 2147483647}, NumberCase{"$FFFFFFFF", true, -1},
        NumberCase{"0x80000000", true, INT32_MIN}, NumberCase{"$100000000", false, 0},
        NumberCase{"0x", false, 0}, NumberCase{"-", false, 0}, NumberCase{"--1", false, 0}));

struct RealCase {
  const char* token;
  float value;  // NaN never expected
};

class RealLimits : public testing::TestWithParam<RealCase> {};

TEST_P(RealLimits, SaturateOrUnderflow) {
  const RealCase& c = GetParam();
  const Loaded loaded =
      LoadText(std::string("*SCENE { *SCENE_AMBIENT_STATIC ") + c.token + " 0 0 }");
  ASSERT_FALSE(loaded.failed) << loaded.message;
  EXPECT_EQ(loaded.doc->Scene->AmbientStatic.R, c.value);
}

constexpr float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Hostile, RealLimits,
    testing::Values(RealCase{"3.4028235e38", 3.4028235e38f}, RealCase{"3.5e38", kInf},
                    RealCase{"-1e39", -kInf}, RealCase{"1e2147483648", kInf},
                    RealCase{"1e-2147483649", 0.0f}, RealCase{"1e99999999999999999999999999", kInf},
                    RealCase{"0.00000000000000000000000000000000000000000000000001e50", 1.0f},
                    RealCase{"1.401298464e-45", 1.401298464e-45f}, RealCase{"1e-46", 0.0f},
                    RealCase{"2147483648", 2147483648.0f}));

// An index at either end of the 32-bit range is refused before any table
// grows, in every numbered table; one past the top does not convert.
struct IndexCase {
  const char* name;
  const char* before;  // text up to the index
  const char* after;   // the entry's values and the closing braces
  const char* list;
};

class IndexLimits : public testing::TestWithParam<IndexCase> {};

TEST_P(IndexLimits, TopAndBottomOfTheRangeAreRefused) {
  const IndexCase& c = GetParam();
  for (const char* index : {"2147483647", "-2147483648", "2147483646"}) {
    const Loaded loaded = LoadText(std::string(c.before) + index + c.after);
    EXPECT_TRUE(loaded.failed);
    EXPECT_EQ(loaded.message,
              std::string("Index ") + index + " out of range in " + c.list + " list");
  }
  const Loaded beyond = LoadText(std::string(c.before) + "2147483648" + c.after);
  EXPECT_TRUE(beyond.failed);
  EXPECT_NE(beyond.message.find("is not a valid integer value"), std::string::npos)
      << beyond.message;
}

#define MESH_LIST(block, entry) "*GEOMOBJECT { *MESH { " block " { " entry " "
INSTANTIATE_TEST_SUITE_P(
    Hostile, IndexLimits,
    testing::Values(
        IndexCase{"Material", "*MATERIAL_LIST { *MATERIAL ", " { } }", "material"},
        IndexCase{"Vertex", MESH_LIST("*MESH_VERTEX_LIST", "*MESH_VERTEX"), " 0 0 0 } } }",
                  "vertex"},
        IndexCase{"Face", MESH_LIST("*MESH_FACE_LIST", "*MESH_FACE"),
                  ": A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 1 } } }", "face"},
        IndexCase{"FaceNormal", MESH_LIST("*MESH_NORMALS", "*MESH_FACENORMAL"), " 0 0 1 } } }",
                  "face normal"},
        IndexCase{"VertexNormal", MESH_LIST("*MESH_NORMALS", "*MESH_VERTEXNORMAL"), " 0 0 1 } } }",
                  "vertex normal"},
        IndexCase{"TVertex", MESH_LIST("*MESH_TVERTLIST", "*MESH_TVERT"), " 0 0 0 } } }",
                  "tvertex"},
        IndexCase{"CVertex", MESH_LIST("*MESH_CVERTLIST", "*MESH_VERTCOL"), " 1 1 1 } } }",
                  "cvertex"},
        IndexCase{"TFace", MESH_LIST("*MESH_TFACELIST", "*MESH_TFACE"), " 0 1 2 } } }", "tface"},
        IndexCase{"CFace", MESH_LIST("*MESH_CFACELIST", "*MESH_CFACE"), " 0 1 2 } } }", "cface"}),
    [](const testing::TestParamInfo<IndexCase>& info) { return std::string(info.param.name); });
#undef MESH_LIST

// Corner, texture and colour indices are stored as written, also at the ends
// of the range: nothing sizes a table by them.
TEST(Hostile, CornerIndicesAtTheLimitsAreStoredAsWritten) {
  const auto doc = MustLoad(
      "*GEOMOBJECT { *MESH {"
      " *MESH_FACE_LIST { *MESH_FACE 0: A: 2147483647 B: -2147483648 C: -1 AB: 1 BC: 1 CA: 1"
      "   *MESH_SMOOTHING 2147483647 *MESH_MTLID -2147483648 }"
      " *MESH_TFACELIST { *MESH_TFACE 0 2147483647 -2147483648 -1 } } }");
  const TASEFace face = doc->GeomObjects[0]->Mesh->FaceList->GetFace(0);
  EXPECT_EQ(face.A, INT32_MAX);
  EXPECT_EQ(face.B, INT32_MIN);
  EXPECT_EQ(face.C, -1);
  EXPECT_EQ(face.MaterialID, INT32_MIN);
  EXPECT_EQ(doc->GeomObjects[0]->Mesh->TFaceList->TFaces[0].A, INT32_MAX);
}

// --- Odd bytes ---------------------------------------------------------------

TEST(Hostile, NulBytesEndTheText) {
  // The text ends at its first NUL byte, from memory and from a file alike.
  static const char kBytes[] = "*COMMENT \"kept\" *COMMENT \"cut\0 here\" *COMMENT \"lost\"";
  const std::string text(kBytes, sizeof kBytes - 1);
  const Loaded fromMemory = LoadText(text);
  EXPECT_TRUE(fromMemory.failed);
  EXPECT_EQ(fromMemory.message, "Unterminated string!");
  ASSERT_EQ(fromMemory.doc->Comments.size(), 2u);
  EXPECT_EQ(fromMemory.doc->Comments[0]->Text, "kept");

  ScratchFile file("nul.ase", text);
  TASEFile fromFile;
  EXPECT_THROW(fromFile.LoadFromFile(file.Path()), EParseError);
  EXPECT_EQ(fromFile.Comments.size(), 2u);

  EXPECT_EQ(LoadText(std::string(1 << 20, '\0')).doc->Comments.size(), 0u);
  EXPECT_FALSE(LoadText(std::string("\0}", 2)).failed);  // the "}" is never seen
}

TEST(Hostile, HighBytesAreOrdinaryTokenBytes) {
  // Every byte from 128 to 255 in names, glued to keywords and in place of
  // numbers: names keep them, keywords with them are not keywords, numbers
  // with them do not convert.
  std::string text;
  std::string allHigh;
  for (int b = 128; b < 256; ++b)
    allHigh += static_cast<char>(b);
  for (int b = 128; b < 256; ++b) {
    const std::string high(1, static_cast<char>(b));
    text += "*GEOMOBJECT { *NODE_NAME \"" + high + "name" + high + "\" *MESH" + high + " { } " +
            high + "*MATERIAL_REF" + " " + high + " }\n";
  }
  text += "*COMMENT \"" + allHigh + "\"";
  const Loaded loaded = LoadText(text);
  ASSERT_FALSE(loaded.failed) << loaded.message;
  ASSERT_EQ(loaded.doc->GeomObjects.size(), 128u);
  for (int b = 128; b < 256; ++b) {
    const TASEGeomObject& object = *loaded.doc->GeomObjects[static_cast<size_t>(b - 128)];
    const std::string high(1, static_cast<char>(b));
    EXPECT_EQ(object.NodeName, high + "name" + high);
    EXPECT_EQ(object.Mesh, nullptr);
    EXPECT_EQ(object.MaterialRef, 0);
  }
  EXPECT_EQ(loaded.doc->Comments[0]->Text, allHigh);

  const Loaded badNumber = LoadText("*GEOMOBJECT { *MATERIAL_REF 1\xB9 }");
  EXPECT_EQ(badNumber.message, "'1\xB9' is not a valid integer value");
  const Loaded badReal = LoadText("*SCENE { *SCENE_AMBIENT_STATIC 0.5\xA0 0 0 }");
  EXPECT_EQ(badReal.message, "'0.5\xA0' is not a valid floating point value");

  // Upper-case letters with the top bit set are not their ASCII letters.
  std::string notScene = "*SCENE { *SCENE_FIRSTFRAME 3 }";
  notScene[2] = static_cast<char>('C' | 0x80);
  EXPECT_EQ(LoadText(notScene).doc->Scene, nullptr);

  // A megabyte of nothing but high bytes and blanks is a text without
  // keywords.
  std::string noise;
  for (size_t i = 0; i < (1u << 20); ++i)
    noise += static_cast<char>(i % 7 == 0 ? ' ' : 128 + i % 128);
  const Loaded noisy = LoadText(noise);
  EXPECT_FALSE(noisy.failed);
}

TEST(Hostile, CarriageReturnOnlyLineBreaks) {
  const std::string lf =
      "*3DSMAX_ASCIIEXPORT 200\n*COMMENT \"two\n words\"\n*MATERIAL_LIST {\n *MATERIAL 0 {\n"
      "  *MATERIAL_NAME \"Red\"\n  *MATERIAL_DIFFUSE 1.0 0.0 0.0\n }\n}\n*GEOMOBJECT {\n *MESH {\n"
      "  *MESH_VERTEX_LIST {\n   *MESH_VERTEX 0 0 0 0\n   *MESH_VERTEX 1 1 0 0\n  }\n"
      "  *MESH_FACE_LIST {\n   *MESH_FACE 0: A: 0 B: 1 C: 1 AB: 1 BC: 1 CA: 1\n  }\n }\n}\n";
  std::string cr = lf;
  for (char& c : cr) {
    if (c == '\n') c = '\r';
  }
  const auto fromLf = MustLoad(lf);
  const auto fromCr = MustLoad(cr);
  EXPECT_EQ(Dump(*fromCr), Dump(*fromLf));
  EXPECT_EQ(fromCr->Comments[0]->Text, "two words");

  // Error lines count CR-only line breaks.
  const Loaded bad = LoadText("*SCENE {\r\r*SCENE_FIRSTFRAME x\r}\r");
  EXPECT_EQ(bad.message, "'x' is not a valid integer value");
  EXPECT_EQ(bad.line, 3);
}

// --- The end of a large text -----------------------------------------------

// Large texts live in a buffer of their own whose padding ends where the
// buffer does: a number that ends the text, read through the quick
// conversions, must stop at the padding. The buffer is sized so that it ends
// on a page boundary, where reading past it would fault.
class EndOfLargeText : public testing::TestWithParam<const char*> {};

TEST_P(EndOfLargeText, LastNumberStopsAtTheEnd) {
  const std::string last = GetParam();
  const size_t size = 4096 * 300 - 16;  // over 1 MB; with 16 bytes of padding, whole pages
  std::string text = "*GEOMOBJECT { *MESH { *MESH_VERTEX_LIST {";
  const std::string entry = "*MESH_VERTEX 7 1.5 -2.25 " + last;
  text.append(size - text.size() - entry.size() - 1, ' ');
  text += '\n';
  text += entry;
  ASSERT_EQ(text.size(), size);
  const float expected = std::stof(last);

  auto check = [&](const TASEFile& doc, const std::string& message) {
    EXPECT_EQ(message, "Invalid token in vertex list! (\"\")");
    ASSERT_EQ(doc.GeomObjects.size(), 1u);
    const TASEVector3 v = doc.GeomObjects[0]->Mesh->VertexList->GetVertex(7);
    EXPECT_EQ(v.X, 1.5f);
    EXPECT_EQ(v.Y, -2.25f);
    EXPECT_EQ(v.Z, expected);
  };
  const Loaded fromMemory = LoadText(text);
  check(*fromMemory.doc, fromMemory.message);

  ScratchFile file("large_end.ase", text);
  TASEFile fromFile;
  std::string message;
  try {
    fromFile.LoadFromFile(file.Path());
  } catch (const EParseError& e) {
    message = e.what();
  }
  check(fromFile, message);
}

INSTANTIATE_TEST_SUITE_P(Hostile, EndOfLargeText,
                         testing::Values("3", "-0.5", "12345.678", "1234567.125", "123456789012.5",
                                         "0.000000000000001", "99999999999999999999.5"));

// --- Files that cannot be read, or hold nothing ------------------------------

TEST(Hostile, DirectoryIsACannotOpenError) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tessaly_dir_" + std::to_string(::getpid()));
  std::filesystem::create_directory(dir);
  TASEFile doc;
  try {
    doc.LoadFromFile(dir.string());
    ADD_FAILURE() << "a directory loaded";
  } catch (const EParseError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + dir.string() + "\". Is a directory");
    EXPECT_EQ(e.Line(), 0);
  }
  std::filesystem::remove(dir);
}

// The message a load of the named file ends with, in a child process that
// has given up root's right to read every file. Empty when it loaded.
std::string LoadMessageAsNobody(const std::string& path) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeFds[0]);
    std::string message;
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
      message = "setuid failed";
    } else {
      try {
        TASEFile doc;
        doc.LoadFromFile(path);
      } catch (const EParseError& e) {
        message = e.what();
      }
    }
    (void)!::write(pipeFds[1], message.data(), message.size());
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  std::string message;
  char buffer[512];
  for (ssize_t got; (got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
    message.append(buffer, got);
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return message;
}

TEST(Hostile, UnreadableFileIsACannotOpenError) {
  ScratchFile file("unreadable.ase", "*COMMENT \"secret\"");
  ASSERT_EQ(::chmod(file.Path().c_str(), 0), 0);
  const std::string expected = "Cannot open file \"" + file.Path() + "\". Permission denied";
  if (::geteuid() != 0) {
    TASEFile doc;
    try {
      doc.LoadFromFile(file.Path());
      ADD_FAILURE() << "an unreadable file loaded";
    } catch (const EParseError& e) {
      EXPECT_EQ(std::string(e.what()), expected);
    }
    return;
  }
  // Root reads a file whatever its mode: the load succeeds, and the refusal
  // is checked in a child running as nobody.
  TASEFile asRoot;
  asRoot.LoadFromFile(file.Path());
  EXPECT_EQ(asRoot.Comments.size(), 1u);
  const std::string message = LoadMessageAsNobody(file.Path());
  if (message == "setuid failed") GTEST_SKIP() << "cannot drop root's rights here";
  EXPECT_EQ(message, expected);
}

TEST(Hostile, EmptyFileIsAnEmptyDocument) {
  ScratchFile file("empty.ase", "");
  TASEFile doc;
  doc.LoadFromFile(file.Path());
  EXPECT_EQ(doc.Header, nullptr);
  EXPECT_TRUE(doc.Comments.empty());
  EXPECT_EQ(doc.MaterialList, nullptr);
  EXPECT_TRUE(doc.GeomObjects.empty());
  EXPECT_FALSE(LoadText("").failed);
  EXPECT_FALSE(LoadText(" \t\r\n\r\n").failed);
}

}  // namespace
}  // namespace tessaly::test
