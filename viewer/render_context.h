// The OpenGL context of the viewer window: its pixel format, the fixed light
// and starting projection, frame presentation and teardown.
#pragma once

#include <GL/gl.h>

#include <vector>

#include "viewer/window_system.h"

namespace tessaly {

// The framebuffer the window asks for before it is created.
struct TPixelFormatRequest {
  bool DoubleBuffer = true;
  int ColorBits = 24;  // 8 per channel, RGBA pixel type
  int AlphaBits = 0;
  int DepthBits = 24;
  int StencilBits = 8;
};
inline constexpr TPixelFormatRequest kPixelFormatRequest{};

// Light 0. The ambient term is three times the material's ambient colour.
inline constexpr GLfloat kLightAmbient[4] = {3.0f, 3.0f, 3.0f, 1.0f};
inline constexpr GLfloat kLightDiffuse[4] = {0.5f, 0.5f, 0.5f, 1.0f};
inline constexpr GLfloat kLightSpecular[4] = {0.3f, 0.3f, 0.3f, 1.0f};

inline constexpr double kFieldOfView = 60.0;
inline constexpr double kStartAspect = 4.0 / 3.0;
inline constexpr double kNearPlane = 1.0;
inline constexpr double kFarPlane = 2000.0;

// Whether a rendering context and a palette are held, from open to close.
struct TRenderContextState {
  bool RenderContext = false;
  bool WindowPalette = false;
};
extern TRenderContextState RenderContextState;

// The colour ramp of an indexed format: 2^ColorBits entries, each channel
// ((index >> shift) & mask) * 255 / mask with mask = 2^bits - 1 (as a byte).
// A channel of 0 bits stays 0.
std::vector<TPaletteEntry> BuildPaletteRamp(const TPixelFormat& format);

// Reads the format the window got; for an indexed one builds the ramp and
// selects it.
void ApplyPixelFormat();

// Creates and makes current the context, then sets depth test, back-face
// culling, lighting, light 0 and the starting projection and viewport.
void OpenRenderContext();
void CloseRenderContext();
void PresentFrame();

// The projection for a client area: 60 degrees vertical field of view,
// aspect width / height (infinite or NaN at height 0), planes 1 and 2000;
// leaves the model-view matrix selected.
void SetProjection(double aspect);

}  // namespace tessaly
