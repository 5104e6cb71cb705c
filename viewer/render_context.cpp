#include "viewer/render_context.h"

#include <algorithm>
#include <cstdint>

#include "gl_binding/gl_binding.h"

namespace tessaly {

TWindowSystem* WindowSystem = nullptr;
TRenderContextState RenderContextState;

namespace {

uint8_t RampValue(uint32_t index, int bits, int shift) {
  // The mask is kept as a byte, as the palette's channel is.
  const auto mask = static_cast<uint8_t>((1u << std::clamp(bits, 0, 31)) - 1u);
  if (mask == 0) return 0;  // a channel without bits has no ramp
  const uint32_t level = (index >> std::clamp(shift, 0, 31)) & mask;
  return static_cast<uint8_t>(level * 255u / mask);
}

}  // namespace

std::vector<TPaletteEntry> BuildPaletteRamp(const TPixelFormat& format) {
  // The palette's entry count is a 16-bit number.
  const uint32_t count =
      format.ColorBits >= 0 && format.ColorBits < 16 ? 1u << format.ColorBits : 0u;
  std::vector<TPaletteEntry> entries(count);
  for (uint32_t i = 0; i < count; ++i) {
    entries[i].Red = RampValue(i, format.RedBits, format.RedShift);
    entries[i].Green = RampValue(i, format.GreenBits, format.GreenShift);
    entries[i].Blue = RampValue(i, format.BlueBits, format.BlueShift);
  }
  return entries;
}

void ApplyPixelFormat() {
  if (WindowSystem == nullptr) return;
  const TPixelFormat format = WindowSystem->DescribePixelFormat();
  if (!format.NeedPalette) return;
  if (WindowSystem->CreatePalette(BuildPaletteRamp(format)))
    RenderContextState.WindowPalette = true;
}

void SetProjection(double aspect) {
  GL.glMatrixMode(GL_PROJECTION);
  GL.glLoadIdentity();
  GL.gluPerspective(kFieldOfView, aspect, kNearPlane, kFarPlane);
  GL.glMatrixMode(GL_MODELVIEW);
}

void OpenRenderContext() {
  // The window's framebuffer is fixed when the window is created, so the
  // context comes first and the format is read from it.
  if (WindowSystem != nullptr)
    RenderContextState.RenderContext = WindowSystem->CreateRenderContext();
  ApplyPixelFormat();

  GL.glEnable(GL_DEPTH_TEST);
  GL.glEnable(GL_CULL_FACE);
  GL.glEnable(GL_LIGHTING);
  GL.glLightfv(GL_LIGHT0, GL_AMBIENT, kLightAmbient);
  GL.glLightfv(GL_LIGHT0, GL_DIFFUSE, kLightDiffuse);
  GL.glLightfv(GL_LIGHT0, GL_SPECULAR, kLightSpecular);
  GL.glEnable(GL_LIGHT0);
  SetProjection(kStartAspect);
  GL.glViewport(0, 0, 800, 600);
}

void CloseRenderContext() {
  if (WindowSystem == nullptr) return;
  if (RenderContextState.RenderContext) {
    WindowSystem->DeleteRenderContext();
    RenderContextState.RenderContext = false;
  }
  if (RenderContextState.WindowPalette) {
    WindowSystem->DeletePalette();
    RenderContextState.WindowPalette = false;
  }
}

void PresentFrame() {
  if (WindowSystem != nullptr) WindowSystem->SwapBuffers();
}

}  // namespace tessaly
