#include "tests/dialogs/CardDialogFixture.h"

#include "controls/SkinLabel.h"
#include "dialogs/DialogSkin.h"

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
    dialog->Identification().ShowContent();
    EXPECT_FALSE(Visible(Item(dialog->Identification(), IDC_WAITING)));
    for (int id : {IDC_FIRST, IDC_TITLE_LABEL, IDC_ADDRESSES, IDC_PHOTO, IDC_BROWSE, IDC_EMAIL_GROUP})
        EXPECT_TRUE(Visible(Item(dialog->Identification(), id))) << id;
    dialog->Business().ShowError();
    EXPECT_EQ("Error: no available information for request", Text(Item(dialog->Business(), IDC_WAITING)));
    EXPECT_FALSE(Visible(Item(dialog->Business(), IDC_COMPANY)));
    EXPECT_EQ(nullptr, dialog->Directory());
}

// OK takes the controls into the holders and closes.
TEST_F(CardDialogTest, TheOwnCardGainsOneDirectoryTabAndWritableFieldsAViewerNone)
{
    for (CardPage* page : Pages())
        page->ShowContent();
    for (CardPage* page : Pages())
        Type(Item(*page, page == &dialog->Identification() ? IDC_FIRST : IDC_CITY), "q");
    EXPECT_EQ("", Text(Item(dialog->Home(), IDC_CITY)));
    EXPECT_FALSE(AnyMark());

    MakeEditor();
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
    ASSERT_TRUE(closing.deleted);
    EXPECT_EQ("w", closing.identification.title);
    EXPECT_EQ("acme.example", closing.business.web);
    EXPECT_TRUE(closing.businessChanged && closing.hadDirectory);
    EXPECT_FALSE(closing.homeChanged);
}

// Regression: the own card without a Directory page publishes nothing, and
// its OK must still close it, even while the OK button is disabled.
TEST_F(CardDialogTest, EnterInAPageRunsOkWhileTheButtonIsDisabled)
{
    dialog->SetIdentity("u1", "d1", "User One");
    Press(Item(dialog->Identification(), IDC_FIRST), VK_RETURN);
    EXPECT_TRUE(closing.deleted);
    EXPECT_FALSE(closing.hadDirectory);
}

TEST_F(CardDialogTest, EscapeCancelsWithoutTakingTheControlsAndTheStreetTakesEnter)
{
    MakeEditor();
    HWND street = Item(dialog->Home(), IDC_STREET);
    Type(street, "a");
    Press(street, VK_RETURN);
    Type(street, "b");
    EXPECT_EQ("a\r\nb", Text(street));
    ASSERT_FALSE(closing.deleted);
    Press(Item(dialog->Home(), IDC_CITY), VK_ESCAPE);
    EXPECT_TRUE(closing.deleted);
    EXPECT_EQ("", closing.home.street);
}

TEST_F(CardDialogTest, TheProductLabelAsksForTheHostCommandOnlyWithItsIndex)
{
    SendMessageA(dialog->GetSafeHwnd(), WM_SKIN_CLICK, 201, 0);
    EXPECT_TRUE(host.commands.empty());
    SendMessageA(dialog->GetSafeHwnd(), WM_SKIN_CLICK, ProductLabelIndex, 0);
    ASSERT_EQ(1u, host.commands.size());
    EXPECT_EQ(12, host.commands[0].first);
}

// ---- Directory page

class DirectoryPageTest : public CardDialogTest {
protected:
    static constexpr int Boxes[] = {IDC_PUBLISH_IDENTIFICATION, IDC_PUBLISH_HOME, IDC_PUBLISH_BUSINESS, IDC_PUBLISH_PHOTO};
    void Open(int identification, int home, int business, int photo)
    {
        dialog->identificationHidden = identification;
        dialog->homeHidden = home;
        dialog->businessHidden = business;
        dialog->photoHidden = photo;
        MakeEditor();
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
    EXPECT_FALSE(AnyMark());
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
    auto& identification = dialog->Identification();
    EXPECT_TRUE(identification.identificationChanged && dialog->Business().changed &&
        identification.photoFlagChanged && Enabled(DialogItem(IDOK)));
    EXPECT_FALSE(dialog->Home().changed || identification.photoChanged);  // Home was not published before
    Click(Box(IDC_PUBLISH_IDENTIFICATION));
    EXPECT_EQ("x x x x ", State());
    EXPECT_TRUE(dialog->Home().changed);
    Click(Box(IDC_PUBLISH_BUSINESS));
    Press(Box(IDC_PUBLISH_HOME), VK_RETURN);
    ASSERT_TRUE(closing.deleted);
    EXPECT_EQ((std::vector<bool>{true, true, false, true}),
        std::vector<bool>(std::begin(closing.published), std::end(closing.published)));
}

TEST_F(DirectoryPageTest, FlagsReceivedLaterMoveOnlyTheBoxesTheUserLeftAlone)
{
    Open(0, 0, 0, 0);
    Click(Box(IDC_PUBLISH_BUSINESS));
    dialog->homeHidden = 1;
    dialog->photoHidden = 1;
    dialog->ShowHiddenFlags();
    EXPECT_EQ("x - - - ", State());
    dialog->businessHidden = 0;
    dialog->identificationHidden = 1;
    dialog->ShowHiddenFlags();
    EXPECT_EQ("- -d -d -d ", State());
    EXPECT_FALSE(dialog->Home().changed || dialog->Identification().identificationChanged);
}

} // namespace
