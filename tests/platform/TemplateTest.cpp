#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "platform/Dialog.h"
#include "platform/ModuleContext.h"
#include "resources/resource.h"

namespace {

// A control as the template should create it: position and size in dialog
// units, window class, and the styles that must be set and clear.
struct Control {
    int id;
    const char* className;
    RECT units;  // left, top, width, height
    DWORD set;
    DWORD clear;
};

class TemplateTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Create(nullptr)); }
    void TearDown() override { host.DestroyWindow(); }

    void Check(UINT templateId, std::initializer_list<Control> controls)
    {
        CDialog dialog(templateId);
        ASSERT_TRUE(dialog.Create(host.GetSafeHwnd())) << templateId;
        for (const Control& c : controls) {
            HWND item = dialog.GetDlgItem(c.id);
            ASSERT_NE(nullptr, item) << templateId << " " << c.id;
            char name[64] = {};
            GetClassNameA(item, name, sizeof name);
            EXPECT_STRCASEEQ(c.className, name) << c.id;
            // The dialog manager maps the position and the size each on its own.
            RECT expected = c.units;
            MapDialogRect(dialog.GetSafeHwnd(), &expected);
            expected.right += expected.left;
            expected.bottom += expected.top;
            RECT actual = {};
            GetWindowRect(item, &actual);
            MapWindowPoints(nullptr, dialog.GetSafeHwnd(), reinterpret_cast<POINT*>(&actual), 2);
            DWORD style = static_cast<DWORD>(GetWindowLongA(item, GWL_STYLE));
            // An icon static takes the size of its icon.
            if ((style & SS_TYPEMASK) == SS_ICON && !strcmp(name, "Static")) {
                expected.right = actual.right;
                expected.bottom = actual.bottom;
            }
            EXPECT_TRUE(EqualRect(&expected, &actual)) << templateId << " " << c.id << ": " << expected.left << "," << expected.top << "," << expected.right << "," << expected.bottom << " vs " << actual.left << "," << actual.top << "," << actual.right << "," << actual.bottom;
            EXPECT_EQ(c.set, style & c.set) << templateId << " " << c.id << std::hex << " " << style;
            EXPECT_EQ(0u, style & c.clear) << templateId << " " << c.id << std::hex << " " << style;
        }
        dialog.DestroyWindow();
    }
    static std::string Face(HWND window)
    {
        LOGFONTA font = {};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
        return font.lfFaceName;
    }

    CDialog host{IDD_SEARCH};
};

constexpr DWORD Hidden = WS_VISIBLE;
constexpr DWORD ReadOnlyEdit = ES_READONLY | ES_AUTOHSCROLL;

TEST_F(TemplateTest, LauncherPanel)
{
    Check(IDD_LAUNCHER, {
        {IDC_OWN_CARD_ENTRY, "Static", {8, 14, 102, 26}, WS_VISIBLE, 0},
        {IDC_SEARCH_ENTRY, "Static", {8, 66, 102, 26}, WS_VISIBLE, 0},
    });
    CDialog panel(IDD_LAUNCHER);
    ASSERT_TRUE(panel.Create(host.GetSafeHwnd()));
    DWORD style = panel.GetStyle();
    EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_CLIPSIBLINGS | DS_CONTROL), style & (WS_CHILD | WS_CLIPSIBLINGS | DS_CONTROL));
    RECT size = {0, 0, 116, 106};
    MapDialogRect(panel.GetSafeHwnd(), &size);
    RECT client = panel.GetClientRect();
    EXPECT_TRUE(EqualRect(&size, &client));
    EXPECT_EQ("MS Sans Serif", Face(panel.GetSafeHwnd()));
    EXPECT_EQ("", panel.GetWindowText());
    panel.DestroyWindow();
}

TEST_F(TemplateTest, CardDialog)
{
    Check(IDD_CARD, {
        {IDC_TABS, "SysTabControl32", {7, 7, 323, 209}, WS_VISIBLE, 0},
        {IDOK, "Button", {224, 220, 50, 14}, WS_DISABLED | BS_DEFPUSHBUTTON, 0},
        {IDCANCEL, "Button", {280, 220, 50, 14}, WS_VISIBLE, WS_DISABLED},
        {IDC_PRODUCT_LABEL, "Static", {7, 219, 53, 15}, WS_VISIBLE, 0},
    });
    CDialog card(IDD_CARD);
    ASSERT_TRUE(card.Create(nullptr));
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU), card.GetStyle() & (WS_POPUP | WS_CAPTION | WS_SYSMENU));
    char text[32] = {};
    GetDlgItemTextA(card.GetSafeHwnd(), IDC_PRODUCT_LABEL, text, sizeof text);
    EXPECT_STREQ("Quillora", text);
    card.DestroyWindow();
}

TEST_F(TemplateTest, IdentificationPage)
{
    Check(IDD_IDENTIFICATION, {
        {IDC_HEADING, "Static", {46, 9, 261, 8}, WS_VISIBLE, 0},
        {IDC_TITLE_LABEL, "Static", {5, 36, 50, 8}, 0, Hidden},
        {IDC_TITLE, "Edit", {60, 34, 66, 13}, ReadOnlyEdit, Hidden | ES_MULTILINE},
        {IDC_FIRST, "Edit", {60, 51, 102, 13}, ReadOnlyEdit, Hidden},
        {IDC_LAST, "Edit", {60, 68, 102, 13}, ReadOnlyEdit, Hidden},
        {IDC_NICKNAME, "Edit", {219, 34, 94, 13}, ReadOnlyEdit, Hidden},
        {IDC_MIDDLE, "Edit", {219, 51, 94, 13}, ReadOnlyEdit, Hidden},
        {IDC_FRIENDLY, "Edit", {219, 68, 94, 13}, ReadOnlyEdit, Hidden},
        {IDC_FRIENDLY_LABEL, "Static", {166, 70, 50, 8}, 0, Hidden},
        {IDC_EMAIL_GROUP, "Button", {5, 85, 209, 104}, BS_GROUPBOX, Hidden},
        {IDC_NEW_ADDRESS, "Edit", {11, 99, 156, 13}, ReadOnlyEdit, Hidden},
        {IDC_ADD_ADDRESS, "Button", {171, 99, 37, 12}, WS_DISABLED, Hidden},
        {IDC_ADDRESSES, "SysListView32", {11, 116, 156, 68},
            LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS, Hidden},
        {IDC_SEND_EMAIL, "Button", {171, 124, 37, 18}, WS_DISABLED | BS_MULTILINE, Hidden},
        {IDC_EDIT_ADDRESS, "Button", {171, 155, 37, 12}, WS_DISABLED, Hidden},
        {IDC_REMOVE_ADDRESS, "Button", {171, 170, 37, 12}, WS_DISABLED, Hidden},
        {IDC_PHOTO_GROUP, "Button", {218, 85, 95, 104}, BS_GROUPBOX, Hidden},
        {IDC_PHOTO, "Static", {224, 96, 82, 71}, 0, Hidden},
        {IDC_REMOVE_PHOTO, "Button", {224, 170, 37, 12}, WS_DISABLED, Hidden},
        {IDC_BROWSE, "Button", {269, 170, 37, 12}, WS_DISABLED, Hidden},
        {IDC_WAITING, "Static", {77, 81, 163, 13}, WS_VISIBLE | SS_CENTER, 0},
    });
}

TEST_F(TemplateTest, HomeAndBusinessPages)
{
    DWORD street = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | ES_READONLY;
    Check(IDD_HOME, {
        {IDC_STREET_LABEL, "Static", {5, 42, 59, 31}, 0, Hidden},
        {IDC_STREET, "Edit", {67, 39, 94, 46}, street, Hidden},
        {IDC_PHONE, "Edit", {230, 38, 84, 14}, ReadOnlyEdit, Hidden},
        {IDC_ZIP_LABEL, "Static", {167, 92, 59, 8}, 0, Hidden},
        {IDC_COUNTRY, "Edit", {230, 106, 84, 14}, ReadOnlyEdit, Hidden},
        {IDC_WEB, "Edit", {67, 124, 222, 14}, ReadOnlyEdit, Hidden},
        {IDC_GO, "Button", {296, 124, 18, 14}, 0, Hidden | WS_DISABLED},
        {IDC_WAITING, "Static", {77, 81, 163, 13}, WS_VISIBLE | SS_CENTER, 0},
    });
    Check(IDD_BUSINESS, {
        {IDC_COMPANY, "Edit", {67, 37, 247, 14}, ReadOnlyEdit, Hidden},
        {IDC_JOB, "Edit", {67, 54, 94, 14}, ReadOnlyEdit, Hidden},
        {IDC_DEPARTMENT_LABEL, "Static", {167, 57, 59, 8}, 0, Hidden},
        {IDC_DEPARTMENT, "Edit", {230, 54, 84, 14}, ReadOnlyEdit, Hidden},
        {IDC_STREET, "Edit", {67, 72, 94, 46}, street, Hidden},
        {IDC_MOBILE, "Edit", {230, 105, 84, 14}, ReadOnlyEdit, Hidden},
        {IDC_STATE, "Edit", {67, 139, 94, 14}, ReadOnlyEdit, Hidden},
        {IDC_WEB_LABEL, "Static", {5, 160, 59, 8}, 0, Hidden},
        {IDC_GO, "Button", {296, 157, 18, 14}, 0, Hidden | WS_DISABLED},
        {IDC_HEADING, "Static", {46, 9, 261, 8}, WS_VISIBLE, 0},
    });
}

TEST_F(TemplateTest, DirectoryPage)
{
    Check(IDD_DIRECTORY, {
        {IDC_PUBLISH_GROUP, "Button", {13, 46, 290, 82}, BS_GROUPBOX, Hidden},
        {IDC_PUBLISH_IDENTIFICATION, "Button", {36, 61, 236, 12}, BS_AUTOCHECKBOX, Hidden},
        {IDC_PUBLISH_HOME, "Button", {36, 77, 236, 12}, BS_AUTOCHECKBOX, Hidden},
        {IDC_PUBLISH_BUSINESS, "Button", {36, 93, 236, 12}, BS_AUTOCHECKBOX, Hidden},
        {IDC_PUBLISH_PHOTO, "Button", {36, 109, 236, 12}, BS_AUTOCHECKBOX, Hidden},
        {IDC_NOTE_ICON, "Static", {20, 143, 20, 20}, SS_ICON, Hidden},
        {IDC_NOTE, "Static", {55, 142, 231, 37}, 0, Hidden},
        {IDC_DIRECTORY_WAITING, "Static", {77, 81, 163, 13}, WS_VISIBLE | SS_CENTER, 0},
    });
}

TEST_F(TemplateTest, SearchDialog)
{
    Check(IDD_SEARCH, {
        {IDC_SEARCH_GROUP, "Button", {7, 2, 308, 112}, BS_GROUPBOX | WS_VISIBLE, 0},
        {IDC_NAME, "Edit", {83, 15, 222, 13}, WS_VISIBLE, ES_READONLY},
        {IDC_EMAIL, "Edit", {83, 30, 137, 14}, WS_VISIBLE, ES_READONLY},
        {IDC_SEARCH_CITY_LABEL, "Static", {16, 97, 59, 8}, WS_VISIBLE, 0},
        {IDC_CITY, "Edit", {83, 94, 94, 14}, WS_VISIBLE, ES_READONLY},
        {IDOK, "Button", {245, 65, 50, 14}, BS_DEFPUSHBUTTON, WS_DISABLED},
        {IDCANCEL, "Button", {245, 85, 50, 14}, WS_VISIBLE, WS_DISABLED},
        {IDC_RESULTS, "SysListView32", {7, 121, 240, 139}, LVS_REPORT, LVS_SINGLESEL},
        {IDC_VIEW, "Button", {256, 133, 50, 14}, WS_DISABLED, 0},
        {IDC_ADD, "Button", {256, 151, 50, 14}, WS_DISABLED, 0},
        {IDC_SEARCH_WAITING, "Static", {250, 180, 60, 42}, SS_CENTER, Hidden},
        {IDC_PRODUCT_LABEL, "Static", {262, 245, 53, 15}, WS_VISIBLE, 0},
    });
    EXPECT_EQ("MS Sans Serif", Face(host.GetSafeHwnd()));
}

TEST_F(TemplateTest, PagesUseTheShellDialogFont)
{
    CDialog page(IDD_HOME);
    ASSERT_TRUE(page.Create(host.GetSafeHwnd()));
    EXPECT_EQ("MS Shell Dlg", Face(page.GetSafeHwnd()));
    EXPECT_TRUE(page.GetStyle() & WS_CHILD);
    page.DestroyWindow();
}

TEST_F(TemplateTest, BitmapsIconsAndCursorHaveTheirSizes)
{
    struct Image {
        int id;
        int width, height;
    } bitmaps[] = {{IDB_PRODUCT_LOGO, 74, 16}, {IDB_BUTTON_STRIP, 130, 19}, {IDB_ITEM, 16, 16},
        {IDB_OWN_CARD, 32, 32}, {IDB_SEARCH, 32, 32}};
    for (const Image& b : bitmaps) {
        HBITMAP bitmap = LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(b.id));
        ASSERT_NE(nullptr, bitmap) << b.id;
        BITMAP info = {};
        GetObjectA(bitmap, sizeof info, &info);
        EXPECT_EQ(b.width, info.bmWidth) << b.id;
        EXPECT_EQ(b.height, info.bmHeight) << b.id;
        DeleteObject(bitmap);
    }
    for (int id : {IDI_SEARCH, IDI_IDENTIFICATION, IDI_HOME, IDI_BUSINESS, IDI_DIRECTORY, IDI_NOTE, IDI_CARD,
             IDI_CARD_SMALL, IDI_SEARCH_SMALL}) {
        for (int size : {16, 32}) {
            HICON icon = static_cast<HICON>(LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
            ASSERT_NE(nullptr, icon) << id;
            ICONINFO info = {};
            GetIconInfo(icon, &info);
            BITMAP colour = {};
            GetObjectA(info.hbmColor, sizeof colour, &colour);
            EXPECT_EQ(size, colour.bmWidth) << id;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
    EXPECT_NE(nullptr, LoadCursorA(ModuleInstance(), MAKEINTRESOURCEA(IDR_HAND_CURSOR)));
}

} // namespace
