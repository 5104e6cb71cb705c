// tessaly-dump: loads an ASE file and prints what the parser made of it, as
// JSON (default) or as a short summary.
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string>

#include "ase_model/ase_document.h"
#include "tools/json_dump.h"

namespace {

using namespace tessaly;

constexpr const char* kUsage =
    "usage: tessaly-dump [--summary] FILE\n"
    "Loads an ASE file and prints the document as JSON (or, with --summary, a short\n"
    "summary). Exit code 0 when the file loads, 1 on a load error, 2 on bad usage.\n";

struct Totals {
  long long vertices = 0;
  long long faces = 0;
};

void AddMesh(Totals& t, const TASEGeomObject& object) {
  if (!object.Mesh) return;
  if (object.Mesh->VertexList)
    t.vertices += static_cast<long long>(object.Mesh->VertexList->Vertices.size());
  if (object.Mesh->FaceList) t.faces += object.Mesh->FaceList->Count();
}

void PrintSummary(const TASEFile& d, const std::string& file) {
  Totals t;
  size_t grouped = 0;
  for (const auto& o : d.GeomObjects)
    AddMesh(t, *o);
  for (const auto& g : d.Groups) {
    grouped += g->GeomObjects.size();
    for (const auto& o : g->GeomObjects)
      AddMesh(t, *o);
  }
  size_t materials = 0;
  if (d.MaterialList) {
    for (const auto& m : d.MaterialList->Materials)
      materials += m ? 1 : 0;
  }
  std::printf("file:      %s\n", file.c_str());
  std::printf("version:   %s\n", d.Header ? d.Header->Version.c_str() : "(no header)");
  std::printf("comments:  %zu\n", d.Comments.size());
  std::printf("scene:     %s\n", d.Scene ? d.Scene->FileName.c_str() : "(none)");
  std::printf("materials: %zu\n", materials);
  std::printf("objects:   %zu top-level, %zu in %zu groups\n", d.GeomObjects.size(), grouped,
              d.Groups.size());
  std::printf("vertices:  %lld\n", t.vertices);
  std::printf("faces:     %lld\n", t.faces);
}

}  // namespace

int main(int argc, char** argv) {
  bool summary = false;
  const char* file = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--summary") == 0 && !summary) {
      summary = true;
    } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (!file && (argv[i][0] != '-' || argv[i][1] == '\0')) {
      file = argv[i];
    } else {
      file = nullptr;
      break;
    }
  }
  if (!file) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  TASEFile document;
  std::optional<std::string> message;
  int line = 0;
  try {
    document.LoadFromFile(file);
  } catch (const EParseError& e) {
    message = e.what();
    line = e.Line();
  } catch (const std::exception& e) {
    // Memory exhausted and the like: report it like a load error.
    message = e.what();
  }
  if (message) {
    if (line > 0) {
      std::fprintf(stderr, "%s:%d: %s\n", file, line, message->c_str());
    } else {
      std::fprintf(stderr, "%s: %s\n", file, message->c_str());
    }
  }

  if (summary) {
    PrintSummary(document, file);
    if (message) std::printf("error:     %s\n", message->c_str());
  } else {
    JsonWriter json(stdout);
    json.Raw("{\"file\": ");
    json.String(file);
    json.Raw(", \"error\": ");
    if (message) {
      json.Raw("{\"message\": ");
      json.String(*message);
      json.Raw(", \"line\": ");
      if (line > 0) {
        json.Int(line);
      } else {
        json.Null();
      }
      json.Raw("}");
    } else {
      json.Null();
    }
    json.Raw(",\n\"document\": ");
    WriteDocument(json, document);
    json.Raw("}\n");
  }
  std::fflush(stdout);
  return message ? 1 : 0;
}
