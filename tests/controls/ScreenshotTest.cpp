// Shows a skinned panel on a host-like window as a person sees it and saves
// the screen's pixels as build/windows/screens/skin-dialog.bmp (the
// skin_screenshot target turns it into a PNG).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "controls/SkinButton.h"
#include "controls/SkinDialog.h"
#include "controls/SkinIconLabel.h"
#include "tests/controls/TestWindows.h"
#include "tests/hosts/Screens.h"

namespace {

constexpr int HostWidth = 420, HostHeight = 300;
constexpr RECT PanelArea = {20, 16, 400, 284};
constexpr COLORREF Ink = RGB(20, 40, 90), Paper = RGB(240, 244, 250), Frame = RGB(70, 110, 170), Hover = RGB(160, 20, 20);

class Panel : public SkinDialog {
public:
    Panel() : SkinDialog(IDD_LAUNCHER) {}
    SkinIconLabel ownCard, search;
    SkinButton buttons[4];

protected:
    void InitSkin() override
    {
        ownCard.SubclassDlgItem(IDC_OWN_CARD_ENTRY, hwnd);
        search.SubclassDlgItem(IDC_SEARCH_ENTRY, hwnd);
        SkinIconLabel* entries[] = {&ownCard, &search};
        HBITMAP* images[] = {&ownCardImage, &searchImage};
        int ids[] = {IDB_OWN_CARD, IDB_SEARCH};
        for (int i = 0; i < 2; ++i) {
            *images[i] = LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(ids[i]));
            entries[i]->SetHoverCursor(LoadCursorA(ModuleInstance(), MAKEINTRESOURCEA(IDR_HAND_CURSOR)));
            entries[i]->ModifyFlags(SkinLabel::Interactive, 0, false);
            entries[i]->SetImage(*images[i], RGB(255, 0, 255));
            entries[i]->SetNotify(hwnd, i + 1);
        }
        const char* names[] = {"Normal", "Focused", "Pressed", "Disabled"};
        for (int i = 0; i < 4; ++i) {
            int x = 14 + i * 88;
            buttons[i].Create(names[i], WS_CHILD | WS_VISIBLE | WS_TABSTOP, RECT{x, 210, x + 75, 233}, hwnd, 2000 + i);
            buttons[i].SetBitmaps(IDB_BUTTON_STRIP, 5, 7, 7, 6, 18);
            buttons[i].SetFont(font);
        }
        buttons[3].EnableWindow(FALSE);
    }
    void ApplyAppearance() override
    {
        for (SkinIconLabel* entry : {&ownCard, &search})
            entry->SetAppearance(font, colours[0], colours[1], colours[2], colours[3], false);
    }
    void OnLayout() override
    {
        ownCard.SetWindowPos(nullptr, 16, client.top + 16, 190, 40, SWP_NOZORDER | SWP_NOACTIVATE);
        search.SetWindowPos(nullptr, 16, client.top + 72, 190, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void OnPostNcDestroy() override
    {
        DeleteObject(ownCardImage);
        DeleteObject(searchImage);
    }

private:
    HBITMAP ownCardImage = nullptr, searchImage = nullptr;
};


std::vector<unsigned char> Capture(HWND window, int width, int height)
{
    UpdateWindow(window);
    Pump();
    ClientDC source(window);
    Canvas canvas(width, height);
    BitBlt(canvas, 0, 0, width, height, source, 0, 0, SRCCOPY);
    std::vector<unsigned char> rows(static_cast<size_t>(((width * 3 + 3) & ~3) * height));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    HBITMAP pixels = static_cast<HBITMAP>(GetCurrentObject(canvas, OBJ_BITMAP));
    GetDIBits(canvas, pixels, 0, static_cast<UINT>(height), rows.data(), &info, DIB_RGB_COLORS);
    return rows;
}

COLORREF PixelOf(const std::vector<unsigned char>& rows, int width, int height, int x, int y)
{
    size_t stride = static_cast<size_t>((width * 3 + 3) & ~3);
    const unsigned char* p = &rows[stride * static_cast<size_t>(height - 1 - y) + static_cast<size_t>(x) * 3];
    return RGB(p[2], p[1], p[0]);
}

bool WriteBmp(const std::string& path, const std::vector<unsigned char>& rows, int width, int height)
{
    BITMAPINFOHEADER header = {sizeof header, width, height, 1, 24, BI_RGB, static_cast<DWORD>(rows.size()), 2835, 2835, 0, 0};
    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof header + rows.size()), 0, 0,
        static_cast<DWORD>(sizeof file + sizeof header)};
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1
        && std::fwrite(rows.data(), rows.size(), 1, out) == 1;
    return std::fclose(out) == 0 && written;
}

TEST(Screenshot, SkinnedPanelOnAHostWindow)
{
    Bitmap skin(HostSkin(HostWidth, HostHeight));
    HWND host = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | SS_BITMAP, 40, 40, HostWidth, HostHeight,
        nullptr, nullptr, ModuleInstance(), nullptr);
    ASSERT_NE(nullptr, host);
    SendMessageA(host, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(skin.Get()));
    Font font(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, PROOF_QUALITY, VARIABLE_PITCH | FF_SWISS, "Tahoma"));
    SendMessageA(host, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);

    auto* panel = new Panel;
    ASSERT_TRUE(panel->Create(host));
    panel->SetWindowPos(nullptr, PanelArea.left, PanelArea.top, PanelArea.right - PanelArea.left,
        PanelArea.bottom - PanelArea.top, SWP_NOZORDER);
    panel->ApplySkin(font, Ink, Paper, Frame, Hover, skin, PanelArea);
    panel->SetCaption("Directory Service");
    panel->ownCard.SetText("My Virtual Card", false, "", false);
    panel->search.SetText("Directory Search", false, "", false);
    panel->ShowWindow(SW_SHOW);
    ShowWindow(host, SW_SHOWNOACTIVATE);
    SetForegroundWindow(host);

    // The first entry is under the pointer.
    RECT entry = panel->ownCard.GetWindowRect();
    SetCursorPos(entry.left + 40, entry.top + 10);
    panel->ownCard.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(40, 10));

    panel->buttons[1].SetFocus();
    std::vector<unsigned char> shot = Capture(host, HostWidth, HostHeight);
    panel->buttons[2].SetFocus();
    panel->buttons[2].SetState(TRUE);
    std::vector<unsigned char> pressed = Capture(host, HostWidth, HostHeight);
    panel->buttons[2].SetState(FALSE);

    // The pressed button's rectangle comes from the second capture.
    RECT button = panel->buttons[2].GetWindowRect();
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&button), 2);
    size_t stride = static_cast<size_t>((HostWidth * 3 + 3) & ~3);
    for (int y = button.top; y < button.bottom; ++y) {
        size_t row = stride * static_cast<size_t>(HostHeight - 1 - y);
        std::copy(&pressed[row + static_cast<size_t>(button.left) * 3], &pressed[row + static_cast<size_t>(button.right) * 3],
            &shot[row + static_cast<size_t>(button.left) * 3]);
    }

    // What is on the screen is what the panel painted.
    RECT caption = panel->Caption().GetWindowRect();
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&caption), 2);
    EXPECT_EQ(Ink, PixelOf(shot, HostWidth, HostHeight, caption.left + 1, caption.top + 1));

    CreateDirectoryA(VCARD_SCREENS, nullptr);
    EXPECT_TRUE(WriteBmp(std::string(VCARD_SCREENS) + "/skin-dialog.bmp", shot, HostWidth, HostHeight));
    DestroyWindow(host);
    SetCursorPos(0, 0);
}

} // namespace
