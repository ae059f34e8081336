#include "dialogs/PhotoFrame.h"

#include "platform/Gdi.h"
#include "platform/ReportSwallowed.h"

void PhotoFrame::SetPicture(const unsigned char* bytes, int byteCount)
{
    std::unique_ptr<CPicture> loaded;
    try {
        loaded = std::make_unique<CPicture>(hwnd);
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
