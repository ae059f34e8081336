#include "tests/dialogs/CardDialogFixture.h"

#include "controls/SkinLabel.h"
#include "support/Base64.h"

namespace {

std::string TabText(HWND tabs, int index)
{
    char text[64] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

// Holds keys down through the input queue, as a person does, and lets them
// go at the end of the scope.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<WORD> held) : keys(held)
    {
        for (WORD key : keys)
            Send(key, 0);
    }
    ~HeldKeys()
    {
        for (WORD key : keys)
            Send(key, KEYEVENTF_KEYUP);
        Pump();
    }

private:
    static void Send(WORD key, DWORD flags)
    {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof input);
    }
    std::vector<WORD> keys;
};

TEST_F(CardDialogTest, AViewerWaitsOnThreeTabsWithCloseAndADisabledOk)
{
    HWND tabs = DialogItem(IDC_TABS);
    ASSERT_EQ(3, TabCtrl_GetItemCount(tabs));
    EXPECT_EQ("Identification", TabText(tabs, 0));
    EXPECT_EQ("Home", TabText(tabs, 1));
    EXPECT_EQ("Business", TabText(tabs, 2));
    EXPECT_EQ("Quillora - Virtual Card", Text(dialog->GetSafeHwnd()));
    EXPECT_EQ("Close", Text(DialogItem(IDCANCEL)));
    EXPECT_EQ("Ok", Text(DialogItem(IDOK)));
    EXPECT_TRUE(Visible(DialogItem(IDOK)));
    EXPECT_FALSE(Enabled(DialogItem(IDOK)));
    EXPECT_EQ(nullptr, dialog->Directory());
    for (CardPage* page : {static_cast<CardPage*>(&dialog->Identification()), static_cast<CardPage*>(&dialog->Home()),
             static_cast<CardPage*>(&dialog->Business())}) {
        EXPECT_EQ("Getting information...", Text(Item(*page, IDC_WAITING)));
        EXPECT_EQ("Contact One (c1@d1)", Text(Item(*page, IDC_HEADING)));
    }
    EXPECT_TRUE(Visible(Item(dialog->Identification(), IDC_WAITING)));
    for (int id : {IDC_FIRST, IDC_ADDRESSES, IDC_PHOTO, IDC_BROWSE})
        EXPECT_FALSE(Visible(Item(dialog->Identification(), id))) << id;
    SelectTab(2);
    EXPECT_TRUE(Visible(Item(dialog->Business(), IDC_WAITING)));
    EXPECT_FALSE(Visible(Item(dialog->Business(), IDC_COMPANY)));
    EXPECT_FALSE(Visible(Item(dialog->Business(), IDC_GO)));
}

TEST_F(CardDialogTest, ContentReplacesTheWaitingTextAndAnErrorStaysTheOnlyContent)
{
    dialog->Identification().ShowContent();
    EXPECT_FALSE(Visible(Item(dialog->Identification(), IDC_WAITING)));
    for (int id : {IDC_FIRST, IDC_TITLE_LABEL, IDC_ADDRESSES, IDC_NEW_ADDRESS, IDC_PHOTO, IDC_BROWSE, IDC_EMAIL_GROUP})
        EXPECT_TRUE(Visible(Item(dialog->Identification(), id))) << id;

    SelectTab(2);
    dialog->Business().ShowError();
    EXPECT_EQ("Error: no available information for request", Text(Item(dialog->Business(), IDC_WAITING)));
    EXPECT_TRUE(Visible(Item(dialog->Business(), IDC_WAITING)));
    EXPECT_FALSE(Visible(Item(dialog->Business(), IDC_COMPANY)));
    dialog->Home().ShowError();
    EXPECT_EQ("Error: no available information for request", Text(Item(dialog->Home(), IDC_WAITING)));
    // A language change keeps the error, in the new language.
    dialog->SetLanguage(0);
    EXPECT_EQ("Error: la informaci\xf3n solicitada no esta disponible !", Text(Item(dialog->Business(), IDC_WAITING)));
    EXPECT_EQ("Obteniendo informaci\xf3n...", Text(Item(dialog->Identification(), IDC_WAITING)));
}

// Regression: a single-line edit reports a change when the program fills it.
TEST_F(CardDialogTest, FillingThePagesMarksNothingButTypingDoes)
{
    MakeEditor();
    ShowAllContent();
    auto& identification = dialog->Identification();
    identification.fields = {"Ann", "Lee", "M", "Dr", "Annie", "al", {"ann@example.org", "lee@example.org"}};
    identification.UpdateControls();
    identification.SetPhotoData(Base64Encode(BitmapFile(40, 30), true));
    dialog->Home().fields.street = "1 Road";
    dialog->Home().fields.web = "http://home";
    dialog->Home().UpdateControls();
    dialog->Business().fields.company = "Acme";
    dialog->Business().UpdateControls();

    EXPECT_EQ("Ann", Text(Item(identification, IDC_FIRST)));
    EXPECT_EQ("Dr", Text(Item(identification, IDC_TITLE)));
    EXPECT_EQ(2, ListView_GetItemCount(Item(identification, IDC_ADDRESSES)));
    EXPECT_EQ("1 Road", Text(Item(dialog->Home(), IDC_STREET)));
    EXPECT_EQ("Acme", Text(Item(dialog->Business(), IDC_COMPANY)));
    EXPECT_FALSE(identification.identificationChanged || identification.pictureChanged
        || identification.pictureFlagChanged || dialog->Home().changed || dialog->Business().changed);
    EXPECT_FALSE(Enabled(DialogItem(IDOK)));

    Type(Item(dialog->Home(), IDC_CITY), "X");
    EXPECT_TRUE(dialog->Home().changed);
    EXPECT_FALSE(identification.identificationChanged);
    EXPECT_FALSE(dialog->Business().changed);
    EXPECT_TRUE(Enabled(DialogItem(IDOK)));
}

TEST_F(CardDialogTest, TypingMarksOnlyTheSectionOfTheField)
{
    MakeEditor();
    ShowAllContent();
    struct Case {
        CWnd* page;
        int edit;
        bool identification, home, business;
    } cases[] = {
        {&dialog->Identification(), IDC_NICKNAME, true, false, false},
        {&dialog->Home(), IDC_STREET, true, true, false},
        {&dialog->Business(), IDC_DEPARTMENT, true, true, true},
    };
    for (const Case& c : cases) {
        Type(Item(*c.page, c.edit), "z");
        EXPECT_EQ(c.identification, dialog->Identification().identificationChanged) << c.edit;
        EXPECT_EQ(c.home, dialog->Home().changed) << c.edit;
        EXPECT_EQ(c.business, dialog->Business().changed) << c.edit;
    }
    EXPECT_FALSE(dialog->Identification().pictureChanged);
}

TEST_F(CardDialogTest, AViewersFieldsCannotBeTyped)
{
    ShowAllContent();
    for (auto [page, id] : {std::pair<CWnd*, int>{&dialog->Identification(), IDC_FIRST},
             {&dialog->Identification(), IDC_NEW_ADDRESS}, {&dialog->Home(), IDC_STREET},
             {&dialog->Business(), IDC_COMPANY}}) {
        EXPECT_TRUE(ReadOnly(Item(*page, id))) << id;
        Type(Item(*page, id), "q");
        EXPECT_EQ("", Text(Item(*page, id))) << id;
    }
    EXPECT_FALSE(dialog->Identification().identificationChanged || dialog->Home().changed || dialog->Business().changed);
    EXPECT_FALSE(Enabled(DialogItem(IDOK)));
}

TEST_F(CardDialogTest, TheOwnCardGainsOneDirectoryTabCancelAndWritableFields)
{
    HWND tabs = DialogItem(IDC_TABS);
    MakeEditor();
    DirectoryPage* directory = dialog->Directory();
    ASSERT_NE(nullptr, directory);
    dialog->EnableEditing(1);
    EXPECT_EQ(directory, dialog->Directory());
    ASSERT_EQ(4, TabCtrl_GetItemCount(tabs));
    EXPECT_EQ("Directory", TabText(tabs, 3));
    EXPECT_EQ("Contact One (c1@d1)", Text(Item(*directory, IDC_HEADING)));
    EXPECT_EQ("Cancel", Text(DialogItem(IDCANCEL)));
    EXPECT_FALSE(Enabled(DialogItem(IDOK)));
    for (int id : {IDC_TITLE, IDC_FIRST, IDC_LAST, IDC_MIDDLE, IDC_NICKNAME, IDC_FRIENDLY, IDC_NEW_ADDRESS})
        EXPECT_FALSE(ReadOnly(Item(dialog->Identification(), id))) << id;
    for (int id : {IDC_ADDRESSES, IDC_BROWSE, IDC_REMOVE_PHOTO})
        EXPECT_TRUE(Enabled(Item(dialog->Identification(), id))) << id;
    for (int id : {IDC_STREET, IDC_CITY, IDC_WEB, IDC_MOBILE})
        EXPECT_FALSE(ReadOnly(Item(dialog->Home(), id))) << id;
    for (int id : {IDC_COMPANY, IDC_JOB, IDC_DEPARTMENT, IDC_ZIP})
        EXPECT_FALSE(ReadOnly(Item(dialog->Business(), id))) << id;
}

TEST_F(CardDialogTest, OkTakesTheControlsIntoTheHoldersAndCloses)
{
    MakeEditor();
    ShowAllContent();
    Type(Item(dialog->Identification(), IDC_FIRST), "Ann");
    Type(Item(dialog->Business(), IDC_WEB), "acme.example");
    Click(DialogItem(IDOK));
    EXPECT_TRUE(closing.destroyed);
    EXPECT_TRUE(closing.deleted);
    EXPECT_EQ("Ann", closing.identification.first);
    EXPECT_EQ("acme.example", closing.business.web);
    EXPECT_TRUE(closing.identificationChanged);
    EXPECT_TRUE(closing.businessChanged);
    EXPECT_FALSE(closing.homeChanged);
    EXPECT_TRUE(closing.hadDirectory);
}

// Regression: the own card without a Directory page publishes nothing, but
// OK must still close it, even while the OK button is disabled.
TEST_F(CardDialogTest, EnterInAPageRunsOkWhileTheButtonIsDisabled)
{
    dialog->SetIdentity("u1", "d1", "User One");
    ShowAllContent();
    ASSERT_FALSE(Enabled(DialogItem(IDOK)));
    Press(Item(dialog->Identification(), IDC_FIRST), VK_RETURN);
    EXPECT_TRUE(closing.deleted);
    EXPECT_FALSE(closing.hadDirectory);
}

TEST_F(CardDialogTest, EscapeInAPageCancelsWithoutTakingTheControls)
{
    MakeEditor();
    ShowAllContent();
    SelectTab(1);
    Type(Item(dialog->Home(), IDC_CITY), "Lima");
    Press(Item(dialog->Home(), IDC_CITY), VK_ESCAPE);
    EXPECT_TRUE(closing.deleted);
    EXPECT_EQ("", closing.home.city);
}

TEST_F(CardDialogTest, EnterInTheStreetAddressStartsANewLine)
{
    MakeEditor();
    ShowAllContent();
    SelectTab(1);
    HWND street = Item(dialog->Home(), IDC_STREET);
    Type(street, "a");
    Press(street, VK_RETURN);
    Type(street, "b");
    EXPECT_TRUE(IsOpen());
    EXPECT_EQ("a\r\nb", Text(street));
}

TEST_F(CardDialogTest, CloseAndCancelButtonsClose)
{
    Click(DialogItem(IDCANCEL));
    EXPECT_TRUE(closing.deleted);
    EXPECT_FALSE(closing.identificationChanged);
}

TEST_F(CardDialogTest, SpanishRetitlesTheWindowTabsButtonsAndPages)
{
    MakeEditor();
    dialog->SetLanguage(0);
    HWND tabs = DialogItem(IDC_TABS);
    EXPECT_EQ("Quillora - Tarjeta Virtual", Text(dialog->GetSafeHwnd()));
    EXPECT_EQ("Identificaci\xf3n", TabText(tabs, 0));
    EXPECT_EQ("Hogar", TabText(tabs, 1));
    EXPECT_EQ("Negocios", TabText(tabs, 2));
    EXPECT_EQ("Directorio", TabText(tabs, 3));
    EXPECT_EQ("Cancelar", Text(DialogItem(IDCANCEL)));
    EXPECT_EQ("Aceptar", Text(DialogItem(IDOK)));
    auto& identification = dialog->Identification();
    EXPECT_EQ("&Nombre", Text(Item(identification, IDC_FIRST_LABEL)));
    EXPECT_EQ("Ap&odo", Text(Item(identification, IDC_NICKNAME_LABEL)));
    EXPECT_EQ("Enviar &Correo", Text(Item(identification, IDC_SEND_EMAIL)));
    EXPECT_EQ("Remo&ver", Text(Item(identification, IDC_REMOVE_ADDRESS)));
    EXPECT_EQ("&Remover", Text(Item(identification, IDC_REMOVE_PHOTO)));
    EXPECT_EQ("Di&recci\xf3n", Text(Item(dialog->Home(), IDC_STREET_LABEL)));
    EXPECT_EQ("&Ir", Text(Item(dialog->Home(), IDC_GO)));
    EXPECT_EQ("Carg&o", Text(Item(dialog->Business(), IDC_JOB_LABEL)));
    EXPECT_EQ("&Departamento", Text(Item(dialog->Business(), IDC_DEPARTMENT_LABEL)));
    EXPECT_EQ("E&mpresa", Text(Item(dialog->Business(), IDC_COMPANY_LABEL)));
    EXPECT_EQ("&Mi fotograf\xed" "a", Text(Item(*dialog->Directory(), IDC_PUBLISH_PHOTO)));
    EXPECT_EQ("Informaci\xf3n de &Identificaci\xf3n", Text(Item(*dialog->Directory(), IDC_PUBLISH_IDENTIFICATION)));

    dialog->SetTitle("Other");
    EXPECT_EQ("Other - Tarjeta Virtual", Text(dialog->GetSafeHwnd()));
    dialog->SetLanguage(1);
    EXPECT_EQ("Other - Virtual Card", Text(dialog->GetSafeHwnd()));
    EXPECT_EQ("Directory", TabText(tabs, 3));
    EXPECT_EQ("&Firstname", Text(Item(identification, IDC_FIRST_LABEL)));
    EXPECT_EQ("&My photo", Text(Item(*dialog->Directory(), IDC_PUBLISH_PHOTO)));
}

TEST_F(CardDialogTest, ADirectoryPageBuiltAfterASpanishChoiceSpeaksSpanish)
{
    dialog->SetLanguage(0);
    MakeEditor();
    EXPECT_EQ("Directorio", TabText(DialogItem(IDC_TABS), 3));
    EXPECT_EQ("Cancelar", Text(DialogItem(IDCANCEL)));
    EXPECT_EQ("Informaci\xf3n del &Hogar", Text(Item(*dialog->Directory(), IDC_PUBLISH_HOME)));
}

TEST_F(CardDialogTest, TheProductLabelAsksForTheHostCommandOnlyWithItsIndex)
{
    SendMessageA(dialog->GetSafeHwnd(), WM_SKIN_CLICK, 201, 0);
    EXPECT_TRUE(host.commands.empty());
    SendMessageA(dialog->GetSafeHwnd(), WM_SKIN_CLICK, CardDialog::ProductLabelIndex, 0);
    ASSERT_EQ(1u, host.commands.size());
    EXPECT_EQ(12, host.commands[0].first);
    EXPECT_EQ("Quillora", Text(DialogItem(IDC_PRODUCT_LABEL)));
}

TEST_F(CardDialogTest, CtrlTabAndCtrlPageUpOnTheDialogsButtonsSwitchTabsWithWrapAround)
{
    HWND tabs = DialogItem(IDC_TABS);
    {
        HeldKeys ctrl({VK_CONTROL});
        Press(DialogItem(IDCANCEL), VK_TAB);
        EXPECT_EQ(1, TabCtrl_GetCurSel(tabs));
        EXPECT_TRUE(Visible(dialog->Home().GetSafeHwnd()));
        EXPECT_FALSE(Visible(dialog->Identification().GetSafeHwnd()));
        Press(DialogItem(IDCANCEL), VK_PRIOR);
        Press(DialogItem(IDCANCEL), VK_PRIOR);
        EXPECT_EQ(2, TabCtrl_GetCurSel(tabs));
    }
    Press(DialogItem(IDCANCEL), VK_TAB);
    EXPECT_EQ(2, TabCtrl_GetCurSel(tabs));
}

} // namespace
