#include "ase_model/ase_reader.h"

#include "ase_model/ase_numbers.h"

namespace tessaly {

std::string TASEReader::ReadQuotedFrom(std::string_view first) {
  std::string text(first);
  std::string_view token = first;
  while (!token.ends_with('"')) {
    if (token.empty()) Fail("Unterminated string!");
    token = Next();
    text += ' ';
    text += token;
  }
  return StripQuotes(text);
}

int32_t TASEReader::ToIntInFull(std::string_view token) {
  if (const auto value = ParseWholeNumberInFull(token)) return *value;
  Fail("'" + std::string(token) + "' is not a valid integer value");
}

float TASEReader::ToRealInFull(std::string_view token) {
  if (separator_ == 0) separator_ = token.find(',') != std::string_view::npos ? ',' : '.';
  if (const auto value = ParseRealInFull(token, separator_)) return *value;
  Fail("'" + std::string(token) + "' is not a valid floating point value");
}

void TASEReader::FailIndex(int32_t index, const char* name) const {
  Fail("Index " + std::to_string(index) + " out of range in " + name + " list");
}

TASEVector3 ReadVector3(TASEReader& reader) {
  TASEVector3 v;
  v.X = reader.ReadReal();
  v.Y = reader.ReadReal();
  v.Z = reader.ReadReal();
  return v;
}

void ReadRGB(TASEReader& reader, TASEColor& color) {
  color.R = reader.ReadReal();
  color.G = reader.ReadReal();
  color.B = reader.ReadReal();
}

void FailBadBlockStart(TASEReader& reader, std::string_view token) {
  reader.Fail("Can't deal with this! (Token: \"" + std::string(token) + "\")");
}

void FailRejected(TASEReader& reader, const char* prefix, std::string_view token) {
  reader.Fail(prefix + ("\"" + std::string(token)) + "\")");
}

}  // namespace tessaly
