#include "tests/dialogs/CardDialogFixture.h"

#include "controls/SkinLabel.h"
#include "dialogs/DialogSkin.h"
#include "tests/dialogs/PumpUntil.h"

namespace {

TEST_F(CardDialogTest, AViewerWaitsOnThreeTabsThenShowsContentOrError)
{
    ASSERT_EQ(3, TabCtrl_GetItemCount(DialogItem(IDC_TABS)));
    EXPECT_EQ("Close", Text(DialogItem(IDCANCEL)));
    EXPECT_TRUE(Visible(DialogItem(IDOK)) && !Enabled(DialogItem(IDOK)));
    for (CardPage* page : Pages()) {
        EXPECT_EQ("Getting information...", Text(Item(*page, IDC_WAITING)));
        EXPECT_EQ("Contact One (c1@d1)", Text(Item(*page, IDC_HEADING)));
        EXPECT_FALSE(Visible(Item(*page, IDC_CITY)) || Visible(Item(*page, IDC_FIRST)) || Visible(Item(*page, IDC_GO)));
    }
    dialog->ShowSection(Named("Ana"), 0);
    EXPECT_FALSE(Visible(Item(dialog->Identification(), IDC_WAITING)));
    EXPECT_EQ("Ana", Text(Item(dialog->Identification(), IDC_FIRST)));
    for (int id : {IDC_FIRST, IDC_TITLE_LABEL, IDC_ADDRESSES, IDC_PHOTO, IDC_BROWSE, IDC_EMAIL_GROUP})
        EXPECT_TRUE(Visible(Item(dialog->Identification(), id))) << id;
    dialog->ShowSectionError(BusinessSection);
    EXPECT_EQ("Error: no available information for request", Text(Item(dialog->Business(), IDC_WAITING)));
    EXPECT_FALSE(Visible(Item(dialog->Business(), IDC_COMPANY)));
    EXPECT_EQ(nullptr, dialog->Directory());
}

// OK hands over the sections changed, as the controls hold them, and closes.
TEST_F(CardDialogTest, TheOwnCardGainsOneDirectoryTabAndWritableFieldsAViewerNone)
{
    MakeEditor();
    EXPECT_EQ("", Changed());
    DirectoryPage* directory = dialog->Directory();
    dialog->EnableEditing(1);
    EXPECT_EQ(directory, dialog->Directory());
    ASSERT_EQ(4, TabCtrl_GetItemCount(DialogItem(IDC_TABS)));
    EXPECT_EQ("Contact One (c1@d1)", Text(Item(*directory, IDC_HEADING)));
    EXPECT_EQ("Cancel", Text(DialogItem(IDCANCEL)));
    Type(Item(dialog->Identification(), IDC_TITLE), "w");
    Type(Item(dialog->Business(), IDC_WEB), "acme.example");
    EXPECT_TRUE(Enabled(Item(dialog->Identification(), IDC_BROWSE)));
    Click(DialogItem(IDOK));
    ASSERT_EQ(1, owner.closed);
    ASSERT_EQ(1u, owner.published.size());
    EXPECT_EQ("ib", Sections(owner.published[0]));
    EXPECT_EQ("w", owner.published[0].identification->title);
    EXPECT_EQ("acme.example", owner.published[0].business->web);
}

// Sections that were not shown are never handed over, whatever happens to
// their pages: typed into while waiting, failed, or chosen on the Directory page.
TEST_F(CardDialogTest, OnlySectionsShownAndChangedAreHandedOver)
{
    Type(Item(dialog->Home(), IDC_CITY), "q");  // a viewer's fields take nothing
    EXPECT_EQ("", Text(Item(dialog->Home(), IDC_CITY)));
    dialog->ShowSection(Named("Ana"), 0);
    dialog->ShowSectionError(HomeSection);
    dialog->ShowSection(PhotoFields{}, 0);
    dialog->EnableEditing(1);
    HWND identificationBox = Item(*dialog->Directory(), IDC_PUBLISH_IDENTIFICATION);
    EXPECT_FALSE(Enabled(Item(*dialog->Directory(), IDC_PUBLISH_HOME)) ||
        Enabled(Item(*dialog->Directory(), IDC_PUBLISH_BUSINESS)));
    Click(identificationBox);  // unpublished: the photo follows, home and business are not known
    Type(Item(dialog->Home(), IDC_CITY), "Lima");
    Type(Item(dialog->Business(), IDC_COMPANY), "Acme");
    dialog->Home().MarkChanged();
    dialog->Business().MarkChanged();
    CardChanges changes = dialog->TakeChanges();
    EXPECT_EQ("if", Sections(changes));
    EXPECT_EQ(1, changes.hidden[IdentificationSection - 1]);
    EXPECT_EQ(1, changes.hidden[PhotoSection - 1]);

    // Business arrives: now it is shown, and its flag follows the identification box.
    dialog->ShowSection(BusinessSection, OfCompany("Initech"), 0);
    EXPECT_EQ("Initech", Text(Item(dialog->Business(), IDC_COMPANY)));
    EXPECT_FALSE(dialog->Directory()->IsPublished(BusinessSection));
    Type(Item(dialog->Business(), IDC_JOB), "Dev");
    Click(identificationBox);
    changes = dialog->TakeChanges();
    EXPECT_EQ("ibf", Sections(changes));
    EXPECT_EQ("Initech Dev", changes.business->company + " " + changes.business->job);
    EXPECT_EQ(0, changes.hidden[BusinessSection - 1]);
    // A section the user changed keeps his values when it comes again.
    dialog->ShowSection(BusinessSection, OfCompany("Other"), 0);
    EXPECT_EQ("Initech", Text(Item(dialog->Business(), IDC_COMPANY)));
}

// Regression: the own card without a Directory page publishes nothing, and
// its OK must still close it, even while the OK button is disabled.
TEST_F(CardDialogTest, EnterInAPageRunsOkWhileTheButtonIsDisabled)
{
    dialog->SetIdentity("u1", "d1", "User One");
    Press(Item(dialog->Identification(), IDC_FIRST), VK_RETURN);
    EXPECT_EQ(1, owner.closed);
    EXPECT_TRUE(owner.published.empty());
}

TEST_F(CardDialogTest, EscapeCancelsWithoutTakingTheControlsAndTheStreetTakesEnter)
{
    MakeEditor();
    HWND street = Item(dialog->Home(), IDC_STREET);
    Type(street, "a");
    Press(street, VK_RETURN);
    Type(street, "b");
    EXPECT_EQ("a\r\nb", Text(street));
    ASSERT_EQ(0, owner.closed);
    Press(Item(dialog->Home(), IDC_CITY), VK_ESCAPE);
    EXPECT_EQ(1, owner.closed);
    EXPECT_TRUE(owner.published.empty());
}

TEST_F(CardDialogTest, TheProductLabelAsksForTheHostCommandOnlyWithItsIndex)
{
    SendMessageA(dialog->GetSafeHwnd(), WM_SKIN_CLICK, 201, 0);
    EXPECT_EQ(0, owner.productLabels);
    SendMessageA(dialog->GetSafeHwnd(), WM_SKIN_CLICK, ProductLabelIndex, 0);
    EXPECT_EQ(1, owner.productLabels);
}

// ---- a server that does not answer

// A saved copy is shown under its notice, in the page's language, and is
// never handed over, even on the own card's editor; an answer replaces it.
TEST_F(CardDialogTest, ASavedCopyIsOnlyShownUnderItsNoticeUntilTheAnswerReplacesIt)
{
    IdentificationPage& identification = dialog->Identification();
    dialog->ShowSavedSection(Named("Old"));
    dialog->ShowSectionNotAnswering(HomeSection);
    EXPECT_EQ("The server is not answering; this is the saved copy.", Text(Item(identification, IDC_WAITING)));
    EXPECT_TRUE(Visible(Item(identification, IDC_WAITING)) && Visible(Item(identification, IDC_FIRST)));
    EXPECT_EQ("Old", Text(Item(identification, IDC_FIRST)));
    EXPECT_EQ("The server is not answering.", Text(Item(dialog->Home(), IDC_WAITING)));
    EXPECT_FALSE(Visible(Item(dialog->Home(), IDC_CITY)));
    dialog->SetLanguage(0);
    EXPECT_EQ("El servidor no responde; esta es la copia guardada.", Text(Item(identification, IDC_WAITING)));
    EXPECT_EQ("El servidor no responde.", Text(Item(dialog->Home(), IDC_WAITING)));

    dialog->ShowSection(PhotoFields{}, 0);  // the photo answered: the own card's editor
    dialog->EnableEditing(1);
    auto readOnly = [&] { return (GetWindowLongA(Item(identification, IDC_TITLE), GWL_STYLE) & ES_READONLY) != 0; };
    EXPECT_TRUE(readOnly());
    identification.MarkIdentificationChanged();
    EXPECT_EQ("", Changed());

    dialog->ShowSection(Named("New"), 0);
    dialog->ShowSavedSection(Named("Old"));
    EXPECT_EQ("New", Text(Item(identification, IDC_FIRST)));
    EXPECT_FALSE(Visible(Item(identification, IDC_WAITING)));
    EXPECT_FALSE(readOnly());
}

// Try again, from either menu or F5, asks the owner again while a section is
// awaited, and waits anew: the time limit passes once per wait.
TEST_F(CardDialogTest, TryAgainAsksAgainWhileASectionIsAwaitedAndRestartsTheWait)
{
    HMENU system = GetSystemMenu(dialog->GetSafeHwnd(), FALSE);
    auto tryAgainEnabled = [&] { return !(GetMenuState(system, CardDialog::TryAgainCommand, MF_BYCOMMAND) & MF_GRAYED); };
    EXPECT_TRUE(tryAgainEnabled());
    AnswerTimeLimit = 1;
    dialog->ShowSectionNotAnswering(BusinessSection);
    MSG f5 = {Item(dialog->Business(), IDC_WAITING), WM_KEYDOWN, VK_F5, 0, 0, {0, 0}};
    EXPECT_TRUE(dialog->PreTranslateMessage(&f5));
    EXPECT_EQ(1, owner.retried);
    EXPECT_EQ("Getting information...", Text(Item(dialog->Business(), IDC_WAITING)));
    EXPECT_TRUE(PumpUntil([&] { return owner.timedOut == 1; }));

    fakes::menuChoice = CardDialog::TryAgainCommand;
    dialog->ShowCardMenu({});
    EXPECT_EQ(2, owner.retried);
    MakeEditor();
    EXPECT_FALSE(tryAgainEnabled());
    SendMessageA(dialog->GetSafeHwnd(), WM_SYSCOMMAND, CardDialog::TryAgainCommand, 0);
    dialog->PreTranslateMessage(&f5);
    EXPECT_EQ(2, owner.retried);
    Sleep(50);
    Pump();
    EXPECT_EQ(1, owner.timedOut);
}

// ---- Directory page

class DirectoryPageTest : public CardDialogTest {
protected:
    static constexpr int Boxes[] = {IDC_PUBLISH_IDENTIFICATION, IDC_PUBLISH_HOME, IDC_PUBLISH_BUSINESS, IDC_PUBLISH_PHOTO};
    void Open(int identification, int home, int business, int photo)
    {
        MakeEditor({identification, home, business, photo});
    }
    HWND Box(int id) { return Item(*dialog->Directory(), id); }
    // Checked (x) or not (-), and d when disabled, per box.
    std::string State()
    {
        std::string state;
        for (int id : Boxes)
            state += std::string(SendMessageA(Box(id), BM_GETCHECK, 0, 0) ? "x" : "-") + (Enabled(Box(id)) ? " " : "d ");
        return state;
    }
};

TEST_F(DirectoryPageTest, TheBoxesShowTheReceivedFlagsAndNeedTheIdentification)
{
    struct Case {
        int identification, home, business, photo;
        const char* state;
    } cases[] = {
        {0, 0, 0, 0, "x x x x "}, {1, 0, 0, 0, "- -d -d -d "}, {0, 1, 0, 0, "x - x x "}, {0, 0, 0, 1, "x x x - "},
    };
    for (const Case& c : cases) {
        Open(c.identification, c.home, c.business, c.photo);
        EXPECT_EQ(c.state, State());
        for (int section = 1; section <= 4; ++section)
            EXPECT_EQ(SendMessageA(Box(Boxes[section - 1]), BM_GETCHECK, 0, 0) == BST_CHECKED,
                dialog->Directory()->IsPublished(section));
    }
    EXPECT_FALSE(dialog->Directory()->IsPublished(5));
    EXPECT_EQ("", Changed());
    EXPECT_FALSE(Visible(Box(IDC_DIRECTORY_WAITING)));
    EXPECT_TRUE(Visible(Box(IDC_NOTE)) && Visible(Box(IDC_PUBLISH_GROUP)) && Visible(Box(IDC_NOTE_ICON)));
}

// After OK the server holds what the boxes showed: every box that changed,
// by a click or by following the identification box, marks its section.
TEST_F(DirectoryPageTest, EachBoxThatChangesMarksItsSectionAndOkHandsOverTheBoxes)
{
    Open(0, 1, 0, 0);
    Click(Box(IDC_PUBLISH_IDENTIFICATION));
    EXPECT_EQ("- -d -d -d ", State());
    EXPECT_EQ("ibf", Changed());  // Home was not published before
    EXPECT_TRUE(Enabled(DialogItem(IDOK)));
    Click(Box(IDC_PUBLISH_IDENTIFICATION));
    EXPECT_EQ("x x x x ", State());
    EXPECT_EQ("ihbf", Changed());
    Click(Box(IDC_PUBLISH_BUSINESS));
    Press(Box(IDC_PUBLISH_HOME), VK_RETURN);
    ASSERT_EQ(1u, owner.published.size());
    EXPECT_EQ((std::array<int, 4>{0, 0, 1, 0}), owner.published[0].hidden);
}

TEST_F(DirectoryPageTest, FlagsReceivedLaterMoveOnlyTheBoxesTheUserLeftAlone)
{
    Open(0, 0, 0, 0);
    Click(Box(IDC_PUBLISH_BUSINESS));
    dialog->ShowSection(HomeSection, AddressFields{}, 1);
    dialog->ShowSection(PhotoFields{}, 1);
    EXPECT_EQ("x - - - ", State());
    dialog->ShowSection(BusinessSection, AddressFields{}, 0);
    dialog->ShowSection(IdentificationFields{}, 1);
    EXPECT_EQ("- -d -d -d ", State());
    EXPECT_EQ("b", Changed());
}

} // namespace
