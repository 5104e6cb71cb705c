// Writes a loaded ASE document as JSON: every field of every block, named as
// in the model. Streams through a buffer, so files of hundreds of MB dump at
// about the rate they load.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "ase_model/ase_document.h"

namespace tessaly {

class JsonWriter {
 public:
  explicit JsonWriter(std::FILE* out) : out_(out) {}
  ~JsonWriter() { Flush(); }
  JsonWriter(const JsonWriter&) = delete;
  JsonWriter& operator=(const JsonWriter&) = delete;

  void Raw(std::string_view text);
  // A byte string: each byte becomes the code point of the same number, so
  // any input gives valid UTF-8.
  void String(std::string_view bytes);
  void Int(long long value);
  void Bool(bool value) { Raw(value ? "true" : "false"); }
  // The shortest decimal that reads back as the same float; infinities and
  // NaN as the strings "inf", "-inf" and "nan".
  void Float(float value);
  void Null() { Raw("null"); }
  // Writes `"name": ` (with a separating comma when needed by the caller).
  void Key(std::string_view name);
  void Flush();

 private:
  void Reserve(size_t n) {
    if (used_ + n > sizeof buffer_) Flush();
  }
  std::FILE* out_;
  size_t used_ = 0;
  char buffer_[1 << 16];
};

// The document as one JSON object.
void WriteDocument(JsonWriter& json, const TASEFile& document);

}  // namespace tessaly
