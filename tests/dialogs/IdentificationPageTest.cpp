#include "tests/dialogs/CardDialogFixture.h"

#include "support/Base64.h"

namespace {

using namespace fakes;

class IdentificationPageTest : public CardDialogTest {
protected:
    void SetUp() override
    {
        CardDialogTest::SetUp();
        Page().ShowContent();
    }
    IdentificationPage& Page() { return dialog->Identification(); }
    HWND At(int id) { return Item(Page(), id); }
    std::string Rows()
    {
        std::string rows;
        for (int row = 0; row < ListView_GetItemCount(At(IDC_ADDRESSES)); ++row) {
            char text[256] = {};
            ListView_GetItemText(At(IDC_ADDRESSES), row, 0, text, sizeof text);
            rows += std::string(row ? " " : "") + text;
        }
        return rows;
    }
    void Fill(std::vector<std::string> emails)
    {
        Page().fields.emails = std::move(emails);
        Page().UpdateControls();
    }
    void Key(WPARAM key) { SendMessageA(At(IDC_ADDRESSES), WM_KEYDOWN, key, 0); }
    void TypeAddress(const std::string& text)
    {
        SetWindowTextA(At(IDC_NEW_ADDRESS), "");
        Type(At(IDC_NEW_ADDRESS), text);
    }
    // Send E-Mail, Edit, Remove: 1 enabled, 0 disabled.
    std::string AddressButtons()
    {
        std::string state;
        for (int id : {IDC_SEND_EMAIL, IDC_EDIT_ADDRESS, IDC_REMOVE_ADDRESS})
            state += Enabled(At(id)) ? "1" : "0";
        return state;
    }
};

TEST_F(IdentificationPageTest, AddNeedsACharacterOnEachSideOfTheFirstAtAndAppendsUpToTen)
{
    MakeEditor();
    for (auto [text, enabled] : {std::pair<const char*, bool>{"a@b", true}, {"a@@", true}, {"@ab", false},
             {"ab@", false}, {"ab", false}, {"@", false}, {"", false}}) {
        TypeAddress(text);
        EXPECT_EQ(enabled, Enabled(At(IDC_ADD_ADDRESS))) << text;
    }
    EXPECT_EQ("", Changed());
    for (int i = 0; i < 2; ++i) {
        TypeAddress("ann@example.org");
        Click(At(IDC_ADD_ADDRESS));
    }
    EXPECT_EQ("ann@example.org ann@example.org", Rows());
    EXPECT_EQ("", Text(At(IDC_NEW_ADDRESS)));
    EXPECT_FALSE(Enabled(At(IDC_ADD_ADDRESS)));
    EXPECT_TRUE(Page().identificationChanged && Enabled(DialogItem(IDOK)));

    // A card carries ten addresses: the list takes no eleventh.
    Page().identificationChanged = false;
    Fill({"1@x", "2@x", "3@x", "4@x", "5@x", "6@x", "7@x", "8@x", "9@x", "10@x", "11@x"});
    EXPECT_EQ("1@x 2@x 3@x 4@x 5@x 6@x 7@x 8@x 9@x 10@x", Rows());
    TypeAddress("eleven@x");
    EXPECT_FALSE(Enabled(At(IDC_ADD_ADDRESS)));
    EXPECT_FALSE(Page().identificationChanged);
}

TEST_F(IdentificationPageTest, AnotherUsersCardOnlySendsEmailToTheSelectedRowAndTakesNoPicture)
{
    Fill({"ann@example.org", "lee@example.org"});
    EXPECT_EQ("000", AddressButtons());
    Key(VK_HOME);
    Key(VK_DOWN);
    EXPECT_EQ("100", AddressButtons());
    Key(VK_F2);
    EXPECT_EQ(nullptr, ListView_GetEditControl(At(IDC_ADDRESSES)));
    Click(At(IDC_REMOVE_ADDRESS));
    Click(At(IDC_SEND_EMAIL));
    EXPECT_EQ("ann@example.org lee@example.org", Rows());
    EXPECT_EQ(std::vector<std::string>{"open mailto:lee@example.org"}, opened);
    EXPECT_FALSE(Page().TakePicture(BitmapFile()));
    EXPECT_EQ(nullptr, Page().Photo().GetPicture());
    EXPECT_FALSE(Page().identificationChanged || Page().photoChanged);
}

TEST_F(IdentificationPageTest, TheOwnCardRenamesInPlaceToAnAddressOnlyAndRemoves)
{
    MakeEditor();
    Fill({"ann@example.org", "lee@example.org"});
    Key(VK_HOME);
    EXPECT_EQ("111", AddressButtons());
    for (auto [start, typed, rows] : {std::tuple<bool, const char*, const char*>{true, "no address", "ann@example.org"},
             {false, "new@example.org", "new@example.org"}}) {
        start ? Key(VK_F2) : Click(At(IDC_EDIT_ADDRESS));
        HWND edit = ListView_GetEditControl(At(IDC_ADDRESSES));
        ASSERT_NE(nullptr, edit);
        Type(edit, typed);
        Press(edit, VK_RETURN);
        EXPECT_EQ(std::string(rows) + " lee@example.org", Rows());
        EXPECT_EQ(!start, Page().identificationChanged);
    }
    Click(At(IDC_REMOVE_ADDRESS));
    EXPECT_EQ("lee@example.org", Rows());
    Click(DialogItem(IDOK));
    ASSERT_EQ(1u, owner.published.size());
    EXPECT_EQ(std::vector<std::string>{"lee@example.org"}, owner.published[0].identification->emails);
}

// Up to 8192 bytes a picture that shows within the frame is kept byte for
// byte; any other is made a JPEG of at most 8192 bytes within the frame.
TEST_F(IdentificationPageTest, BrowseKeepsASmallPictureAsItIsAndFitsALargerOne)
{
    MakeEditor();
    // While the chooser is up the service's other windows are disabled; the
    // owner is the modal window's own affair, and a window disabled before
    // stays so.
    HWND other = AnotherCard();
    HWND disabledBefore = AnotherCard();
    EnableWindow(disabledBefore, FALSE);
    watched = {other, disabledBefore, dialog->GetSafeHwnd()};
    RECT frame = {};
    GetClientRect(At(IDC_PHOTO), &frame);
    char before[MAX_PATH] = {}, after[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof before, before);
    struct Case {
        const char* name;
        std::string bytes;
        bool kept;
    } cases[] = {
        {"small-16x16.bmp", PhotoFile("small-16x16.bmp"), true},
        {"vcard-8192.bmp", BitmapFile(8192), true},
        {"vcard-8193.bmp", BitmapFile(8193), false},
        {"plain-2048x2048.png", PhotoFile("plain-2048x2048.png"), false},
        {"photo-2400x1600.jpg", PhotoFile("photo-2400x1600.jpg"), false},
    };
    for (const Case& c : cases) {
        chosenFile = TempFile(c.name, c.bytes);
        Page().photoChanged = false;
        Click(At(IDC_BROWSE));
        std::string taken = Base64Decode(Page().GetPhotoData());
        EXPECT_EQ(c.kept, taken == c.bytes) << c.name;
        EXPECT_LE(taken.size(), 8192u) << c.name;
        const CPicture* shown = Page().Photo().GetPicture();
        ASSERT_TRUE(shown && shown->HasPicture()) << c.name;
        EXPECT_LE(shown->GetWidth(), frame.right) << c.name;
        EXPECT_LE(shown->GetHeight(), frame.bottom) << c.name;
        EXPECT_TRUE(Page().photoChanged && Enabled(DialogItem(IDOK))) << c.name;
    }
    // The photograph, last: as large as the frame allows, in its proportions.
    const CPicture* photo = Page().Photo().GetPicture();
    EXPECT_NEAR(1.5, static_cast<double>(photo->GetWidth()) / photo->GetHeight(), 0.02);
    EXPECT_TRUE(photo->GetWidth() == frame.right || photo->GetHeight() == frame.bottom);
    EXPECT_EQ(std::vector<std::string>(std::size(cases), "--e"), whileModal);
    EXPECT_EQ("e-e", WatchedStates());
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(Page().photoFlagChanged || Page().identificationChanged);
    GetCurrentDirectoryA(sizeof after, after);
    EXPECT_STREQ(before, after) << "the host's current directory";
}

// A file that cannot be read, shown or made to fit leaves the photo, the
// bytes to publish and the marks as they were, and says which it was.
TEST_F(IdentificationPageTest, BrowseOfAFileThatCannotBeReadShownOrFittedChangesNothing)
{
    MakeEditor();
    Page().SetPhotoData(Base64Encode(BitmapFile(), true));
    const CPicture* shown = Page().Photo().GetPicture();
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    std::string corrupt = PhotoFile("photo-2400x1600.jpg");
    corrupt.replace(2, 2000, 2000, '\x5A');
    std::string huge = TempFile("vcard-30mb.jpg", std::string(30 * 1024 * 1024, '\xFF'));
    for (const std::string& file : {std::string(folder), TempFile("vcard-text.jpg", "not a picture at all"),
             TempFile("vcard-corrupt.jpg", corrupt), huge}) {
        chosenFile = file;
        Click(At(IDC_BROWSE));
    }
    DeleteFileA(huge.c_str());
    // No room at all to fit a picture into.
    RECT frame = {};
    GetClientRect(At(IDC_PHOTO), &frame);
    SetWindowPos(At(IDC_PHOTO), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(Page().TakePicture(PhotoFile("strip-4000x1.bmp")));
    EXPECT_FALSE(Page().TakePicture(BitmapFile()));
    const std::string notShown = "Quillora: The selected file is not a picture that can be shown, please, select another one";
    const std::string noFit = "Quillora: The selected picture cannot be made to fit in 8Kb, please, select another one";
    EXPECT_EQ((std::vector<std::string>{"Quillora: The selected file cannot be read, please, select another one",
                  notShown, notShown, noFit, noFit, noFit}),
        boxes);
    EXPECT_EQ(shown, Page().Photo().GetPicture());
    EXPECT_EQ("", Page().GetPhotoData());
    EXPECT_EQ("", Changed());
    SetWindowPos(At(IDC_PHOTO), nullptr, 0, 0, frame.right, frame.bottom, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(Page().TakePicture(BitmapFile()));
}

TEST_F(IdentificationPageTest, GoOpensTheWebPageWithItsPrefixOnAnyCard)
{
    dialog->Business().ShowContent();
    dialog->Business().fields.web = "HTTP://Example.ORG/Path";
    dialog->Business().UpdateControls();
    Click(Item(dialog->Business(), IDC_GO));
    MakeEditor();
    Type(Item(dialog->Home(), IDC_WEB), "Me.Example");
    Click(Item(dialog->Home(), IDC_GO));
    EXPECT_EQ((std::vector<std::string>{"open http://example.org/Path", "open http://Me.Example"}), opened);
    EXPECT_FALSE(dialog->Business().changed);
}

} // namespace
