// A window system for tests: notes each operation into the active OpenGL
// recorder, so one list shows the order of window-system and OpenGL calls.
#pragma once

#include <functional>
#include <vector>

#include "gl_binding/gl_recorder.h"
#include "viewer/window_system.h"

namespace tessaly::testing {

class TFakeWindowSystem final : public TWindowSystem {
 public:
  explicit TFakeWindowSystem(TGLRecorder& recorder);
  ~TFakeWindowSystem() override;

  bool CreateRenderContext() override;
  void DeleteRenderContext() override;
  TPixelFormat DescribePixelFormat() override;
  bool CreatePalette(const std::vector<TPaletteEntry>& entries) override;
  void DeletePalette() override;
  void SwapBuffers() override;
  void PostQuitMessage(int exitCode) override;
  void Sleep(uint32_t milliseconds) override;

  TPixelFormat Format;  // what DescribePixelFormat gives
  bool ContextCreated = true;
  std::vector<TPaletteEntry> Palette;
  std::function<void()> OnDeleteRenderContext;

 private:
  TGLRecorder& recorder_;
};

}  // namespace tessaly::testing
