#pragma once
// A card dialog of a real card service, driven as a person drives it:
// characters typed into edits, clicks on buttons, keys through the host's
// pre-translation, keys on the address list. The dialog stays hidden:
// without a window manager Wine waits a second for each window it hides.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <array>
#include <string>

#include "dialogs/CardDialog.h"
#include "frame/CardService.h"
#include "platform/WinApp.h"
#include "resources/resource.h"
#include "tests/controls/TestWindows.h"
#include "tests/hosts/TestHost.h"

// A 24-bit bitmap file, left half red, right half blue, padded with zeros.
inline std::string BitmapFile(int width, int height, size_t padTo = 0)
{
    int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    BITMAPINFOHEADER info = {sizeof info, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < stride; ++x)
            bytes += x < width * 3 && x % 3 == (x < width * 3 / 2 ? 2 : 0) ? '\xDC' : '\0';
    bytes.resize(std::max(bytes.size(), padTo), '\0');
    reinterpret_cast<BITMAPFILEHEADER*>(bytes.data())->bfSize = static_cast<DWORD>(bytes.size());
    return bytes;
}

// What the pages held when the window went away: OK takes the controls
// into the holders and asks for the publish before it destroys the window.
struct Closing {
    bool deleted = false;
    IdentificationFields identification;
    AddressFields home, business;
    std::string photoData;
    bool photoChanged = false, homeChanged = false, businessChanged = false, hadDirectory = false;
    bool published[4] = {};
};

class RecordingCardDialog : public CardDialog {
public:
    RecordingCardDialog(CardService* cardService, Closing& seen) : CardDialog(cardService), closing(seen) {}
    ~RecordingCardDialog() override { closing.deleted = true; }

protected:
    LRESULT OnDestroy() override
    {
        closing = {false, Identification().fields, Home().fields, Business().fields, Identification().GetPhotoData(),
            Identification().photoChanged, Home().changed, Business().changed, Directory() != nullptr, {}};
        for (int section = 1; Directory() && section <= 4; ++section)
            closing.published[section - 1] = Directory()->IsPublished(section);
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
        dialog = new RecordingCardDialog(service, closing);
        ASSERT_TRUE(dialog->Create());
        dialog->SetTitleName("Quillora");
        dialog->SetIdentity("c1", "d1", "Contact One");
    }
    void TearDown() override
    {
        if (!closing.deleted)
            dialog->DestroyWindow();
        service->DeletingDestructor(1);
        CoUninitialize();
    }
    // The own card, as the answer's photo section leaves it, with content.
    void MakeEditor()
    {
        dialog->EnableEditing(1);
        dialog->Directory()->ShowContent();
        for (CardPage* page : Pages())
            page->ShowContent();
    }
    std::array<CardPage*, 3> Pages() { return {&dialog->Identification(), &dialog->Home(), &dialog->Business()}; }
    bool AnyMark()
    {
        auto& id = dialog->Identification();
        return id.identificationChanged || id.photoChanged || id.photoFlagChanged || dialog->Home().changed
            || dialog->Business().changed;
    }

    static HWND Item(CWnd& page, int id) { return GetDlgItem(page.GetSafeHwnd(), id); }
    HWND DialogItem(int id) const { return GetDlgItem(dialog->GetSafeHwnd(), id); }

    TestHost host;
    CardService* service = nullptr;
    RecordingCardDialog* dialog = nullptr;
    Closing closing;
};
