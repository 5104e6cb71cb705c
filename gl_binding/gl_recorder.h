// A stand-in for the OpenGL and GLU libraries: while a TGLRecorder lives, the
// table `GL` points at functions that only record each call with its
// arguments. For tests and fuzzing of the code that draws.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "gl_binding/gl_binding.h"

namespace tessaly {

struct TGLCall {
  std::string Name;
  std::vector<double> Args;  // enumerants and integers as their values
};

// The text of one call, "glColor4f(1, 0.5, 0, 1)": floats in their shortest
// form, enumerants in decimal.
std::string FormatGLCall(const std::string& name, const std::vector<double>& args = {});

class TGLRecorder {
 public:
  // With keepCalls false only CallCount grows (for fuzzing).
  explicit TGLRecorder(bool keepCalls = true);
  ~TGLRecorder();  // puts the previous table back
  TGLRecorder(const TGLRecorder&) = delete;
  TGLRecorder& operator=(const TGLRecorder&) = delete;

  // Adds an entry of the caller's own, so fakes of the window system can
  // show where their operations fall among the OpenGL calls.
  void Note(const std::string& name, std::vector<double> args = {});
  // Every recorded call as text, in order.
  std::vector<std::string> Lines() const;
  void Clear();

  std::vector<TGLCall> Calls;
  size_t CallCount = 0;

 private:
  bool keepCalls_;
  TGLEntryPoints saved_;
  TGLRecorder* savedActive_;
};

}  // namespace tessaly
