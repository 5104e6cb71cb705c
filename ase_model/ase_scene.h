// The *SCENE block: source file name, frame range and timing, static colours.
#pragma once

#include <cstdint>
#include <string>

#include "ase_model/ase_types.h"

namespace tessaly {

class TASEReader;

class TASEScene {
 public:
  std::string FileName;
  int32_t FirstFrame = 0;
  int32_t LastFrame = 0;
  int32_t FrameSpeed = 0;
  int32_t TicksPerFrame = 0;
  TASEColor BackgroundStatic = kDefaultColor;
  TASEColor AmbientStatic = kDefaultColor;

  void Parse(TASEReader& reader);
};

}  // namespace tessaly
