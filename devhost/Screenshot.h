#pragma once
// A window's client area as the screen shows it, saved as PNG. Without a
// window manager Wine leaves frames black, so the frame is left out.
#include <windows.h>

#include <string>

// Raises the window, lets it paint, copies its client area from the screen.
bool SaveScreenshot(HWND window, const std::string& path);
