// The OpenGL and GLU entry points the viewer calls, resolved by name at run
// time from the system's libraries. Every OpenGL call of the viewer goes
// through the table `GL`, so tests can point it at a recorder instead.
#pragma once

#include <GL/gl.h>

#include <string>
#include <vector>

namespace tessaly {

inline constexpr const char* kOpenGLLibraryName = "libGL.so.1";
inline constexpr const char* kGluLibraryName = "libGLU.so.1";

struct TGLEntryPoints {
  // Module GL.
  void (*glBegin)(GLenum mode) = nullptr;
  void (*glClear)(GLbitfield mask) = nullptr;
  void (*glClearColor)(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) = nullptr;
  void (*glColor4f)(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) = nullptr;
  void (*glColorMaterial)(GLenum face, GLenum mode) = nullptr;
  void (*glEnable)(GLenum cap) = nullptr;
  void (*glEnd)() = nullptr;
  void (*glGetMaterialfv)(GLenum face, GLenum pname, GLfloat* params) = nullptr;
  void (*glLightfv)(GLenum light, GLenum pname, const GLfloat* params) = nullptr;
  void (*glLoadIdentity)() = nullptr;
  void (*glMaterialf)(GLenum face, GLenum pname, GLfloat param) = nullptr;
  void (*glMatrixMode)(GLenum mode) = nullptr;
  void (*glNormal3f)(GLfloat nx, GLfloat ny, GLfloat nz) = nullptr;
  void (*glRotatef)(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) = nullptr;
  void (*glTranslatef)(GLfloat x, GLfloat y, GLfloat z) = nullptr;
  void (*glVertex3f)(GLfloat x, GLfloat y, GLfloat z) = nullptr;
  void (*glViewport)(GLint x, GLint y, GLsizei width, GLsizei height) = nullptr;
  // Module GLu.
  void (*gluPerspective)(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) = nullptr;
};

// The process-wide table.
extern TGLEntryPoints GL;

// Masks every floating-point exception of the calling thread, so divisions by
// zero and invalid operations give infinities and NaNs instead of traps.
void MaskFloatingPointExceptions();

// Module GL: empties its pointers and releases its library, then loads the
// named library and resolves each entry point by name; a name the library
// does not export leaves its pointer empty. Throws std::runtime_error
// "Could not load OpenGL from " + name when the library cannot be loaded.
void BindOpenGLEntryPoints(const std::string& libraryName);
// Empties the module's pointers and releases its library.
void UnbindOpenGLEntryPoints();

// Module GLu, the same with "Could not load GLu from " + name.
void BindGluEntryPoints(const std::string& libraryName);
void UnbindGluEntryPoints();

// Names of the table's entry points that are empty.
std::vector<std::string> MissingEntryPoints();

}  // namespace tessaly
