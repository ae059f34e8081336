#include "dialogs/Picture.h"

#include <cstring>

#include "platform/Gdi.h"
#include "platform/ModalScope.h"
#include "platform/ReportSwallowed.h"

namespace {

constexpr int HimetricPerInch = 2540;

void ShowError(const char* text)
{
    ModalScope modal(nullptr);
    MessageBoxExA(nullptr, text, "CPicture Error", MB_ICONERROR, LANG_ENGLISH);
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
    SIZE_T allocated = byteCount > 0 ? static_cast<SIZE_T>(byteCount) : 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, allocated);
    if (!block) {
        ShowError("Can not allocate enough memory\t");
        return 0;
    }
    if (void* target = GlobalLock(block)) {
        if (byteCount > 0)
            std::memcpy(target, bytes, static_cast<size_t>(byteCount));
        GlobalUnlock(block);
    }
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
        if (FAILED(loaded))
            picture.Reset();
        result = 1;
    } else {
        GlobalFree(block);
    }
    size = byteCount;
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

void PhotoFrame::SetPicture(const unsigned char* bytes, int byteCount)
{
    std::unique_ptr<CPicture> loaded;
    try {
        loaded = std::make_unique<CPicture>();
        loaded->Load(bytes, byteCount);
    } catch (...) {
        ReportSwallowed("PhotoFrame::SetPicture");
        loaded.reset();
    }
    SetPicture(std::move(loaded));
}

void PhotoFrame::SetPicture(std::unique_ptr<CPicture> loaded)
{
    picture = std::move(loaded);
    Invalidate(TRUE);
}

void PhotoFrame::ClearPicture()
{
    picture.reset();
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT PhotoFrame::OnSize(UINT, int cx, int cy)
{
    LRESULT result = Default();
    frameWidth = cx;
    frameHeight = cy;
    return result;
}

void PhotoFrame::DrawClient(HDC dc, const RECT& client)
{
    if (frameWidth == 0) {
        frameWidth = client.right;
        frameHeight = client.bottom;
    }
    RECT frame = {0, 0, frameWidth, frameHeight};
    Brush fill(CreateSolidBrush(Background));
    FillRect(dc, &frame, fill);
    if (picture) {
        picture->UpdateSizeForDC(dc);
        RECT fitted = FitRect(frame, picture->GetWidth(), picture->GetHeight(), true);
        picture->Render(dc, fitted.left, fitted.top, fitted.right, fitted.bottom);
    }
}
