#pragma once
// A search dialog of a real card service, driven as a person drives it:
// characters typed into the edits, clicks on buttons and on list rows sent
// to the controls, keys through the host's pre-translation.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "dialogs/SearchDialog.h"
#include "frame/CardService.h"
#include "platform/WinApp.h"
#include "resources/resource.h"
#include "tests/controls/TestWindows.h"
#include "tests/hosts/TestHost.h"

// Knows when the dialog has deleted itself.
class WatchedSearchDialog : public SearchDialog {
public:
    WatchedSearchDialog(CardService* cardService, bool& deletedFlag) : SearchDialog(cardService), deleted(deletedFlag) {}
    ~WatchedSearchDialog() override { deleted = true; }

private:
    bool& deleted;
};

class SearchDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CWinApp::Instance().InitInstance();
        service = static_cast<CardService*>(CreateService(&host));
        ASSERT_NE(nullptr, service);
        user.contacts.contacts = {&contact};
        service->SetUser(&user);
        dialog = Open(LangTable::English);
        ASSERT_NE(nullptr, dialog);
    }
    void TearDown() override
    {
        if (!deleted)
            dialog->DestroyWindow();
        Pump();
        service->DeletingDestructor(1);
    }

    // What the service does when the launcher asks for the search.
    WatchedSearchDialog* Open(int language)
    {
        deleted = false;
        auto* opened = new WatchedSearchDialog(service, deleted);
        if (!opened->Create()) {
            delete opened;
            return nullptr;
        }
        opened->SetLanguage(language);
        opened->SetTitleName("Quillora");
        opened->ShowWindow(SW_SHOW);
        return opened;
    }

    // The answer the service hands over: three accounts, the second a contact.
    void AnswerThree()
    {
        dialog->SearchFinished();
        dialog->AddResult("s1", "d1", "Sam One", "s1@d1.org", "Acme", "Lima", "Lima Region", "Peru");
        dialog->AddResult("c2", "d2", "Contact Two", "c2@d2.org", "Beta", "Quito", "Pichincha", "Ecuador");
        dialog->AddResult("s3", "d3", "Sue Three", "s3@d3.org", "Gamma", "Cusco", "Cusco Region", "Peru");
    }

    HWND Item(int id) const { return GetDlgItem(dialog->GetSafeHwnd(), id); }
    HWND List() const { return Item(IDC_RESULTS); }
    int Rows() const { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }
    std::string Cell(int row, int column) const
    {
        char text[256] = {};
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(List(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return text;
    }

    HWND HeaderControl() const { return reinterpret_cast<HWND>(SendMessageA(List(), LVM_GETHEADER, 0, 0)); }
    // A press and release on a column's header.
    void ClickHeader(int column)
    {
        RECT rect = {};
        SendMessageA(HeaderControl(), HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&rect));
        LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        SendMessageA(HeaderControl(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(HeaderControl(), WM_LBUTTONUP, 0, at);
    }
    // Each column's sort arrow: ^ up, v down, - none.
    std::string Arrows() const
    {
        std::string arrows;
        for (int column = 0; column < 8; ++column) {
            HDITEMA item = {};
            item.mask = HDI_FORMAT;
            SendMessageA(HeaderControl(), HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
            arrows += item.fmt & HDF_SORTUP ? '^' : item.fmt & HDF_SORTDOWN ? 'v' : '-';
        }
        return arrows;
    }
    // The middle of a row's first cell, in list coordinates.
    LPARAM RowPoint(int row) const
    {
        RECT cell = {};
        cell.left = LVIR_LABEL;
        SendMessageA(List(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
        return MAKELPARAM(cell.left + 10, (cell.top + cell.bottom) / 2);
    }
    // Below the last row.
    LPARAM EmptyPoint() const
    {
        RECT client = {};
        GetClientRect(List(), &client);
        return MAKELPARAM(20, client.bottom - 6);
    }
    // The mouse on the list: the list selects and notifies its parent itself.
    void ClickAt(LPARAM at, WPARAM keys = 0)
    {
        SendMessageA(List(), WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
        SendMessageA(List(), WM_LBUTTONUP, keys, at);
    }
    void DoubleClickAt(LPARAM at)
    {
        ClickAt(at);
        SendMessageA(List(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageA(List(), WM_LBUTTONUP, 0, at);
    }

    TestHost host;
    TestUser user;
    TestContact contact{"c2", "d2", "Contact Two"};
    CardService* service = nullptr;
    WatchedSearchDialog* dialog = nullptr;
    bool deleted = false;
};
