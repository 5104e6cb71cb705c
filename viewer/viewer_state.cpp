#include "viewer/viewer_state.h"

#include <stdexcept>

namespace tessaly {

TViewerState Viewer;

std::string ModelFileName(int32_t modelNumber) {
  static const char* const kModelNames[kModelCount] = {"AH64", "A10",   "MIG21",
                                                       "F16",  "F117A", "F22"};
  if (modelNumber < 1 || modelNumber > kModelCount)
    throw std::out_of_range("No model number " + std::to_string(modelNumber));
  return std::string(kModelNames[modelNumber - 1]) + ".ASE";
}

}  // namespace tessaly
