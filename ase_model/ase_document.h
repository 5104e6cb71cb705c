// The ASE document: the root of the model built from one file, and the entry
// point of the parser.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ase_model/ase_geom_objects.h"
#include "ase_model/ase_materials.h"
#include "ase_model/ase_scene.h"
#include "token_stream/token_stream.h"

namespace tessaly {

class TASEReader;

class TASEHeader {
 public:
  std::string Version;  // the token after *3DSMAX_ASCIIEXPORT, as text
  void Parse(TASEReader& reader);
};

class TASEComment {
 public:
  std::string Text;  // without its quotes
  void Parse(TASEReader& reader);
};

class TASEFile {
 public:
  std::unique_ptr<TASEHeader> Header;
  std::vector<std::unique_ptr<TASEComment>> Comments;
  std::unique_ptr<TASEScene> Scene;
  std::unique_ptr<TASEMaterialList> MaterialList;
  std::vector<std::unique_ptr<TASEGeomObject>> GeomObjects;  // top level only
  std::vector<std::unique_ptr<TASEGroup>> Groups;

  // Reads the named file into this document. The document is not emptied
  // first: comments, objects and groups are appended, header, scene and
  // material list replaced. Throws EParseError; what was read before the
  // error stays in the document.
  void LoadFromFile(const std::string& fileName);
  // The same for text held in memory (prepared as a file's bytes).
  void LoadFromText(std::string text);
  // Reads the top level of a file from the stream until its end.
  void Parse(TTokenStream& stream);

  int32_t GeomObjectCount() const { return static_cast<int32_t>(GeomObjects.size()); }
  // The top-level object at a 0-based index; nullptr outside the list.
  TASEGeomObject* GetGeomObject(int32_t index) const {
    return index >= 0 && static_cast<size_t>(index) < GeomObjects.size()
               ? GeomObjects[static_cast<size_t>(index)].get()
               : nullptr;
  }
};

}  // namespace tessaly
