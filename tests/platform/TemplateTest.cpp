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

TEST_F(TemplateTest, ControlsSitWhereTheLayoutPutsThem)
{
    Check(IDD_LAUNCHER, {
        {IDC_OWN_CARD_ENTRY, "Static", {8, 14, 102, 26}, WS_VISIBLE, 0},
        {IDC_SEARCH_ENTRY, "Static", {8, 66, 102, 26}, WS_VISIBLE, 0},
    });
    Check(IDD_CARD, {
        {IDC_TABS, "SysTabControl32", {7, 7, 323, 209}, WS_VISIBLE, 0},
        {IDOK, "Button", {224, 220, 50, 14}, WS_DISABLED | BS_DEFPUSHBUTTON, 0},
        {IDC_PRODUCT_LABEL, "Static", {7, 219, 53, 15}, WS_VISIBLE, 0},
    });
    Check(IDD_IDENTIFICATION, {
        {IDC_TITLE, "Edit", {60, 34, 66, 13}, ReadOnlyEdit, Hidden | ES_MULTILINE},
        {IDC_ADDRESSES, "SysListView32", {11, 116, 156, 68},
            LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS, Hidden},
        {IDC_SEND_EMAIL, "Button", {171, 122, 37, 24}, WS_DISABLED | BS_MULTILINE, Hidden},
        {IDC_PHOTO, "Static", {224, 96, 82, 71}, 0, Hidden},
        {IDC_WAITING, "Static", {77, 81, 163, 13}, WS_VISIBLE | SS_CENTER, 0},
    });
    Check(IDD_HOME, {
        {IDC_STREET, "Edit", {67, 39, 94, 46}, ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL, Hidden},
        {IDC_GO, "Button", {296, 124, 18, 14}, 0, Hidden | WS_DISABLED},
    });
    Check(IDD_BUSINESS, {
        {IDC_COMPANY, "Edit", {67, 37, 247, 14}, ReadOnlyEdit, Hidden},
        {IDC_GO, "Button", {296, 157, 18, 14}, 0, Hidden | WS_DISABLED},
    });
    Check(IDD_DIRECTORY, {
        {IDC_PUBLISH_PHOTO, "Button", {36, 109, 236, 12}, BS_AUTOCHECKBOX, Hidden},
        {IDC_NOTE_ICON, "Static", {20, 143, 20, 20}, SS_ICON, Hidden},
        {IDC_DIRECTORY_WAITING, "Static", {77, 81, 163, 13}, WS_VISIBLE | SS_CENTER, 0},
    });
    Check(IDD_SEARCH, {
        {IDC_NAME, "Edit", {83, 15, 222, 13}, WS_VISIBLE, ES_READONLY},
        {IDC_RESULTS, "SysListView32", {7, 121, 240, 139}, LVS_REPORT, LVS_SINGLESEL},
        {IDC_ADD, "Button", {256, 151, 50, 14}, WS_DISABLED, 0},
        {IDC_SEARCH_WAITING, "Static", {250, 180, 60, 42}, SS_CENTER, Hidden},
    });
}

TEST_F(TemplateTest, DialogsHaveTheirKindAndFont)
{
    struct Case {
        UINT id;
        DWORD style;
        const char* face;
    } cases[] = {
        {IDD_LAUNCHER, WS_CHILD | WS_CLIPSIBLINGS | DS_CONTROL, "MS Sans Serif"},
        {IDD_CARD, WS_POPUP | WS_CAPTION | WS_SYSMENU, "MS Sans Serif"},
        {IDD_SEARCH, WS_POPUP | WS_CAPTION | WS_SYSMENU, "MS Sans Serif"},
        {IDD_IDENTIFICATION, WS_CHILD, "MS Shell Dlg"},
        {IDD_DIRECTORY, WS_CHILD, "MS Shell Dlg"},
    };
    for (const Case& c : cases) {
        CDialog dialog(c.id);
        ASSERT_TRUE(dialog.Create(host.GetSafeHwnd())) << c.id;
        EXPECT_EQ(c.style, dialog.GetStyle() & c.style) << c.id;
        EXPECT_EQ(c.face, Face(dialog.GetSafeHwnd())) << c.id;
        dialog.DestroyWindow();
    }
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
