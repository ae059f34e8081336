#include "controls/SkinButton.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/ModuleContext.h"

namespace {

int CaptionWidth(HDC dc, const std::string& text)
{
    RECT measured = {};
    ::DrawTextA(dc, text.c_str(), -1, &measured, DT_SINGLELINE | DT_CALCRECT);
    return measured.right - measured.left;
}

// The caption with its lines broken at spaces only, each line as long as
// fits into width: "E-Mail" stays whole. A word wider than width keeps a
// line of its own.
std::string WrapAtSpaces(HDC dc, const std::string& caption, int width)
{
    std::string wrapped, line;
    for (size_t start = 0; start <= caption.size();) {
        size_t end = std::min(caption.find(' ', start), caption.size());
        std::string word = caption.substr(start, end - start);
        if (line.empty() || CaptionWidth(dc, line + " " + word) > width) {
            wrapped += line.empty() ? "" : line + "\n";
            line = word;
        } else {
            line += " " + word;
        }
        start = end + 1;
    }
    return wrapped + line;
}

bool IsPushButton(HWND window)
{
    return (SendMessageA(window, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// The skinned buttons that have been given a window. Walking them is much
// cheaper than walking every window of a dialog, which under Wine asks the
// server once for each window's children.
std::vector<const SkinButton*>& LiveButtons()
{
    static std::vector<const SkinButton*> buttons;
    return buttons;
}

} // namespace

SkinFont::SkinFont(const char* face)
    : Font(CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
          CLIP_DEFAULT_PRECIS, PROOF_QUALITY, VARIABLE_PITCH | FF_SWISS, face))
{
}

SkinButton::SkinButton() : font(std::make_unique<SkinFont>("MS Sans Serif")) {}

SkinButton::~SkinButton()
{
    std::erase(LiveButtons(), this);
}

void SkinButton::PreSubclassWindow()
{
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    if (std::find(LiveButtons().begin(), LiveButtons().end(), this) == LiveButtons().end())
        LiveButtons().push_back(this);
}

LRESULT SkinButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_BUTTON | (::GetFocus() == hwnd ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_SETSTYLE:
        // The dialog manager names its default button by style; the face
        // stays owner-drawn and draws the default by itself.
        RedrawWindowButtons();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        RedrawWindowButtons();
        return CButton::WindowProc(message, wParam, lParam);
    default:
        return CButton::WindowProc(message, wParam, lParam);
    }
}

bool SkinButton::IsDialogDefault() const
{
    HWND focus = ::GetFocus();
    if (focus && IsPushButton(focus))
        return false;
    LRESULT id = ::SendMessageA(GetParent(), DM_GETDEFID, 0, 0);
    return HIWORD(id) == DC_HASDEFID && LOWORD(id) == GetDlgCtrlID();
}

void SkinButton::RedrawWindowButtons() const
{
    HWND root = GetAncestor(hwnd, GA_ROOT);
    for (const SkinButton* button : LiveButtons())
        if (button->hwnd && GetAncestor(button->hwnd, GA_ROOT) == root)
            InvalidateRect(button->hwnd, nullptr, FALSE);
}

bool SkinButton::SetBitmaps(int id, int frames, int top, int bottom, int left, int right)
{
    if (frames < 1 || !FindResourceA(ModuleInstance(), MAKEINTRESOURCEA(id & 0xFFFF), RT_BITMAP))
        return false;
    strip = {id, frames, top, bottom, left, right};
    faces.reset();
    return true;
}

// One set of faces for every live button of a strip and size.
const SkinFaces* SkinButton::Faces(HDC dc, SIZE size)
{
    using Key = std::tuple<SkinStrip, LONG, LONG>;
    static std::map<Key, std::weak_ptr<const SkinFaces>> shared;
    if (!strip.frameCount)
        return nullptr;
    if (faces && faces->HasSize(size))
        return faces.get();
    Key key{strip, size.cx, size.cy};
    faces = shared[key].lock();
    if (!faces) {
        auto built = std::make_shared<SkinFaces>();
        if (!built->Build(dc, strip, size))
            return nullptr;
        std::erase_if(shared, [](const auto& entry) { return entry.second.expired(); });
        shared[key] = built;
        faces = std::move(built);
    }
    return faces.get();
}

// Each frame is stretched to the size with its borders kept; its mask has
// the transparent pixels set.
bool SkinFaces::Build(HDC dc, const SkinStrip& strip, SIZE faceSize)
{
    Bitmap source(LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(strip.resourceId & 0xFFFF)));
    if (!source)
        return false;
    size = faceSize;
    MemoryDC sourceDC(dc), target(dc), maskDC(dc);
    SelectedObject sourceSelection(sourceDC, source);
    SIZE stripSize = BitmapSize(source);
    int frameWidth = stripSize.cx / strip.frameCount, H = stripSize.cy;
    int W = size.cx, h = size.cy;
    int l = strip.left, r = strip.right, t = strip.top, b = strip.bottom;
    int innerW = W - l - r, innerH = h - t - b;
    int frameInnerW = frameWidth - l - r, frameInnerH = H - t - b;
    SetStretchBltMode(target, COLORONCOLOR);
    SetBkColor(target, TransparentColour);
    for (int face = 0; face < Count; ++face) {
        images[face].Reset(CreateCompatibleBitmap(dc, W, h));
        masks[face].Reset(CreateBitmap(W, h, 1, 1, nullptr));
        if (!images[face] || !masks[face])
            return false;
        int x = frameWidth * face;
        SelectedObject targetSelection(target, images[face]);
        BitBlt(target, 0, 0, l, t, sourceDC, x, 0, SRCCOPY);
        BitBlt(target, 0, h - b, l, b, sourceDC, x, H - b, SRCCOPY);
        BitBlt(target, W - r, 0, r, t, sourceDC, x + frameWidth - r, 0, SRCCOPY);
        BitBlt(target, W - r, h - b, r, b, sourceDC, x + frameWidth - r, H - b, SRCCOPY);
        StretchBlt(target, l, t, innerW, innerH, sourceDC, x + l, t, frameInnerW, frameInnerH, SRCCOPY);
        StretchBlt(target, l, 0, innerW, t, sourceDC, x + l, 0, frameInnerW, t, SRCCOPY);
        StretchBlt(target, l, h - b, innerW, b, sourceDC, x + l, H - b, frameInnerW, b, SRCCOPY);
        StretchBlt(target, 0, t, l, innerH, sourceDC, x, t, l, frameInnerH, SRCCOPY);
        StretchBlt(target, W - r, t, r, innerH, sourceDC, x + frameWidth - r, t, r, frameInnerH, SRCCOPY);
        SelectedObject maskSelection(maskDC, masks[face]);
        BitBlt(maskDC, 0, 0, W, h, target, 0, 0, SRCCOPY);
    }
    return true;
}

// XOR with the face, AND with its mask, XOR again.
void SkinFaces::Draw(HDC dc, Face face) const
{
    MemoryDC faceDC(dc), maskDC(dc);
    SelectedObject faceSelection(faceDC, images[face]);
    SelectedObject maskSelection(maskDC, masks[face]);
    SavedDC saved(dc);
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, 0, 0, size.cx, size.cy, faceDC, 0, 0, SRCINVERT);
    BitBlt(dc, 0, 0, size.cx, size.cy, maskDC, 0, 0, SRCAND);
    BitBlt(dc, 0, 0, size.cx, size.cy, faceDC, 0, 0, SRCINVERT);
}

bool SkinButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    RECT client = GetClientRect();
    int W = client.right, h = client.bottom;
    BufferDC buffer(item.hDC, W, h);
    FillSolid(buffer, client, GetSysColor(COLOR_BTNFACE));
    bool disabled = (item.itemState & ODS_DISABLED) != 0;
    // A caption wider than this wraps (multi-line) before it reaches an edge.
    RECT textArea = client;
    InflateRect(&textArea, -CaptionMargin, 0);
    const SkinFaces* shown = Faces(buffer, SIZE{W, h});
    if (item.itemState & ODS_FOCUS) {
        if (shown)
            shown->Draw(buffer, SkinFaces::Focused);
        if (item.itemState & ODS_SELECTED) {
            if (shown)
                shown->Draw(buffer, SkinFaces::Pressed);
            textArea.left += 5;
        }
    } else if (shown) {
        shown->Draw(buffer, disabled ? SkinFaces::Disabled : SkinFaces::Normal);
    }
    if ((item.itemState & ODS_FOCUS) || IsDialogDefault()) {
        RECT frame = client;
        InflateRect(&frame, -DefaultFrameInset, -DefaultFrameInset);
        Brush frameBrush(CreateSolidBrush(font->textColour));
        FrameRect(buffer, &frame, frameBrush);
    }
    HFONT textFont = GetFont();
    SelectedObject fontSelection(buffer, textFont ? textFont : font->Get());
    SetBkMode(buffer, TRANSPARENT);
    SetTextColor(buffer, disabled ? GetSysColor(COLOR_GRAYTEXT) : font->textColour);
    std::string caption = GetWindowText();
    if (GetStyle() & BS_MULTILINE) {
        caption = WrapAtSpaces(buffer, caption, textArea.right - textArea.left);
        RECT measured = textArea;
        ::DrawTextA(buffer, caption.c_str(), -1, &measured, DT_CENTER | DT_CALCRECT);
        OffsetRect(&textArea, 0, (textArea.bottom - textArea.top - (measured.bottom - measured.top)) / 2);
        ::DrawTextA(buffer, caption.c_str(), -1, &textArea, DT_CENTER);
    } else {
        ::DrawTextA(buffer, caption.c_str(), -1, &textArea, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    buffer.Flush(item.rcItem.left, item.rcItem.top);
    return true;
}
