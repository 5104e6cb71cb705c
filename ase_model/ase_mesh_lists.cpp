#include "ase_model/ase_mesh_lists.h"

#include "ase_model/ase_reader.h"

namespace tessaly {

namespace {

// An entry line of a strict list: index, then three values, all converted
// before the array grows, so an entry that fails to convert changes nothing.
template <class List, class V, std::vector<V> List::*array, const char* name>
void ReadVectorEntry(TASEReader& r, List& list) {
  const int32_t index = r.ReadInt();
  const TASEVector3 v = ReadVector3(r);
  r.Slot(list.*array, index, name) = v;
}

template <class List, std::vector<TASEFaceIndices> List::*array, const char* name>
void ReadIndicesEntry(TASEReader& r, List& list) {
  const int32_t index = r.ReadInt();
  TASEFaceIndices f;
  f.A = r.ReadInt();
  f.B = r.ReadInt();
  f.C = r.ReadInt();
  r.Slot(list.*array, index, name) = f;
}

constexpr char kVertex[] = "vertex";
constexpr char kFace[] = "face";
constexpr char kFaceNormal[] = "face normal";
constexpr char kVertexNormal[] = "vertex normal";
constexpr char kTVertex[] = "tvertex";
constexpr char kCVertex[] = "cvertex";
constexpr char kTFace[] = "tface";
constexpr char kCFace[] = "cface";

constinit const BlockTable<TASEMeshVertexList> kVertexListTable{
    {{Kw::MeshVertex,
      ReadVectorEntry<TASEMeshVertexList, TASEVector3, &TASEMeshVertexList::Vertices, kVertex>}},
    Others::Reject,
    "Invalid token in vertex list! (",
    Kw::MeshVertex};

constinit const BlockTable<TASEMeshTVertexList> kTVertexListTable{
    {{Kw::MeshTVert, ReadVectorEntry<TASEMeshTVertexList, TASEVector3,
                                     &TASEMeshTVertexList::TVertices, kTVertex>}},
    Others::Reject,
    "Invalid token in tvertex list! (",
    Kw::MeshTVert};

constinit const BlockTable<TASEMeshCVertexList> kCVertexListTable{
    {{Kw::MeshVertCol,
      [](TASEReader& r, TASEMeshCVertexList& list) {
        const int32_t index = r.ReadInt();
        const TASEVector3 v = ReadVector3(r);
        TASEColor& c = r.Slot(list.CVertices, index, kCVertex);
        c.R = v.X;
        c.G = v.Y;
        c.B = v.Z;
      }}},
    Others::Reject,
    "Invalid token in cvertex list! (",
    Kw::MeshVertCol};

constinit const BlockTable<TASEMeshTFaceList> kTFaceListTable{
    {{Kw::MeshTFace, ReadIndicesEntry<TASEMeshTFaceList, &TASEMeshTFaceList::TFaces, kTFace>}},
    Others::Reject,
    "Invalid token in tface list! (",
    Kw::MeshTFace};

constinit const BlockTable<TASEMeshCFaceList> kCFaceListTable{
    {{Kw::MeshCFace, ReadIndicesEntry<TASEMeshCFaceList, &TASEMeshCFaceList::CFaces, kCFace>}},
    Others::Reject,
    "Invalid token in cface list! (",
    Kw::MeshCFace};

constinit const BlockTable<TASEMeshNormals> kNormalsTable{
    {{Kw::MeshFaceNormal,
      ReadVectorEntry<TASEMeshNormals, TASEVector3, &TASEMeshNormals::FaceNormals, kFaceNormal>},
     {Kw::MeshVertexNormal, ReadVectorEntry<TASEMeshNormals, TASEVector3,
                                            &TASEMeshNormals::VertexNormals, kVertexNormal>}},
    Others::Skip,
    "",
    Kw::MeshVertexNormal};

inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

// A face line is read by position: "*MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1
// CA: 0", labels not examined. The index loses its trailing character (the
// colon) unless that is a digit, as in files written without colons. The
// token after the CA flag is dropped only when it is "*MESH_SMOOTHING", as on
// a tagged line; any other token (the next face, the block's "}") is handed
// back to the block loop.
void TASEMeshFaceList::ReadFace(TASEReader& r, TASEMeshFaceList& list) {
  std::string_view indexToken = r.Next();
  if (!indexToken.empty() && !IsDigit(indexToken.back())) indexToken.remove_suffix(1);
  const int32_t index = r.ToInt(indexToken);
  TASEFace face;
  r.Next();
  face.A = r.ReadInt();
  r.Next();
  face.B = r.ReadInt();
  r.Next();
  face.C = r.ReadInt();
  r.Next();
  face.AB = r.ReadBool();
  r.Next();
  face.BC = r.ReadBool();
  r.Next();
  face.CA = r.ReadBool();
  r.CheckSlot(list.Faces, index, kFace);  // before the look-ahead moves the error's line
  if (!IsKeyword(r.Next(), Kw::MeshSmoothing)) r.Hold();
  r.Slot(list.Faces, index, kFace) = face;
  list.lastFace_ = index;
}

template <int32_t TASEFace::*field>
void TASEMeshFaceList::ReadTag(TASEReader& r, TASEMeshFaceList& list, const char* misplaced) {
  const int32_t value = r.ReadInt();
  if (list.lastFace_ < 0) r.Fail(misplaced);
  list.Faces[static_cast<size_t>(list.lastFace_)].*field = value;
}

void TASEMeshFaceList::Parse(TASEReader& reader) {
  static constinit const BlockTable<TASEMeshFaceList> kFaceListTable{
      {{Kw::MeshFace, ReadFace},
       {Kw::MeshSmoothing,
        [](TASEReader& r, TASEMeshFaceList& l) {
          ReadTag<&TASEFace::Smoothing>(r, l, "Misplaced *MESH_SMOOTHING tag?");
        }},
       {Kw::MeshMtlId,
        [](TASEReader& r, TASEMeshFaceList& l) {
          ReadTag<&TASEFace::MaterialID>(r, l, "Misplaced *MESH_MTLID tag?");
        }}},
      Others::Skip,
      "",
      Kw::MeshFace};
  lastFace_ = -1;
  ReadBlock(reader, *this, kFaceListTable);
}

void TASEMeshVertexList::Parse(TASEReader& reader) {
  ReadBlock(reader, *this, kVertexListTable);
}
void TASEMeshNormals::Parse(TASEReader& reader) {
  ReadBlock(reader, *this, kNormalsTable);
}
void TASEMeshTVertexList::Parse(TASEReader& reader) {
  ReadBlock(reader, *this, kTVertexListTable);
}
void TASEMeshCVertexList::Parse(TASEReader& reader) {
  ReadBlock(reader, *this, kCVertexListTable);
}
void TASEMeshTFaceList::Parse(TASEReader& reader) {
  ReadBlock(reader, *this, kTFaceListTable);
}
void TASEMeshCFaceList::Parse(TASEReader& reader) {
  ReadBlock(reader, *this, kCFaceListTable);
}

}  // namespace tessaly
