// Draws one frame of the current document: lit triangles, one normal per
// face, in each object's material colours.
#pragma once

#include <GL/gl.h>

#include "ase_model/ase_document.h"
#include "ase_model/ase_mesh.h"
#include "ase_model/ase_types.h"

namespace tessaly {

inline constexpr GLfloat kClearColor[4] = {0.5f, 0.7f, 0.8f, 0.0f};

// Clears the frame, places the model by the viewer's distance and angles,
// draws the current document (when there is one) and presents the frame.
void RenderScene();

// Every top-level object of the document that has a material and a mesh.
// Objects without either are skipped, as is everything when the document has
// no material list.
void RenderDocument(const TASEFile& document);

// Sets the front material from the three colours and the shine, then sends
// the faces as triangles. A face whose corner lies outside the vertex list is
// left out; faces past the last face normal keep the current normal.
void RenderMesh(const TASEMesh& mesh, TASEColor ambient, TASEColor diffuse, TASEColor specular,
                float shine);

}  // namespace tessaly
