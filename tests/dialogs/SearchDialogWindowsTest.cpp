// Leaks and screenshots of the search dialog.
#include <cstdio>
#include <vector>

#include "platform/Gdi.h"
#include "tests/dialogs/SearchDialogFixture.h"
#include "tests/hosts/GdiCounter.h"

namespace {

class SearchWindows : public SearchDialogTest {
protected:
    // A search as a person makes it, answered with the three accounts, a
    // row chosen, the window painted, then Close.
    void Cycle(int round)
    {
        deleted = false;
        auto* cycled = new WatchedSearchDialog(service, deleted);
        ASSERT_TRUE(cycled->Create());
        dialog = cycled;
        dialog->SetLanguage(round % 2);
        dialog->SetTitle("Quillora");
        Type(Item(IDC_CITY), "Lima");
        Click(Item(IDOK));
        AnswerThree();
        ClickAt(RowPoint(round % 3));
        dialog->ShowWindow(SW_SHOW);
        Pump();
        RedrawWindow(dialog->GetSafeHwnd(), nullptr, nullptr,
            RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Click(Item(IDCANCEL));
        Pump();
        ASSERT_TRUE(deleted);
    }
};

TEST_F(SearchWindows, TwoHundredSearchesOpenedAndClosedLeaveNoGdiOrUserObjectBehind)
{
    dialog->DestroyWindow();
    GdiCounter& counter = GdiCounter::Install();
    ASSERT_GT(counter.PatchedEntries(), 0);
    Cycle(0);
    GuiObjects before = counter.Live();
    for (int round = 1; round <= 200; ++round)
        Cycle(round);
    GuiObjects after = counter.Live();
    EXPECT_EQ(before.gdiObjects, after.gdiObjects);
    EXPECT_EQ(before.deviceContexts, after.deviceContexts);
    EXPECT_EQ(before.icons, after.icons);
    EXPECT_EQ(before.windows, after.windows);
}

// ---- Screenshots in build/windows/screens

// The client area as the screen shows it, bottom-up 24-bit rows. Without
// a window manager the screen shows no frame.
std::vector<unsigned char> Capture(HWND window, int& width, int& height)
{
    RECT rect = {};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    ClientDC screen(nullptr);
    MemoryDC memory(screen);
    Bitmap bitmap(CreateCompatibleBitmap(screen, width, height));
    {
        SelectedObject selection(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    }
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<unsigned char> rows(static_cast<size_t>(((width * 3 + 3) & ~3) * height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), rows.data(), &info, DIB_RGB_COLORS);
    return rows;
}

COLORREF PixelOf(const std::vector<unsigned char>& rows, int width, int height, int x, int y)
{
    size_t stride = static_cast<size_t>((width * 3 + 3) & ~3);
    const unsigned char* p = &rows[stride * static_cast<size_t>(height - 1 - y) + static_cast<size_t>(x) * 3];
    return RGB(p[2], p[1], p[0]);
}

// Writes name.bmp, then name.png through ImageMagick.
bool Save(const std::vector<unsigned char>& rows, int width, int height, const std::string& name)
{
    CreateDirectoryA(VCARD_SCREENS, nullptr);
    std::string base = std::string(VCARD_SCREENS) + "/" + name;
    BITMAPINFOHEADER header = {sizeof header, width, height, 1, 24, BI_RGB, static_cast<DWORD>(rows.size()), 2835, 2835, 0, 0};
    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof header + rows.size()), 0, 0,
        static_cast<DWORD>(sizeof file + sizeof header)};
    FILE* out = std::fopen((base + ".bmp").c_str(), "wb");
    if (!out)
        return false;
    bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1
        && std::fwrite(rows.data(), rows.size(), 1, out) == 1;
    if (std::fclose(out) != 0 || !written)
        return false;
    // ImageMagick is a Unix program: it takes the path without the drive.
    DeleteFileA((base + ".png").c_str());
    std::string unixBase = base.substr(2);
    std::string command = "Z:\\usr\\bin\\convert \"" + unixBase + ".bmp\" \"" + unixBase + ".png\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    // The handle of a Unix process is signalled at once: wait for its file.
    for (int tries = 0; tries < 100; ++tries) {
        if (GetFileAttributesA((base + ".png").c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
        Sleep(100);
    }
    return false;
}

TEST_F(SearchWindows, ScreenshotsInEnglishAndSpanishWithResults)
{
    for (int language : {LangTable::English, LangTable::Spanish}) {
        dialog->SetLanguage(language);
        HWND window = dialog->GetSafeHwnd();
        SetWindowPos(window, HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE);
        SetForegroundWindow(window);
        Type(Item(IDC_COUNTRY), "Peru");
        Click(Item(IDOK));
        AnswerThree();
        dialog->AddResult("ana.lopez", "mail.example.pe", "Ana L\xF3pez", "ana@example.pe", "Andes Tours", "Arequipa",
            "Arequipa", "Peru");
        ClickAt(RowPoint(2));
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
        int width = 0, height = 0;
        std::vector<unsigned char> shot = Capture(window, width, height);
        // The rows added in one go are drawn once the loop has run: the
        // chosen one in the highlight colour.
        RECT row = {};
        row.left = LVIR_BOUNDS;
        SendMessageA(List(), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
        MapWindowPoints(List(), window, reinterpret_cast<POINT*>(&row), 2);
        EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), PixelOf(shot, width, height, row.left + 4, row.top + 1));
        EXPECT_TRUE(Save(shot, width, height, language == LangTable::English ? "search-dialog-en" : "search-dialog-es"));
        SetWindowTextA(Item(IDC_COUNTRY), "");
    }
}

} // namespace
