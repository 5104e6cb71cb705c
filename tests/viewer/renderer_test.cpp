// The OpenGL calls of one frame, through a recording binding.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fake_window_system.h"
#include "gl_binding/gl_recorder.h"
#include "viewer/renderer.h"
#include "viewer/viewer_state.h"

namespace tessaly {
namespace {

using testing::TFakeWindowSystem;
using Lines = std::vector<std::string>;

void Append(Lines& lines, const Lines& more) {
  lines.insert(lines.end(), more.begin(), more.end());
}

Lines FrameStart(int distance, int spin, int tilt) {
  return {
      FormatGLCall("glClearColor", {0.5f, 0.7f, 0.8f, 0}),
      FormatGLCall("glClear", {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT}),
      "glLoadIdentity()",
      FormatGLCall("glTranslatef", {0, 0, double(-distance)}),
      FormatGLCall("glRotatef", {double(spin), 0, 1, 0}),
      FormatGLCall("glRotatef", {double(tilt), 1, 0, 0}),
      FormatGLCall("glRotatef", {-90, 1, 0, 0}),
  };
}

Lines MeshStart(TASEColor ambient, TASEColor diffuse, TASEColor specular, float shine) {
  Lines lines = {FormatGLCall("glEnable", {GL_LIGHTING}),
                 FormatGLCall("glEnable", {GL_COLOR_MATERIAL})};
  for (auto [property, c] :
       {std::pair{GL_AMBIENT, ambient}, {GL_DIFFUSE, diffuse}, {GL_SPECULAR, specular}}) {
    lines.push_back(FormatGLCall("glColorMaterial", {GL_FRONT, double(property)}));
    lines.push_back(FormatGLCall("glColor4f", {c.R, c.G, c.B, c.A}));
    lines.push_back(FormatGLCall("glGetMaterialfv", {GL_FRONT, double(property)}));
  }
  lines.push_back(FormatGLCall("glMaterialf", {GL_FRONT, GL_SHININESS, shine}));
  lines.push_back(FormatGLCall("glBegin", {GL_TRIANGLES}));
  return lines;
}

std::string Normal(float x, float y, float z) {
  return FormatGLCall("glNormal3f", {x, y, z});
}
std::string Vertex(float x, float y, float z) {
  return FormatGLCall("glVertex3f", {x, y, z});
}

class RendererTest : public ::testing::Test {
 protected:
  void SetUp() override { Viewer = TViewerState{}; }
  void TearDown() override { Viewer = TViewerState{}; }
  TGLRecorder recorder;
  TFakeWindowSystem windowSystem{recorder};
};

TEST_F(RendererTest, DrawsEachObjectWithAMaterialInOrder) {
  Viewer.CurrentDocument = std::make_unique<TASEFile>();
  Viewer.CurrentDocument->LoadFromText(R"(*3DSMAX_ASCIIEXPORT 200
*MATERIAL_LIST {
  *MATERIAL_COUNT 2
  *MATERIAL 0 {
    *MATERIAL_AMBIENT 0.0 0.0 1.0
    *MATERIAL_DIFFUSE 1.0 0.0 0.0
    *MATERIAL_SPECULAR 0.9 0.9 0.9
    *MATERIAL_SHINE 0.25
  }
  *MATERIAL 1 {
    *MATERIAL_DIFFUSE 0.5 0.5 0.5
  }
}
*GEOMOBJECT {
  *NODE_NAME "Wing"
  *MESH {
    *MESH_VERTEX_LIST {
      *MESH_VERTEX 0 0.0 0.0 0.0
      *MESH_VERTEX 1 1.0 0.0 0.0
      *MESH_VERTEX 2 1.0 0.0 1.0
      *MESH_VERTEX 3 0.0 0.0 1.0
    }
    *MESH_FACE_LIST {
      *MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 0
      *MESH_FACE 1: A: 0 B: 2 C: 3 AB: 0 BC: 1 CA: 1
    }
    *MESH_NORMALS {
      *MESH_FACENORMAL 0 0.0 -1.0 0.0
        *MESH_VERTEXNORMAL 0 0.0 -1.0 0.0
      *MESH_FACENORMAL 1 0.0 -0.5 0.5
    }
  }
  *MATERIAL_REF 1
}
*GEOMOBJECT {
  *NODE_NAME "Unpainted"
  *MESH {
    *MESH_VERTEX_LIST { *MESH_VERTEX 0 5.0 5.0 5.0 }
    *MESH_FACE_LIST { *MESH_FACE 0: A: 0 B: 0 C: 0 AB: 1 BC: 1 CA: 1 }
  }
  *MATERIAL_REF 7
}
*GEOMOBJECT {
  *NODE_NAME "Tail"
  *MESH {
    *MESH_VERTEX_LIST {
      *MESH_VERTEX 0 2.0 0.0 0.0
      *MESH_VERTEX 1 3.0 0.0 0.0
      *MESH_VERTEX 2 2.0 0.0 1.5
    }
    *MESH_FACE_LIST { *MESH_FACE 0: A: 2 B: 0 C: 1 AB: 1 BC: 1 CA: 1 }
  }
}
)");
  Viewer.ViewDistance = 30;
  Viewer.SpinAngle = 400;  // never reduced to 0..360
  Viewer.TiltAngle = -15;

  RenderScene();

  Lines expected = FrameStart(30, 400, -15);
  // "Wing", material 1: the colours it does not set keep opaque black.
  Append(expected, MeshStart({0, 0, 0, 1}, {0.5f, 0.5f, 0.5f, 1}, {0, 0, 0, 1}, 0));
  Append(expected,
         {Normal(0, -1, 0), Vertex(0, 0, 0), Vertex(1, 0, 0), Vertex(1, 0, 1),  //
          Normal(0, -0.5f, 0.5f), Vertex(0, 0, 0), Vertex(1, 0, 1), Vertex(0, 0, 1), "glEnd()"});
  // "Unpainted" names no material and is skipped; "Tail" keeps the default
  // reference 0 and has no normals.
  Append(expected, MeshStart({0, 0, 1, 1}, {1, 0, 0, 1}, {0.9f, 0.9f, 0.9f, 1}, 0.25f));
  Append(expected,
         {Vertex(2, 0, 1.5f), Vertex(2, 0, 0), Vertex(3, 0, 0), "glEnd()", "SwapBuffers()"});
  EXPECT_EQ(recorder.Lines(), expected);
}

TEST_F(RendererTest, WithoutDocumentOrObjectsOnlyTheClearedFrameIsPresented) {
  Lines expected = FrameStart(15, 0, 0);
  expected.push_back("SwapBuffers()");

  RenderScene();
  EXPECT_EQ(recorder.Lines(), expected) << "no document";

  recorder.Clear();
  Viewer.CurrentDocument = std::make_unique<TASEFile>();
  Viewer.CurrentDocument->MaterialList = std::make_unique<TASEMaterialList>();
  RenderScene();
  EXPECT_EQ(recorder.Lines(), expected) << "document without objects";
}

// A document whose objects are built in code, for the cases a parsed file
// rarely shows.
class RendererGuardTest : public RendererTest {
 protected:
  struct Face {
    int32_t a, b, c;
  };

  static std::unique_ptr<TASEMesh> MakeMesh(const std::vector<TASEVector3>& vertices,
                                            const std::vector<Face>& faces,
                                            const std::vector<TASEVector3>& faceNormals) {
    auto mesh = std::make_unique<TASEMesh>();
    mesh->VertexList = std::make_unique<TASEMeshVertexList>();
    mesh->VertexList->Vertices = vertices;
    mesh->FaceList = std::make_unique<TASEMeshFaceList>();
    for (const Face& f : faces)
      mesh->FaceList->Faces.push_back({.A = f.a, .B = f.b, .C = f.c});
    mesh->Normals = std::make_unique<TASEMeshNormals>();
    mesh->Normals->FaceNormals = faceNormals;
    return mesh;
  }

  // One material, number 0, and one object per mesh referring to it.
  template <class... Meshes>
  static TASEFile& MakeDocument(Meshes... meshes) {
    Viewer.CurrentDocument = std::make_unique<TASEFile>();
    TASEFile& document = *Viewer.CurrentDocument;
    document.MaterialList = std::make_unique<TASEMaterialList>();
    document.MaterialList->Materials.push_back(std::make_unique<TASEMaterial>());
    (AddObject(document, std::move(meshes)), ...);
    return document;
  }

  static void AddObject(TASEFile& document, std::unique_ptr<TASEMesh> mesh) {
    auto object = std::make_unique<TASEGeomObject>();
    object->Mesh = std::move(mesh);
    document.GeomObjects.push_back(std::move(object));
  }

  // The calls between the frame's start and its presentation.
  Lines DrawnCalls() {
    RenderScene();
    Lines lines = recorder.Lines();
    const size_t start = FrameStart(0, 0, 0).size();
    EXPECT_GE(lines.size(), start + 1);
    EXPECT_EQ(lines.back(), "SwapBuffers()");
    return Lines(lines.begin() + static_cast<long>(start), lines.end() - 1);
  }

  static Lines EmptyMesh() {
    Lines lines = MeshStart({0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, 0);
    lines.push_back("glEnd()");
    return lines;
  }
};

const std::vector<TASEVector3> kTriangle = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}};

TEST_F(RendererGuardTest, DocumentWithoutMaterialListDrawsNothing) {
  MakeDocument(MakeMesh(kTriangle, {{0, 1, 2}}, {})).MaterialList.reset();
  EXPECT_TRUE(DrawnCalls().empty());
}

TEST_F(RendererGuardTest, ObjectsWithoutMaterialOrMeshAreSkipped) {
  TASEFile& document =
      MakeDocument(MakeMesh(kTriangle, {{0, 1, 2}}, {}), MakeMesh(kTriangle, {{0, 1, 2}}, {}),
                   MakeMesh(kTriangle, {{0, 1, 2}}, {}), std::unique_ptr<TASEMesh>());
  document.MaterialList->Materials.resize(3);  // slots 1 and 2 stay empty
  document.GeomObjects[0]->MaterialRef = -1;
  document.GeomObjects[1]->MaterialRef = 2;
  document.GeomObjects[2]->MaterialRef = 3;
  EXPECT_TRUE(DrawnCalls().empty());
}

TEST_F(RendererGuardTest, MeshesWithoutFacesOrVerticesGiveEmptyTriangleLists) {
  auto noFaceList = MakeMesh(kTriangle, {}, {});
  noFaceList->FaceList.reset();
  auto noVertexList = MakeMesh({}, {{0, 1, 2}}, {{0, 0, 1}});
  noVertexList->VertexList.reset();
  auto noNormals = MakeMesh({}, {}, {});
  noNormals->Normals.reset();
  MakeDocument(MakeMesh(kTriangle, {}, {}), std::move(noFaceList), std::move(noVertexList),
               std::move(noNormals), MakeMesh({}, {{0, 1, 2}}, {}));
  Lines expected;
  for (int i = 0; i < 5; ++i)
    Append(expected, EmptyMesh());
  EXPECT_EQ(DrawnCalls(), expected);
}

TEST_F(RendererGuardTest, FaceWithACornerOutsideTheVertexListIsLeftOut) {
  MakeDocument(MakeMesh(kTriangle, {{0, 1, 3}, {0, -1, 2}, {1, 2, 0}, {3, 0, 1}},
                        {{0, 1, 0}, {0, 2, 0}, {0, 3, 0}, {0, 4, 0}}));
  Lines expected = MeshStart({0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, 0);
  Append(expected, {Normal(0, 3, 0), Vertex(1, 0, 0), Vertex(0, 0, 1), Vertex(0, 0, 0), "glEnd()"});
  EXPECT_EQ(DrawnCalls(), expected);
}

TEST_F(RendererGuardTest, FacesPastTheLastFaceNormalKeepTheCurrentNormal) {
  MakeDocument(MakeMesh(kTriangle, {{0, 1, 2}, {2, 1, 0}, {1, 2, 0}}, {{0, -1, 0}}));
  Lines expected = MeshStart({0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, 0);
  Append(expected, {Normal(0, -1, 0), Vertex(0, 0, 0), Vertex(1, 0, 0), Vertex(0, 0, 1),  //
                    Vertex(0, 0, 1), Vertex(1, 0, 0), Vertex(0, 0, 0),                    //
                    Vertex(1, 0, 0), Vertex(0, 0, 1), Vertex(0, 0, 0), "glEnd()"});
  EXPECT_EQ(DrawnCalls(), expected);
}

}  // namespace
}  // namespace tessaly
