// The whole-number and real-number conversions, table-driven.
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "ase_model/ase_numbers.h"
#include "parser_test_util.h"

namespace tessaly {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

struct WholeCase {
  std::string token;
  std::optional<int32_t> value;
};

const WholeCase kWholeCases[] = {
    {"0", 0},
    {"-0", 0},
    {"+7", 7},
    {"-7", -7},
    {"007", 7},
    {"2147483647", kMax},
    {"-2147483648", kMin},
    {"+2147483647", kMax},
    {"2147483648", std::nullopt},
    {"-2147483649", std::nullopt},
    {"99999999999999999999", std::nullopt},
    {"00000000000000000000012", 12},
    // Hexadecimal forms, read as a 32-bit pattern.
    {"$1F", 31},
    {"$1f", 31},
    {"0x1F", 31},
    {"0X1f", 31},
    {"-$10", -16},
    {"$7FFFFFFF", kMax},
    {"$80000000", kMin},
    {"$FFFFFFFF", -1},
    {"0x00000000FF", 255},
    {"$100000000", std::nullopt},
    {"$", std::nullopt},
    {"0x", std::nullopt},
    {"$1G", std::nullopt},
    {"0x-1", std::nullopt},
    {"x1F", std::nullopt},
    {"1F", std::nullopt},
    // Junk.
    {"", std::nullopt},
    {"+", std::nullopt},
    {"-", std::nullopt},
    {"--1", std::nullopt},
    {"+-1", std::nullopt},
    {"1.0", std::nullopt},
    {"1,0", std::nullopt},
    {"1e3", std::nullopt},
    {"12:", std::nullopt},
    {"1 ", std::nullopt},
    {" 1", std::nullopt},
    {"{", std::nullopt},
    {"000000000", 0},
    {"999999999", 999999999},
    {"1234567890", 1234567890},
    {"12345678:", std::nullopt},
    {"1234/", std::nullopt},
};

TEST(WholeNumber, Conversions) {
  for (const auto& c : kWholeCases) {
    EXPECT_EQ(ParseWholeNumber(c.token), c.value) << "[" << c.token << "]";
  }
}

const float kInf = std::numeric_limits<float>::infinity();

struct RealCase {
  std::string token;
  std::optional<float> value;
};

void CheckReals(const RealCase* begin, const RealCase* end, char separator) {
  for (const RealCase* c = begin; c != end; ++c) {
    const std::optional<float> got = ParseReal(c->token, separator);
    ASSERT_EQ(got.has_value(), c->value.has_value()) << "[" << c->token << "] " << separator;
    if (!got) continue;
    // Bit for bit: the sign of zero and the rounding both count.
    EXPECT_EQ(std::signbit(*got), std::signbit(*c->value)) << "[" << c->token << "]";
    EXPECT_EQ(*got, *c->value) << "[" << c->token << "]";
  }
}

const RealCase kFullStopCases[] = {
    {"0", 0.0f},
    {"1.5", 1.5f},
    {"-2.25", -2.25f},
    {"+3", 3.0f},
    {".5", 0.5f},
    {"5.", 5.0f},
    {"-.5", -0.5f},
    {"-0.0000", -0.0f},
    {"0.0000", 0.0f},
    {"1e3", 1000.0f},
    {"1E-2", 0.01f},
    {"2.5e+1", 25.0f},
    {"1.e1", 10.0f},
    {"0.1", 0.1f},
    {"0.8000", 0.8f},
    // Correctly rounded to a float, never through a double first.
    {"16777217", 16777216.0f},
    {"16777219", 16777220.0f},
    {"1.00000017881393432617187499", 1.00000011920928955078125f},
    {"1.000000178813934326171875", 1.0000002384185791015625f},
    {"3.4028235e38", std::numeric_limits<float>::max()},
    {"1e-45", std::numeric_limits<float>::denorm_min()},
    {"1.1754944e-38", std::numeric_limits<float>::min()},
    // Overflow gives infinity, underflow a signed zero.
    {"3.4028236e38", kInf},
    {"1e39", kInf},
    {"-1e39", -kInf},
    {"1e100000000000", kInf},
    {"0.000001e45", kInf},
    {"1000000000000000000000000000000000000000", kInf},
    {"1e-46", 0.0f},
    {"-1e-46", -0.0f},
    {"1e-100000000000", 0.0f},
    {"100e-48", 0.0f},
    {"0e999999", 0.0f},
    {"-0e-999999", -0.0f},
    // Not numbers.
    {"", std::nullopt},
    {".", std::nullopt},
    {"-", std::nullopt},
    {"+.", std::nullopt},
    {"e5", std::nullopt},
    {"1e", std::nullopt},
    {"1e+", std::nullopt},
    {"1e1.5", std::nullopt},
    {"--1", std::nullopt},
    {"+-1", std::nullopt},
    {"1.2.3", std::nullopt},
    {"1,5", std::nullopt},
    {"inf", std::nullopt},
    {"-inf", std::nullopt},
    {"INF", std::nullopt},
    {"infinity", std::nullopt},
    {"nan", std::nullopt},
    {"NaN", std::nullopt},
    {"-1.#IND", std::nullopt},
    {"1.#QNAN", std::nullopt},
    {"0x1p3", std::nullopt},
    {"1.5f", std::nullopt},
    {"1d2", std::nullopt},
    {" 1", std::nullopt},
    {"1 ", std::nullopt},
    {"}", std::nullopt},
    // Short tokens of every shape, digits and separator anywhere.
    {"12345678", 12345678.0f},
    {"99999999", 100000000.0f},
    {"123456789", 123456792.0f},
    {"9999.9999", 10000.0f},
    {"1234.5678", 1234.5678f},
    {".12345678", 0.12345678f},
    {"12345678.", 12345678.0f},
    {"-9999999.9", -10000000.0f},
    {"0.00000001", 1e-8f},
    {"00000000.", 0.0f},
    {"-54.9536", -54.9536f},
    {"0.33333334", 0.33333334f},
    {"8.", 8.0f},
    {".8", 0.8f},
    {"+.8", 0.8f},
    {"-.", std::nullopt},
    {"12:4", std::nullopt},
    {"1?", std::nullopt},
    {"9;", std::nullopt},
    {"0>", std::nullopt},
    {"1/2", std::nullopt},
    {"1..", std::nullopt},
    {"..1", std::nullopt},
    {"1.2e", std::nullopt},
    {"\xB9", std::nullopt},
    {"1\xB9", std::nullopt},
};

TEST(RealNumber, FullStopSeparator) {
  CheckReals(std::begin(kFullStopCases), std::end(kFullStopCases), '.');
}

const RealCase kCommaCases[] = {
    {"1,5", 1.5f},
    {"-0,5e1", -5.0f},
    {",5", 0.5f},
    {"5,", 5.0f},
    {"-0,0000", -0.0f},
    {"7", 7.0f},
    {"2e3", 2000.0f},
    {"0,1", 0.1f},
    {"1,00000017881393432617187499", 1.00000011920928955078125f},
    {"1e39", kInf},
    {"1.5", std::nullopt},
    {"1,5,0", std::nullopt},
    {"1,5.0", std::nullopt},
    {",", std::nullopt},
    {"1234,5678", 1234.5678f},
    {"12345678,", 12345678.0f},
    {",12345678", 0.12345678f},
    {"1.", std::nullopt},
    {".5", std::nullopt},
};

TEST(RealNumber, CommaSeparator) {
  CheckReals(std::begin(kCommaCases), std::end(kCommaCases), ',');
}

// The same tables through the block readers, which take their own quick
// paths: each token as a real value of a node transform, after a first real
// value that fixes the separator.
bool FitsOneToken(const std::string& token) {
  return !token.empty() && token.find_first_of(std::string(" \t\r\n\0", 5)) == std::string::npos;
}

void CheckRealsInDocuments(const RealCase* begin, const RealCase* end, const char* first) {
  for (const RealCase* c = begin; c != end; ++c) {
    if (!FitsOneToken(c->token)) continue;
    // The token stands last in its line and in the text: a quick path must
    // not read beyond it.
    for (const char* after : {" } }\n", ""}) {
      const auto r = test::LoadText(std::string("*GEOMOBJECT { *NODE_TM { *TM_ROTANGLE ") + first +
                                    "\n*TM_SCALEAXISANG " + c->token + after);
      if (!c->value) {
        EXPECT_EQ(r.message, "'" + c->token + "' is not a valid floating point value")
            << "[" << c->token << "] " << first;
        continue;
      }
      if (*after) {
        EXPECT_FALSE(r.failed) << "[" << c->token << "] " << first << ": " << r.message;
      } else {
        EXPECT_EQ(r.message, "Brackets do not match!") << "[" << c->token << "]";
      }
      ASSERT_EQ(r.doc->GeomObjectCount(), 1);
      const float got = r.doc->GetGeomObject(0)->NodeTM->ScaleAxisAng;
      EXPECT_EQ(std::signbit(got), std::signbit(*c->value)) << "[" << c->token << "]";
      EXPECT_EQ(got, *c->value) << "[" << c->token << "] " << first;
    }
  }
}

TEST(RealNumber, ThroughTheReaders) {
  CheckRealsInDocuments(std::begin(kFullStopCases), std::end(kFullStopCases), "0.5");
  CheckRealsInDocuments(std::begin(kCommaCases), std::end(kCommaCases), "0,5");
}

TEST(WholeNumber, ThroughTheReaders) {
  for (const auto& c : kWholeCases) {
    if (!FitsOneToken(c.token)) continue;
    for (const char* after : {" }\n", ""}) {
      const auto r = test::LoadText("*SCENE {\n*SCENE_FIRSTFRAME " + c.token + after);
      if (!c.value) {
        EXPECT_EQ(r.message, "'" + c.token + "' is not a valid integer value") << c.token;
        continue;
      }
      EXPECT_EQ(r.message, *after ? "" : "Brackets do not match!") << c.token;
      EXPECT_EQ(r.doc->Scene->FirstFrame, *c.value) << c.token;
    }
  }
}

}  // namespace
}  // namespace tessaly
