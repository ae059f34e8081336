// Leaks, screenshots, and the self-deleting window underneath the dialog.
#include "tests/dialogs/CardDialogFixture.h"

#include <algorithm>
#include <fstream>

#include "support/Base64.h"
#include "tests/hosts/GdiCounter.h"

namespace {

// ---- A window object that deletes itself inside its own handler

alignas(16) unsigned char storage[2048];

class SelfDeletingDialog : public CDialog {
public:
    SelfDeletingDialog() : CDialog(IDD_CARD) {}
    static void* operator new(size_t) { return storage; }
    static void operator delete(void*) { std::fill(std::begin(storage), std::end(storage), 0xA5); }

protected:
    void PostNcDestroy() override { delete this; }
};

// Regression: the routing of a message wrote to the object after OK had
// destroyed the window and deleted the object.
TEST(WindowObjects, AnObjectDeletedByItsOwnHandlerIsNotWrittenAfterwards)
{
    static_assert(sizeof(SelfDeletingDialog) <= sizeof storage);
    auto* dialog = new SelfDeletingDialog;
    ASSERT_TRUE(dialog->Create(nullptr));
    HWND window = dialog->GetSafeHwnd();
    SendMessageA(window, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(static_cast<long>(sizeof storage), std::count(std::begin(storage), std::end(storage), 0xA5));
}

// ---- Filled card dialogs

void Fill(CardDialog& dialog)
{
    auto& identification = dialog.Identification();
    identification.fields = {"Ann", "Lee", "M", "Dr", "Annie", "al", {"ann@example.org", "lee@example.org"}};
    identification.UpdateControls();
    identification.SetPhotoData(Base64Encode(BitmapFile(40, 30), true));
    identification.ShowContent();
    auto& home = dialog.Home();
    home.fields.street = "12 Harbour Road\r\nFlat 3";
    home.fields.city = "Valparaiso";
    home.fields.state = "V Region";
    home.fields.zip = "2340000";
    home.fields.country = "Chile";
    home.fields.phone = "+56 32 555 0101";
    home.fields.mobile = "+56 9 5555 0101";
    home.fields.web = "http://ann.example.org";
    home.UpdateControls();
    home.ShowContent();
    auto& business = dialog.Business();
    business.fields.company = "Acme Shipping";
    business.fields.job = "Navigator";
    business.fields.department = "Charts";
    business.fields.city = "Santiago";
    business.fields.web = "http://acme.example";
    business.UpdateControls();
    business.ShowContent();
}

class WindowsTest : public CardDialogTest {
protected:
    void Repaint(HWND window)
    {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
    }
    CardDialog* OpenFilled(int language, bool own, bool show)
    {
        auto* card = new CardDialog(service);
        card->Create();
        card->SetLanguage(language);
        card->SetTitle("Quillora");
        card->SetIdentity(own ? "u1" : "c1", "d1", own ? "User One" : "Contact One");
        if (show)
            card->ShowWindow(SW_SHOW);
        Fill(*card);
        if (own) {
            card->EnableEditing(1);
            card->Directory()->ShowContent();
        }
        return card;
    }
};

TEST_F(WindowsTest, OpeningAndClosingAFilledCard200TimesLeavesNoGdiOrUserObjectBehind)
{
    GdiCounter& counter = GdiCounter::Install();
    ASSERT_GT(counter.PatchedEntries(), 0);
    ClientDC screen(nullptr);
    auto cycle = [&](int round) {
        CardDialog* card = OpenFilled(round % 2, round % 3 == 0, false);
        RECT rect = card->GetWindowRect();
        {
            // Every control paints itself, through the same routine as on screen.
            MemoryDC memory(screen);
            Bitmap bitmap(CreateCompatibleBitmap(screen, rect.right - rect.left, rect.bottom - rect.top));
            SelectedObject selection(memory, bitmap);
            PrintWindow(card->GetSafeHwnd(), memory, 0);
        }
        SendMessageA(GetDlgItem(card->GetSafeHwnd(), IDCANCEL), BM_CLICK, 0, 0);
        Pump();
    };
    cycle(0);
    GuiObjects before = counter.Live();
    for (int round = 1; round <= 200; ++round)
        cycle(round);
    GuiObjects after = counter.Live();
    EXPECT_EQ(before.gdiObjects, after.gdiObjects);
    EXPECT_EQ(before.deviceContexts, after.deviceContexts);
    EXPECT_EQ(before.icons, after.icons);
    EXPECT_EQ(before.windows, after.windows);
}

// ---- Screenshots under build/windows/screens

std::string ScreensFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    folder.resize(folder.find_last_of('\\'));
    folder.resize(folder.find_last_of('\\'));
    folder += "\\screens\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// Wine shows the root of the Unix file system as drive Z.
std::string UnixPath(std::string path)
{
    if (path.rfind("Z:", 0) == 0)
        path.erase(0, 2);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// The window as the screen shows it, as a 24-bit bitmap file, then as PNG
// through ImageMagick when the system can start it.
void Save(const std::vector<unsigned char>& pixels, int width, int height, const std::string& name)
{
    std::string folder = ScreensFolder();
    BITMAPINFOHEADER info = {sizeof info, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof info + pixels.size()), 0, 0,
        sizeof file + sizeof info};
    std::string bmp = folder + name + ".bmp";
    std::ofstream out(bmp, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    out.close();
    std::string command = "Z:\\usr\\bin\\convert " + UnixPath(bmp) + " " + UnixPath(folder + name + ".png");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, 30000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
}

struct Shot {
    std::vector<unsigned char> pixels;  // bottom-up rows of 24-bit pixels
    int width = 0, height = 0;
    COLORREF At(int x, int y) const
    {
        int stride = (width * 3 + 3) & ~3;
        const unsigned char* p = &pixels[static_cast<size_t>((height - 1 - y) * stride + x * 3)];
        return RGB(p[2], p[1], p[0]);
    }
};

Shot Capture(HWND window)
{
    // The client area: without a window manager Wine leaves the frame black.
    RECT rect = {};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    Shot shot;
    shot.width = rect.right - rect.left;
    shot.height = rect.bottom - rect.top;
    ClientDC screen(nullptr);
    MemoryDC memory(screen);
    Bitmap bitmap(CreateCompatibleBitmap(screen, shot.width, shot.height));
    {
        SelectedObject selection(memory, bitmap);
        BitBlt(memory, 0, 0, shot.width, shot.height, screen, rect.left, rect.top, SRCCOPY);
    }
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, shot.width, shot.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    shot.pixels.resize(static_cast<size_t>(((shot.width * 3 + 3) & ~3) * shot.height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(shot.height), shot.pixels.data(), &info, DIB_RGB_COLORS);
    return shot;
}

TEST_F(WindowsTest, ScreenshotsOfAContactsCardAndOfTheOwnCard)
{
    dialog->DestroyWindow();
    for (int language : {1, 0}) {
        const std::string suffix = language == 1 ? "-en" : "-es";
        for (bool own : {false, true}) {
            CardDialog* card = OpenFilled(language, own, true);
            HWND window = card->GetSafeHwnd();
            SetWindowPos(window, HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE);
            SetForegroundWindow(window);
            HWND tabs = GetDlgItem(window, IDC_TABS);
            std::vector<std::pair<int, std::string>> pages;
            if (own)
                pages = {{3, "own-directory"}};
            else
                pages = {{0, "contact-identification"}, {1, "contact-home"}};
            for (const auto& [index, name] : pages) {
                TabCtrl_SetCurFocus(tabs, index);
                Repaint(window);
                Shot shot = Capture(window);
                Save(shot.pixels, shot.width, shot.height, "card-" + name + suffix);
                // The tab control's pale skin shows right of the last tab.
                RECT tabArea = {};
                GetWindowRect(tabs, &tabArea);
                MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&tabArea), 2);
                EXPECT_EQ(static_cast<COLORREF>(SkinTab::Background), shot.At(tabArea.right - 8, tabArea.top + 4))
                    << name << suffix;
            }
            SendMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
            Pump();
        }
    }
}

} // namespace
