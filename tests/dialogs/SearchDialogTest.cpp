// The search dialog as a person uses it.
#include "tests/dialogs/SearchDialogFixture.h"

#include <gmock/gmock.h>

#include "dialogs/AnswerTimeLimit.h"
#include "dialogs/CardDialog.h"
#include "tests/dialogs/PumpUntil.h"

namespace {

using testing::HasSubstr;

constexpr int Edits[] = {IDC_NAME, IDC_EMAIL, IDC_COMPANY, IDC_COUNTRY, IDC_STATE, IDC_CITY};

// Nothing happens for empty fields; a search takes the fields, empties the
// list and waits with everything but Close disabled, Enter does not search
// again meanwhile, and an answer without results gives the fields back.
TEST_F(SearchDialogTest, ASearchWaitsForItsAnswerAndAnEmptyOneIsNoSearch)
{
    AnswerThree();
    Click(Item(IDOK));
    Press(Item(IDC_NAME), VK_RETURN);
    EXPECT_EQ(3, Rows());
    EXPECT_FALSE(Visible(Item(IDC_SEARCH_WAITING)));
    EXPECT_TRUE(host.sent.empty());

    Type(Item(IDC_CITY), "Valpara\xEDso");
    Press(Item(IDC_CITY), VK_RETURN);
    const SearchFields& fields = dialog->Fields();
    EXPECT_EQ("Valpara\xEDso", fields.city);
    EXPECT_EQ("", fields.name + fields.email + fields.company + fields.country + fields.state);
    EXPECT_EQ(0, Rows());
    EXPECT_TRUE(Visible(Item(IDC_SEARCH_WAITING)));
    for (int id : Edits)
        EXPECT_FALSE(Enabled(Item(id))) << id;
    for (int id : {IDOK, IDC_VIEW, IDC_ADD, IDC_RESULTS})
        EXPECT_FALSE(Enabled(Item(id))) << id;
    EXPECT_EQ(Item(IDCANCEL), GetFocus());
    SetWindowTextA(Item(IDC_CITY), "Lima");
    // The Enter that started the search, held: it goes no further.
    MSG held = {Item(IDCANCEL), WM_KEYDOWN, VK_RETURN, 1 | (1 << 30), GetTickCount(), {}};
    if (!CWinApp::Instance().PreTranslateMessage(&held))
        DispatchMessageA(&held);
    EXPECT_FALSE(Closed());
    EXPECT_EQ("Valpara\xEDso", dialog->Fields().city);

    dialog->SearchFinished();
    EXPECT_FALSE(Visible(Item(IDC_SEARCH_WAITING)));
    for (int id : Edits)
        EXPECT_TRUE(Enabled(Item(id))) << id;
    EXPECT_TRUE(Enabled(Item(IDOK)));
    EXPECT_FALSE(Enabled(Item(IDC_VIEW)));
    EXPECT_EQ("Lima", Text(Item(IDC_CITY)));
}

// Without an answer within the time limit the search ends with a notice in
// the dialog's language; a late answer is still listed, and a new search
// waits again.
TEST_F(SearchDialogTest, ASearchWithoutAnAnswerEndsWithANoticeAndALateAnswerIsStillListed)
{
    AnswerTimeLimit = 1;
    Type(Item(IDC_NAME), "Sam");
    Click(Item(IDOK));
    ASSERT_TRUE(PumpUntil([this] { return Enabled(Item(IDOK)); }));
    AnswerTimeLimit = 15000;
    for (int id : Edits)
        EXPECT_TRUE(Enabled(Item(id))) << id;
    EXPECT_TRUE(Visible(Item(IDC_SEARCH_WAITING)));
    EXPECT_EQ("The server is not answering. Try again.", Text(Item(IDC_SEARCH_WAITING)));
    dialog->SetLanguage(0);
    EXPECT_EQ("El servidor no responde. Vuelva a intentarlo.", Text(Item(IDC_SEARCH_WAITING)));

    AnswerThree();
    EXPECT_EQ(3, Rows());
    EXPECT_FALSE(Visible(Item(IDC_SEARCH_WAITING)));
    Click(Item(IDOK));
    EXPECT_EQ("Buscando...\nUn momento por favor...", Text(Item(IDC_SEARCH_WAITING)));
    EXPECT_FALSE(Enabled(Item(IDC_NAME)));
}

TEST_F(SearchDialogTest, AHeaderClickSortsAToZThenZToAInTheUsersAlphabetAndANewAnswerComesUnsorted)
{
    dialog->SearchFinished();
    for (const char* name : {"Zoe", "\xC9mile", "ana", "Eva"})
        dialog->AddResult(name, "d", name, "", "", "", "", "");
    auto names = [this] {
        std::string listed;
        for (int row = 0; row < Rows(); ++row)
            listed += Cell(row, 2) + " ";
        return listed + Arrows();
    };
    EXPECT_EQ("Eva ana \xC9mile Zoe --------", names());
    ClickHeader(2);
    EXPECT_EQ("ana \xC9mile Eva Zoe --^-----", names());
    ClickHeader(2);
    EXPECT_EQ("Zoe Eva \xC9mile ana --v-----", names());
    ClickHeader(0);
    EXPECT_EQ("ana \xC9mile Eva Zoe ^-------", names());
    dialog->SearchFinished();
    dialog->AddResult("z", "d", "Zed", "", "", "", "", "");
    dialog->AddResult("a", "d", "Al", "", "", "", "", "");
    EXPECT_EQ("Al Zed --------", names());
}

// View follows the selection, Add only for an account that is no contact and
// once per selection; the first selected row decides, keys move it, and a
// double click below the rows chooses nothing.
TEST_F(SearchDialogTest, TheFirstSelectedRowDecidesViewAndAdd)
{
    AnswerThree();
    ClickAt(RowPoint(1));  // c2, a contact
    EXPECT_TRUE(Enabled(Item(IDC_VIEW)));
    EXPECT_FALSE(Enabled(Item(IDC_ADD)));
    ClickAt(RowPoint(0));  // s3, a stranger
    EXPECT_TRUE(Enabled(Item(IDC_ADD)));
    Click(Item(IDC_ADD));
    EXPECT_FALSE(Enabled(Item(IDC_ADD)));
    ClickAt(RowPoint(0));
    EXPECT_FALSE(Enabled(Item(IDC_ADD)));

    ClickAt(RowPoint(2));              // s1
    EXPECT_TRUE(Enabled(Item(IDC_ADD)));
    ClickAt(RowPoint(1), MK_CONTROL);  // and c2, above it
    EXPECT_FALSE(Enabled(Item(IDC_ADD)));
    Click(Item(IDC_VIEW));
    EXPECT_NE(nullptr, service->FindCardDialog("c2", "d2"));
    ClickAt(RowPoint(1));
    Press(List(), VK_DOWN);            // to s1
    EXPECT_TRUE(Enabled(Item(IDC_ADD)));

    ClickAt(EmptyPoint());
    EXPECT_FALSE(Enabled(Item(IDC_VIEW)));
    EXPECT_FALSE(Enabled(Item(IDC_ADD)));
    size_t sent = host.sent.size();
    DoubleClickAt(EmptyPoint());
    EXPECT_EQ(sent, host.sent.size());
    EXPECT_FALSE(Closed());
}

// A sort moves the selected accounts with their rows: they stay selected,
// View shows the first and an Add already asked for stays done.
TEST_F(SearchDialogTest, TheSelectedAccountsStaySelectedThroughASort)
{
    AnswerThree();
    ClickAt(RowPoint(0));              // s3
    ClickAt(RowPoint(1), MK_CONTROL);  // and c2
    Click(Item(IDC_ADD));              // for s3
    auto users = [this] { return Cell(0, 0) + " " + Cell(1, 0) + " " + Cell(2, 0); };
    ClickHeader(0);
    EXPECT_EQ("c2 s1 s3", users());
    EXPECT_EQ("0 2", Selection());
    ClickHeader(0);
    EXPECT_EQ("s3 s1 c2", users());
    EXPECT_EQ("0 2", Selection());
    EXPECT_FALSE(Enabled(Item(IDC_ADD)));
    Click(Item(IDC_VIEW));
    ASSERT_EQ(1u, host.sent.size());
    EXPECT_THAT(host.sent[0].xml, HasSubstr("<usr>s3</usr>"));
}

// Typing in the list selects the first account whose user name begins with
// the letters, in any case.
TEST_F(SearchDialogTest, TypingAUserNamesFirstLettersSelectsIt)
{
    AnswerThree();
    SetFocus(List());
    Type(List(), "S1");
    EXPECT_EQ("2", Selection());
    EXPECT_TRUE(Enabled(Item(IDC_ADD)));
}

// An empty search is none; Enter while waiting does not search again.
TEST_F(SearchDialogTest, ASearchWithOnlyTheCitySendsAllSixFieldsOnce)
{
    Click(Item(IDOK));
    Type(Item(IDC_CITY), "Lima");
    Click(Item(IDOK));
    Press(Item(IDCANCEL), VK_RETURN);
    ASSERT_EQ(1u, host.sent.size());
    EXPECT_EQ("VCARD-PC", host.sent[0].name);
    EXPECT_EQ("<msg>3\n<n></n>\n<em></em>\n<cp></cp>\n<t></t>\n<s></s>\n<ci>Lima</ci>\n</msg>\n", host.sent[0].xml);
    Press(Item(IDCANCEL), VK_ESCAPE);  // Escape ends the dialog even while it searches
    EXPECT_TRUE(Closed());
}

TEST_F(SearchDialogTest, AddViewAndADoubleClickReachTheHost)
{
    Type(Item(IDC_NAME), "S");
    Click(Item(IDOK));
    AnswerThree();
    // Listed last first, the place's columns as country, state, city.
    const char* first[] = {"s1", "d1", "Sam One", "s1@d1.org", "Acme", "Peru", "LR", "Lima"};
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(first[column], Cell(2, column)) << column;

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

    for (int round = 0; round < 2; ++round)
        DoubleClickAt(RowPoint(1));  // c2, a contact: its card opens once
    EXPECT_EQ(3u, host.sent.size());
    EXPECT_EQ(2, service->CardDialogCount());
    ASSERT_NE(nullptr, service->FindCardDialog("c2", "d2"));
    EXPECT_EQ("Contact Two", service->FindCardDialog("c2", "d2")->GetDisplayName());
}

TEST_F(SearchDialogTest, OpeningAgainKeepsTheWindowWithItsFieldsAndRowsAndClosingForgetsIt)
{
    Type(Item(IDC_STATE), "LR");
    Click(Item(IDOK));
    AnswerThree();
    HWND window = dialog->GetSafeHwnd();
    service->OpenSearch();
    EXPECT_EQ(dialog, service->GetSearchDialog());
    EXPECT_EQ("LR", Text(Item(IDC_STATE)));
    EXPECT_EQ(3, Rows());
    // Another search window's late close leaves the one the service knows.
    auto* older = new SearchDialog(service);
    ASSERT_TRUE(older->Create());
    older->DestroyWindow();
    EXPECT_EQ(dialog, service->GetSearchDialog());

    Press(Item(IDC_STATE), VK_ESCAPE);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, service->GetSearchDialog());
    AnswerThree();  // dropped: nobody asks any more
    service->OpenSearch();
    ASSERT_NE(nullptr, service->GetSearchDialog());
    dialog = service->GetSearchDialog();
    EXPECT_EQ("", Text(Item(IDC_STATE)));
    EXPECT_EQ(0, Rows());
}

// Enter presses the focused button; in the list it views the selected row,
// as a double click does, and the results stay.
TEST_F(SearchDialogTest, EnterPressesTheFocusedButtonAndViewsTheSelectedRow)
{
    AnswerThree();
    ClickAt(RowPoint(0));
    Press(List(), VK_RETURN);
    ASSERT_EQ(1u, host.sent.size());
    EXPECT_THAT(host.sent[0].xml, HasSubstr("<usr>s3</usr>"));
    ClickAt(RowPoint(2));
    Press(Item(IDC_VIEW), VK_RETURN);
    ASSERT_EQ(2u, host.sent.size());
    EXPECT_THAT(host.sent[1].xml, HasSubstr("<usr>s1</usr>"));
    Press(Item(IDC_ADD), VK_RETURN);
    EXPECT_EQ(1u, host.commands.size());
    EXPECT_EQ(3, Rows());
    Press(Item(IDCANCEL), VK_RETURN);
    EXPECT_TRUE(Closed());
}

// After each answer the columns fit their texts and headers, up to a limit;
// a column the user sized keeps his width; a cut cell shows a tip.
TEST_F(SearchDialogTest, ColumnsFitTheAnswerButKeepTheUsersWidths)
{
    auto width = [&](int column) { return static_cast<int>(SendMessageA(List(), LVM_GETCOLUMNWIDTH, column, 0)); };
    auto textWidth = [&](const char* text) {
        return static_cast<int>(SendMessageA(List(), LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
    };
    const std::string longUser = "begona.martinez.de.la.fuente";
    const std::string answer = "<msg>3<ps>1<usr>" + longUser + "</usr><dom>d1</dom><n>B</n><em>" +
        std::string(200, 'm') + "@d1.org</em></ps></msg>";
    service->DeliverMessage(0, "VCARD-PC", answer.c_str());
    Pump();
    EXPECT_GE(width(0), textWidth(longUser.c_str()));
    EXPECT_GE(width(1), textWidth("Domain"));
    EXPECT_LT(width(1), width(0));
    EXPECT_LT(width(3), textWidth(std::string(200, 'm').c_str()));  // the limit
    EXPECT_TRUE(SendMessageA(List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_LABELTIP);

    // The user drags the border after the first column to the left.
    RECT first = {};
    SendMessageA(HeaderControl(), HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    int border = first.right - 1, y = (first.top + first.bottom) / 2;
    SendMessageA(HeaderControl(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(border, y));
    SendMessageA(HeaderControl(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(border - 60, y));
    SendMessageA(HeaderControl(), WM_LBUTTONUP, 0, MAKELPARAM(border - 60, y));
    int dragged = width(0);
    ASSERT_LT(dragged, textWidth(longUser.c_str()));
    service->DeliverMessage(0, "VCARD-PC", answer.c_str());
    Pump();
    EXPECT_EQ(dragged, width(0));
}

} // namespace
