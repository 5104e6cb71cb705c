#include "viewer/renderer.h"

#include <cstddef>

#include "gl_binding/gl_binding.h"
#include "viewer/render_context.h"
#include "viewer/viewer_state.h"

namespace tessaly {

namespace {

// Sets one front material property through colour tracking. Mesa's software
// renderer only passes the current colour on to the tracked property when
// something needs the material; without the read-back a colour given here is
// lost once glColorMaterial switches to the next property.
void TrackColor(GLenum property, const TASEColor& color) {
  GL.glColorMaterial(GL_FRONT, property);
  GL.glColor4f(color.R, color.G, color.B, color.A);
  GLfloat applied[4];
  GL.glGetMaterialfv(GL_FRONT, property, applied);
}

bool HasCorner(const TASEMeshVertexList* vertices, int32_t index) {
  return vertices != nullptr && index >= 0 &&
         static_cast<size_t>(index) < vertices->Vertices.size();
}

void SendVertex(const TASEMeshVertexList& vertices, int32_t index) {
  const TASEVector3 v = vertices.GetVertex(index);
  GL.glVertex3f(v.X, v.Y, v.Z);
}

}  // namespace

void RenderMesh(const TASEMesh& mesh, TASEColor ambient, TASEColor diffuse, TASEColor specular,
                float shine) {
  GL.glEnable(GL_LIGHTING);
  GL.glEnable(GL_COLOR_MATERIAL);
  TrackColor(GL_AMBIENT, ambient);
  TrackColor(GL_DIFFUSE, diffuse);
  TrackColor(GL_SPECULAR, specular);
  GL.glMaterialf(GL_FRONT, GL_SHININESS, shine);

  GL.glBegin(GL_TRIANGLES);
  const TASEMeshVertexList* vertices = mesh.VertexList.get();
  const TASEMeshNormals* normals = mesh.Normals.get();
  const int32_t faceNormalCount = normals != nullptr ? normals->FaceNormalCount() : 0;
  const int32_t faceCount = mesh.FaceList != nullptr ? mesh.FaceList->Count() : 0;
  for (int32_t i = 0; i < faceCount; ++i) {
    const TASEFace face = mesh.FaceList->GetFace(i);
    if (!HasCorner(vertices, face.A) || !HasCorner(vertices, face.B) ||
        !HasCorner(vertices, face.C))
      continue;
    if (i < faceNormalCount) {
      const TASEVector3 n = normals->GetFaceNormal(i);
      GL.glNormal3f(n.X, n.Y, n.Z);
    }
    SendVertex(*vertices, face.A);
    SendVertex(*vertices, face.B);
    SendVertex(*vertices, face.C);
  }
  GL.glEnd();
}

void RenderDocument(const TASEFile& document) {
  const TASEMaterialList* materials = document.MaterialList.get();
  if (materials == nullptr) return;
  for (int32_t i = 0; i < document.GeomObjectCount(); ++i) {
    const TASEGeomObject* object = document.GetGeomObject(i);
    const TASEMaterial* material = materials->GetMaterial(object->MaterialRef);
    if (material == nullptr || object->Mesh == nullptr) continue;
    RenderMesh(*object->Mesh, material->Ambient, material->Diffuse, material->Specular,
               material->Shine);
  }
}

void RenderScene() {
  GL.glClearColor(kClearColor[0], kClearColor[1], kClearColor[2], kClearColor[3]);
  GL.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  GL.glLoadIdentity();
  GL.glTranslatef(0.0f, 0.0f, static_cast<float>(-Viewer.ViewDistance));
  GL.glRotatef(static_cast<float>(Viewer.SpinAngle), 0.0f, 1.0f, 0.0f);
  GL.glRotatef(static_cast<float>(Viewer.TiltAngle), 1.0f, 0.0f, 0.0f);
  GL.glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
  if (Viewer.CurrentDocument != nullptr) RenderDocument(*Viewer.CurrentDocument);
  PresentFrame();
}

}  // namespace tessaly
