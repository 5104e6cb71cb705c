// What the viewer's logic needs from the window system. The platform layer
// installs its implementation in `WindowSystem`; tests install fakes. With
// none installed the operations are skipped.
#pragma once

#include <cstdint>
#include <vector>

namespace tessaly {

// The framebuffer configuration the window ended up with.
struct TPixelFormat {
  bool NeedPalette = false;  // an indexed-colour format
  int ColorBits = 0;
  int RedBits = 0, RedShift = 0;
  int GreenBits = 0, GreenShift = 0;
  int BlueBits = 0, BlueShift = 0;
};

struct TPaletteEntry {
  uint8_t Red = 0, Green = 0, Blue = 0, Flags = 0;
  bool operator==(const TPaletteEntry&) const = default;
};

class TWindowSystem {
 public:
  virtual ~TWindowSystem() = default;
  // Creates a rendering context for the viewer window and makes it current
  // on the calling thread; false when there is none.
  virtual bool CreateRenderContext() = 0;
  // Makes no context current, then deletes the rendering context.
  virtual void DeleteRenderContext() = 0;
  virtual TPixelFormat DescribePixelFormat() = 0;
  // Builds a palette from the entries and selects it for the window; false
  // when none was made.
  virtual bool CreatePalette(const std::vector<TPaletteEntry>& entries) = 0;
  virtual void DeletePalette() = 0;
  // Shows the back buffer.
  virtual void SwapBuffers() = 0;
  // Asks the message loop to end with the exit code.
  virtual void PostQuitMessage(int exitCode) = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
};

extern TWindowSystem* WindowSystem;

}  // namespace tessaly
