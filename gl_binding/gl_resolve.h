// Looks one entry point up by name in a loaded library.
#pragma once

#include <dlfcn.h>

#include "gl_binding/gl_binding.h"

namespace tessaly {

template <class F>
void Resolve(void* library, const char* name, F& pointer) {
  pointer = reinterpret_cast<F>(dlsym(library, name));
}

// Calls visit(name, pointer) for every entry point of module GL in the
// table: the one list of their names.
template <class Visit>
void ForEachOpenGLEntryPoint(TGLEntryPoints& table, Visit&& visit) {
  visit("glBegin", table.glBegin);
  visit("glClear", table.glClear);
  visit("glClearColor", table.glClearColor);
  visit("glColor4f", table.glColor4f);
  visit("glColorMaterial", table.glColorMaterial);
  visit("glEnable", table.glEnable);
  visit("glEnd", table.glEnd);
  visit("glGetMaterialfv", table.glGetMaterialfv);
  visit("glLightfv", table.glLightfv);
  visit("glLoadIdentity", table.glLoadIdentity);
  visit("glMaterialf", table.glMaterialf);
  visit("glMatrixMode", table.glMatrixMode);
  visit("glNormal3f", table.glNormal3f);
  visit("glRotatef", table.glRotatef);
  visit("glTranslatef", table.glTranslatef);
  visit("glVertex3f", table.glVertex3f);
  visit("glViewport", table.glViewport);
}

}  // namespace tessaly
