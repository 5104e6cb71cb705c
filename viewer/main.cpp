// The viewer's entry: binds OpenGL and GLU, runs the viewer, and reports an
// error nothing else caught.
#include <exception>
#include <stdexcept>
#include <string>

#include "gl_binding/gl_binding.h"
#include "viewer/sdl_platform.h"
#include "viewer/shell.h"
#include "viewer/viewer_state.h"

namespace {

// Stops with a clear report instead of calling through an empty pointer.
void RequireEntryPoints() {
  const std::vector<std::string> missing = tessaly::MissingEntryPoints();
  if (missing.empty()) return;
  std::string names;
  for (const std::string& name : missing)
    names += (names.empty() ? "" : ", ") + name;
  throw std::runtime_error("OpenGL entry points not found: " + names);
}

}  // namespace

int main() {
  using namespace tessaly;
  int exitCode = 0;
  try {
    MaskFloatingPointExceptions();
    BindOpenGLEntryPoints(kOpenGLLibraryName);
    BindGluEntryPoints(kGluLibraryName);
    RequireEntryPoints();
    exitCode = RunViewer();
  } catch (const std::exception& error) {
    ShowErrorBox("Application Error",
                 DescribeUnhandledError(error, ModelFileName(Viewer.ModelNumber)));
    exitCode = 1;
  }
  Viewer.CurrentDocument.reset();
  UnbindGluEntryPoints();
  UnbindOpenGLEntryPoints();
  return exitCode;
}
