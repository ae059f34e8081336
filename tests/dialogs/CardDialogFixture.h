#pragma once
// A card dialog, driven as a person drives it:
// characters typed into edits, clicks on buttons, keys through the host's
// pre-translation, keys on the address list. The dialog stays hidden:
// without a window manager Wine waits a second for each window it hides.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "dialogs/AnswerTimeLimit.h"
#include "dialogs/CardDialog.h"
#include "platform/WinApp.h"
#include "resources/resource.h"
#include "tests/controls/TestWindows.h"
#include "tests/hosts/ImportPatch.h"
#include "tests/picture/TestPictures.h"

// What the dialog asked of the shell, the system dialogs and menus, and what
// they answer: an empty chosen file is a cancelled chooser.
namespace fakes {
inline std::vector<std::string> opened, boxes;
inline std::string chosenFile, proposedName, menuItems;
inline UINT menuChoice = 0;
// The service's windows noted while a system dialog is up: e enabled, - not.
inline std::vector<HWND> watched;
inline std::vector<std::string> whileModal;

inline std::string WatchedStates()
{
    std::string states;
    for (HWND window : watched)
        states += IsWindowEnabled(window) ? 'e' : '-';
    return states;
}

inline HINSTANCE WINAPI ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder, INT show)
{
    bool plain = !owner && !parameters && !folder && show == SW_SHOWNORMAL;
    opened.push_back(std::string(verb) + " " + file + (plain ? "" : " (with more)"));
    return reinterpret_cast<HINSTANCE>(33);
}

inline BOOL WINAPI GetOpenFileNameA(OPENFILENAMEA* request)
{
    whileModal.push_back(WatchedStates());
    lstrcpynA(request->lpstrFile, chosenFile.c_str(), static_cast<int>(request->nMaxFile));
    // As the system's chooser does, whatever the flags say.
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    SetCurrentDirectoryA(folder);
    return !chosenFile.empty();
}

inline BOOL WINAPI GetSaveFileNameA(OPENFILENAMEA* request)
{
    proposedName = std::string(request->lpstrFile) + " " + (request->lpstrDefExt ? request->lpstrDefExt : "");
    lstrcpynA(request->lpstrFile, chosenFile.c_str(), static_cast<int>(request->nMaxFile));
    return !chosenFile.empty();
}

inline BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int, int, int, HWND, const RECT*)
{
    menuItems.clear();
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        menuItems += std::string(i ? "|" : "") + text;
    }
    return (flags & TPM_RETURNCMD) ? static_cast<BOOL>(menuChoice) : FALSE;
}

inline int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    whileModal.push_back(WatchedStates());
    boxes.push_back(std::string(caption) + ": " + text + (type == MB_ICONINFORMATION ? "" : " (other type)"));
    return IDOK;
}
} // namespace fakes

inline std::string TempPath(const std::string& name)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    return folder + name;
}

inline std::string TempFile(const std::string& name, const std::string& bytes)
{
    std::ofstream(TempPath(name), std::ios::binary) << bytes;
    return TempPath(name);
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// The test pictures' 40 x 30 bitmap file, padded with zeros to padTo bytes.
inline std::string BitmapFile(size_t padTo = 0)
{
    std::vector<unsigned char> bytes = ResourceBytes(PhotoBmp);
    bytes.resize(std::max(bytes.size(), padTo));
    return {bytes.begin(), bytes.end()};
}

// The card's owner, as the dialog sees it: what it was asked.
struct RecordingOwner : DialogOwner {
    std::vector<CardChanges> published;
    int closed = 0, productLabels = 0, timedOut = 0, retried = 0;

    void OpenOwnCard() override {}
    void OpenSearch() override {}
    void ProductLabel() override { ++productLabels; }
    void Publish(const CardDialog&, const CardChanges& changes) override { published.push_back(changes); }
    void CardClosed(const CardDialog&) override { ++closed; }
    void CardTimedOut(CardDialog&) override { ++timedOut; }
    void RetryCard(const CardDialog&) override { ++retried; }
    void Search(const SearchFields&) override {}
    void ViewSearchResult(const std::string&, const std::string&) override {}
    void AddSearchResult(const std::string&, const std::string&) override {}
    void SearchClosed(const SearchDialog&) override {}
    bool IsContact(const std::string&, const std::string&) override { return false; }
};

inline IdentificationFields Named(const char* first)
{
    IdentificationFields fields;
    fields.first = first;
    return fields;
}

inline AddressFields OfCompany(const char* company)
{
    AddressFields fields;
    fields.company = company;
    return fields;
}

// The sections that changes holds: i identification, h home, b business,
// p photo, f the photo's flag alone.
inline std::string Sections(const CardChanges& changes)
{
    return std::string(changes.identification ? "i" : "") + (changes.home ? "h" : "") + (changes.business ? "b" : "")
        + (changes.photo ? "p" : "") + (changes.photoFlag ? "f" : "");
}

class CardDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        using namespace fakes;
        opened = boxes = whileModal = {};
        chosenFile = proposedName = menuItems = "";
        menuChoice = 0;
        watched.clear();
        for (const ImportPatch& patch : patches)
            ASSERT_TRUE(patch.Installed());
        CWinApp::Instance().InitInstance();
        dialog = new CardDialog(&owner);
        ASSERT_TRUE(dialog->Create());
        dialog->SetTitleName("Quillora");
        dialog->SetIdentity("c1", "d1", "Contact One");
    }
    void TearDown() override
    {
        if (!owner.closed)
            dialog->DestroyWindow();
        for (HWND card : otherCards)
            DestroyWindow(card);
        AnswerTimeLimit = 15000;
        CoUninitialize();
    }
    // Another card window of the module, closed with the test.
    HWND AnotherCard()
    {
        auto* card = new CardDialog(&owner);
        card->Create();
        otherCards.push_back(card->GetSafeHwnd());
        return otherCards.back();
    }
    // The own card, as the answer's sections leave it, with these flags.
    void MakeEditor(std::array<int, 4> hidden = {})
    {
        dialog->ShowSection(IdentificationFields{}, hidden[0]);
        dialog->ShowSection(HomeSection, AddressFields{}, hidden[1]);
        dialog->ShowSection(BusinessSection, AddressFields{}, hidden[2]);
        dialog->ShowSection(PhotoFields{}, hidden[3]);
        dialog->EnableEditing(1);
    }
    std::array<CardPage*, 3> Pages() { return {&dialog->Identification(), &dialog->Home(), &dialog->Business()}; }
    // What OK would hand over now.
    std::string Changed() { return Sections(dialog->TakeChanges()); }

    static HWND Item(CWnd& page, int id) { return GetDlgItem(page.GetSafeHwnd(), id); }
    HWND DialogItem(int id) const { return GetDlgItem(dialog->GetSafeHwnd(), id); }

    RecordingOwner owner;
    CardDialog* dialog = nullptr;
    std::vector<HWND> otherCards;
    ImportPatch patches[5] = {{"shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(&fakes::ShellExecuteA)},
        {"comdlg32.dll", "GetOpenFileNameA", reinterpret_cast<void*>(&fakes::GetOpenFileNameA)},
        {"comdlg32.dll", "GetSaveFileNameA", reinterpret_cast<void*>(&fakes::GetSaveFileNameA)},
        {"user32.dll", "TrackPopupMenu", reinterpret_cast<void*>(&fakes::TrackPopupMenu)},
        {"user32.dll", "MessageBoxA", reinterpret_cast<void*>(&fakes::MessageBoxA)}};
};
