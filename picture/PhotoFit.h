#pragma once
// FitPhoto: any picture GDI+ decodes, made into a JPEG that fits a card: at
// most the frame's size in pixels, never enlarged, its aspect ratio kept,
// transparent parts laid on the frame's background, and at most maxBytes
// long. Lower qualities are tried first, then smaller sizes.
#include <windows.h>

#include <string>

// TooLarge: no JPEG within maxBytes; TooManyPixels: more than this process
// can afford to decode, told by the file's header or by running out of memory.
struct FittedPhoto {
    enum Outcome { Fitted, Undecodable, TooLarge, TooManyPixels };
    Outcome outcome = Undecodable;
    std::string jpeg;
    SIZE size = {};
    int quality = 0;
};

FittedPhoto FitPhoto(const std::string& bytes, SIZE frame, COLORREF background, size_t maxBytes);
