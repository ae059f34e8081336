#pragma once
// A card dialog of a real card service, driven as a person drives it:
// characters typed into edits, clicks on buttons, keys through the host's
// pre-translation, list-view notifications.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "dialogs/CardDialog.h"
#include "frame/CardService.h"
#include "platform/WinApp.h"
#include "resources/resource.h"
#include "tests/dialogs/ImportPatch.h"
#include "tests/hosts/TestHost.h"

// A 24-bit bitmap file, left half red, right half blue, padded with zeros
// to padTo bytes.
inline std::string BitmapFile(int width, int height, size_t padTo = 0)
{
    int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string pixels(static_cast<size_t>(stride * height), '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            char* pixel = &pixels[static_cast<size_t>(y * stride + x * 3)];
            pixel[x < width / 2 ? 2 : 0] = static_cast<char>(220);
        }
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes += pixels;
    if (bytes.size() < padTo)
        bytes.resize(padTo, '\0');
    reinterpret_cast<BITMAPFILEHEADER*>(bytes.data())->bfSize = static_cast<DWORD>(bytes.size());
    return bytes;
}

// Runs this thread's queue until it is empty.
inline void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// What a dialog held when its window went away: OK takes the controls into
// the holders and asks for the publish before it destroys the window.
struct Closing {
    bool destroyed = false;
    bool deleted = false;
    IdentificationFields identification;
    AddressFields home, business;
    std::string pictureText;
    bool identificationChanged = false, pictureChanged = false, pictureFlagChanged = false;
    bool homeChanged = false, businessChanged = false;
    bool hadDirectory = false;
    bool published[4] = {};
};

class RecordingCardDialog : public CardDialog {
public:
    RecordingCardDialog(CardService* owner, Closing& seen) : CardDialog(owner), closing(seen) {}
    ~RecordingCardDialog() override { closing.deleted = true; }

protected:
    LRESULT OnDestroy() override
    {
        closing.destroyed = true;
        closing.identification = Identification().fields;
        closing.home = Home().fields;
        closing.business = Business().fields;
        closing.pictureText = Identification().pictureText;
        closing.identificationChanged = Identification().identificationChanged;
        closing.pictureChanged = Identification().pictureChanged;
        closing.pictureFlagChanged = Identification().pictureFlagChanged;
        closing.homeChanged = Home().changed;
        closing.businessChanged = Business().changed;
        closing.hadDirectory = Directory() != nullptr;
        for (int section = 1; section <= 4; ++section)
            closing.published[section - 1] = closing.hadDirectory && Directory()->IsPublished(section);
        return CardDialog::OnDestroy();
    }

private:
    Closing& closing;
};

class CardDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        CWinApp::Instance().InitInstance();
        service = static_cast<CardService*>(CreateService(&host));
        ASSERT_NE(nullptr, service);
        dialog = new RecordingCardDialog(service, closing);
        ASSERT_TRUE(dialog->Create());
        dialog->SetTitle("Quillora");
        dialog->SetIdentity("c1", "d1", "Contact One");
    }
    void TearDown() override
    {
        if (!closing.deleted)
            dialog->DestroyWindow();
        service->DeletingDestructor(1);
        CoUninitialize();
    }

    // The own card as the answer's photo section leaves it.
    void MakeEditor()
    {
        dialog->EnableEditing(1);
        dialog->Directory()->ShowContent();
    }
    void ShowAllContent()
    {
        dialog->Identification().ShowContent();
        dialog->Home().ShowContent();
        dialog->Business().ShowContent();
    }

    HWND Item(CWnd& page, int id) const { return GetDlgItem(page.GetSafeHwnd(), id); }
    HWND DialogItem(int id) const { return GetDlgItem(dialog->GetSafeHwnd(), id); }
    static std::string Text(HWND window)
    {
        char text[512] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }
    // Shown by its own style: the dialog stays hidden, since Wine without a
    // window manager waits a second for every top-level window it hides.
    static bool Visible(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }
    static bool Enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }
    static bool ReadOnly(HWND edit) { return (GetWindowLongA(edit, GWL_STYLE) & ES_READONLY) != 0; }

    // Characters as the keyboard delivers them to the edit.
    static void Type(HWND edit, const std::string& text)
    {
        for (char c : text)
            SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    static void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }
    // A key pressed on a control, through the host's loop.
    static void Press(HWND target, WPARAM key)
    {
        SetFocus(target);
        MSG msg = {target, WM_KEYDOWN, key, 1, GetTickCount(), {}};
        if (!CWinApp::Instance().PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Pump();
    }
    // A click on the tab, as the mouse makes it.
    void SelectTab(int index)
    {
        HWND tabs = DialogItem(IDC_TABS);
        RECT item = {};
        SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(tabs, WM_LBUTTONUP, 0, at);
    }
    bool IsOpen() const { return !closing.deleted; }

    TestHost host;
    CardService* service = nullptr;
    RecordingCardDialog* dialog = nullptr;
    Closing closing;
};
