// The launcher panel inside a host-like window, driven with the mouse.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>

#include "dialogs/CardDialog.h"
#include "dialogs/SearchDialog.h"
#include "frame/CardService.h"
#include "frame/LauncherPanel.h"
#include "platform/Gdi.h"
#include "platform/ModalScope.h"
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

// The own card's answers: the photo alone makes it the editor.
const char* const PhotoAnswer = "<msg>1<ps>1<usr>u1</usr><dom>d1</dom><typ>4<err>201</err><c>0</c><ver>1</ver></typ>"
                                "</ps></msg>";
const char* const FullAnswer =
    "<msg>1<ps>1<usr>u1</usr><dom>d1</dom>"
    "<typ>1<err>201</err><f>Ann</f><l>Lee</l><nk>al</nk><e0>ann@example.org</e0><e1>lee@example.org</e1><c>0</c>"
    "<ver>1</ver></typ><typ>2<err>201</err><a>12 Harbour Road\r\nFlat 3</a><c>0</c><ver>1</ver></typ>"
    "<typ>3<err>201</err><cp>Acme Shipping</cp><c>0</c><ver>1</ver></typ>"
    "<typ>4<err>201</err><ph>Qk1GAAAAAAAAADYAAAAoAAAAAgAAAAIAAAABABgAAAAAABAAAAATCwAAEwsAAAAAAAAAAAAA/wAAAP8AAAAA/wD/"
    "AAAAAA==</ph><c>0</c><ver>1</ver></typ></ps></msg>";

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

    HWND Entry(int id) const { return GetDlgItem(panel->GetSafeHwnd(), id); }
    void Press(int id)
    {
        SendMessageA(Entry(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        SendMessageA(Entry(id), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        Pump();
    }
    // The own card made the editor and a search, from the entries; answered: both whole, one result chosen.
    void OpenEverything(bool answered)
    {
        Press(IDC_OWN_CARD_ENTRY);
        service->DeliverMessage(0, "VCARD-PC", answered ? FullAnswer : PhotoAnswer);
        Press(IDC_SEARCH_ENTRY);
        if (answered) {
            service->DeliverMessage(0, "VCARD-PC", "<msg>3<ps>1<usr>s1</usr><dom>d1</dom><n>Sam</n></ps>"
                "<ps>1<usr>s2</usr><dom>d2</dom><n>Sue</n><ci>Lima</ci></ps></msg>");
            HWND list = GetDlgItem(service->GetSearchDialog()->GetSafeHwnd(), IDC_RESULTS);
            ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        }
    }
    // Every text of the panel, the own card (its tabs too) and the search (its
    // column headers too).
    std::map<std::string, std::string> AllTexts()
    {
        HWND card = service->FindCardDialog("u1", "d1")->GetSafeHwnd();
        HWND search = service->GetSearchDialog()->GetSafeHwnd();
        std::map<std::string, std::string> texts;
        for (auto [name, window] : {std::pair{"panel", panel->GetSafeHwnd()}, {"card", card}, {"search", search}})
            for (const auto& [path, text] : WindowTexts(window))
                texts[name + path] = text;
        char text[128] = {};
        HWND tabs = GetDlgItem(card, IDC_TABS);
        for (int tab = 0; tab < TabCtrl_GetItemCount(tabs); ++tab) {
            TCITEMA item = {TCIF_TEXT, 0, 0, text, sizeof text, 0, 0};
            TabCtrl_GetItem(tabs, tab, &item);
            texts["card tab " + std::to_string(tab)] = text;
        }
        for (int column = 0; column < 8; ++column) {
            LVCOLUMNA item = {};
            item.mask = LVCF_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            ListView_GetColumn(GetDlgItem(search, IDC_RESULTS), column, &item);
            texts["search header " + std::to_string(column)] = text;
        }
        return texts;
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

// Each text but names changes with the host's language and English comes
// back whole; a window opened meanwhile starts in the service's language;
// the titles follow the product's name.
TEST_F(LauncherPanelTest, EveryWindowFollowsTheHostsLanguageAndProductName)
{
    OpenEverything(false);
    ServiceBase* base = service;
    auto english = AllTexts();
    base->SetLanguage(LangTable::Spanish);
    auto spanish = AllTexts();
    EXPECT_EQ("Quillora - Tarjeta Virtual", spanish["card"]);
    for (const auto& [what, text] : english)
        if (!text.empty() && text != "Quillora" && text != "User One (u1@d1)") {
            EXPECT_NE(text, spanish[what]) << what;
        }
    service->GetSearchDialog()->DestroyWindow();
    Press(IDC_SEARCH_ENTRY);
    EXPECT_EQ(spanish, AllTexts());
    base->SetProductName("Other");
    base->SetLanguage(LangTable::English);
    english["card"] = "Other - Virtual Card";
    english["search"] = "Other - Directory Search";
    EXPECT_EQ(english, AllTexts());
}

TEST_F(LauncherPanelTest, TheEntriesOpenTheOwnCardAndOneSearchDialogUntilLogout)
{
    {
        ModalScope chooserUp(nullptr);  // while a modal window is up, the entries do nothing
        Press(IDC_OWN_CARD_ENTRY);
        Press(IDC_SEARCH_ENTRY);
    }
    EXPECT_TRUE(host.sent.empty());
    EXPECT_EQ(nullptr, service->GetSearchDialog());
    Press(IDC_OWN_CARD_ENTRY);
    ASSERT_EQ(1u, host.sent.size());
    EXPECT_EQ(0u, host.sent[0].xml.find("<msg>1"));
    EXPECT_NE(std::string::npos, host.sent[0].xml.find("<usr>u1</usr>"));

    Press(IDC_SEARCH_ENTRY);
    SearchDialog* search = service->GetSearchDialog();
    ASSERT_NE(nullptr, search);
    EXPECT_TRUE(IsWindowVisible(search->GetSafeHwnd()));
    ShowWindow(search->GetSafeHwnd(), SW_HIDE);
    Press(IDC_SEARCH_ENTRY);
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

// The panel, the own card answered whole and a search with results, painted
// and closed twenty times.
TEST_F(LauncherPanelTest, TwentyRoundsOfEveryWindowLeaveNoGdiOrUserObjectBehind)
{
    panel->DestroyWindow();
    GdiCounter& counter = GdiCounter::Install();
    ASSERT_GT(counter.PatchedEntries(), 0);
    auto cycle = [&](int round) {
        panel = Build(round % 2);
        ASSERT_NE(nullptr, panel);
        OpenEverything(true);
        Canvas canvas(153, 40);
        // The entries draw in the host's new colours, without the mask's.
        panel->UpdateSkin(font, Hover, Paper, Frame, Ink, skin, PanelArea);
        SendMessageA(Entry(IDC_SEARCH_ENTRY), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(static_cast<HDC>(canvas)),
            PRF_CLIENT);
        EXPECT_GT(canvas.Count(Hover), 0);
        EXPECT_EQ(0, canvas.Count(Magenta));
        for (HWND window : {panel->GetSafeHwnd(), service->FindCardDialog("u1", "d1")->GetSafeHwnd(),
                 service->GetSearchDialog()->GetSafeHwnd()}) {
            ClientDC screen(window);
            PrintWindow(window, screen, 0);  // every control paints, by the routine of the screen
        }
        Click(GetDlgItem(service->FindCardDialog("u1", "d1")->GetSafeHwnd(), IDCANCEL));
        Click(GetDlgItem(service->GetSearchDialog()->GetSafeHwnd(), IDCANCEL));
        panel->DestroyWindow();
        Pump();
    };
    auto [before, after] = counter.LiveAround(20, cycle);
    EXPECT_EQ(before, after);
}

} // namespace
