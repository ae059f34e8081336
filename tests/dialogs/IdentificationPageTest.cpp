#include "tests/dialogs/CardDialogFixture.h"

#include <commdlg.h>
#include <shellapi.h>

#include <fstream>

#include "support/Base64.h"

namespace {

// ---- What the page asked of the shell and the system dialogs.

struct ShellCall {
    HWND owner;
    std::string verb, file;
    bool parameters, directory;
    int show;
};
std::vector<ShellCall> shellCalls;

HINSTANCE WINAPI FakeShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show)
{
    shellCalls.push_back({owner, verb ? verb : "", file ? file : "", parameters != nullptr, directory != nullptr, show});
    return reinterpret_cast<HINSTANCE>(33);
}

struct FileRequest {
    HWND owner;
    DWORD flags;
    std::string filter, initialName;
    bool defaultExtension;
};
std::vector<FileRequest> fileRequests;
std::string chosenFile;  // empty: the user cancels

BOOL WINAPI FakeGetOpenFileNameA(OPENFILENAMEA* request)
{
    std::string filter;
    for (const char* pair = request->lpstrFilter; pair && *pair; pair += std::strlen(pair) + 1)
        filter += std::string(pair) + "|";
    fileRequests.push_back({request->hwndOwner, request->Flags, filter + "|", request->lpstrFile,
        request->lpstrDefExt != nullptr});
    if (chosenFile.empty())
        return FALSE;
    lstrcpynA(request->lpstrFile, chosenFile.c_str(), static_cast<int>(request->nMaxFile));
    return TRUE;
}

struct Box {
    HWND owner;
    std::string text, caption;
    UINT type;
};
std::vector<Box> boxes;

int WINAPI FakeMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    boxes.push_back({owner, text ? text : "", caption ? caption : "", type});
    return IDOK;
}

std::string TempFile(const std::string& name, const std::string& bytes)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    std::string path = std::string(folder) + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

class IdentificationPageTest : public CardDialogTest {
protected:
    void SetUp() override
    {
        CardDialogTest::SetUp();
        shellCalls.clear();
        fileRequests.clear();
        boxes.clear();
        chosenFile.clear();
        ASSERT_TRUE(shell.Installed() && files.Installed() && messages.Installed());
        dialog->Identification().ShowContent();
    }
    IdentificationPage& Page() { return dialog->Identification(); }
    HWND At(int id) { return Item(Page(), id); }
    HWND List() { return At(IDC_ADDRESSES); }
    std::string Row(int row)
    {
        char text[256] = {};
        ListView_GetItemText(List(), row, 0, text, sizeof text);
        return text;
    }
    int Rows() { return ListView_GetItemCount(List()); }
    // The keys a person uses to pick a row: Home for the first, Down for the next.
    void SelectFirstRow() { SendMessageA(List(), WM_KEYDOWN, VK_HOME, 0); }
    void Fill(std::vector<std::string> emails)
    {
        Page().fields.emails = std::move(emails);
        Page().UpdateControls();
    }
    void TypeAddress(const std::string& text)
    {
        SetWindowTextA(At(IDC_NEW_ADDRESS), "");
        Type(At(IDC_NEW_ADDRESS), text);
    }
    bool AddressButtons(bool send, bool edit, bool remove)
    {
        return Enabled(At(IDC_SEND_EMAIL)) == send && Enabled(At(IDC_EDIT_ADDRESS)) == edit
            && Enabled(At(IDC_REMOVE_ADDRESS)) == remove;
    }

    ImportPatch shell{"shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(&FakeShellExecuteA)};
    ImportPatch files{"comdlg32.dll", "GetOpenFileNameA", reinterpret_cast<void*>(&FakeGetOpenFileNameA)};
    ImportPatch messages{"user32.dll", "MessageBoxA", reinterpret_cast<void*>(&FakeMessageBoxA)};
};

// ---- E-mail addresses

TEST_F(IdentificationPageTest, AddNeedsACharacterOnEachSideOfTheFirstAt)
{
    MakeEditor();
    struct Case {
        const char* text;
        bool enabled;
    } cases[] = {
        {"a@b", true}, {"a@@", true}, {"ann@example.org", true}, {"@ab", false}, {"ab@", false},
        {"ab", false}, {"@", false}, {"", false}, {"a@", false},
    };
    for (const Case& c : cases) {
        TypeAddress(c.text);
        EXPECT_EQ(c.enabled, Enabled(At(IDC_ADD_ADDRESS))) << c.text;
    }
    EXPECT_FALSE(Page().identificationChanged);
    EXPECT_FALSE(Enabled(DialogItem(IDOK)));
}

TEST_F(IdentificationPageTest, AddAppendsTheAddressEvenTwiceAndEmptiesTheBox)
{
    MakeEditor();
    for (int i = 0; i < 2; ++i) {
        TypeAddress("ann@example.org");
        Click(At(IDC_ADD_ADDRESS));
    }
    ASSERT_EQ(2, Rows());
    EXPECT_EQ("ann@example.org", Row(0));
    EXPECT_EQ("ann@example.org", Row(1));
    EXPECT_EQ("", Text(At(IDC_NEW_ADDRESS)));
    EXPECT_FALSE(Enabled(At(IDC_ADD_ADDRESS)));
    EXPECT_TRUE(Page().identificationChanged);
    EXPECT_TRUE(Enabled(DialogItem(IDOK)));
}

// Regression: a card carries ten addresses; the list took an eleventh.
TEST_F(IdentificationPageTest, TheListHoldsTenAddresses)
{
    MakeEditor();
    for (int i = 0; i < 10; ++i) {
        TypeAddress("a" + std::to_string(i) + "@x");
        Click(At(IDC_ADD_ADDRESS));
    }
    ASSERT_EQ(10, Rows());
    TypeAddress("eleven@x");
    EXPECT_FALSE(Enabled(At(IDC_ADD_ADDRESS)));
    // Add's command, however it arrives, adds nothing.
    SendMessageA(Page().GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_ADD_ADDRESS, BN_CLICKED),
        reinterpret_cast<LPARAM>(At(IDC_ADD_ADDRESS)));
    EXPECT_EQ(10, Rows());
    // Filling with more than ten shows ten.
    Fill({"1@x", "2@x", "3@x", "4@x", "5@x", "6@x", "7@x", "8@x", "9@x", "10@x", "11@x", "12@x"});
    EXPECT_EQ(10, Rows());
    EXPECT_EQ("10@x", Row(9));
}

TEST_F(IdentificationPageTest, AnotherUsersCardOnlySendsEmail)
{
    Fill({"ann@example.org", "lee@example.org"});
    EXPECT_TRUE(AddressButtons(false, false, false));
    SelectFirstRow();
    EXPECT_TRUE(AddressButtons(true, false, false));
    SendMessageA(List(), WM_KEYDOWN, VK_F2, 0);
    EXPECT_EQ(nullptr, ListView_GetEditControl(List()));
    Click(At(IDC_EDIT_ADDRESS));
    Click(At(IDC_REMOVE_ADDRESS));
    EXPECT_EQ(2, Rows());
    EXPECT_EQ("ann@example.org", Row(0));
    EXPECT_FALSE(Page().identificationChanged);
}

TEST_F(IdentificationPageTest, SendEmailOpensAMailtoAddressOfTheSelectedRow)
{
    Fill({"ann@example.org", "lee@example.org"});
    Click(At(IDC_SEND_EMAIL));
    EXPECT_TRUE(shellCalls.empty());
    SelectFirstRow();
    SendMessageA(List(), WM_KEYDOWN, VK_DOWN, 0);
    Click(At(IDC_SEND_EMAIL));
    ASSERT_EQ(1u, shellCalls.size());
    EXPECT_EQ(nullptr, shellCalls[0].owner);
    EXPECT_EQ("open", shellCalls[0].verb);
    EXPECT_EQ("mailto:lee@example.org", shellCalls[0].file);
    EXPECT_FALSE(shellCalls[0].parameters || shellCalls[0].directory);
    EXPECT_EQ(SW_SHOWNORMAL, shellCalls[0].show);
}

TEST_F(IdentificationPageTest, TheOwnCardRemovesTheSelectedAddress)
{
    MakeEditor();
    Fill({"ann@example.org", "lee@example.org"});
    SelectFirstRow();
    EXPECT_TRUE(AddressButtons(true, true, true));
    Click(At(IDC_REMOVE_ADDRESS));
    ASSERT_EQ(1, Rows());
    EXPECT_EQ("lee@example.org", Row(0));
    EXPECT_TRUE(AddressButtons(false, false, false));
    EXPECT_TRUE(Page().identificationChanged);
    EXPECT_TRUE(Enabled(DialogItem(IDOK)));
}

TEST_F(IdentificationPageTest, RenamingInPlaceKeepsOnlyAnAddress)
{
    MakeEditor();
    Fill({"ann@example.org"});
    SelectFirstRow();
    SendMessageA(List(), WM_KEYDOWN, VK_F2, 0);
    HWND edit = ListView_GetEditControl(List());
    ASSERT_NE(nullptr, edit);
    Type(edit, "no address");
    Press(edit, VK_RETURN);
    EXPECT_EQ("ann@example.org", Row(0));
    EXPECT_FALSE(Page().identificationChanged);
    EXPECT_TRUE(IsOpen());

    Click(At(IDC_EDIT_ADDRESS));
    edit = ListView_GetEditControl(List());
    ASSERT_NE(nullptr, edit);
    Type(edit, "lee@example.org");
    Press(edit, VK_RETURN);
    EXPECT_EQ("lee@example.org", Row(0));
    EXPECT_TRUE(Page().identificationChanged);
    EXPECT_TRUE(IsOpen());
}

TEST_F(IdentificationPageTest, OkTakesTheListIntoTheHolder)
{
    MakeEditor();
    Fill({"ann@example.org"});
    TypeAddress("lee@example.org");
    Click(At(IDC_ADD_ADDRESS));
    Click(DialogItem(IDOK));
    ASSERT_TRUE(closing.destroyed);
    EXPECT_EQ((std::vector<std::string>{"ann@example.org", "lee@example.org"}), closing.identification.emails);
}

// ---- Photo

TEST_F(IdentificationPageTest, BrowseAsksForAPictureFileAndAcceptsUpTo8192Bytes)
{
    MakeEditor();
    std::string bytes = BitmapFile(40, 30, 8192);
    chosenFile = TempFile("vcard-8192.bmp", bytes);
    Click(At(IDC_BROWSE));
    ASSERT_EQ(1u, fileRequests.size());
    EXPECT_EQ(Page().GetSafeHwnd(), fileRequests[0].owner);
    EXPECT_EQ("*.jpg", fileRequests[0].initialName);
    EXPECT_FALSE(fileRequests[0].defaultExtension);
    EXPECT_EQ(static_cast<DWORD>(OFN_HIDEREADONLY | OFN_PATHMUSTEXIST), fileRequests[0].flags);
    EXPECT_EQ("Jpeg files (*.jpg; *.jpeg)|*.jpg; *.jpeg; *.jpe;|Bitmap files (*.bmp)|*.bmp|All files (*.*)|*.*||",
        fileRequests[0].filter);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Base64Encode(bytes, true), Page().pictureText);
    EXPECT_TRUE(Page().pictureChanged);
    EXPECT_FALSE(Page().pictureFlagChanged || Page().identificationChanged);
    ASSERT_NE(nullptr, Page().Photo().GetPicture());
    EXPECT_TRUE(Page().Photo().GetPicture()->HasPicture());
    EXPECT_TRUE(Enabled(DialogItem(IDOK)));
}

TEST_F(IdentificationPageTest, AFileOf8193BytesIsRefusedWithTheSizeMessage)
{
    MakeEditor();
    chosenFile = TempFile("vcard-8193.bmp", BitmapFile(40, 30, 8193));
    Click(At(IDC_BROWSE));
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("The size of selected file is more than 8Kb, please, select another one", boxes[0].text);
    EXPECT_EQ("Quillora", boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), boxes[0].type);
    EXPECT_EQ("", Page().pictureText);
    EXPECT_FALSE(Page().pictureChanged);
    EXPECT_EQ(nullptr, Page().Photo().GetPicture());
    EXPECT_FALSE(Enabled(DialogItem(IDOK)));
}

TEST_F(IdentificationPageTest, ACancelledOrVanishedChoiceChangesNothing)
{
    MakeEditor();
    Click(At(IDC_BROWSE));
    chosenFile = "C:\\no\\such\\file.jpg";
    Click(At(IDC_BROWSE));
    EXPECT_EQ(2u, fileRequests.size());
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(Page().pictureChanged);
    EXPECT_EQ(nullptr, Page().Photo().GetPicture());
}

TEST_F(IdentificationPageTest, AReceivedPhotoIsShownButNotSentBack)
{
    MakeEditor();
    Page().SetPhotoData(Base64Encode(BitmapFile(40, 30), true));
    ASSERT_NE(nullptr, Page().Photo().GetPicture());
    EXPECT_TRUE(Page().Photo().GetPicture()->HasPicture());
    EXPECT_FALSE(Page().pictureChanged);
    Type(At(IDC_FIRST), "A");
    Click(DialogItem(IDOK));
    ASSERT_TRUE(closing.destroyed);
    EXPECT_FALSE(closing.pictureChanged);
    EXPECT_EQ("", closing.pictureText);
}

TEST_F(IdentificationPageTest, RemovePublishesAnEmptyPhoto)
{
    MakeEditor();
    chosenFile = TempFile("vcard-small.bmp", BitmapFile(40, 30));
    Click(At(IDC_BROWSE));
    ASSERT_NE("", Page().pictureText);
    Click(At(IDC_REMOVE_PHOTO));
    EXPECT_EQ(nullptr, Page().Photo().GetPicture());
    Click(DialogItem(IDOK));
    ASSERT_TRUE(closing.destroyed);
    EXPECT_TRUE(closing.pictureChanged);
    EXPECT_EQ("", closing.pictureText);
}

TEST_F(IdentificationPageTest, AViewerCannotBrowseOrRemoveThePhoto)
{
    EXPECT_FALSE(Enabled(At(IDC_BROWSE)));
    EXPECT_FALSE(Enabled(At(IDC_REMOVE_PHOTO)));
}

// ---- Web page (Home and Business)

TEST_F(IdentificationPageTest, GoOpensTheWebPageWithItsPrefixOnAnyCard)
{
    struct Case {
        const char* typed;
        const char* opened;
    } cases[] = {
        {"ABC", "http://ABC"},
        {"HTTP://Example.ORG/Path", "http://example.org/path"},
        {"hTTp://x", "http://x"},
        {"", "http://"},
    };
    dialog->Business().ShowContent();
    for (const Case& c : cases) {
        dialog->Business().fields.web = c.typed;
        dialog->Business().UpdateControls();
        Click(Item(dialog->Business(), IDC_GO));
    }
    ASSERT_EQ(std::size(cases), shellCalls.size());
    for (size_t i = 0; i < shellCalls.size(); ++i) {
        EXPECT_EQ(cases[i].opened, shellCalls[i].file);
        EXPECT_EQ("open", shellCalls[i].verb);
        EXPECT_EQ(nullptr, shellCalls[i].owner);
        EXPECT_EQ(SW_SHOWNORMAL, shellCalls[i].show);
    }
    EXPECT_FALSE(dialog->Business().changed);
}

TEST_F(IdentificationPageTest, GoOpensWhatTheUserTypedOnTheHomePage)
{
    MakeEditor();
    dialog->Home().ShowContent();
    Type(Item(dialog->Home(), IDC_WEB), "Me.Example");
    Click(Item(dialog->Home(), IDC_GO));
    ASSERT_EQ(1u, shellCalls.size());
    EXPECT_EQ("http://Me.Example", shellCalls[0].file);
}

} // namespace
