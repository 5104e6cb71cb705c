// The viewer on SDL2 under X11: window, message loop, timer, input and
// message boxes.
#pragma once

#include <string>

namespace tessaly {

// The entry's steps after the OpenGL binding: registers the window class,
// creates and shows the window, opens the context, loads the first model,
// runs the message loop until the window is closed and returns the exit
// code. Load errors are not caught.
int RunViewer();

// Shows an error box with the title and the text, and writes the text to
// stderr.
void ShowErrorBox(const char* title, const std::string& text);

}  // namespace tessaly
