// libFuzzer target: arbitrary bytes through the whole parser, from memory.
//
// Each input is cut into tokens on its own (checking what every token must
// be, and that the quick number conversions agree with the full ones), then loaded as an ASE text
// and, whether the load ends in a document or in a parse error, the whole document is walked by the
// JSON writer, so every field of a partly read document is touched too. A parse error is an
// expected outcome; anything else that escapes (std::bad_alloc, a length
// error) and every sanitizer report is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "ase_model/ase_document.h"
#include "ase_model/ase_numbers.h"
#include "token_stream/token_stream.h"
#include "tools/json_dump.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

// The quick number conversions must agree with the full ones wherever they
// give a value. The quick real conversion gets a copy of the token followed
// by bytes that are not part of it (the filler), which must not change the
// result.
void CompareConversions(std::string_view token, char filler) {
  int32_t whole = 0;
  if (tessaly::QuickWholeNumber(token, whole)) {
    const auto full = tessaly::ParseWholeNumberInFull(token);
    Check(full.has_value() && *full == whole, "quick and full whole numbers differ");
  }
  char padded[64];
  if (token.size() + 16 > sizeof padded) return;
  std::memset(padded, filler, sizeof padded);
  std::memcpy(padded, token.data(), token.size());
  const std::string_view copy(padded, token.size());
  for (const char separator : {'.', ','}) {
    float quick = 0;
    if (!tessaly::QuickReal(copy, separator, quick)) continue;
    const auto full = tessaly::ParseRealInFull(token, separator);
    Check(full.has_value(), "quick real accepts what the full conversion refuses");
    Check(std::memcmp(&quick, &*full, sizeof quick) == 0, "quick and full reals differ");
  }
  // The variant for tokens that a delimiter ends, as every stream token is.
  padded[token.size()] = ' ';
  for (const char separator : {'.', ','}) {
    float quick = 0;
    if (!tessaly::QuickRealDelimited(copy, separator, quick)) continue;
    const auto full = tessaly::ParseRealInFull(token, separator);
    Check(full.has_value(), "delimited quick real accepts what the full conversion refuses");
    Check(std::memcmp(&quick, &*full, sizeof quick) == 0, "delimited quick and full reals differ");
  }
}

// Every token is a run of non-delimiter bytes; only whole "{" / "}" tokens
// move the depth; the end of the text is the empty token, for good.
void CutTokens(const std::string& text) {
  tessaly::TTokenStream stream = tessaly::TTokenStream::FromText(text);
  int depth = 0;
  try {
    for (;;) {
      const std::string_view token = stream.NextToken();
      if (token.empty()) break;
      for (const char c : token) {
        Check(!tessaly::TTokenStream::kDelimiter[static_cast<unsigned char>(c)],
              "delimiter inside a token");
      }
      CompareConversions(token, text[text.size() / 2]);
      if (token == "{") ++depth;
      if (token == "}") --depth;
      Check(stream.Depth == depth, "depth out of step with the braces");
      Check(depth >= 0, "negative depth delivered");
    }
    Check(stream.NextToken().empty() && stream.Depth == depth, "stream moved after its end");
  } catch (const tessaly::EParseError& e) {
    Check(std::string_view(e.what()) == "Brackets do not match!", "unexpected stream error");
    Check(depth == 0, "brace error at a positive depth");
  }
}

std::FILE* Sink() {
  static std::FILE* const sink = std::fopen("/dev/null", "w");
  return sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CutTokens(text);

  tessaly::TASEFile document;
  try {
    document.LoadFromText(text);
  } catch (const tessaly::EParseError& e) {
    Check(e.what()[0] != '\0', "parse error without a message");
    Check(e.Line() >= 1, "parse error without a line");
  }
  tessaly::JsonWriter json(Sink());
  tessaly::WriteDocument(json, document);
  return 0;
}
