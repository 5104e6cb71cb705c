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

void ClearOpenGLEntryPoints() {
  TGLEntryPoints empty;
  empty.gluPerspective = GL.gluPerspective;  // belongs to module GLu
  GL = empty;
}

}  // namespace

void MaskFloatingPointExceptions() {
  fedisableexcept(FE_ALL_EXCEPT);
}

void BindOpenGLEntryPoints(const std::string& libraryName) {
  UnbindOpenGLEntryPoints();
  openGLLibrary = dlopen(libraryName.c_str(), RTLD_NOW | RTLD_GLOBAL);
  if (openGLLibrary == nullptr)
    throw std::runtime_error("Could not load OpenGL from " + libraryName);
  void* lib = openGLLibrary;
  Resolve(lib, "glBegin", GL.glBegin);
  Resolve(lib, "glClear", GL.glClear);
  Resolve(lib, "glClearColor", GL.glClearColor);
  Resolve(lib, "glColor4f", GL.glColor4f);
  Resolve(lib, "glColorMaterial", GL.glColorMaterial);
  Resolve(lib, "glEnable", GL.glEnable);
  Resolve(lib, "glEnd", GL.glEnd);
  Resolve(lib, "glGetMaterialfv", GL.glGetMaterialfv);
  Resolve(lib, "glLightfv", GL.glLightfv);
  Resolve(lib, "glLoadIdentity", GL.glLoadIdentity);
  Resolve(lib, "glMaterialf", GL.glMaterialf);
  Resolve(lib, "glMatrixMode", GL.glMatrixMode);
  Resolve(lib, "glNormal3f", GL.glNormal3f);
  Resolve(lib, "glRotatef", GL.glRotatef);
  Resolve(lib, "glTranslatef", GL.glTranslatef);
  Resolve(lib, "glVertex3f", GL.glVertex3f);
  Resolve(lib, "glViewport", GL.glViewport);
}

void UnbindOpenGLEntryPoints() {
  ClearOpenGLEntryPoints();
  if (openGLLibrary != nullptr) {
    dlclose(openGLLibrary);
    openGLLibrary = nullptr;
  }
}

std::vector<std::string> MissingEntryPoints() {
  std::vector<std::string> missing;
  auto check = [&](const char* name, auto pointer) {
    if (pointer == nullptr) missing.emplace_back(name);
  };
  check("glBegin", GL.glBegin);
  check("glClear", GL.glClear);
  check("glClearColor", GL.glClearColor);
  check("glColor4f", GL.glColor4f);
  check("glColorMaterial", GL.glColorMaterial);
  check("glEnable", GL.glEnable);
  check("glEnd", GL.glEnd);
  check("glGetMaterialfv", GL.glGetMaterialfv);
  check("glLightfv", GL.glLightfv);
  check("glLoadIdentity", GL.glLoadIdentity);
  check("glMaterialf", GL.glMaterialf);
  check("glMatrixMode", GL.glMatrixMode);
  check("glNormal3f", GL.glNormal3f);
  check("glRotatef", GL.glRotatef);
  check("glTranslatef", GL.glTranslatef);
  check("glVertex3f", GL.glVertex3f);
  check("glViewport", GL.glViewport);
  check("gluPerspective", GL.gluPerspective);
  return missing;
}

}  // namespace tessaly
