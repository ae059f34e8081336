// The launcher panel inside a host-like window, driven with the mouse.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "controls/SkinIconLabel.h"
#include "dialogs/SearchDialog.h"
#include "frame/CardService.h"
#include "frame/LauncherPanel.h"
#include "platform/Gdi.h"
#include "platform/ModuleContext.h"
#include "platform/WinApp.h"
#include "resources/resource.h"
#include "tests/controls/TestWindows.h"
#include "tests/hosts/GdiCounter.h"
#include "tests/hosts/TestHost.h"

static bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

namespace {

constexpr int HostWidth = 260, HostHeight = 300;
constexpr RECT PanelArea = {30, 40, 230, 280};
constexpr COLORREF Ink = RGB(20, 40, 90), Paper = RGB(240, 244, 250), Frame = RGB(70, 110, 170), Hover = RGB(160, 20, 20);
constexpr COLORREF Magenta = RGB(255, 0, 255);


class LauncherPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CWinApp::Instance().InitInstance();
        service = static_cast<CardService*>(CreateService(&host));
        ASSERT_NE(nullptr, service);
        service->SetUser(&user);
        hostWindow = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | SS_BITMAP, 40, 40, HostWidth,
            HostHeight, nullptr, nullptr, ModuleInstance(), nullptr);
        ASSERT_NE(nullptr, hostWindow);
        SendMessageA(hostWindow, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(skin.Get()));
        panel = Build(LangTable::English);
        ASSERT_NE(nullptr, panel);
        ShowWindow(hostWindow, SW_SHOWNOACTIVATE);
    }
    void TearDown() override
    {
        service->Logout();
        DestroyWindow(hostWindow);
        Pump();
        service->DeletingDestructor(1);
    }

    // The panel as the host has the service build it.
    LauncherPanel* Build(int language)
    {
        ServiceBase* base = service;
        base->SetLanguage(language);
        base->SetAppearance(font, Ink, Paper, Frame, Hover);
        base->SetPanelArea(hostWindow, &PanelArea, skin);
        base->Activate("VCARD-PC");
        return service->GetPanel();
    }

    SkinIconLabel& Entry(int id) const
    {
        return *dynamic_cast<SkinIconLabel*>(CWnd::FromHandlePermanent(GetDlgItem(panel->GetSafeHwnd(), id)));
    }
    void Press(int id)
    {
        SendMessageA(Entry(id).GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        SendMessageA(Entry(id).GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    }
    // Pixels of the entry as it paints itself.
    void Print(int id, Canvas& canvas) const
    {
        SendMessageA(Entry(id).GetSafeHwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(static_cast<HDC>(canvas)),
            PRF_CLIENT);
    }

    TestHost host;
    TestUser user;
    CardService* service = nullptr;
    Bitmap skin{[] {
        ClientDC screen(nullptr);
        return CreateCompatibleBitmap(screen, HostWidth, HostHeight);
    }()};
    // Without smoothing, text pixels are exactly the text colour.
    Font font{CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, "Tahoma")};
    HWND hostWindow = nullptr;
    LauncherPanel* panel = nullptr;
};

TEST_F(LauncherPanelTest, CaptionAndEntriesInEnglishThenInTheHostsSpanish)
{
    EXPECT_EQ("  Directory Service  ", panel->Caption().GetText());
    EXPECT_EQ("My Virtual Card", Entry(IDC_OWN_CARD_ENTRY).GetText());
    EXPECT_EQ("Directory Search", Entry(IDC_SEARCH_ENTRY).GetText());
    static_cast<ServiceBase*>(service)->SetLanguage(LangTable::Spanish);
    EXPECT_EQ("  Servicio de Directorio  ", panel->Caption().GetText());
    EXPECT_EQ("Mi Tarjeta Virtual", Entry(IDC_OWN_CARD_ENTRY).GetText());
    EXPECT_EQ("Buscar en el Directorio", Entry(IDC_SEARCH_ENTRY).GetText());
}

TEST_F(LauncherPanelTest, TheEntriesOpenTheOwnCardAndOneSearchDialogUntilLogout)
{
    Press(IDC_OWN_CARD_ENTRY);
    Pump();
    ASSERT_EQ(1u, host.sent.size());
    EXPECT_EQ(0u, host.sent[0].xml.find("<msg>1"));
    EXPECT_NE(std::string::npos, host.sent[0].xml.find("<usr>u1</usr>"));
    Press(IDC_OWN_CARD_ENTRY);
    Pump();
    EXPECT_EQ(1u, host.sent.size());

    Press(IDC_SEARCH_ENTRY);
    Pump();
    SearchDialog* search = service->GetSearchDialog();
    ASSERT_NE(nullptr, search);
    EXPECT_TRUE(IsWindowVisible(search->GetSafeHwnd()));
    ShowWindow(search->GetSafeHwnd(), SW_HIDE);
    Press(IDC_SEARCH_ENTRY);
    Pump();
    EXPECT_EQ(search, service->GetSearchDialog());
    EXPECT_TRUE(IsWindowVisible(search->GetSafeHwnd()));
    EXPECT_EQ(1u, host.sent.size());

    // Other indexes do nothing; logout closes the panel and the search.
    size_t commands = host.commands.size();
    PostMessageA(panel->GetSafeHwnd(), WM_SKIN_CLICK, 3, 0);
    PostMessageA(panel->GetSafeHwnd(), WM_SKIN_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(1u, host.sent.size());
    EXPECT_EQ(commands, host.commands.size());
    HWND window = panel->GetSafeHwnd(), searchWindow = search->GetSafeHwnd();
    service->Logout();
    EXPECT_FALSE(IsWindow(window) || IsWindow(searchWindow));
    EXPECT_EQ(nullptr, service->GetPanel());
    EXPECT_EQ(nullptr, service->GetSearchDialog());
}

// The host places the panel, may move it, ends it with event 3 and may
// refuse it; a panel destroyed with the host's window is forgotten.
TEST_F(LauncherPanelTest, ThePanelLivesInTheHostsAreaUntilEventThreeOrTheHostsWindowEnds)
{
    ServiceBase* base = service;
    HWND window = panel->GetSafeHwnd();
    EXPECT_EQ(hostWindow, GetParent(window));
    RECT placed = panel->GetWindowRect();
    MapWindowPoints(nullptr, hostWindow, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ((RECT{0, 0, PanelArea.right - PanelArea.left, PanelArea.bottom - PanelArea.top}), placed);
    RECT larger = {0, 0, 300, 250};
    base->SetPanelArea(hostWindow, &larger, skin);
    EXPECT_EQ(larger, panel->GetClientRect());
    EXPECT_EQ(0, base->HandleEvent(3, 0));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, service->GetPanel());
    EXPECT_EQ(0, base->HandleEvent(3, 0));

    host.commandAnswer = 0;
    base->Activate("VCARD-PC");
    EXPECT_EQ(nullptr, service->GetPanel());
    host.commandAnswer = 1;
    base->Activate("VCARD-PC");
    ASSERT_NE(nullptr, service->GetPanel());
    DestroyWindow(hostWindow);
    hostWindow = nullptr;
    EXPECT_EQ(nullptr, service->GetPanel());
    EXPECT_EQ(0, base->HandleEvent(3, 0));
}

TEST_F(LauncherPanelTest, TwentyPanelsBuiltAndDestroyedLeaveNoGdiOrUserObjectBehind)
{
    panel->DestroyWindow();
    GdiCounter& counter = GdiCounter::Install();
    ASSERT_GT(counter.PatchedEntries(), 0);
    auto cycle = [&](int round) {
        panel = Build(round % 2);
        ASSERT_NE(nullptr, panel);
        Canvas canvas(153, 40);
        SendMessageA(panel->GetSafeHwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(static_cast<HDC>(canvas)), PRF_CLIENT);
        // The entries draw in the host's new colours, without the mask's.
        panel->UpdateSkin(font, Hover, Paper, Frame, Ink, skin, PanelArea);
        Print(IDC_SEARCH_ENTRY, canvas);
        EXPECT_GT(canvas.Count(Hover), 0);
        EXPECT_EQ(0, canvas.Count(Magenta));
        panel->DestroyWindow();
        Pump();
    };
    auto [before, after] = counter.LiveAround(20, cycle);
    EXPECT_EQ(before, after);
}

} // namespace
