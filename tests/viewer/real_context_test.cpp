// The material colours a mesh leaves behind in a real OpenGL context (Mesa
// under the X display named by DISPLAY; skipped without one).
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>

#include "gl_binding/gl_binding.h"
#include "viewer/render_context.h"
#include "viewer/renderer.h"

namespace tessaly {
namespace {

using Color4 = std::array<GLfloat, 4>;

class RealContextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') GTEST_SKIP() << "no X display";
    BindOpenGLEntryPoints(kOpenGLLibraryName);
    BindGluEntryPoints(kGluLibraryName);
    ASSERT_TRUE(MissingEntryPoints().empty());
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    sdlStarted_ = true;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    window_ = SDL_CreateWindow("viewer_tests", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(window_, nullptr) << SDL_GetError();
    context_ = SDL_GL_CreateContext(window_);
    ASSERT_NE(context_, nullptr) << SDL_GetError();
    OpenRenderContext();  // no window system installed: the OpenGL state only
  }

  void TearDown() override {
    if (context_ != nullptr) {
      SDL_GL_MakeCurrent(window_, nullptr);
      SDL_GL_DeleteContext(context_);
    }
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (sdlStarted_) SDL_Quit();
    UnbindGluEntryPoints();
    UnbindOpenGLEntryPoints();
  }

  static Color4 FrontMaterial(GLenum property) {
    Color4 color{-1, -1, -1, -1};
    GL.glGetMaterialfv(GL_FRONT, property, color.data());
    return color;
  }

  static std::unique_ptr<TASEMesh> Triangle() {
    auto mesh = std::make_unique<TASEMesh>();
    mesh->VertexList = std::make_unique<TASEMeshVertexList>();
    mesh->VertexList->Vertices = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}};
    mesh->FaceList = std::make_unique<TASEMeshFaceList>();
    mesh->FaceList->Faces.push_back({.A = 0, .B = 1, .C = 2});
    return mesh;
  }

  bool sdlStarted_ = false;
  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
};

TEST_F(RealContextTest, MeshLeavesItsThreeColoursAndShineOnTheFrontMaterial) {
  const auto mesh = Triangle();
  // A first mesh with a bright specular colour, then one whose ambient
  // colour is pure blue: each colour must land on its own property.
  RenderMesh(*mesh, {0.1f, 0.2f, 0.3f, 1}, {0.4f, 0.5f, 0.6f, 1}, {0.9f, 0.9f, 0.9f, 1}, 12);
  RenderMesh(*mesh, {0, 0, 1, 1}, {1, 0, 0, 1}, {0.25f, 0.5f, 0.75f, 0.5f}, 40);

  EXPECT_EQ(FrontMaterial(GL_AMBIENT), (Color4{0, 0, 1, 1}));
  EXPECT_EQ(FrontMaterial(GL_DIFFUSE), (Color4{1, 0, 0, 1}));
  EXPECT_EQ(FrontMaterial(GL_SPECULAR), (Color4{0.25f, 0.5f, 0.75f, 0.5f}));
  EXPECT_EQ(FrontMaterial(GL_SHININESS)[0], 40);
}

}  // namespace
}  // namespace tessaly
