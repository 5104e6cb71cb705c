#include "viewer/shell.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "gl_binding/gl_binding.h"
#include "token_stream/token_stream.h"
#include "viewer/render_context.h"
#include "viewer/renderer.h"
#include "viewer/viewer_state.h"
#include "viewer/window_system.h"

namespace tessaly {

namespace {

// The angles only ever grow or shrink; past the 32-bit range they wrap.
void AddWrapping(int32_t& value, int64_t delta) {
  value = static_cast<int32_t>(static_cast<uint32_t>(value) + static_cast<uint32_t>(delta));
}

LRESULT DefaultHandling(uint32_t, WPARAM, LPARAM) {
  return 0;
}

void HandleDestroy() {
  Viewer.CurrentDocument.reset();
  CloseRenderContext();
  if (WindowSystem != nullptr) {
    WindowSystem->PostQuitMessage(0);
    WindowSystem->Sleep(10);
  }
}

void HandleSize(LPARAM lParam) {
  const uint32_t width = static_cast<uint32_t>(lParam) & 0xFFFFu;
  const uint32_t height = (static_cast<uint32_t>(lParam) >> 16) & 0xFFFFu;
  // A minimised window has height 0: the aspect becomes infinite or NaN,
  // floating-point exceptions being masked, and the viewport empty.
  SetProjection(static_cast<double>(width) / static_cast<double>(height));
  GL.glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
}

void HandleKeyDown(WPARAM key) {
  if (key == VK_OEM_4) {
    Viewer.ModelNumber = Viewer.ModelNumber - 1 < 1 ? kModelCount : Viewer.ModelNumber - 1;
    ReloadModel();
  } else if (key == VK_OEM_6) {
    Viewer.ModelNumber = Viewer.ModelNumber + 1 > kModelCount ? 1 : Viewer.ModelNumber + 1;
    ReloadModel();
  }
}

void HandleMouseMove(WPARAM keys, LPARAM lParam) {
  const int32_t x = static_cast<int32_t>(static_cast<uint32_t>(lParam) & 0xFFFFu);
  const int32_t y = static_cast<int32_t>((static_cast<uint32_t>(lParam) >> 16) & 0xFFFFu);
  // Only a drag with exactly one of the two buttons and no other button or
  // modifier counts.
  if (keys == MK_LBUTTON) {
    AddWrapping(Viewer.TiltAngle, int64_t{y} - Viewer.LastMouse.Y);
    AddWrapping(Viewer.SpinAngle, int64_t{x} - Viewer.LastMouse.X);
  } else if (keys == MK_RBUTTON) {
    int64_t distance = int64_t{Viewer.ViewDistance} - (int64_t{y} - Viewer.LastMouse.Y);
    if (distance < kMinViewDistance)
      distance = kMinViewDistance;
    else if (distance > kMaxViewDistance)
      distance = kMaxViewDistance;
    Viewer.ViewDistance = static_cast<int32_t>(distance);
  }
  Viewer.LastMouse = {x, y};
}

std::string ClassName(const std::exception& error) {
  const char* mangled = typeid(error).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  std::string name = status == 0 && demangled ? demangled.get() : mangled;
  // Only the class's own name, without its namespaces.
  const size_t colon = name.rfind("::");
  return colon == std::string::npos ? name : name.substr(colon + 2);
}

}  // namespace

LRESULT ViewerWindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      HandleDestroy();
      return 0;
    case WM_SIZE:
      HandleSize(lParam);
      break;
    case WM_KEYDOWN:
      HandleKeyDown(wParam);
      break;
    case WM_MOUSEMOVE:
      HandleMouseMove(wParam, lParam);
      break;
    case WM_APP:
      AddWrapping(Viewer.SpinAngle, 1);
      break;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

void ReloadModel() {
  Viewer.CurrentDocument.reset();
  Viewer.CurrentDocument = std::make_unique<TASEFile>();
  Viewer.CurrentDocument->LoadFromFile(ModelFileName(Viewer.ModelNumber));
}

void SpinTimerProc() {
  AddWrapping(Viewer.SpinAngle, 1);
  RenderScene();
}

std::string DescribeUnhandledError(const std::exception& error, const std::string& fileName) {
  std::string text = "Exception " + ClassName(error) + " in module tessaly.\n" + error.what();
  if (const auto* parseError = dynamic_cast<const EParseError*>(&error)) {
    text += "\n(" + fileName;
    if (parseError->Line() > 0) text += ", line " + std::to_string(parseError->Line());
    text += ")";
  }
  return text;
}

}  // namespace tessaly
