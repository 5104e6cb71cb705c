// Plain records shared by the blocks of the scene model.
#pragma once

#include <cstdint>

namespace tessaly {

struct TASEColor {
  float R = 0, G = 0, B = 0, A = 0;
};

// The colour every scene and material colour starts from: opaque black.
inline constexpr TASEColor kDefaultColor{0, 0, 0, 1};

struct TASEVector3 {
  float X = 0, Y = 0, Z = 0;
};

// One triangle: corner indices into the vertex list, edge flags, smoothing
// group and material number.
struct TASEFace {
  int32_t A = 0, B = 0, C = 0;
  bool AB = false, BC = false, CA = false;
  int32_t Smoothing = 0;
  int32_t MaterialID = 0;
};

// Three indices into a texture or colour vertex list.
struct TASEFaceIndices {
  int32_t A = 0, B = 0, C = 0;
};

}  // namespace tessaly
