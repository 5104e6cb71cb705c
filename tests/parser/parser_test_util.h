// Helpers shared by the parser tests: loading ASE text held in memory and
// capturing the error a load ends with, and scratch files on disk.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "ase_model/ase_document.h"
#include "token_stream/token_stream.h"

namespace tessaly::test {

// The outcome of one load: the document as far as it was read, and the
// error that ended the load (empty message when it loaded).
struct Loaded {
  std::unique_ptr<TASEFile> doc = std::make_unique<TASEFile>();
  bool failed = false;
  std::string message;
  int line = 0;
};

inline Loaded LoadText(std::string text) {
  Loaded result;
  try {
    result.doc->LoadFromText(std::move(text));
  } catch (const EParseError& e) {
    result.failed = true;
    result.message = e.what();
    result.line = e.Line();
  }
  return result;
}

// Loads text that must load; fails the test with the message otherwise.
inline std::unique_ptr<TASEFile> MustLoad(const std::string& text) {
  Loaded result = LoadText(text);
  EXPECT_FALSE(result.failed) << "line " << result.line << ": " << result.message
                              << "\n--- text ---\n"
                              << text;
  return std::move(result.doc);
}

// A file in the system's temporary folder, unique to this process and name,
// removed when the object goes.
class ScratchFile {
 public:
  ScratchFile(const std::string& name, const std::string& bytes)
      : path_(std::filesystem::temp_directory_path() /
              ("tessaly_" + std::to_string(::getpid()) + "_" + name)) {
    std::ofstream out(path_, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  ~ScratchFile() {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  std::string Path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace tessaly::test
