// The search dialog as a person uses it.
#include "tests/dialogs/SearchDialogFixture.h"

namespace {

constexpr int Edits[] = {IDC_NAME, IDC_EMAIL, IDC_COMPANY, IDC_COUNTRY, IDC_STATE, IDC_CITY};
constexpr int Labels[] = {IDC_NAME_LABEL, IDC_EMAIL_LABEL, IDC_SEARCH_COMPANY_LABEL, IDC_SEARCH_COUNTRY_LABEL,
    IDC_SEARCH_STATE_LABEL, IDC_SEARCH_CITY_LABEL};

struct Texts {
    const char* title;
    const char* group;
    const char* buttons[4];  // Search, Close, View, Add
    const char* labels[6];  // in the order of Labels
    const char* waiting;
    const char* headers[8];
};

constexpr Texts English = {"Quillora - Directory Search", "Directory Search", {"Search", "Close", "&View", "&Add"},
    {"&Name", "&E-mail", "Co&mpany", "Co&untry/Region", "&State/Province", "Cit&y"},
    "Searching...\nOne moment please...",
    {"Username", "Domain", "Name", "E-mail", "Company", "Country/Region", "State/Province", "City"}};
constexpr Texts Spanish = {"Quillora - Buscar en el Directorio", "Buscar en el Directorio",
    {"Buscar", "Cerrar", "&Ver", "&Adicionar"},
    {"&Nombre", "&Correo", "E&mpresa", "&Pais/Regi\xF3n", "&Estado/Provincia", "Ci&udad"},
    "Buscando...\nUn momento por favor...",
    {"Usuario", "Dominio", "Nombre", "Correo", "Empresa", "Pais/Regi\xF3n", "Estado/Provincia", "Ciudad"}};

std::string Header(HWND list, int column)
{
    char text[128] = {};
    LVCOLUMNA item = {};
    item.mask = LVCF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    return text;
}

class SearchTexts : public SearchDialogTest {
protected:
    void ExpectTexts(const Texts& texts)
    {
        HWND window = dialog->GetSafeHwnd();
        EXPECT_EQ(texts.title, Text(window));
        EXPECT_EQ(texts.group, Text(Item(IDC_SEARCH_GROUP)));
        const int buttons[] = {IDOK, IDCANCEL, IDC_VIEW, IDC_ADD};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(texts.buttons[i], Text(Item(buttons[i]))) << buttons[i];
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(texts.labels[i], Text(Item(Labels[i]))) << Labels[i];
        EXPECT_EQ(texts.waiting, Text(Item(IDC_SEARCH_WAITING)));
        for (int column = 0; column < 8; ++column)
            EXPECT_EQ(texts.headers[column], Header(List(), column)) << column;
        EXPECT_EQ("Quillora", Text(Item(IDC_PRODUCT_LABEL)));
    }
};

TEST_F(SearchTexts, EnglishUntilSpanishIsChosenAndBackWithTheTitleNameKept)
{
    ExpectTexts(English);
    dialog->SetLanguage(LangTable::Spanish);
    ExpectTexts(Spanish);
    dialog->SetTitleName("Quillora Plus");
    EXPECT_EQ("Quillora Plus - Buscar en el Directorio", Text(dialog->GetSafeHwnd()));
    dialog->SetLanguage(LangTable::English);
    EXPECT_EQ("Quillora Plus - Directory Search", Text(dialog->GetSafeHwnd()));
}

TEST_F(SearchTexts, ADialogOpenedInSpanishShowsNoTextOfItsTemplate)
{
    dialog->DestroyWindow();
    dialog = Open(LangTable::Spanish);
    ASSERT_NE(nullptr, dialog);
    ExpectTexts(Spanish);
}

TEST_F(SearchDialogTest, EightColumnsOfTheirWidthsSelectingWholeRowsAndTheIcons)
{
    const int widths[] = {120, 120, 240, 240, 120, 120, 120, 120};
    HWND header = reinterpret_cast<HWND>(SendMessageA(List(), LVM_GETHEADER, 0, 0));
    EXPECT_EQ(8, static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)));
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(widths[column], static_cast<int>(SendMessageA(List(), LVM_GETCOLUMNWIDTH, column, 0))) << column;
    EXPECT_EQ(static_cast<LRESULT>(LVS_EX_FULLROWSELECT), SendMessageA(List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(0, GetWindowLongA(List(), GWL_STYLE) & LVS_SINGLESEL);
    EXPECT_NE(0, SendMessageA(dialog->GetSafeHwnd(), WM_GETICON, ICON_SMALL, 0));
    EXPECT_NE(0, SendMessageA(dialog->GetSafeHwnd(), WM_GETICON, ICON_BIG, 0));
    EXPECT_FALSE(Enabled(Item(IDC_VIEW)));
    EXPECT_FALSE(Enabled(Item(IDC_ADD)));
    EXPECT_FALSE(Visible(Item(IDC_SEARCH_WAITING)));
    EXPECT_TRUE(Visible(dialog->GetSafeHwnd()));
}

// ---- Searching

TEST_F(SearchDialogTest, SearchWithEveryFieldEmptyChangesNothing)
{
    AnswerThree();
    Click(Item(IDOK));
    Press(Item(IDC_NAME), VK_RETURN);
    EXPECT_EQ(3, Rows());
    EXPECT_FALSE(Visible(Item(IDC_SEARCH_WAITING)));
    for (int id : Edits)
        EXPECT_TRUE(Enabled(Item(id))) << id;
    EXPECT_TRUE(Enabled(Item(IDOK)));
    EXPECT_TRUE(Enabled(List()));
    EXPECT_TRUE(host.sent.empty());
}

TEST_F(SearchDialogTest, SearchWithOnlyTheCityTakesTheFieldsClearsTheListAndWaits)
{
    AnswerThree();
    Type(Item(IDC_CITY), "Valpara\xEDso");
    Click(Item(IDOK));
    const SearchFields& fields = dialog->Fields();
    EXPECT_EQ("Valpara\xEDso", fields.city);
    EXPECT_EQ("", fields.name + fields.email + fields.company + fields.country + fields.state);
    EXPECT_EQ(0, Rows());
    EXPECT_TRUE(Visible(Item(IDC_SEARCH_WAITING)));
    for (int i = 0; i < 6; ++i) {
        EXPECT_FALSE(Enabled(Item(Edits[i]))) << Edits[i];
        EXPECT_FALSE(Enabled(Item(Labels[i]))) << Labels[i];
    }
    for (int id : {IDOK, IDC_VIEW, IDC_ADD, IDC_RESULTS})
        EXPECT_FALSE(Enabled(Item(id))) << id;
    EXPECT_TRUE(Enabled(Item(IDCANCEL)));
    EXPECT_EQ(Item(IDCANCEL), GetFocus());
}

TEST_F(SearchDialogTest, EnterInAFieldSearchesButNotAgainWhileSearching)
{
    Type(Item(IDC_NAME), "Ann");
    Type(Item(IDC_COMPANY), "Acme");
    Press(Item(IDC_COMPANY), VK_RETURN);
    EXPECT_EQ("Ann", dialog->Fields().name);
    EXPECT_EQ("Acme", dialog->Fields().company);
    EXPECT_TRUE(Visible(Item(IDC_SEARCH_WAITING)));

    SetWindowTextA(Item(IDC_NAME), "Bob");
    Press(Item(IDCANCEL), VK_RETURN);
    EXPECT_FALSE(deleted);
    EXPECT_EQ("Ann", dialog->Fields().name);
    EXPECT_TRUE(Visible(Item(IDC_SEARCH_WAITING)));
}

TEST_F(SearchDialogTest, AnAnswerWithoutResultsEnablesTheFieldsAndLeavesTheListEmpty)
{
    Type(Item(IDC_EMAIL), "ann@");
    Click(Item(IDOK));
    dialog->SearchFinished();
    EXPECT_FALSE(Visible(Item(IDC_SEARCH_WAITING)));
    EXPECT_EQ(0, Rows());
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(Enabled(Item(Edits[i]))) << Edits[i];
        EXPECT_TRUE(Enabled(Item(Labels[i]))) << Labels[i];
    }
    EXPECT_TRUE(Enabled(Item(IDOK)));
    EXPECT_TRUE(Enabled(List()));
    EXPECT_FALSE(Enabled(Item(IDC_VIEW)));
    EXPECT_FALSE(Enabled(Item(IDC_ADD)));
    EXPECT_EQ("ann@", Text(Item(IDC_EMAIL)));
}

TEST_F(SearchDialogTest, ThreeResultsAreListedLastFirstWithEachTextInItsColumn)
{
    AnswerThree();
    ASSERT_EQ(3, Rows());
    EXPECT_EQ("s3", Cell(0, 0));
    EXPECT_EQ("c2", Cell(1, 0));
    EXPECT_EQ("s1", Cell(2, 0));
    const char* first[] = {"s1", "d1", "Sam One", "s1@d1.org", "Acme", "Peru", "Lima Region", "Lima"};
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(first[column], Cell(2, column)) << column;
}

TEST_F(SearchDialogTest, ANewAnswerReplacesTheRowsOfTheLastOne)
{
    AnswerThree();
    dialog->SearchFinished();
    dialog->AddResult("n1", "d9", "", "", "", "", "", "");
    ASSERT_EQ(1, Rows());
    EXPECT_EQ("n1", Cell(0, 0));
    EXPECT_EQ("d9", Cell(0, 1));
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

// ---- Choosing a result

TEST_F(SearchDialogTest, ViewFollowsTheSelectionAndAddOnlyForAccountsThatAreNoContact)
{
    AnswerThree();
    ClickAt(RowPoint(1));  // c2, a contact
    EXPECT_TRUE(Enabled(Item(IDC_VIEW)));
    EXPECT_FALSE(Enabled(Item(IDC_ADD)));
    ClickAt(RowPoint(0));  // s3, a stranger
    EXPECT_TRUE(Enabled(Item(IDC_VIEW)));
    EXPECT_TRUE(Enabled(Item(IDC_ADD)));
    // Once asked, Add waits for another selection.
    Click(Item(IDC_ADD));
    EXPECT_FALSE(Enabled(Item(IDC_ADD)));
    ClickAt(RowPoint(0));
    EXPECT_FALSE(Enabled(Item(IDC_ADD)));
    ClickAt(RowPoint(2));
    EXPECT_TRUE(Enabled(Item(IDC_ADD)));
    ClickAt(EmptyPoint());
    EXPECT_FALSE(Enabled(Item(IDC_VIEW)));
    EXPECT_FALSE(Enabled(Item(IDC_ADD)));
}

TEST_F(SearchDialogTest, TheFirstSelectedRowDecidesAndKeysMoveTheDecision)
{
    AnswerThree();
    ClickAt(RowPoint(2));                // s1
    ClickAt(RowPoint(1), MK_CONTROL);    // and c2, above it
    EXPECT_FALSE(Enabled(Item(IDC_ADD)));
    Click(Item(IDC_VIEW));
    EXPECT_EQ("c2", dialog->SelectedUser());

    ClickAt(RowPoint(1));
    Press(List(), VK_DOWN);              // to s1
    EXPECT_TRUE(Enabled(Item(IDC_ADD)));
    Press(List(), VK_UP);                // back to c2
    EXPECT_FALSE(Enabled(Item(IDC_ADD)));
}

TEST_F(SearchDialogTest, DoubleClickWithNoRowSelectedDoesNothing)
{
    AnswerThree();
    DoubleClickAt(EmptyPoint());
    EXPECT_EQ("", dialog->SelectedUser());
    EXPECT_EQ("", dialog->SelectedDomain());
    EXPECT_FALSE(deleted);
}

// ---- Closing and the product label

TEST_F(SearchDialogTest, CloseEndsTheDialog)
{
    HWND window = dialog->GetSafeHwnd();
    Click(Item(IDCANCEL));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(deleted);
}

TEST_F(SearchDialogTest, EscapeEndsTheDialogEvenWhileSearching)
{
    HWND window = dialog->GetSafeHwnd();
    Type(Item(IDC_STATE), "Lima");
    Click(Item(IDOK));
    Press(Item(IDCANCEL), VK_ESCAPE);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(deleted);
}

TEST_F(SearchDialogTest, AClickOnTheProductLabelAsksTheHostForItsPage)
{
    HWND label = Item(IDC_PRODUCT_LABEL);
    PostMessageA(dialog->GetSafeHwnd(), WM_APP + 300, 2, 0);
    Pump();
    EXPECT_TRUE(host.commands.empty());
    SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
    SendMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
    Pump();
    ASSERT_EQ(1u, host.commands.size());
    EXPECT_EQ(12, host.commands[0].first);
    EXPECT_EQ("", host.commands[0].second);
}

} // namespace
