// The element lists of a mesh: numbered arrays of vertices, faces, normals,
// texture and colour vertices and faces. Each array is indexed by the number
// its entry lines carry; gaps are zero entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ase_model/ase_types.h"

namespace tessaly {

class TASEReader;

// An element of a numbered array, or a zero record for an index outside it.
template <class V>
V ElementAt(const std::vector<V>& array, int32_t index) {
  return index >= 0 && static_cast<size_t>(index) < array.size() ? array[static_cast<size_t>(index)]
                                                                 : V{};
}

class TASEMeshVertexList {
 public:
  std::vector<TASEVector3> Vertices;
  TASEVector3 GetVertex(int32_t index) const { return ElementAt(Vertices, index); }
  void Parse(TASEReader& reader);
};

class TASEMeshFaceList {
 public:
  std::vector<TASEFace> Faces;
  TASEFace GetFace(int32_t index) const { return ElementAt(Faces, index); }
  int32_t Count() const { return static_cast<int32_t>(Faces.size()); }
  void Parse(TASEReader& reader);

 private:
  static void ReadFace(TASEReader& r, TASEMeshFaceList& list);
  template <int32_t TASEFace::*field>
  static void ReadTag(TASEReader& r, TASEMeshFaceList& list, const char* misplaced);
  // Index of the face read last in this block (-1 before the first): the
  // face that *MESH_SMOOTHING and *MESH_MTLID tags apply to.
  int32_t lastFace_ = -1;
};

class TASEMeshNormals {
 public:
  std::vector<TASEVector3> VertexNormals;
  std::vector<TASEVector3> FaceNormals;
  TASEVector3 GetFaceNormal(int32_t index) const { return ElementAt(FaceNormals, index); }
  int32_t FaceNormalCount() const { return static_cast<int32_t>(FaceNormals.size()); }
  void Parse(TASEReader& reader);
};

class TASEMeshTVertexList {
 public:
  std::vector<TASEVector3> TVertices;  // X, Y, Z hold U, V, W
  void Parse(TASEReader& reader);
};

class TASEMeshCVertexList {
 public:
  std::vector<TASEColor> CVertices;  // A stays 0
  void Parse(TASEReader& reader);
};

class TASEMeshTFaceList {
 public:
  std::vector<TASEFaceIndices> TFaces;
  void Parse(TASEReader& reader);
};

class TASEMeshCFaceList {
 public:
  std::vector<TASEFaceIndices> CFaces;
  void Parse(TASEReader& reader);
};

}  // namespace tessaly
