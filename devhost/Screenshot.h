#pragma once
// A window's client area as the screen shows it, saved as PNG. Without a
// window manager Wine leaves frames black, so the frame is left out.
#include <windows.h>

#include <string>

// Raises the window and has it paint now. Wine hands the painted pixels to
// the display a little later, from the message loop: pump before saving.
void RaiseForScreenshot(HWND window);
// Copies the window's client area from the screen.
bool SaveScreenshot(HWND window, const std::string& path);
