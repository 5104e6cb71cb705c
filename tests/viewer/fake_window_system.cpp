#include "fake_window_system.h"

namespace tessaly::testing {

TFakeWindowSystem::TFakeWindowSystem(TGLRecorder& recorder) : recorder_(recorder) {
  WindowSystem = this;
}
TFakeWindowSystem::~TFakeWindowSystem() {
  WindowSystem = nullptr;
}

bool TFakeWindowSystem::CreateRenderContext() {
  recorder_.Note("CreateRenderContext");
  return ContextCreated;
}
void TFakeWindowSystem::DeleteRenderContext() {
  recorder_.Note("DeleteRenderContext");
  if (OnDeleteRenderContext) OnDeleteRenderContext();
}
TPixelFormat TFakeWindowSystem::DescribePixelFormat() {
  recorder_.Note("DescribePixelFormat");
  return Format;
}
bool TFakeWindowSystem::CreatePalette(const std::vector<TPaletteEntry>& entries) {
  recorder_.Note("CreatePalette", {double(entries.size())});
  Palette = entries;
  return true;
}
void TFakeWindowSystem::DeletePalette() {
  recorder_.Note("DeletePalette");
}
void TFakeWindowSystem::SwapBuffers() {
  recorder_.Note("SwapBuffers");
}
void TFakeWindowSystem::PostQuitMessage(int exitCode) {
  recorder_.Note("PostQuitMessage", {double(exitCode)});
}
void TFakeWindowSystem::Sleep(uint32_t milliseconds) {
  recorder_.Note("Sleep", {double(milliseconds)});
}

}  // namespace tessaly::testing
