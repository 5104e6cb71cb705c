// libFuzzer target: load arbitrary bytes as an ASE text, then draw the
// document (whatever of it was read before a parse error) through a
// recording OpenGL binding, so that the renderer's guards against missing
// lists, out-of-range corners and short normal lists are fuzzed too.
//
// On top of the sanitizers, the calls are checked as they are made: every
// glBegin is for triangles and is closed by one glEnd, and each glBegin/glEnd
// pair holds whole triangles only.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "ase_model/ase_document.h"
#include "gl_binding/gl_binding.h"
#include "gl_binding/gl_recorder.h"
#include "token_stream/token_stream.h"
#include "viewer/renderer.h"
#include "viewer/viewer_state.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

// The recorder's own entry points, which the checks below pass calls on to.
tessaly::TGLEntryPoints recorded;
bool inside = false;
size_t corners = 0;

void CheckedBegin(GLenum mode) {
  Check(!inside, "glBegin inside glBegin/glEnd");
  Check(mode == GL_TRIANGLES, "glBegin of something other than triangles");
  inside = true;
  corners = 0;
  recorded.glBegin(mode);
}

void CheckedEnd() {
  Check(inside, "glEnd without glBegin");
  Check(corners % 3 == 0, "a triangle with fewer than three corners");
  inside = false;
  recorded.glEnd();
}

void CheckedVertex(GLfloat x, GLfloat y, GLfloat z) {
  Check(inside, "glVertex3f outside glBegin/glEnd");
  ++corners;
  recorded.glVertex3f(x, y, z);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto document = std::make_unique<tessaly::TASEFile>();
  try {
    document->LoadFromText(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const tessaly::EParseError&) {
    // What was read before the error is drawn all the same.
  }

  tessaly::TGLRecorder recorder(/*keepCalls=*/false);
  recorded = tessaly::GL;
  tessaly::GL.glBegin = CheckedBegin;
  tessaly::GL.glEnd = CheckedEnd;
  tessaly::GL.glVertex3f = CheckedVertex;
  inside = false;

  tessaly::Viewer.CurrentDocument = std::move(document);
  tessaly::RenderScene();
  Check(!inside, "glBegin left open after the frame");
  tessaly::Viewer.CurrentDocument.reset();
  return 0;
}
