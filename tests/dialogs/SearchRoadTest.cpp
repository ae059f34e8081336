// The search as the service opens it: typed and clicked in the dialog,
// seen by the host as messages and commands, answered through delivery.
#include <gmock/gmock.h>

#include "dialogs/CardDialog.h"
#include "tests/dialogs/SearchDialogFixture.h"

using testing::HasSubstr;

namespace {

const char* const ThreeFound =
    "<msg>3"
    "<ps>1<usr>s1</usr><dom>d1</dom><n>Sam One</n><em>s1@d1.org</em><cp>Acme</cp><ci>Lima</ci><s>LR</s><t>Peru</t></ps>"
    "<ps>1<usr>c2</usr><dom>d2</dom><n>Contact Two</n></ps>"
    "<ps>1<usr>s3</usr><dom>d3</dom><n>Sue Three</n></ps>"
    "</msg>";

class SearchRoad : public SearchDialogTest {
protected:
    void SetUp() override
    {
        SearchDialogTest::SetUp();
        dialog->DestroyWindow();
        service->ServiceBase::SetLanguage(LangTable::Spanish);
        service->SetProductName("Quillora Plus");
        service->Request(static_cast<int>(RequestKind::OpenSearch), nullptr);
        dialog = service->GetSearchDialog();
        ASSERT_NE(nullptr, dialog);
    }
    void TearDown() override
    {
        service->Logout();
        Pump();
        service->DeletingDestructor(1);
    }
    void Deliver(const char* xml) { service->DeliverMessage(0, "VCARD-PC", xml); }

};

TEST_F(SearchRoad, OpensShownInTheServicesLanguageAndTitle)
{
    EXPECT_TRUE(Visible(dialog->GetSafeHwnd()));
    EXPECT_EQ("Quillora Plus - Buscar en el Directorio", Text(dialog->GetSafeHwnd()));
    EXPECT_EQ("Buscar", Text(Item(IDOK)));
    service->SetProductName("Other");
    EXPECT_EQ("Other - Buscar en el Directorio", Text(dialog->GetSafeHwnd()));
}

// An empty search is none; Enter while waiting does not search again.
TEST_F(SearchRoad, ASearchWithOnlyTheCitySendsAllSixFieldsOnce)
{
    Click(Item(IDOK));
    Type(Item(IDC_CITY), "Lima");
    Click(Item(IDOK));
    Press(Item(IDCANCEL), VK_RETURN);
    ASSERT_EQ(1u, host.sent.size());
    EXPECT_EQ("VCARD-PC", host.sent[0].name);
    EXPECT_EQ("<msg>3\n<n></n>\n<em></em>\n<cp></cp>\n<t></t>\n<s></s>\n<ci>Lima</ci>\n</msg>\n", host.sent[0].xml);
}

TEST_F(SearchRoad, TheAnswerListsTheThirdFirstAndAddAndViewReachTheHost)
{
    Type(Item(IDC_NAME), "S");
    Click(Item(IDOK));
    Deliver(ThreeFound);
    ASSERT_EQ(3, static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)));
    EXPECT_TRUE(Enabled(Item(IDC_NAME)));
    EXPECT_FALSE(Visible(Item(IDC_SEARCH_WAITING)));

    ClickAt(RowPoint(0));  // s3
    Click(Item(IDC_ADD));
    ASSERT_EQ(1u, host.commands.size());
    EXPECT_EQ(19, host.commands[0].first);
    EXPECT_EQ("s3@d3", host.commands[0].second);

    ClickAt(RowPoint(2));  // s1
    Click(Item(IDC_VIEW));
    ASSERT_EQ(2u, host.sent.size());
    EXPECT_THAT(host.sent[1].xml, HasSubstr("<usr>s1</usr>"));
    CardDialog* card = service->FindCardDialog("s1", "d1");
    ASSERT_NE(nullptr, card);
    EXPECT_EQ("s1@d1", card->GetDisplayName());
}

TEST_F(SearchRoad, ADoubleClickOnAContactOpensItsCardOnce)
{
    Type(Item(IDC_NAME), "C");
    Click(Item(IDOK));
    Deliver(ThreeFound);
    for (int round = 0; round < 2; ++round)
        DoubleClickAt(RowPoint(1));
    EXPECT_EQ(2u, host.sent.size());  // the search and one card request
    EXPECT_EQ(1, service->CardDialogCount());
    ASSERT_NE(nullptr, service->FindCardDialog("c2", "d2"));
    EXPECT_EQ("Contact Two", service->FindCardDialog("c2", "d2")->GetDisplayName());
}

TEST_F(SearchRoad, OpeningAgainKeepsTheWindowWithItsFieldsAndRowsAndClosingForgetsIt)
{
    Type(Item(IDC_STATE), "LR");
    Click(Item(IDOK));
    Deliver(ThreeFound);
    HWND window = dialog->GetSafeHwnd();
    service->Request(static_cast<int>(RequestKind::OpenSearch), nullptr);
    EXPECT_EQ(dialog, service->GetSearchDialog());
    EXPECT_EQ("LR", Text(Item(IDC_STATE)));
    EXPECT_EQ(3, static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)));

    Press(Item(IDC_STATE), VK_ESCAPE);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, service->GetSearchDialog());
    Deliver(ThreeFound);  // dropped: nobody asks any more
    service->Request(static_cast<int>(RequestKind::OpenSearch), nullptr);
    ASSERT_NE(nullptr, service->GetSearchDialog());
    dialog = service->GetSearchDialog();
    EXPECT_EQ("", Text(Item(IDC_STATE)));
    EXPECT_EQ(0, static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)));
}

} // namespace
