#include "ase_model/ase_mesh.h"

#include "ase_model/ase_reader.h"

namespace tessaly {

namespace {

using M = TASEMesh;
constinit const BlockTable<TASEMesh> kMeshTable{
    {Kw::TimeValue, [](TASEReader& r, M& m) { m.TimeValue = r.ReadInt(); }},
    {Kw::MeshNumVertex, [](TASEReader& r, M& m) { m.NumVertex = r.ReadInt(); }},
    {Kw::MeshNumFaces, [](TASEReader& r, M& m) { m.NumFaces = r.ReadInt(); }},
    {Kw::MeshVertexList, [](TASEReader& r, M& m) { ReadChild(r, m.VertexList); }},
    {Kw::MeshFaceList, [](TASEReader& r, M& m) { ReadChild(r, m.FaceList); }},
    {Kw::MeshTVertList, [](TASEReader& r, M& m) { ReadChild(r, m.TVertexList); }},
    {Kw::MeshCVertList, [](TASEReader& r, M& m) { ReadChild(r, m.CVertexList); }},
    {Kw::MeshTFaceList, [](TASEReader& r, M& m) { ReadChild(r, m.TFaceList); }},
    {Kw::MeshCFaceList, [](TASEReader& r, M& m) { ReadChild(r, m.CFaceList); }},
    {Kw::MeshNumTVertex, [](TASEReader& r, M& m) { m.NumTVertex = r.ReadInt(); }},
    {Kw::MeshNumCVertex, [](TASEReader& r, M& m) { m.NumCVertex = r.ReadInt(); }},
    {Kw::MeshNormals, [](TASEReader& r, M& m) { ReadChild(r, m.Normals); }},
};

}  // namespace

void TASEMesh::Parse(TASEReader& reader) {
  ReadBlock(reader, *this, kMeshTable);
}

}  // namespace tessaly
