// Module GLu: the GLU entry points of the table, resolved from the GLU
// library with dlopen/dlsym.
#include <dlfcn.h>

#include <stdexcept>

#include "gl_binding/gl_binding.h"
#include "gl_binding/gl_resolve.h"

namespace tessaly {

namespace {
void* gluLibrary = nullptr;
}

void BindGluEntryPoints(const std::string& libraryName) {
  UnbindGluEntryPoints();
  gluLibrary = dlopen(libraryName.c_str(), RTLD_NOW | RTLD_GLOBAL);
  if (gluLibrary == nullptr) throw std::runtime_error("Could not load GLu from " + libraryName);
  Resolve(gluLibrary, "gluPerspective", GL.gluPerspective);
}

void UnbindGluEntryPoints() {
  GL.gluPerspective = nullptr;
  if (gluLibrary != nullptr) {
    dlclose(gluLibrary);
    gluLibrary = nullptr;
  }
}

}  // namespace tessaly
