#pragma once
// GdiplusLibrary: the system's imaging library, loaded at run time and
// started for the life of the object, so that the DLL does not import it.
// GdiplusImage: one of its images, disposed on exit.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

class GdiplusLibrary {
public:
    GdiplusLibrary();
    ~GdiplusLibrary();
    GdiplusLibrary(const GdiplusLibrary&) = delete;
    GdiplusLibrary& operator=(const GdiplusLibrary&) = delete;

    // False when the library is missing, lacks a function or did not start.
    explicit operator bool() const { return token != 0; }

    decltype(&Gdiplus::DllExports::GdipCreateBitmapFromStream) CreateBitmapFromStream = nullptr;
    decltype(&Gdiplus::DllExports::GdipCreateBitmapFromScan0) CreateBitmapFromScan0 = nullptr;
    decltype(&Gdiplus::DllExports::GdipGetImageWidth) GetImageWidth = nullptr;
    decltype(&Gdiplus::DllExports::GdipGetImageHeight) GetImageHeight = nullptr;
    decltype(&Gdiplus::DllExports::GdipGetImagePixelFormat) GetImagePixelFormat = nullptr;
    decltype(&Gdiplus::DllExports::GdipImageRotateFlip) ImageRotateFlip = nullptr;
    decltype(&Gdiplus::DllExports::GdipBitmapLockBits) BitmapLockBits = nullptr;
    decltype(&Gdiplus::DllExports::GdipBitmapUnlockBits) BitmapUnlockBits = nullptr;
    decltype(&Gdiplus::DllExports::GdipSaveImageToStream) SaveImageToStream = nullptr;
    decltype(&Gdiplus::DllExports::GdipDisposeImage) DisposeImage = nullptr;

private:
    HMODULE module = nullptr;
    decltype(&Gdiplus::GdiplusShutdown) shutdown = nullptr;
    ULONG_PTR token = 0;
};

class GdiplusImage {
public:
    explicit GdiplusImage(const GdiplusLibrary& owner) : library(owner) {}
    ~GdiplusImage()
    {
        if (image)
            library.DisposeImage(image);
    }
    GdiplusImage(const GdiplusImage&) = delete;
    GdiplusImage& operator=(const GdiplusImage&) = delete;

    Gdiplus::GpBitmap* Get() const { return image; }
    explicit operator bool() const { return image != nullptr; }
    // Where a creating function puts the new image; only while empty.
    Gdiplus::GpBitmap** Put() { return &image; }

private:
    const GdiplusLibrary& library;
    Gdiplus::GpBitmap* image = nullptr;
};
