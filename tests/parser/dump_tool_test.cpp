// tessaly-dump, run as a program: the JSON it prints, its error report and
// its exit codes.
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "parser_test_util.h"

namespace tessaly {
namespace {

using nlohmann::json;
using test::ScratchFile;

struct DumpRun {
  int exitCode = -1;
  std::string out, err;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Quoted(const std::string& arg) {
  std::string q = "'";
  for (char c : arg)
    q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs tessaly-dump with the arguments; its standard input is the output of
// `feed` (a shell command) when one is given.
DumpRun RunDump(const std::vector<std::string>& args, const std::string& feed = "") {
  static int serial = 0;
  const std::string stem = "dump_" + std::to_string(++serial);
  const ScratchFile out(stem + ".out", ""), err(stem + ".err", "");
  std::string command = Quoted(std::string(TESSALY_BIN_DIR) + "/tessaly-dump");
  for (const auto& a : args)
    command.append(" ").append(Quoted(a));
  command += " >" + Quoted(out.Path()) + " 2>" + Quoted(err.Path());
  command = feed.empty() ? command + " </dev/null" : feed + " | " + command;
  const int status = std::system(command.c_str());
  DumpRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadAll(out.Path());
  run.err = ReadAll(err.Path());
  return run;
}

std::string Fixture(const char* name) {
  return std::string(TESSALY_SOURCE_DIR) + "/tests/parser/fixtures/" + name;
}

TEST(DumpTool, HeaderAndComments) {
  // Bytes above 127 become the code points of the same number; control
  // bytes are escaped.
  const ScratchFile file("header.ase",
                         "*3DSMAX_ASCIIEXPORT\t200\r\n*COMMENT \"caf\xE9  \x01\x7F\"\r\n"
                         "*COMMENT \"second \\\"one\\\"\"\r\n");
  const DumpRun run = RunDump({file.Path()});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  const json j = json::parse(run.out);
  EXPECT_EQ(j["file"], file.Path());
  EXPECT_TRUE(j["error"].is_null());
  EXPECT_EQ(j["document"]["Header"], json({{"Version", "200"}}));
  EXPECT_EQ(j["document"]["Comments"], json::array({"caf\xC3\xA9 \x01\x7F", "second \\\"one\\\""}));
  EXPECT_NE(run.out.find("\\u0001"), std::string::npos);
  EXPECT_TRUE(j["document"]["Scene"].is_null());
  EXPECT_TRUE(j["document"]["MaterialList"].is_null());
  EXPECT_EQ(j["document"]["GeomObjects"], json::array());
  EXPECT_EQ(j["document"]["Groups"], json::array());
}

TEST(DumpTool, MalformedFilePrintsThePartialDocument) {
  const std::string path = Fixture("malformed.ase");
  const DumpRun run = RunDump({path});
  EXPECT_EQ(run.exitCode, 1);
  const std::string message = "Invalid token in vertex list! (\"*MESH_VERTEXNORMAL\")";
  EXPECT_EQ(run.err, path + ":9: " + message + "\n");
  const json j = json::parse(run.out);
  EXPECT_EQ(j["error"], json({{"message", message}, {"line", 9}}));
  const json& doc = j["document"];
  EXPECT_EQ(doc["Comments"], json::array({"Breaks off in a vertex list"}));
  ASSERT_EQ(doc["GeomObjects"].size(), 1u);
  const json& obj = doc["GeomObjects"][0];
  EXPECT_EQ(obj["NodeName"], "Broken");
  EXPECT_EQ(obj["Mesh"]["VertexList"]["Vertices"], json::parse("[[0,0,0],[1,0,0]]"));
  EXPECT_TRUE(obj["Mesh"]["FaceList"].is_null());
}

TEST(DumpTool, FileThatCannotBeOpened) {
  const std::string path = "/nonexistent-tessaly/none.ase";
  const DumpRun run = RunDump({path});
  EXPECT_EQ(run.exitCode, 1);
  const std::string message = "Cannot open file \"" + path + "\". No such file or directory";
  EXPECT_EQ(run.err, path + ": " + message + "\n");
  const json j = json::parse(run.out);
  EXPECT_EQ(j["error"], json({{"message", message}, {"line", nullptr}}));
  EXPECT_TRUE(j["document"]["Header"].is_null());
}

TEST(DumpTool, UsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {}, {"a.ase", "b.ase"}, {"--bogus", "a.ase"}, {"--summary"}};
  for (const auto& args : cases) {
    const DumpRun run = RunDump(args);
    EXPECT_EQ(run.exitCode, 2) << args.size();
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("usage: tessaly-dump"), std::string::npos);
  }
}

TEST(DumpTool, Summary) {
  const DumpRun run = RunDump({"--summary", Fixture("complete.ase")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("materials: 2"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("faces:     2"), std::string::npos) << run.out;
}

// Every field of every block, in the shapes the dump uses: colours
// [R,G,B,A], vectors [X,Y,Z], the matrix m0..m15, null for an absent object
// or an empty slot, zero records for gaps in element tables.
const char* const kCompleteDocument = R"({
 "Header": {"Version": "200"},
 "Comments": ["Small but complete: every block the reader knows"],
 "Scene": {"FileName": "complete.max", "FirstFrame": 0, "LastFrame": 100, "FrameSpeed": 30,
           "TicksPerFrame": 160, "BackgroundStatic": [0.1, 0.2, 0.3, 1],
           "AmbientStatic": [0, 0, 0, 1]},
 "MaterialList": {"Materials": [
  {"Name": "Red Paint", "MaterialClass": "Standard", "Ambient": [0.1, 0, 0, 1],
   "Diffuse": [0.8, 0, 0, 1], "Specular": [0.9, 0.9, 0.9, 1], "Shine": 0.25,
   "ShineStrength": 0.05, "Transparency": 0, "WireSize": 1, "Shading": "Blinn",
   "XPFalloff": 0, "SelfIllum": 0, "Falloff": "In", "XPType": "Filter",
   "Maps": [null,
    {"Name": "Paint Map", "MapClass": "Bitmap", "SubNo": 1, "Amount": 1,
     "Bitmap": "C:\\maps\\paint.tga", "MapType": "Screen", "UOffset": 0, "VOffset": 0,
     "UTiling": 2, "VTiling": 1, "Angle": 0, "Blur": 1, "BlurOffset": 0, "NoiseAmount": 1,
     "NoiseSize": 1, "NoiseLevel": 1, "NoisePhase": 0, "BitmapFilter": "Pyramidal"},
    null, null, null, null, null, null, null, null, null]},
  null,
  {"Name": "Glass", "MaterialClass": "", "Ambient": [0, 0, 0, 1], "Diffuse": [0.5, 0.6, 0.7, 1],
   "Specular": [0, 0, 0, 1], "Shine": 0, "ShineStrength": 0, "Transparency": 1, "WireSize": 1,
   "Shading": "", "XPFalloff": 0, "SelfIllum": 0, "Falloff": "", "XPType": "",
   "Maps": [null, null, null, null, null, null, null, null,
    {"Name": "Bumps", "MapClass": "", "SubNo": 0, "Amount": 0, "Bitmap": "", "MapType": "",
     "UOffset": 0, "VOffset": -0.25, "UTiling": 0, "VTiling": 0, "Angle": 0, "Blur": 0,
     "BlurOffset": 0, "NoiseAmount": 0, "NoiseSize": 0, "NoiseLevel": 0, "NoisePhase": 0,
     "BitmapFilter": ""},
    null,
    {"Name": "", "MapClass": "", "SubNo": 0, "Amount": "inf", "Bitmap": "", "MapType": "",
     "UOffset": 0, "VOffset": 0, "UTiling": 0, "VTiling": 0, "Angle": 0, "Blur": 0,
     "BlurOffset": 0, "NoiseAmount": 0, "NoiseSize": 0, "NoiseLevel": 0, "NoisePhase": 0,
     "BitmapFilter": ""}]}]},
 "GeomObjects": [
  {"NodeName": "Box01",
   "NodeTM": {"NodeName": "Box01", "InheritPos": [0, 0, 0], "InheritRot": [0, 0, 0],
              "InheritScl": [0, 0, 0],
              "Matrix": [1, 0, 0, 5, 0, 0, -1, 6, 0, 1, 0, 7, 0, 0, 0, 1],
              "Pos": [5, 6, 7], "RotAxis": [-1, 0, 0], "RotAngle": 1.5708,
              "Scale": [1, 1, 1], "ScaleAxis": [0, 0, 0], "ScaleAxisAng": 0},
   "Mesh": {
    "VertexList": {"Vertices": [[0, 0, 0], [1, 0, 0], [0, 0, 0], [0.1, 1, 0]]},
    "FaceList": {"Faces": [
      {"A": 0, "B": 1, "C": 3, "AB": true, "BC": true, "CA": false, "Smoothing": 0,
       "MaterialID": 2},
      {"A": 1, "B": 2, "C": 3, "AB": false, "BC": true, "CA": true, "Smoothing": 0,
       "MaterialID": 0}]},
    "Normals": {"VertexNormals": [[0, 0, 1], [0, 0, 1], [0, 0, 0], [0, 0, 1]],
                "FaceNormals": [[0, 0, 1], [0, 0, -1]]},
    "TVertexList": {"TVertices": [[0, 0, 0], [1, 0, 0], [0.5, 1, 0]]},
    "CVertexList": {"CVertices": [[1, 0, 0, 0], [0, 0, 1, 0]]},
    "TFaceList": {"TFaces": [[0, 1, 2], [1, 2, 0]]},
    "CFaceList": {"CFaces": [[0, 0, 0], [0, 1, 1]]},
    "TimeValue": 0, "NumVertex": 4, "NumFaces": 2, "NumTVertex": 3, "NumCVertex": 2},
   "MotionBlur": false, "CastShadow": true, "RecvShadow": true, "MaterialRef": 0}],
 "Groups": [
  {"Name": "Pair", "GeomObjects": [
    {"NodeName": "Grouped", "NodeTM": null, "Mesh": null, "MotionBlur": false,
     "CastShadow": false, "RecvShadow": false, "MaterialRef": 2}]}]
})";

TEST(DumpTool, CompleteFile) {
  const std::string path = Fixture("complete.ase");
  const DumpRun run = RunDump({path});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  const json j = json::parse(run.out);
  EXPECT_EQ(j["file"], path);
  EXPECT_TRUE(j["error"].is_null());
  const json expected = json::parse(kCompleteDocument);
  EXPECT_EQ(j["document"], expected) << json::diff(j["document"], expected).dump(1);

  // Floats are the shortest text that reads back as the same float, with
  // the sign of zero kept.
  EXPECT_NE(run.out.find("[0.1,1,-0]"), std::string::npos);
  EXPECT_NE(run.out.find("\"RotAngle\": 1.5708,"), std::string::npos);
  EXPECT_NE(run.out.find("\"ShineStrength\": 0.05,"), std::string::npos);
}

TEST(DumpTool, ReadsFromAPipe) {
  // A pipe has no size: the text arrives in chunks.
  for (const std::string& path :
       {Fixture("complete.ase"), std::string(TESSALY_CORPUS_DIR) + "/17_football_goals.ase",
        std::string(TESSALY_CORPUS_DIR) + "/35_trenchbroom_player_missing_brace.ase"}) {
    const DumpRun direct = RunDump({path});
    const DumpRun piped = RunDump({"/dev/stdin"}, "cat " + Quoted(path));
    EXPECT_EQ(piped.exitCode, direct.exitCode) << path;
    const json a = json::parse(direct.out), b = json::parse(piped.out);
    EXPECT_EQ(a["error"], b["error"]) << path;
    EXPECT_TRUE(a["document"] == b["document"]) << path;
  }
}

TEST(DumpTool, NonFiniteAndExtremeFloats) {
  const ScratchFile file("floats.ase",
                         "*SCENE { *SCENE_BACKGROUND_STATIC -1e39 3.4028235e38 1e-45 "
                         "*SCENE_AMBIENT_STATIC 16777217 0.3 -1e-50 }");
  const DumpRun run = RunDump({file.Path()});
  EXPECT_EQ(run.exitCode, 0);
  const json j = json::parse(run.out);
  const json& scene = j["document"]["Scene"];
  EXPECT_EQ(scene["BackgroundStatic"][0], "-inf");
  EXPECT_EQ(static_cast<float>(scene["BackgroundStatic"][1].get<double>()), 3.4028235e38f);
  EXPECT_EQ(static_cast<float>(scene["BackgroundStatic"][2].get<double>()), 1e-45f);
  EXPECT_NE(run.out.find("[16777216,0.3,-0,1]"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace tessaly
