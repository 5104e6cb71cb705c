// SDL2 stands in for the window system: SDL events become the window
// messages of the viewer, and a tick source in the loop stands in for a
// thread timer.
#include "viewer/sdl_platform.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "viewer/render_context.h"
#include "viewer/shell.h"
#include "viewer/viewer_state.h"
#include "viewer/window_system.h"

namespace tessaly {

namespace {

constexpr const char* kWindowClass = "Morvane";
constexpr const char* kWindowTitle = "Tessaly OpenGL Application Frame";
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
// The requested timer period, and the shortest the timer gives.
constexpr uint64_t kTimerPeriodMs = 1;
constexpr uint64_t kMinTimerPeriodMs = 10;

struct TMessage {
  enum TKind { kWindow, kTimer, kQuit } Kind = kWindow;
  uint32_t Message = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
};

// The key code of a key by its position; 0 for keys the viewer has no use for.
WPARAM VirtualKey(SDL_Scancode scancode) {
  if (scancode == SDL_SCANCODE_LEFTBRACKET) return VK_OEM_4;
  if (scancode == SDL_SCANCODE_RIGHTBRACKET) return VK_OEM_6;
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
    return 'A' + (scancode - SDL_SCANCODE_A);
  return 0;
}

// The button-and-modifier mask of a mouse move.
WPARAM MouseKeys(uint32_t buttons, SDL_Keymod modifiers) {
  WPARAM keys = 0;
  if (buttons & SDL_BUTTON_LMASK) keys |= MK_LBUTTON;
  if (buttons & SDL_BUTTON_RMASK) keys |= MK_RBUTTON;
  if (modifiers & KMOD_SHIFT) keys |= MK_SHIFT;
  if (modifiers & KMOD_CTRL) keys |= MK_CONTROL;
  if (buttons & SDL_BUTTON_MMASK) keys |= MK_MBUTTON;
  if (buttons & SDL_BUTTON_X1MASK) keys |= MK_XBUTTON1;
  if (buttons & SDL_BUTTON_X2MASK) keys |= MK_XBUTTON2;
  return keys;
}

class TSDLWindowSystem final : public TWindowSystem {
 public:
  ~TSDLWindowSystem() override {
    if (palette_ != nullptr) SDL_FreePalette(palette_);
    if (context_ != nullptr) {
      SDL_GL_MakeCurrent(window_, nullptr);
      SDL_GL_DeleteContext(context_);
    }
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (videoStarted_) SDL_Quit();
  }

  // The window class: the X11 class name is read when the video subsystem
  // starts, so it is set first.
  bool RegisterViewerClass() {
    setenv("SDL_VIDEO_X11_WMCLASS", kWindowClass, 1);
    SDL_SetHint(SDL_HINT_APP_NAME, kWindowClass);
    videoStarted_ = SDL_Init(SDL_INIT_VIDEO) == 0;
    return videoStarted_;
  }

  // The window with the framebuffer the context asks for, shown.
  bool CreateViewerWindow() {
    SDL_GL_ResetAttributes();
    const TPixelFormatRequest& request = kPixelFormatRequest;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, request.DoubleBuffer ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, request.ColorBits / 3);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, request.ColorBits / 3);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, request.ColorBits / 3);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, request.AlphaBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, request.DepthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, request.StencilBits);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    window_ = SDL_CreateWindow(kWindowTitle, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                               kWindowWidth, kWindowHeight,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
    if (window_ == nullptr) return false;
    SDL_ShowWindow(window_);

    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window_, &info) && info.subsystem == SDL_SYSWM_X11) {
      xWindow_ = info.info.x11.window;
      wmAppAtom_ = XInternAtom(info.info.x11.display, "WM_APP", False);
      SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    }
    return true;
  }

  // Handles, before the context exists, the window events of its creation
  // and showing (their GL calls have no effect then); input stays queued
  // for the loop.
  void DispatchCreationMessages() {
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT) == 1) {
      TMessage message;
      if (Translate(event, message)) Dispatch(message);
    }
  }

  TPoint GetCursorPos() {
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    return {x, y};
  }

  void SetTimer(uint64_t periodMs) {
    timerPeriod_ = std::max(periodMs, kMinTimerPeriodMs);
    timerDue_ = SDL_GetTicks64() + timerPeriod_;
    timerActive_ = true;
  }
  void KillTimer() { timerActive_ = false; }

  // The next message; false on the quit request, with its exit code in
  // WParam. A timer tick comes only when no event waits, at most one at a
  // time, and never sooner than a period after the previous one fell due.
  bool GetMessage(TMessage& message) {
    for (;;) {
      if (quitPosted_) {
        message = {TMessage::kQuit, 0, static_cast<WPARAM>(quitCode_), 0};
        return false;
      }
      if (PollMessage(message)) return true;
      if (!timerActive_) {
        SDL_Event event;
        if (SDL_WaitEvent(&event) && Translate(event, message)) return true;
        continue;
      }
      const uint64_t now = SDL_GetTicks64();
      if (now >= timerDue_) {
        // Periods that passed meanwhile are not made up.
        timerDue_ += (now - timerDue_) / timerPeriod_ * timerPeriod_ + timerPeriod_;
        message = {TMessage::kTimer, 0, 0, 0};
        return true;
      }
      SDL_Event event;
      if (SDL_WaitEventTimeout(&event, static_cast<int>(timerDue_ - now)) &&
          Translate(event, message))
        return true;
    }
  }

  void Dispatch(const TMessage& message) {
    if (message.Kind == TMessage::kTimer) {
      SpinTimerProc();
    } else if (message.Kind == TMessage::kWindow) {
      if (message.Message == WM_DESTROY) destroyed_ = true;
      ViewerWindowProc(message.Message, message.WParam, message.LParam);
    }
  }

  // TWindowSystem.
  bool CreateRenderContext() override {
    if (window_ == nullptr) return false;
    context_ = SDL_GL_CreateContext(window_);
    if (context_ == nullptr) return false;
    SDL_GL_MakeCurrent(window_, context_);
    return true;
  }
  void DeleteRenderContext() override {
    if (context_ == nullptr) return;
    SDL_GL_MakeCurrent(window_, nullptr);
    SDL_GL_DeleteContext(context_);
    context_ = nullptr;
  }
  TPixelFormat DescribePixelFormat() override {
    TPixelFormat format;
    const uint32_t pixelFormat = window_ != nullptr ? SDL_GetWindowPixelFormat(window_) : 0;
    format.NeedPalette = SDL_ISPIXELFORMAT_INDEXED(pixelFormat);
    format.ColorBits = static_cast<int>(SDL_BITSPERPIXEL(pixelFormat));
    SDL_GL_GetAttribute(SDL_GL_RED_SIZE, &format.RedBits);
    SDL_GL_GetAttribute(SDL_GL_GREEN_SIZE, &format.GreenBits);
    SDL_GL_GetAttribute(SDL_GL_BLUE_SIZE, &format.BlueBits);
    // Indexed visuals pack red lowest, then green, then blue.
    format.RedShift = 0;
    format.GreenShift = format.RedBits;
    format.BlueShift = format.RedBits + format.GreenBits;
    return format;
  }
  bool CreatePalette(const std::vector<TPaletteEntry>& entries) override {
    if (entries.empty()) return false;
    palette_ = SDL_AllocPalette(static_cast<int>(entries.size()));
    if (palette_ == nullptr) return false;
    std::vector<SDL_Color> colors;
    for (const TPaletteEntry& e : entries)
      colors.push_back({e.Red, e.Green, e.Blue, 255});
    SDL_SetPaletteColors(palette_, colors.data(), 0, static_cast<int>(colors.size()));
    return true;
  }
  void DeletePalette() override {
    if (palette_ != nullptr) SDL_FreePalette(palette_);
    palette_ = nullptr;
  }
  void SwapBuffers() override {
    if (window_ != nullptr) SDL_GL_SwapWindow(window_);
  }
  void PostQuitMessage(int exitCode) override {
    quitPosted_ = true;
    quitCode_ = exitCode;
  }
  void Sleep(uint32_t milliseconds) override { SDL_Delay(milliseconds); }

 private:
  bool PollMessage(TMessage& message) {
    SDL_Event event;
    while (SDL_PollEvent(&event))
      if (Translate(event, message)) return true;
    return false;
  }

  bool InsideClientArea(int x, int y) const {
    int width = 0, height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    return x >= 0 && y >= 0 && x < width && y < height;
  }

  // Turns an SDL event into a window message; false for events the viewer
  // does not handle.
  bool Translate(const SDL_Event& event, TMessage& message) {
    message = {};
    switch (event.type) {
      case SDL_QUIT:
        if (destroyed_) return false;
        message.Message = WM_DESTROY;
        return true;
      case SDL_WINDOWEVENT:
        switch (event.window.event) {
          case SDL_WINDOWEVENT_CLOSE:
            if (destroyed_) return false;
            message.Message = WM_DESTROY;
            return true;
          case SDL_WINDOWEVENT_SIZE_CHANGED:
            message.Message = WM_SIZE;
            message.LParam = MakeLParam(static_cast<uint32_t>(event.window.data1),
                                        static_cast<uint32_t>(event.window.data2));
            return true;
          case SDL_WINDOWEVENT_MINIMIZED:
            message.Message = WM_SIZE;
            message.LParam = MakeLParam(0, 0);
            return true;
          case SDL_WINDOWEVENT_RESTORED: {
            int width = 0, height = 0;
            SDL_GetWindowSize(window_, &width, &height);
            message.Message = WM_SIZE;
            message.LParam =
                MakeLParam(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
            return true;
          }
          default:
            return false;
        }
      case SDL_KEYDOWN:  // auto-repeats included
        message.Message = WM_KEYDOWN;
        message.WParam = VirtualKey(event.key.keysym.scancode);
        return true;
      case SDL_MOUSEMOTION:
        // X11 keeps reporting moves outside the window during a drag; the
        // viewer only sees those inside its client area.
        if (!InsideClientArea(event.motion.x, event.motion.y)) return false;
        message.Message = WM_MOUSEMOVE;
        message.WParam = MouseKeys(event.motion.state, SDL_GetModState());
        message.LParam = MakeLParam(static_cast<uint32_t>(event.motion.x),
                                    static_cast<uint32_t>(event.motion.y));
        return true;
      case SDL_SYSWMEVENT: {
        const SDL_SysWMmsg* wm = event.syswm.msg;
        if (wm == nullptr || wm->subsystem != SDL_SYSWM_X11) return false;
        const XEvent& x = wm->msg.x11.event;
        if (x.type != ClientMessage || x.xclient.window != xWindow_ ||
            x.xclient.message_type != wmAppAtom_)
          return false;
        message.Message = WM_APP;
        return true;
      }
      default:
        return false;
    }
  }

  bool videoStarted_ = false;
  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
  SDL_Palette* palette_ = nullptr;
  ::Window xWindow_ = 0;
  Atom wmAppAtom_ = 0;
  bool destroyed_ = false;
  bool quitPosted_ = false;
  int quitCode_ = 0;
  bool timerActive_ = false;
  uint64_t timerPeriod_ = kMinTimerPeriodMs;
  uint64_t timerDue_ = 0;
};

}  // namespace

void ShowErrorBox(const char* title, const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title, text.c_str(), nullptr);
}

int RunViewer() {
  TSDLWindowSystem system;
  struct TInstalled {
    explicit TInstalled(TWindowSystem* s) { WindowSystem = s; }
    ~TInstalled() { WindowSystem = nullptr; }
  } installed(&system);

  if (!system.RegisterViewerClass()) {
    ShowErrorBox("Error", "Register failed");
    return 0;
  }
  if (!system.CreateViewerWindow()) {
    ShowErrorBox("Error", "WinCreate failed");
    return 0;
  }
  system.DispatchCreationMessages();
  OpenRenderContext();

  Viewer.CurrentDocument = std::make_unique<TASEFile>();
  Viewer.CurrentDocument->LoadFromFile(ModelFileName(Viewer.ModelNumber));
  Viewer.LastMouse = system.GetCursorPos();
  system.SetTimer(kTimerPeriodMs);

  TMessage message;
  while (system.GetMessage(message))
    system.Dispatch(message);
  system.KillTimer();
  return static_cast<int>(message.WParam);
}

}  // namespace tessaly
