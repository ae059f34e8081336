#include "tests/dialogs/CardDialogFixture.h"

namespace {

// The boxes of sections 1 to 4.
constexpr int SectionBoxes[] = {IDC_PUBLISH_IDENTIFICATION, IDC_PUBLISH_HOME, IDC_PUBLISH_BUSINESS, IDC_PUBLISH_PHOTO};

class DirectoryPageTest : public CardDialogTest {
protected:
    void Open(int identification, int home, int business, int photo)
    {
        dialog->identificationHidden = identification;
        dialog->homeHidden = home;
        dialog->businessHidden = business;
        dialog->photoHidden = photo;
        MakeEditor();
    }
    HWND Box(int id) { return Item(*dialog->Directory(), id); }
    bool Checked(int id) { return SendMessageA(Box(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // Checked and enabled state of the identification, home, business and photo boxes.
    std::string Boxes()
    {
        std::string state;
        for (int id : SectionBoxes)
            state += std::string(Checked(id) ? "x" : "-") + (Enabled(Box(id)) ? "" : "d") + " ";
        return state;
    }
    bool NoMarks()
    {
        auto& identification = dialog->Identification();
        return !identification.identificationChanged && !identification.pictureChanged
            && !identification.pictureFlagChanged && !dialog->Home().changed && !dialog->Business().changed;
    }
};

TEST_F(DirectoryPageTest, TheBoxesShowTheReceivedFlags)
{
    struct Case {
        int identification, home, business, photo;
        const char* boxes;
    } cases[] = {
        {0, 0, 0, 0, "x x x x "},
        {1, 0, 0, 0, "- -d -d -d "},
        {0, 1, 0, 0, "x - x x "},
        {0, 0, 0, 1, "x x x - "},
        {1, 1, 1, 1, "- -d -d -d "},
    };
    for (const Case& c : cases) {
        Open(c.identification, c.home, c.business, c.photo);
        EXPECT_EQ(c.boxes, Boxes()) << c.identification << c.home << c.business << c.photo;
        for (int section = 1; section <= 4; ++section)
            EXPECT_EQ(Checked(SectionBoxes[section - 1]), dialog->Directory()->IsPublished(section)) << section;
    }
    EXPECT_FALSE(dialog->Directory()->IsPublished(5));
    EXPECT_TRUE(NoMarks());
    EXPECT_FALSE(Enabled(DialogItem(IDOK)));
}

TEST_F(DirectoryPageTest, WaitsUntilShownThenShowsTheBoxesAndTheNote)
{
    dialog->EnableEditing(1);
    SelectTab(3);
    EXPECT_TRUE(Visible(Box(IDC_DIRECTORY_WAITING)));
    EXPECT_EQ("Getting information...", Text(Box(IDC_DIRECTORY_WAITING)));
    EXPECT_FALSE(Visible(Box(IDC_PUBLISH_IDENTIFICATION)));
    dialog->Directory()->ShowContent();
    EXPECT_FALSE(Visible(Box(IDC_DIRECTORY_WAITING)));
    for (int id : {IDC_PUBLISH_GROUP, IDC_PUBLISH_IDENTIFICATION, IDC_PUBLISH_HOME, IDC_PUBLISH_BUSINESS,
             IDC_PUBLISH_PHOTO, IDC_NOTE_ICON, IDC_NOTE})
        EXPECT_TRUE(Visible(Box(id))) << id;
    EXPECT_EQ("If the information is not published, only your contacts can see your virtual card.", Text(Box(IDC_NOTE)));
}

TEST_F(DirectoryPageTest, TheIdentificationBoxCarriesTheOthers)
{
    Open(0, 1, 0, 1);
    Click(Box(IDC_PUBLISH_IDENTIFICATION));
    EXPECT_EQ("- -d -d -d ", Boxes());
    EXPECT_TRUE(dialog->Identification().identificationChanged);
    EXPECT_FALSE(dialog->Home().changed || dialog->Business().changed || dialog->Identification().pictureFlagChanged);
    EXPECT_TRUE(Enabled(DialogItem(IDOK)));
    Click(Box(IDC_PUBLISH_IDENTIFICATION));
    EXPECT_EQ("x x x x ", Boxes());
}

TEST_F(DirectoryPageTest, EachBoxMarksItsOwnSection)
{
    Open(0, 0, 0, 0);
    Click(Box(IDC_PUBLISH_PHOTO));
    EXPECT_TRUE(dialog->Identification().pictureFlagChanged);
    EXPECT_FALSE(dialog->Identification().pictureChanged || dialog->Identification().identificationChanged);
    EXPECT_TRUE(Enabled(DialogItem(IDOK)));
    Click(Box(IDC_PUBLISH_HOME));
    EXPECT_TRUE(dialog->Home().changed);
    EXPECT_FALSE(dialog->Business().changed);
    Click(Box(IDC_PUBLISH_BUSINESS));
    EXPECT_TRUE(dialog->Business().changed);
    EXPECT_EQ("x - - - ", Boxes());
}

TEST_F(DirectoryPageTest, OkHandsOverTheBoxes)
{
    Open(0, 0, 1, 0);
    Click(Box(IDC_PUBLISH_PHOTO));
    Press(Box(IDC_PUBLISH_HOME), VK_RETURN);
    ASSERT_TRUE(closing.destroyed);
    EXPECT_TRUE(closing.hadDirectory);
    EXPECT_TRUE(closing.published[0]);
    EXPECT_TRUE(closing.published[1]);
    EXPECT_FALSE(closing.published[2]);
    EXPECT_FALSE(closing.published[3]);
    EXPECT_TRUE(closing.pictureFlagChanged);
}

} // namespace
