// Module GL: the OpenGL entry points of the table, resolved from the OpenGL
// library with dlopen/dlsym.
#include <dlfcn.h>
#include <fenv.h>

#include <stdexcept>

#include "gl_binding/gl_binding.h"
#include "gl_binding/gl_resolve.h"

namespace tessaly {

TGLEntryPoints GL;

namespace {

void* openGLLibrary = nullptr;

}  // namespace

void MaskFloatingPointExceptions() {
  fedisableexcept(FE_ALL_EXCEPT);
}

void BindOpenGLEntryPoints(const std::string& libraryName) {
  UnbindOpenGLEntryPoints();
  openGLLibrary = dlopen(libraryName.c_str(), RTLD_NOW | RTLD_GLOBAL);
  if (openGLLibrary == nullptr)
    throw std::runtime_error("Could not load OpenGL from " + libraryName);
  ForEachOpenGLEntryPoint(
      GL, [](const char* name, auto& pointer) { Resolve(openGLLibrary, name, pointer); });
}

void UnbindOpenGLEntryPoints() {
  ForEachOpenGLEntryPoint(GL, [](const char*, auto& pointer) { pointer = nullptr; });
  if (openGLLibrary != nullptr) {
    dlclose(openGLLibrary);
    openGLLibrary = nullptr;
  }
}

std::vector<std::string> MissingEntryPoints() {
  std::vector<std::string> missing;
  auto check = [&](const char* name, auto& pointer) {
    if (pointer == nullptr) missing.emplace_back(name);
  };
  ForEachOpenGLEntryPoint(GL, check);
  check("gluPerspective", GL.gluPerspective);
  return missing;
}

}  // namespace tessaly
