#include "picture/Picture.h"

#include <cstring>
#include <new>

#include "picture/DecodedImage.h"
#include "picture/PictureSize.h"
#include "platform/Gdi.h"
#include "platform/ModalScope.h"

namespace {

constexpr int HimetricPerInch = 2540;


// Some OLE loaders read PNG (Wine's), but draw it upside down and leave its
// transparent parts unpainted; PNG always goes through GDI+.
bool IsPng(const unsigned char* bytes, int byteCount)
{
    return byteCount >= 8 && std::memcmp(bytes, "\x89PNG\r\n\x1A\n", 8) == 0;
}

// Whether the header declares a picture of at most MaxDecodedPixels.
bool Affordable(const unsigned char* bytes, int byteCount)
{
    auto size = DeclaredSize(std::string_view(reinterpret_cast<const char*>(bytes), static_cast<size_t>(byteCount)));
    return size && size->Pixels() <= CPicture::MaxDecodedPixels;
}

// The picture as a bitmap picture, through GDI+; stays empty on failure.
void LoadDecoded(const unsigned char* bytes, int byteCount, ComPtr<IPicture>& picture)
{
    GdiplusLibrary gdiplus;
    DecodedImage image(gdiplus, bytes, static_cast<size_t>(byteCount));
    if (!image)
        return;
    SIZE size = {image.Width(), image.Height()};
    std::vector<uint32_t> pixels;
    try {
        pixels = image.Pixels(size, PhotoBackground);
    } catch (const std::bad_alloc&) {
        return;
    }
    BITMAPINFO format = {};
    format.bmiHeader = {sizeof format.bmiHeader, size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (pixels.empty() || !bitmap)
        return;
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof pixels[0]);
    PICTDESC description = {};
    description.cbSizeofstruct = sizeof description;
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = bitmap;
    if (SUCCEEDED(OleCreatePictureIndirect(&description, IID_IPicture, TRUE, reinterpret_cast<void**>(picture.Put()))))
        bitmap.Release();
}

} // namespace

CPicture::~CPicture()
{
    Free();
}

void CPicture::Free()
{
    picture.Reset();
    height = size = width = 0;
}

int CPicture::Load(const unsigned char* bytes, int byteCount)
{
    Free();
    size = byteCount;
    // Neither loader is given a picture larger than it may decode.
    if (byteCount > 0 && !Affordable(bytes, byteCount))
        return 1;
    SIZE_T allocated = byteCount > 0 ? static_cast<SIZE_T>(byteCount) : 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, allocated);
    void* target = block ? GlobalLock(block) : nullptr;
    if (!target) {
        if (block)
            GlobalFree(block);
        ShowError("Can not allocate enough memory\t");
        return 0;
    }
    if (byteCount > 0)
        std::memcpy(target, bytes, static_cast<size_t>(byteCount));
    GlobalUnlock(block);
    int result = 0;
    ComPtr<IStream> stream;
    if (SUCCEEDED(CreateStreamOnHGlobal(block, TRUE, stream.Put()))) {
        HRESULT loaded = OleLoadPicture(stream.Get(), byteCount, FALSE, IID_IPicture,
            reinterpret_cast<void**>(picture.Put()));
        stream.Reset();
        if (loaded == E_NOINTERFACE) {
            ShowError("IPicture interface is not supported\t");
            return 0;
        }
        if (FAILED(loaded) || IsPng(bytes, byteCount))
            picture.Reset();
        if (!picture && byteCount > 0)
            LoadDecoded(bytes, byteCount, picture);
        result = 1;
    } else {
        GlobalFree(block);
    }
    if (!picture)
        return result;
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    picture->get_Width(&himetricWidth);
    picture->get_Height(&himetricHeight);
    width = MulDiv(himetricWidth, 96, HimetricPerInch);
    height = MulDiv(himetricHeight, 96, HimetricPerInch);
    return result;
}

// The box belongs to the window the picture is shown in, so that it stays
// in front of it.
void CPicture::ShowError(const char* text) const
{
    HWND root = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    ModalScope modal(root);
    MessageBoxExA(root, text, "CPicture Error", MB_ICONERROR, LANG_ENGLISH);
}

int CPicture::UpdateSizeForDC(HDC dc)
{
    if (!dc || !picture) {
        width = height = 0;
        return 0;
    }
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    picture->get_Width(&himetricWidth);
    picture->get_Height(&himetricHeight);
    bool printing = GetDeviceCaps(dc, TECHNOLOGY) == DT_RASPRINTER;
    int perInchX = printing ? 96 : GetDeviceCaps(dc, LOGPIXELSX);
    int perInchY = printing ? 96 : GetDeviceCaps(dc, LOGPIXELSY);
    height = MulDiv(himetricHeight, perInchY, HimetricPerInch);
    width = MulDiv(himetricWidth, perInchX, HimetricPerInch);
    return 1;
}

int CPicture::Render(HDC dc, int left, int top, int right, int bottom)
{
    if (!dc || !picture)
        return 0;
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    picture->get_Width(&himetricWidth);
    picture->get_Height(&himetricHeight);
    RECT bounds = {left, top, right, bottom};
    HRESULT drawn = picture->Render(dc, left, top, right - left, bottom - top, 0, himetricHeight, himetricWidth,
        -himetricHeight, &bounds);
    if (FAILED(drawn)) {
        ShowError("Can not allocate enough memory\t");
        return 0;
    }
    return 1;
}

RECT FitRect(const RECT& frame, int w, int h, bool centre)
{
    int W = frame.right - frame.left, H = frame.bottom - frame.top;
    if (w < W && h < H) {
        int left = (W - w) / 2, top = (H - h) / 2;
        return {left, top, left + w, top + h};
    }
    if (w <= 0 || h <= 0 || H <= 0)
        return frame;
    double frameRatio = static_cast<double>(W) / H;
    double pictureRatio = static_cast<double>(w) / h;
    if (pictureRatio > frameRatio) {
        int scaled = static_cast<int>(static_cast<double>(W) / w * h);
        int top = centre ? (H - scaled) / 2 : 0;
        return {0, top, W, top + scaled};
    }
    if (pictureRatio < frameRatio) {
        int scaled = static_cast<int>(static_cast<double>(H) / h * w);
        int left = centre ? (W - scaled) / 2 : 0;
        return {left, 0, left + scaled, H};
    }
    return frame;
}
