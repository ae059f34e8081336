#include "picture/Gdiplus.h"

namespace {

template <class Function>
bool Resolve(HMODULE module, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

} // namespace

GdiplusLibrary::GdiplusLibrary() : module(LoadLibraryA("gdiplus.dll"))
{
    decltype(&Gdiplus::GdiplusStartup) startup = nullptr;
    if (!module || !Resolve(module, "GdiplusStartup", startup) || !Resolve(module, "GdiplusShutdown", shutdown)
        || !Resolve(module, "GdipCreateBitmapFromStream", CreateBitmapFromStream)
        || !Resolve(module, "GdipCreateBitmapFromScan0", CreateBitmapFromScan0)
        || !Resolve(module, "GdipGetImageWidth", GetImageWidth)
        || !Resolve(module, "GdipGetImageHeight", GetImageHeight)
        || !Resolve(module, "GdipGetImagePixelFormat", GetImagePixelFormat)
        || !Resolve(module, "GdipImageRotateFlip", ImageRotateFlip)
        || !Resolve(module, "GdipBitmapLockBits", BitmapLockBits)
        || !Resolve(module, "GdipBitmapUnlockBits", BitmapUnlockBits)
        || !Resolve(module, "GdipSaveImageToStream", SaveImageToStream)
        || !Resolve(module, "GdipDisposeImage", DisposeImage))
        return;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR started = 0;
    if (startup(&started, &input, nullptr) == Gdiplus::Ok)
        token = started;
}

GdiplusLibrary::~GdiplusLibrary()
{
    if (token)
        shutdown(token);
    if (module)
        FreeLibrary(module);
}
