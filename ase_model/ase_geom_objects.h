// Geometric objects, their node transforms, and groups of objects.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ase_model/ase_mesh.h"
#include "ase_model/ase_types.h"

namespace tessaly {

class TASEReader;

class TASENodeTM {
 public:
  std::string NodeName;
  TASEVector3 InheritPos, InheritRot, InheritScl;
  // Row r of the file fills elements r, 4 + r and 8 + r, and element 12 + r
  // becomes 0 (1 for the fourth row).
  std::array<float, 16> Matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  TASEVector3 Pos, RotAxis;
  float RotAngle = 0;
  TASEVector3 Scale;  // (0, 0, 0) until the file gives one
  TASEVector3 ScaleAxis;
  float ScaleAxisAng = 0;

  void Parse(TASEReader& reader);
};

class TASEGeomObject {
 public:
  std::string NodeName;
  std::unique_ptr<TASENodeTM> NodeTM;
  std::unique_ptr<TASEMesh> Mesh;
  bool MotionBlur = false;
  bool CastShadow = false;
  bool RecvShadow = false;
  int32_t MaterialRef = 0;

  void Parse(TASEReader& reader);
};

class TASEGroup {
 public:
  std::string Name;
  // Objects of nested groups land here too, after those read before them.
  std::vector<std::unique_ptr<TASEGeomObject>> GeomObjects;

  // Reads the group's name (a quoted text), then its block.
  void Parse(TASEReader& reader);
};

}  // namespace tessaly
