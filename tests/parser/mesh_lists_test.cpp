// The seven element lists of a mesh: numbered arrays, the strict lists'
// messages, face lines read by position with or without their tags, the
// tags' placement, index checks and the element budget of a load.
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "ase_model/ase_reader.h"
#include "parser_test_util.h"

namespace tessaly {
namespace {

using test::LoadText;
using test::MustLoad;

std::string InMesh(const std::string& body) {
  return "*GEOMOBJECT {\n*MESH {\n" + body + "\n}\n}\n";
}

const TASEMesh& MeshOf(const TASEFile& doc) {
  static const TASEMesh none;
  if (doc.GeomObjectCount() < 1 || !doc.GetGeomObject(0)->Mesh) {
    ADD_FAILURE() << "no mesh";
    return none;
  }
  return *doc.GetGeomObject(0)->Mesh;
}

// Records as tuples, so that tables of expected values compare and print.
using V3 = std::array<float, 3>;
std::vector<V3> Xyz(const std::vector<TASEVector3>& vectors) {
  std::vector<V3> out;
  for (const TASEVector3& v : vectors)
    out.push_back({v.X, v.Y, v.Z});
  return out;
}

using FaceRow = std::tuple<int32_t, int32_t, int32_t, bool, bool, bool, int32_t, int32_t>;
FaceRow Face(int32_t a, int32_t b, int32_t c, bool ab, bool bc, bool ca, int32_t smoothing = 0,
             int32_t material = 0) {
  return {a, b, c, ab, bc, ca, smoothing, material};
}
FaceRow Row(const TASEFace& f) {
  return {f.A, f.B, f.C, f.AB, f.BC, f.CA, f.Smoothing, f.MaterialID};
}

std::vector<FaceRow> FacesOf(const std::string& faceListBody) {
  const auto doc = MustLoad(InMesh("*MESH_FACE_LIST {\n" + faceListBody + "\n}"));
  const TASEMesh& mesh = MeshOf(*doc);
  std::vector<FaceRow> rows;
  if (mesh.FaceList) {
    for (const TASEFace& f : mesh.FaceList->Faces)
      rows.push_back(Row(f));
  }
  return rows;
}

TEST(VertexList, NumberedEntries) {
  const struct {
    const char* what;
    std::string body;
    std::vector<V3> vertices;
  } cases[] = {
      {"empty", "", {}},
      {"in order", "*MESH_VERTEX 0 1 2 3 *MESH_VERTEX 1 4 5 6", {{1, 2, 3}, {4, 5, 6}}},
      {"gap is zero",
       "*MESH_VERTEX 2 1 2 3\n*MESH_VERTEX 0 4 5 6",
       {{4, 5, 6}, {0, 0, 0}, {1, 2, 3}}},
      {"overwrite keeps the length",
       "*MESH_VERTEX 1 1 1 1 *MESH_VERTEX 0 2 2 2 *MESH_VERTEX 1 3 3 3",
       {{2, 2, 2}, {3, 3, 3}}},
      {"lower-case keyword", "*mesh_vertex 0 -1.5 0 1e2", {{-1.5f, 0, 100}}},
      {"tabs and CRLF", "\t\t*MESH_VERTEX\t0\t0.5\t-0.0000\t7\r\n", {{0.5f, -0.0f, 7}}},
  };
  for (const auto& c : cases) {
    const auto doc = MustLoad(InMesh("*MESH_VERTEX_LIST {\n" + c.body + "\n}"));
    const TASEMesh& mesh = MeshOf(*doc);
    ASSERT_TRUE(mesh.VertexList) << c.what;
    EXPECT_EQ(Xyz(mesh.VertexList->Vertices), c.vertices) << c.what;
  }
}

TEST(Accessors, IndicesOutsideTheArraysGiveZeroRecords) {
  const auto doc = MustLoad(
      InMesh("*MESH_VERTEX_LIST { *MESH_VERTEX 0 1 2 3 }\n"
             "*MESH_FACE_LIST { *MESH_FACE 0: A: 1 B: 2 C: 3 AB: 1 BC: 1 CA: 1 *MESH_MTLID 4 }\n"
             "*MESH_NORMALS { *MESH_FACENORMAL 0 0 0 1 }"));
  const TASEMesh& m = MeshOf(*doc);
  EXPECT_EQ(Xyz({m.VertexList->GetVertex(0)}), (std::vector<V3>{{1, 2, 3}}));
  EXPECT_EQ(Row(m.FaceList->GetFace(0)), Face(1, 2, 3, true, true, true, 0, 4));
  for (const int32_t i : {-1, 1, INT32_MAX, INT32_MIN}) {
    EXPECT_EQ(Xyz({m.VertexList->GetVertex(i)}), (std::vector<V3>{{0, 0, 0}})) << i;
    EXPECT_EQ(Row(m.FaceList->GetFace(i)), Face(0, 0, 0, false, false, false)) << i;
    EXPECT_EQ(Xyz({m.Normals->GetFaceNormal(i)}), (std::vector<V3>{{0, 0, 0}})) << i;
  }
}

TEST(StrictLists, EntriesOfEachList) {
  const auto doc =
      MustLoad(InMesh("*MESH_TVERTLIST { *MESH_TVERT 1 0.5 0.25 1 }\n"
                      "*MESH_CVERTLIST { *MESH_VERTCOL 0 0.1 0.2 0.3 *mesh_vertcol 2 1 1 1 }\n"
                      "*MESH_TFACELIST { *MESH_TFACE 0 3 4 5 *MESH_TFACE 2 -1 0 $10 }\n"
                      "*MESH_CFACELIST { *MESH_CFACE 1 7 8 9 }\n"));
  const TASEMesh& m = MeshOf(*doc);
  ASSERT_TRUE(m.TVertexList && m.CVertexList && m.TFaceList && m.CFaceList);
  EXPECT_EQ(Xyz(m.TVertexList->TVertices), (std::vector<V3>{{0, 0, 0}, {0.5f, 0.25f, 1}}));
  const auto& cv = m.CVertexList->CVertices;
  ASSERT_EQ(cv.size(), 3u);
  EXPECT_EQ(cv[0].R, 0.1f);
  EXPECT_EQ(cv[0].G, 0.2f);
  EXPECT_EQ(cv[0].B, 0.3f);
  EXPECT_EQ(cv[0].A, 0.0f);  // colour vertices keep alpha 0
  EXPECT_EQ(cv[1].R + cv[1].G + cv[1].B + cv[1].A, 0.0f);
  EXPECT_EQ(cv[2].A, 0.0f);
  const auto& tf = m.TFaceList->TFaces;
  ASSERT_EQ(tf.size(), 3u);
  EXPECT_EQ(tf[0].A, 3);
  EXPECT_EQ(tf[0].C, 5);
  EXPECT_EQ(tf[1].A + tf[1].B + tf[1].C, 0);
  EXPECT_EQ(tf[2].A, -1);  // values are not indices of this list: not checked
  EXPECT_EQ(tf[2].C, 16);
  const auto& cf = m.CFaceList->CFaces;
  ASSERT_EQ(cf.size(), 2u);
  EXPECT_EQ(cf[1].B, 8);
}

TEST(StrictLists, Messages) {
  const struct {
    const char* what;
    std::string body;
    std::string message;
    int line;
  } cases[] = {
      {"vertex normal in a vertex list", "*MESH_VERTEX_LIST {\n*MESH_VERTEXNORMAL 0 1 2 3 }",
       "Invalid token in vertex list! (\"*MESH_VERTEXNORMAL\")", 4},
      {"a brace in a vertex list", "*MESH_VERTEX_LIST { { } }",
       "Invalid token in vertex list! (\"{\")", 3},
      {"short entry", "*MESH_VERTEX_LIST { *MESH_VERTEX 0 1 2 }",
       "'}' is not a valid floating point value", 3},
      {"long entry", "*MESH_VERTEX_LIST { *MESH_VERTEX 0 1 2 3 4 }",
       "Invalid token in vertex list! (\"4\")", 3},
      {"tvertex", "*MESH_TVERTLIST { *MESH_TVERT 0 1 2 3\n*MESH_VERTEX 0 1 2 3 }",
       "Invalid token in tvertex list! (\"*MESH_VERTEX\")", 4},
      {"cvertex", "*MESH_CVERTLIST { *MESH_VERTCOLOR 0 1 2 3 }",
       "Invalid token in cvertex list! (\"*MESH_VERTCOLOR\")", 3},
      {"tface", "*MESH_TFACELIST { *MESH_CFACE 0 1 2 3 }",
       "Invalid token in tface list! (\"*MESH_CFACE\")", 3},
      {"cface", "*MESH_CFACELIST { *MESH_TFACE 0 1 2 3 }",
       "Invalid token in cface list! (\"*MESH_TFACE\")", 3},
      {"tface index is not cut", "*MESH_TFACELIST { *MESH_TFACE 0: 1 2 3 }",
       "'0:' is not a valid integer value", 3},
      {"tface values are whole numbers", "*MESH_TFACELIST { *MESH_TFACE 0 1 2 3.0 }",
       "'3.0' is not a valid integer value", 3},
      {"vertex index is a whole number", "*MESH_VERTEX_LIST { *MESH_VERTEX 1.0 1 2 3 }",
       "'1.0' is not a valid integer value", 3},
      {"cvertex ended by the text", "*MESH_CVERTLIST { *MESH_VERTCOL 0 1 2 3",
       "Invalid token in cvertex list! (\"\")", 3},
  };
  for (const auto& c : cases) {
    const auto r = LoadText("*GEOMOBJECT {\n*MESH {\n" + c.body);
    EXPECT_EQ(r.message, c.message) << c.what;
    EXPECT_EQ(r.line, c.line) << c.what;
  }
}

TEST(StrictLists, FailedEntryLeavesTheArrayAsItWas) {
  const auto r =
      LoadText(InMesh("*MESH_VERTEX_LIST { *MESH_VERTEX 0 1 1 1 *MESH_VERTEX 5 1 2 x }"));
  EXPECT_EQ(r.message, "'x' is not a valid floating point value");
  const TASEMesh& mesh = MeshOf(*r.doc);
  ASSERT_TRUE(mesh.VertexList);  // owned by the mesh although its reading failed
  EXPECT_EQ(Xyz(mesh.VertexList->Vertices), (std::vector<V3>{{1, 1, 1}}));
}

TEST(Normals, FaceAndVertexNormals) {
  const auto doc =
      MustLoad(InMesh("*MESH_NORMALS {\n"
                      "  *MESH_FACENORMAL 0 0 0 1\n"
                      "    *MESH_VERTEXNORMAL 2 0 1 0\n"
                      "    *MESH_VERTEXNORMAL 0 1 0 0\n"
                      "  *MESH_FACENORMAL 2 0 0 -1\n"
                      "    *MESH_VERTEXNORMAL 2 0.5 0.5 0\n"  // the last line for a vertex wins
                      "  *OTHER 1 2 3\n"
                      "}"));
  const TASEMeshNormals& n = *MeshOf(*doc).Normals;
  EXPECT_EQ(n.FaceNormalCount(), 3);
  EXPECT_EQ(Xyz(n.FaceNormals), (std::vector<V3>{{0, 0, 1}, {0, 0, 0}, {0, 0, -1}}));
  EXPECT_EQ(Xyz({n.GetFaceNormal(2)}), (std::vector<V3>{{0, 0, -1}}));
  EXPECT_EQ(Xyz(n.VertexNormals), (std::vector<V3>{{1, 0, 0}, {0, 0, 0}, {0.5f, 0.5f, 0}}));

  const auto vertexOnly = MustLoad(InMesh("*MESH_NORMALS { *MESH_VERTEXNORMAL 0 1 0 0 }"));
  EXPECT_EQ(MeshOf(*vertexOnly).Normals->FaceNormalCount(), 0);
}

TEST(FaceList, Lines) {
  const struct {
    const char* what;
    std::string body;
    std::vector<FaceRow> faces;
  } cases[] = {
      {"empty", "", {}},
      {"tagged line: smoothing dropped, material kept",
       "*MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 0 *MESH_SMOOTHING 1 *MESH_MTLID 3",
       {Face(0, 1, 2, true, true, false, 0, 3)}},
      {"comma list and empty smoothing values",
       "*MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 1 *MESH_SMOOTHING 1,2 *MESH_MTLID 4\n"
       "*MESH_FACE 1: A: 2 B: 3 C: 0 AB: 0 BC: 1 CA: 1 *MESH_SMOOTHING 32, *MESH_MTLID 5\n"
       "*MESH_FACE 2: A: 3 B: 1 C: 0 AB: 1 BC: 0 CA: 1 *MESH_SMOOTHING *MESH_MTLID 6",
       {Face(0, 1, 2, true, true, true, 0, 4), Face(2, 3, 0, false, true, true, 0, 5),
        Face(3, 1, 0, true, false, true, 0, 6)}},
      {"lines without tags all stored",
       "*MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 0\n"
       "*MESH_FACE 1: A: 0 B: 2 C: 3 AB: 0 BC: 1 CA: 1\n"
       "*MESH_FACE 2: A: 3 B: 2 C: 1 AB: 1 BC: 0 CA: 1",
       {Face(0, 1, 2, true, true, false), Face(0, 2, 3, false, true, true),
        Face(3, 2, 1, true, false, true)}},
      {"smoothing tag dropped in any letter case",
       "*MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 0 *mesh_smoothing 3 *MESH_MTLID 1\n"
       "*MESH_FACE 1: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 0 *MESH_SMOOTHING\n"
       "*MESH_FACE 2: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 0",
       {Face(0, 1, 2, true, true, false, 0, 1), Face(0, 1, 2, true, true, false),
        Face(0, 1, 2, true, true, false)}},
      {"a material tag after an untagged line",
       "*MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 0 *MESH_MTLID 7",
       {Face(0, 1, 2, true, true, false, 0, 7)}},
      {"a smoothing tag that reaches the loop is stored",
       "*MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 0 *MESH_MTLID 7 *MESH_SMOOTHING 5",
       {Face(0, 1, 2, true, true, false, 5, 7)}},
      {"tags go to the face read last, not the highest",
       "*MESH_FACE 5: A: 5 B: 5 C: 5 AB: 0 BC: 0 CA: 0\n"
       "*MESH_FACE 2: A: 2 B: 2 C: 2 AB: 0 BC: 0 CA: 0 *MESH_SMOOTHING 1 *MESH_MTLID 9",
       {Face(0, 0, 0, false, false, false), Face(0, 0, 0, false, false, false),
        Face(2, 2, 2, false, false, false, 0, 9), Face(0, 0, 0, false, false, false),
        Face(0, 0, 0, false, false, false), Face(5, 5, 5, false, false, false)}},
      {"a later line overwrites the whole face",
       "*MESH_FACE 0: A: 1 B: 1 C: 1 AB: 1 BC: 1 CA: 1 *MESH_MTLID 4\n"
       "*MESH_FACE 0: A: 2 B: 2 C: 2 AB: 0 BC: 0 CA: 0",
       {Face(2, 2, 2, false, false, false)}},
      {"flags: only a plain zero is false",
       "*MESH_FACE 0: A: 0 B: 0 C: 0 AB: 00 BC: 0.0 CA: 0\n"
       "*MESH_FACE 1: A: 0 B: 0 C: 0 AB: 0 BC: -0 CA: x",
       {Face(0, 0, 0, true, true, false), Face(0, 0, 0, false, true, true)}},
      {"labels are not examined",
       "*mesh_face 0: x 4 y 5 z 6 p 1 q 0 r 1",
       {Face(4, 5, 6, true, false, true)}},
      {"other tokens passed over",
       "*MESH_FACE_COUNT 3 garbage *MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 1 more { x }",
       {Face(0, 1, 2, true, true, true)}},
      {"tab-separated line without colon (Q3Map2)",
       "*MESH_FACE\t0\tA:\t0\tB:\t1\tC:\t2\tAB:\t1\tBC:\t1\tCA:\t1\t*MESH_SMOOTHING\t0\t*MESH_"
       "MTLID\t0\r\n"
       "*MESH_FACE\t1\tA:\t2\tB:\t3\tC:\t0\tAB:\t1\tBC:\t1\tCA:\t1\t*MESH_SMOOTHING\t0\t*MESH_"
       "MTLID\t1\r\n",
       {Face(0, 1, 2, true, true, true, 0, 0), Face(2, 3, 0, true, true, true, 0, 1)}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FacesOf(c.body), c.faces) << c.what;
  }
}

TEST(FaceList, IndexToken) {
  const struct {
    std::string token;
    int32_t index;
  } cases[] = {{"0:", 0}, {"12:", 12}, {"7;", 7}, {"7", 7}, {"12", 12}, {"3x", 3}, {"$1F:", 31}};
  for (const auto& c : cases) {
    const auto faces = FacesOf("*MESH_FACE " + c.token + " A: 1 B: 2 C: 3 AB: 1 BC: 1 CA: 1");
    ASSERT_EQ(faces.size(), static_cast<size_t>(c.index) + 1) << c.token;
    EXPECT_EQ(faces.back(), Face(1, 2, 3, true, true, true)) << c.token;
  }
}

TEST(FaceList, AfterTheListTheMeshGoesOn) {
  // A last face line without tags ends the list normally, and what follows
  // in the mesh is read.
  const auto doc =
      MustLoad(InMesh("*MESH_FACE_LIST {\n*MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 0\n}\n"
                      "*MESH_NUMTVERTEX 4\n"));
  const TASEMesh& mesh = MeshOf(*doc);
  EXPECT_EQ(mesh.FaceList->Count(), 1);
  EXPECT_EQ(mesh.NumTVertex, 4);
}

TEST(FaceList, Errors) {
  const struct {
    const char* what;
    std::string body;
    std::string message;
    int line;
  } cases[] = {
      {"material tag before any face", "*MESH_MTLID 1", "Misplaced *MESH_MTLID tag?", 4},
      {"smoothing tag before any face", "x\n*MESH_SMOOTHING 1", "Misplaced *MESH_SMOOTHING tag?",
       5},
      {"tag value converted before the placement test", "*MESH_MTLID x",
       "'x' is not a valid integer value", 4},
      {"comma smoothing value reaching the loop",
       "*MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 0 *MESH_MTLID 1\n*MESH_SMOOTHING 1,2",
       "'1,2' is not a valid integer value", 5},
      {"index without digits", "*MESH_FACE : A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 0",
       "'' is not a valid integer value", 4},
      {"index not a number", "*MESH_FACE x: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 0",
       "'x' is not a valid integer value", 4},
      {"corner not a number", "*MESH_FACE 0: A: 0 B: one C: 2 AB: 1 BC: 1 CA: 0",
       "'one' is not a valid integer value", 4},
      {"negative index", "*MESH_FACE -1: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 0",
       "Index -1 out of range in face list", 4},
      {"tag after a rejected face cannot be reached",
       "*MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 0\n*MESH_FACE -2: A: 0 B: 1 C: 2 AB: 1 BC: 1 "
       "CA: 0 "
       "*MESH_MTLID 1",
       "Index -2 out of range in face list", 5},
  };
  for (const auto& c : cases) {
    const auto r = LoadText(InMesh("*MESH_FACE_LIST {\n" + c.body + "\n}"));
    EXPECT_EQ(r.message, c.message) << c.what;
    EXPECT_EQ(r.line, c.line) << c.what;
  }
  // The text ends right after a face line without tags.
  const auto r = LoadText(
      "*GEOMOBJECT { *MESH { *MESH_FACE_LIST {\n"
      "*MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 0\n");
  EXPECT_EQ(r.message, "Brackets do not match!");
  EXPECT_EQ(r.line, 2);
  EXPECT_EQ(MeshOf(*r.doc).FaceList->Count(), 1);
}

// A negative index, and an index beyond the load's element budget, in every
// numbered table.
TEST(Indices, OutOfRange) {
  const struct {
    std::string text;
    const char* name;
  } tables[] = {
      {"*MATERIAL_LIST { *MATERIAL # { } }", "material"},
      {InMesh("*MESH_VERTEX_LIST { *MESH_VERTEX # 0 0 0 }"), "vertex"},
      {InMesh("*MESH_FACE_LIST { *MESH_FACE #: A: 0 B: 0 C: 0 AB: 0 BC: 0 CA: 0 }"), "face"},
      {InMesh("*MESH_NORMALS { *MESH_FACENORMAL # 0 0 0 }"), "face normal"},
      {InMesh("*MESH_NORMALS { *MESH_VERTEXNORMAL # 0 0 0 }"), "vertex normal"},
      {InMesh("*MESH_TVERTLIST { *MESH_TVERT # 0 0 0 }"), "tvertex"},
      {InMesh("*MESH_CVERTLIST { *MESH_VERTCOL # 0 0 0 }"), "cvertex"},
      {InMesh("*MESH_TFACELIST { *MESH_TFACE # 0 0 0 }"), "tface"},
      {InMesh("*MESH_CFACELIST { *MESH_CFACE # 0 0 0 }"), "cface"},
  };
  for (const auto& t : tables) {
    for (const std::string index : {"-1", "-2147483648", "2000000000", "2147483647"}) {
      std::string text = t.text;
      text.replace(text.find('#'), 1, index);
      const auto r = LoadText(text);
      EXPECT_EQ(r.message, "Index " + index + " out of range in " + t.name + " list") << text;
    }
  }
}

// Numbered tables of one load may take, in total, the text's length plus
// 1,048,576 slots.
constexpr size_t kAllowance = TASEReader::kBudgetAllowance;
static_assert(kAllowance == 1048576);

TEST(Indices, BudgetBoundary) {
  // Padding is part of the text's length, so compute the limit from it.
  std::string text = InMesh("*MESH_VERTEX_LIST { *MESH_VERTEX IDX 0 0 0 }");
  const std::string digits = "0000000";  // room for the index
  text.replace(text.find("IDX"), 3, digits);
  const size_t budget = text.size() + kAllowance;
  auto withIndex = [&](size_t index) {
    std::string s = std::to_string(index);
    std::string t = text;
    t.replace(t.find(digits), digits.size(), std::string(digits.size() - s.size(), '0') + s);
    return t;
  };
  EXPECT_FALSE(LoadText(withIndex(budget - 1)).failed);  // budget slots exactly
  const auto r = LoadText(withIndex(budget));
  EXPECT_EQ(r.message, "Index " + std::to_string(budget) + " out of range in vertex list");
  EXPECT_EQ(MeshOf(*r.doc).VertexList->Vertices.size(), 0u);  // rejected before any growth
}

TEST(Indices, LargeIndexInASmallFileFailsAtOnce) {
  std::string text = "*3DSMAX_ASCIIEXPORT 200\n*COMMENT \"padding to about one kilobyte\"\n";
  while (text.size() < 900)
    text += "*COMMENT \"....................................\"\n";
  text += InMesh("*MESH_VERTEX_LIST {\n*MESH_VERTEX 0 1 2 3\n*MESH_VERTEX 2000000000 1 2 3\n}");
  ASSERT_LT(text.size(), 1100u);
  const auto r = LoadText(text);
  EXPECT_EQ(r.message, "Index 2000000000 out of range in vertex list");
  EXPECT_EQ(MeshOf(*r.doc).VertexList->Vertices.size(), 1u);
}

// Slots count cumulatively: a replaced table does not give its slots back,
// and every kind of table draws on the same budget.
std::string ManyLists(int count, int index) {
  const char* lists[] = {
      "*MESH_VERTEX_LIST { *MESH_VERTEX # 0 0 0 }",
      "*MESH_FACE_LIST { *MESH_FACE #: A: 0 B: 0 C: 0 AB: 0 BC: 0 CA: 0 }",
      "*MESH_NORMALS { *MESH_FACENORMAL # 0 0 0 *MESH_VERTEXNORMAL # 0 0 0 }",
      "*MESH_TVERTLIST { *MESH_TVERT # 0 0 0 }",
      "*MESH_CVERTLIST { *MESH_VERTCOL # 0 0 0 }",
      "*MESH_TFACELIST { *MESH_TFACE # 0 0 0 }",
      "*MESH_CFACELIST { *MESH_CFACE # 0 0 0 }",
  };
  std::string body;
  for (int i = 0; i < count; ++i) {
    std::string list = lists[i % 7];
    for (size_t at; (at = list.find('#')) != std::string::npos;) {
      list.replace(at, 1, std::to_string(index));
    }
    body += list + "\n";
  }
  return InMesh(body);
}

size_t SlotsHeld(const TASEFile& doc) {
  size_t total = doc.MaterialList ? doc.MaterialList->Materials.size() : 0;
  for (const auto& g : doc.GeomObjects) {
    if (!g->Mesh) continue;
    const TASEMesh& m = *g->Mesh;
    if (m.VertexList) total += m.VertexList->Vertices.size();
    if (m.FaceList) total += m.FaceList->Faces.size();
    if (m.Normals) total += m.Normals->FaceNormals.size() + m.Normals->VertexNormals.size();
    if (m.TVertexList) total += m.TVertexList->TVertices.size();
    if (m.CVertexList) total += m.CVertexList->CVertices.size();
    if (m.TFaceList) total += m.TFaceList->TFaces.size();
    if (m.CFaceList) total += m.CFaceList->CFaces.size();
  }
  return total;
}

TEST(Indices, ThousandListsWithLargeIndicesShareOneBudget) {
  const int index = 99999;  // 100,000 slots a table
  const std::string text = ManyLists(1000, index);
  const size_t budget = text.size() + kAllowance;
  const auto r = LoadText(text);
  ASSERT_TRUE(r.failed);
  // The list that would take the total past the budget is the one rejected
  // (the normals list draws twice).
  size_t used = 0;
  int list = 0;
  for (;; ++list) {
    const size_t draws = list % 7 == 2 ? 2 : 1;
    if (used + draws * (index + 1) > budget) break;
    used += draws * (index + 1);
  }
  const char* names[] = {"vertex", "face", "face normal", "tvertex", "cvertex", "tface", "cface"};
  const bool secondDraw = list % 7 == 2 && used + (index + 1) <= budget;
  EXPECT_EQ(r.message, "Index " + std::to_string(index) + " out of range in " +
                           (secondDraw ? "vertex normal" : names[list % 7]) + " list");
  EXPECT_EQ(r.line, 3 + list);
  EXPECT_LE(SlotsHeld(*r.doc), budget);

  // The same lists replacing one another in one mesh: the earlier tables are
  // released, yet their slots stay counted.
  std::string same;
  for (int i = 0; i < 1000; ++i)
    same += "*MESH_VERTEX_LIST { *MESH_VERTEX 99999 0 0 0 }\n";
  const auto s = LoadText(InMesh(same));
  EXPECT_EQ(s.message, "Index 99999 out of range in vertex list");
  EXPECT_EQ(s.line, 3 + static_cast<int>((InMesh(same).size() + kAllowance) / 100000));
}

long StatusKiB(const char* key) {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with(key)) return std::stol(line.substr(line.find(':') + 1));
  }
  return -1;
}

// How far the resident set grows while the text loads, in KiB. Measured in a
// child process: it gives its free heap back to the system and resets its
// high-water mark first, so memory that this test run freed earlier neither
// hides nor adds to the figure. -1 when the system cannot tell.
long PeakGrowthKiB(const std::string& text) {
  int fds[2];
  if (::pipe(fds) != 0) return -1;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    ::malloc_trim(0);
    long growth = -1;
    std::ofstream reset("/proc/self/clear_refs");
    reset << "5" << std::flush;  // the high-water mark becomes the current size
    if (reset) {
      const long before = StatusKiB("VmRSS");
      LoadText(text);
      const long peak = StatusKiB("VmHWM");
      if (before >= 0 && peak >= 0) growth = peak - before;
    }
    [[maybe_unused]] const auto n = ::write(fds[1], &growth, sizeof growth);
    ::_exit(0);
  }
  ::close(fds[1]);
  long growth = -1;
  if (pid < 0 || ::read(fds[0], &growth, sizeof growth) != sizeof growth) growth = -1;
  ::close(fds[0]);
  if (pid > 0) ::waitpid(pid, nullptr, 0);
  return growth;
}

TEST(Indices, HostileFilesStayWithinTensOfMegabytes) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer's own bookkeeping hides the figure";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  GTEST_SKIP() << "the address sanitizer's own bookkeeping hides the figure";
#endif
#endif
  // Tables hold at most the whole budget (about 1.1 million slots of at
  // most 24 bytes), so the peak stays near 30 MB whatever the file asks for.
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"one huge index", InMesh("*MESH_VERTEX_LIST { *MESH_VERTEX 2000000000 0 0 0 }")},
      {"1,000 lists with large indices", ManyLists(1000, 999999)},
      {"1,000 lists with medium indices", ManyLists(1000, 99999)},
  };
  for (const auto& c : cases) {
    const long kib = PeakGrowthKiB(c.text);
    if (kib < 0) GTEST_SKIP() << "the resident set's high-water mark cannot be reset here";
    std::printf("[ memory   ] %s: the load's resident set grew by %ld KiB\n", c.what, kib);
    EXPECT_LT(kib, 64 * 1024) << c.what;
  }
}

}  // namespace
}  // namespace tessaly
