// Real files written by other programs: each loads, or fails with exactly the
// message the reading rules give for what it holds.
#include <filesystem>
#include <set>
#include <string>

#include "parser_test_util.h"

namespace tessaly {
namespace {

struct CorpusFile {
  const char* name;
  // When the file loads: what it must hold.
  int objects;
  long faces;
  long vertices;
  int materials;
  // When it fails: the message and its line, and why the rules demand it.
  const char* message;
  int line;
  const char* why;
};

const CorpusFile kCorpus[] = {
    {"01_assimp_threecubesgreen.ase", 3, 36, 24, 3, nullptr, 0,
     "loads; *MESH_MTLID values beyond the material count are stored as they are"},
    {"03_assimp_anim2.ase", 2, 24, 16, 0, nullptr, 0,
     "loads; camera, light and *TM_ANIMATION blocks are passed over token by token"},
    {"04_assimp_motioncapturerom.ase", 26, 2016, 1057, 0, nullptr, 0,
     "loads; empty *MESH_SMOOTHING values are dropped with the tag"},
    {"06_assimp_uvtransform_rot72_mirror.ase", 1, 32, 25, 1, nullptr, 0, "loads"},
    {"11_station15_grass_q3map2.ase", 2, 2, 6, 5, nullptr, 0,
     "loads; face indices written without a colon keep their digit"},
    {"13_vega_ceilinglight2_multisub.ase", 1, 492, 292, 2, nullptr, 0,
     "loads; *SUBMATERIAL keywords act on the enclosing material"},
    {"17_football_goals.ase", 18, 4152, 2512, 2, nullptr, 0, "loads"},
    {"19_football_redcard.ase", 1, 12, 8, 1, nullptr, 0, "loads"},
    {"28_cafu_tonnetest_lod5_mapchannel.ase", 1, 12, 8, 1,
     "'-1.#IND' is not a valid floating point value", 136,
     "*MESH_MAPPINGCHANNEL is not a mesh keyword, but the *MESH_TVERTLIST inside it is acted "
     "on, and its first value -1.#IND is no real number"},
    {"29_cafu_lamp1_lightray3d.ase", 1, 34, 30, 1, nullptr, 0, "loads"},
    {"30_cafu_regal_dirt_lightray3d.ase", 16, 96, 112, 4, nullptr, 0, "loads"},
    {"31_vreng_liberty.ase", 1, 2849, 1450, 1, nullptr, 0,
     "loads; the light object is passed over"},
    {"35_trenchbroom_player_missing_brace.ase", 0, 0, 0, 1, "Brackets do not match!", 5530,
     "the material list is never closed: it runs to the end of the text (its last line), "
     "swallowing the object, and a block that the text ends inside fails"},
    {"36_trenchbroom_cuboid_io_scene_ase.ase", 0, 0, 0, 0, "'{' is not a valid integer value", 4,
     "\"*MATERIAL {\" has no number: the \"{\" is taken as the material number"},
};

void Totals(const TASEFile& doc, long& faces, long& vertices) {
  faces = vertices = 0;
  for (const auto& g : doc.GeomObjects) {
    if (!g->Mesh) continue;
    if (g->Mesh->FaceList) faces += g->Mesh->FaceList->Count();
    if (g->Mesh->VertexList) vertices += static_cast<long>(g->Mesh->VertexList->Vertices.size());
  }
}

TEST(Corpus, EveryFileLoadsOrFailsAsTheRulesDemand) {
  const std::filesystem::path dir = TESSALY_CORPUS_DIR;
  ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
  std::set<std::string> listed;
  for (const CorpusFile& c : kCorpus) {
    listed.insert(c.name);
    SCOPED_TRACE(std::string(c.name) + ": " + c.why);
    TASEFile doc;
    std::string message;
    int line = 0;
    try {
      doc.LoadFromFile((dir / c.name).string());
    } catch (const EParseError& e) {
      message = e.what();
      line = e.Line();
    }
    EXPECT_EQ(message, c.message ? c.message : "");
    EXPECT_EQ(line, c.line);
    // What was read, also as far as a failing load got.
    EXPECT_EQ(doc.GeomObjectCount(), c.objects);
    long faces = 0, vertices = 0;
    Totals(doc, faces, vertices);
    EXPECT_EQ(faces, c.faces);
    EXPECT_EQ(vertices, c.vertices);
    int materials = 0;
    if (doc.MaterialList) {
      for (const auto& m : doc.MaterialList->Materials)
        materials += m ? 1 : 0;
    }
    EXPECT_EQ(materials, c.materials);
    ASSERT_TRUE(doc.Header);
    EXPECT_EQ(doc.Header->Version, "200");
  }
  // A file added to the folder needs its entry here.
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() == ".ase") {
      EXPECT_TRUE(listed.count(entry.path().filename().string()))
          << entry.path().filename() << " has no entry";
    }
  }
}

TEST(Corpus, DetailsOfOddFiles) {
  const std::filesystem::path dir = TESSALY_CORPUS_DIR;
  {
    // Material numbers beyond the list are kept on the faces.
    TASEFile doc;
    doc.LoadFromFile((dir / "01_assimp_threecubesgreen.ase").string());
    int32_t highest = 0;
    for (const auto& g : doc.GeomObjects) {
      for (const TASEFace& f : g->Mesh->FaceList->Faces)
        highest = std::max(highest, f.MaterialID);
    }
    EXPECT_EQ(highest, 5);
  }
  {
    // Q3Map2 writes "*MESH_FACE<tab>0<tab>A: ...": index 0, not a failure.
    TASEFile doc;
    doc.LoadFromFile((dir / "11_station15_grass_q3map2.ase").string());
    for (const auto& g : doc.GeomObjects) {
      ASSERT_EQ(g->Mesh->FaceList->Count(), 1);
      const TASEFace f = g->Mesh->FaceList->GetFace(0);
      EXPECT_EQ(f.A, 0);
      EXPECT_EQ(f.B, 2);
      EXPECT_EQ(f.C, 1);
    }
  }
  {
    // The failing mapping channel: the first texture vertex list was read
    // whole before it, and the channel's count overwrote the mesh's.
    TASEFile doc;
    EXPECT_THROW(doc.LoadFromFile((dir / "28_cafu_tonnetest_lod5_mapchannel.ase").string()),
                 EParseError);
    const TASEMesh& mesh = *doc.GetGeomObject(0)->Mesh;
    ASSERT_TRUE(mesh.TVertexList);
    EXPECT_TRUE(mesh.TVertexList->TVertices.empty());  // the channel's list, just begun
    EXPECT_EQ(mesh.NumTVertex, 12);
  }
}

}  // namespace
}  // namespace tessaly
