// The viewer's state: one instance for the process, changed by the message
// handlers and read by the context set-up and the renderer, all on the
// thread that runs the message loop.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ase_model/ase_document.h"

namespace tessaly {

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
};

struct TViewerState {
  int32_t ViewDistance = 15;  // eye to model origin, kept within 1..1000
  int32_t TiltAngle = 0;      // whole degrees about X
  int32_t SpinAngle = 0;      // whole degrees about Y
  int32_t ModelNumber = 1;    // 1..6, see ModelFileName
  TPoint LastMouse;           // screen position at start, client position after the first move
  std::unique_ptr<TASEFile> CurrentDocument;
};

extern TViewerState Viewer;

inline constexpr int32_t kModelCount = 6;
inline constexpr int32_t kMinViewDistance = 1;
inline constexpr int32_t kMaxViewDistance = 1000;

// "AH64.ASE", "A10.ASE", "MIG21.ASE", "F16.ASE", "F117A.ASE", "F22.ASE" for
// the model numbers 1 to 6, relative to the working directory.
std::string ModelFileName(int32_t modelNumber);

}  // namespace tessaly
