#include "gl_binding/gl_recorder.h"

#include <charconv>
#include <cmath>
#include <utility>

namespace tessaly {

namespace {

TGLRecorder* active = nullptr;

void Record(const char* name, std::vector<double> args) {
  if (active != nullptr) active->Note(name, std::move(args));
}

void AppendNumber(std::string& out, double value) {
  char buffer[64];
  std::to_chars_result result;
  float asFloat = static_cast<float>(value);
  if (std::isfinite(value) && static_cast<double>(asFloat) == value)
    result = std::to_chars(buffer, buffer + sizeof buffer, asFloat);
  else
    result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

void RecBegin(GLenum mode) {
  Record("glBegin", {double(mode)});
}
void RecClear(GLbitfield mask) {
  Record("glClear", {double(mask)});
}
void RecClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
  Record("glClearColor", {r, g, b, a});
}
void RecColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
  Record("glColor4f", {r, g, b, a});
}
void RecColorMaterial(GLenum face, GLenum mode) {
  Record("glColorMaterial", {double(face), double(mode)});
}
void RecEnable(GLenum cap) {
  Record("glEnable", {double(cap)});
}
void RecEnd() {
  Record("glEnd", {});
}
void RecGetMaterialfv(GLenum face, GLenum pname, GLfloat* params) {
  Record("glGetMaterialfv", {double(face), double(pname)});
  for (int i = 0; i < 4; ++i)
    params[i] = 0;
}
void RecLightfv(GLenum light, GLenum pname, const GLfloat* p) {
  Record("glLightfv", {double(light), double(pname), p[0], p[1], p[2], p[3]});
}
void RecLoadIdentity() {
  Record("glLoadIdentity", {});
}
void RecMaterialf(GLenum face, GLenum pname, GLfloat param) {
  Record("glMaterialf", {double(face), double(pname), param});
}
void RecMatrixMode(GLenum mode) {
  Record("glMatrixMode", {double(mode)});
}
void RecNormal3f(GLfloat x, GLfloat y, GLfloat z) {
  Record("glNormal3f", {x, y, z});
}
void RecRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  Record("glRotatef", {angle, x, y, z});
}
void RecTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  Record("glTranslatef", {x, y, z});
}
void RecVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  Record("glVertex3f", {x, y, z});
}
void RecViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
  Record("glViewport", {double(x), double(y), double(w), double(h)});
}
void RecPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  Record("gluPerspective", {fovy, aspect, zNear, zFar});
}

}  // namespace

std::string FormatGLCall(const std::string& name, const std::vector<double>& args) {
  std::string out = name + "(";
  for (size_t i = 0; i < args.size(); ++i) {
    if (i > 0) out += ", ";
    AppendNumber(out, args[i]);
  }
  return out + ")";
}

TGLRecorder::TGLRecorder(bool keepCalls) : keepCalls_(keepCalls), saved_(GL), savedActive_(active) {
  active = this;
  GL.glBegin = RecBegin;
  GL.glClear = RecClear;
  GL.glClearColor = RecClearColor;
  GL.glColor4f = RecColor4f;
  GL.glColorMaterial = RecColorMaterial;
  GL.glEnable = RecEnable;
  GL.glEnd = RecEnd;
  GL.glGetMaterialfv = RecGetMaterialfv;
  GL.glLightfv = RecLightfv;
  GL.glLoadIdentity = RecLoadIdentity;
  GL.glMaterialf = RecMaterialf;
  GL.glMatrixMode = RecMatrixMode;
  GL.glNormal3f = RecNormal3f;
  GL.glRotatef = RecRotatef;
  GL.glTranslatef = RecTranslatef;
  GL.glVertex3f = RecVertex3f;
  GL.glViewport = RecViewport;
  GL.gluPerspective = RecPerspective;
}

TGLRecorder::~TGLRecorder() {
  GL = saved_;
  active = savedActive_;
}

void TGLRecorder::Note(const std::string& name, std::vector<double> args) {
  ++CallCount;
  if (keepCalls_) Calls.push_back({name, std::move(args)});
}

std::vector<std::string> TGLRecorder::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(Calls.size());
  for (const TGLCall& call : Calls)
    lines.push_back(FormatGLCall(call.Name, call.Args));
  return lines;
}

void TGLRecorder::Clear() {
  Calls.clear();
  CallCount = 0;
}

}  // namespace tessaly
