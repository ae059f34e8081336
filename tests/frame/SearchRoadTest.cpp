// The search dialog and the launcher panel as the host and a user drive
// them, through the service's operation table and the windows' controls.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "dialogs/CardDialog.h"
#include "dialogs/SearchDialog.h"
#include "frame/CardService.h"
#include "frame/LauncherPanel.h"
#include "resources/resource.h"
#include "tests/hosts/TestHost.h"

using testing::HasSubstr;

namespace {

std::string Result(const std::string& user, const std::string& domain, const std::string& name)
{
    return "<ps>1<usr>" + user + "</usr><dom>" + domain + "</dom><n>" + name +
           "</n><em>e@x</em><cp>Co</cp><ci>City</ci><s>St</s><t>Ct</t></ps>";
}

class SearchRoadTest : public testing::Test {
protected:
    void SetUp() override
    {
        service = CreateService(&host);
        card = static_cast<CardService*>(service);
        service->Start();
        service->Login(&user);
    }
    void TearDown() override
    {
        service->DeletingDestructor(1);
        if (hostWindow)
            DestroyWindow(hostWindow);
    }

    void Request(RequestKind kind) { card->Request(static_cast<int>(kind), nullptr); }
    void Deliver(const std::string& xml) { service->DeliverMessage(0, "VCARD-PC", xml.c_str()); }
    HWND Search() { return card->GetSearchDialog()->GetSafeHwnd(); }


    static void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

    // Selects that row alone, as a click on it does.
    static void SelectRow(HWND list, int row)
    {
        LVITEMA none = {};
        none.stateMask = LVIS_SELECTED;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }

    HWND MakeHostWindow()
    {
        hostWindow = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                                     nullptr, nullptr);
        return hostWindow;
    }

    TestHost host;
    TestUser user{"u1", "d1", "User One"};
    ServiceInterface* service = nullptr;
    CardService* card = nullptr;
    HWND hostWindow = nullptr;
};

TEST_F(SearchRoadTest, ViewOpensTheResultsCardUnderTheBestName)
{
    TestContact known("known", "d", "Known Person");
    user.contacts.contacts.push_back(&known);
    Request(RequestKind::OpenSearch);
    Deliver("<msg>3" + Result("stranger", "d", "S") + Result("known", "d", "K") + "</msg>");
    HWND list = GetDlgItem(Search(), IDC_RESULTS);

    SelectRow(list, 1);  // "stranger", listed second
    Click(Search(), IDC_VIEW);
    ASSERT_NE(card->FindCardDialog("stranger", "d"), nullptr);
    EXPECT_EQ(card->FindCardDialog("stranger", "d")->GetDisplayName(), "stranger@d");
    EXPECT_THAT(host.sent.back().xml, HasSubstr("<usr>stranger</usr>"));

    SelectRow(list, 0);
    Click(Search(), IDC_VIEW);
    EXPECT_EQ(card->FindCardDialog("known", "d")->GetDisplayName(), "Known Person");
    size_t sent = host.sent.size();
    Click(Search(), IDC_VIEW);  // already open: raised, nothing sent
    EXPECT_EQ(host.sent.size(), sent);
}

TEST_F(SearchRoadTest, SearchDialogFollowsLanguageAndProductName)
{
    Request(RequestKind::OpenSearch);
    service->SetLanguage(0);
    service->SetProductName("Otro");
    char text[128];
    GetWindowTextA(Search(), text, sizeof text);
    EXPECT_STREQ(text, "Otro - Buscar en el Directorio");
    GetDlgItemTextA(Search(), IDOK, text, sizeof text);
    EXPECT_STREQ(text, "Buscar");
}

// ---- the launcher panel

TEST_F(SearchRoadTest, PanelOnlyWhenTheHostAgrees)
{
    RECT area = {10, 10, 210, 190};
    service->SetPanelArea(MakeHostWindow(), &area, nullptr);
    host.commandAnswer = 0;
    service->Activate("VCARD-PC");
    EXPECT_EQ(card->GetPanel(), nullptr);
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0].first, 0);

    host.commandAnswer = 1;
    service->Activate("VCARD-PC");
    service->Activate("VCARD-PC");
    LauncherPanel* panel = card->GetPanel();
    ASSERT_NE(panel, nullptr);
    HWND window = panel->GetSafeHwnd();
    EXPECT_EQ(GetParent(window), hostWindow);
    EXPECT_TRUE(IsWindowVisible(window));
    RECT placed;
    GetWindowRect(window, &placed);
    MapWindowPoints(nullptr, hostWindow, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 0);
    EXPECT_EQ(placed.top, 0);
    EXPECT_EQ(placed.right, 200);
    EXPECT_EQ(placed.bottom, 180);

    RECT larger = {0, 0, 300, 250};
    service->SetPanelArea(hostWindow, &larger, nullptr);
    GetClientRect(window, &placed);
    EXPECT_EQ(placed.right, 300);
    EXPECT_EQ(placed.bottom, 250);

    EXPECT_EQ(service->HandleEvent(3, 0), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(card->GetPanel(), nullptr);
    EXPECT_EQ(service->HandleEvent(3, 0), 0);  // no panel: nothing happens
}

TEST_F(SearchRoadTest, PanelDestroyedWithTheHostsWindowIsForgotten)
{
    RECT area = {0, 0, 200, 180};
    service->SetPanelArea(MakeHostWindow(), &area, nullptr);
    service->Activate("VCARD-PC");
    ASSERT_NE(card->GetPanel(), nullptr);
    DestroyWindow(hostWindow);
    hostWindow = nullptr;
    EXPECT_EQ(card->GetPanel(), nullptr);
    service->SetPanelArea(nullptr, &area, nullptr);
    EXPECT_EQ(service->HandleEvent(3, 0), 0);
}

TEST_F(SearchRoadTest, LogoutClosesPanelAndSearch)
{
    RECT area = {0, 0, 200, 180};
    service->SetPanelArea(MakeHostWindow(), &area, nullptr);
    service->Activate("VCARD-PC");
    Request(RequestKind::OpenSearch);
    HWND panel = card->GetPanel()->GetSafeHwnd();
    HWND search = Search();
    service->Logout();
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_FALSE(IsWindow(search));
    EXPECT_EQ(card->GetPanel(), nullptr);
    EXPECT_EQ(card->GetSearchDialog(), nullptr);
    Deliver("<msg>3" + Result("a", "d", "A") + "</msg>");  // results for a closed dialog are dropped
}

} // namespace
