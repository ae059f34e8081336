// The launcher panel and the search dialog as the host builds, places and
// ends them through the service's operation table.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "dialogs/SearchDialog.h"
#include "frame/CardService.h"
#include "frame/LauncherPanel.h"
#include "resources/resource.h"
#include "tests/hosts/TestHost.h"

namespace {

std::string Result(const std::string& user, const std::string& domain, const std::string& name)
{
    return "<ps>1<usr>" + user + "</usr><dom>" + domain + "</dom><n>" + name +
           "</n><em>e@x</em><cp>Co</cp><ci>City</ci><s>St</s><t>Ct</t></ps>";
}

class PanelRoadTest : public testing::Test {
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

TEST_F(PanelRoadTest, PanelOnlyWhenTheHostAgrees)
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

TEST_F(PanelRoadTest, PanelDestroyedWithTheHostsWindowIsForgotten)
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

TEST_F(PanelRoadTest, LogoutClosesPanelAndSearch)
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
