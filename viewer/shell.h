// The viewer's reaction to window messages and timer ticks. The platform
// layer turns its events into these messages; the handlers are plain code
// over the viewer state, the context and the renderer.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace tessaly {

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

inline constexpr uint32_t WM_DESTROY = 0x0002;
inline constexpr uint32_t WM_SIZE = 0x0005;
inline constexpr uint32_t WM_KEYDOWN = 0x0100;
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_APP = 0x8000;

// The button-and-modifier mask of a mouse move.
inline constexpr WPARAM MK_LBUTTON = 0x01;
inline constexpr WPARAM MK_RBUTTON = 0x02;
inline constexpr WPARAM MK_SHIFT = 0x04;
inline constexpr WPARAM MK_CONTROL = 0x08;
inline constexpr WPARAM MK_MBUTTON = 0x10;
inline constexpr WPARAM MK_XBUTTON1 = 0x20;
inline constexpr WPARAM MK_XBUTTON2 = 0x40;

// Key codes of the keys at the positions of "[" and "]" on a US layout.
inline constexpr WPARAM VK_OEM_4 = 219;
inline constexpr WPARAM VK_OEM_6 = 221;

// A position or size packed as two unsigned 16-bit halves: x or width low.
inline constexpr LPARAM MakeLParam(uint32_t low, uint32_t high) {
  return static_cast<LPARAM>((low & 0xFFFFu) | ((high & 0xFFFFu) << 16));
}

// Handles one message for the viewer window.
//   WM_DESTROY: frees the document, closes the context, asks the loop to end
//               with 0, then pauses 10 ms.
//   WM_SIZE: projection with aspect width / height and viewport of the size.
//   WM_KEYDOWN: VK_OEM_4 / VK_OEM_6 step to the previous / next model with
//               wrap-around and load it.
//   WM_MOUSEMOVE: a move with exactly MK_LBUTTON turns, exactly MK_RBUTTON
//               moves nearer or farther; every move updates LastMouse.
//   WM_APP: one degree more spin, nothing drawn.
// Load errors are not caught.
LRESULT ViewerWindowProc(uint32_t message, WPARAM wParam, LPARAM lParam);

// Replaces the current document by a new one loaded from the file of
// ModelNumber. Throws what loading throws; the new document stays current.
void ReloadModel();

// One timer tick: one degree more spin, then a frame.
void SpinTimerProc();

// The text reported for an error that ends the process: names the error's
// class and the module, then the message; for a parse error also the file
// being loaded and the line.
std::string DescribeUnhandledError(const std::exception& error, const std::string& fileName);

}  // namespace tessaly
