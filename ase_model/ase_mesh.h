// The *MESH block: declared counts and the seven element lists.
#pragma once

#include <cstdint>
#include <memory>

#include "ase_model/ase_mesh_lists.h"

namespace tessaly {

class TASEMesh {
 public:
  std::unique_ptr<TASEMeshVertexList> VertexList;
  std::unique_ptr<TASEMeshFaceList> FaceList;
  std::unique_ptr<TASEMeshNormals> Normals;
  std::unique_ptr<TASEMeshTVertexList> TVertexList;
  std::unique_ptr<TASEMeshCVertexList> CVertexList;
  std::unique_ptr<TASEMeshTFaceList> TFaceList;
  std::unique_ptr<TASEMeshCFaceList> CFaceList;
  // What the file declares; nothing sizes or checks a list by these.
  int32_t TimeValue = 0;
  int32_t NumVertex = 0;
  int32_t NumFaces = 0;
  int32_t NumTVertex = 0;
  int32_t NumCVertex = 0;

  void Parse(TASEReader& reader);
};

}  // namespace tessaly
