#pragma once
// A search dialog of a real card service, driven as a person drives it:
// characters typed into the edits, clicks on buttons and on list rows sent
// to the controls, keys through the host's pre-translation.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "dialogs/AnswerTimeLimit.h"
#include "dialogs/SearchDialog.h"
#include "frame/CardService.h"
#include "platform/WinApp.h"
#include "resources/resource.h"
#include "tests/controls/TestWindows.h"
#include "tests/hosts/TestHost.h"

// The search dialog as the service opens it for the launcher.
class SearchDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CWinApp::Instance().InitInstance();
        service = static_cast<CardService*>(CreateService(&host));
        user.contacts.contacts = {&contact};
        service->SetUser(&user);
        service->OpenSearch();
        dialog = service->GetSearchDialog();
        ASSERT_NE(nullptr, dialog);
    }
    void TearDown() override
    {
        AnswerTimeLimit = 15000;
        service->Logout();
        Pump();
        service->DeletingDestructor(1);
    }

    bool Closed() const { return service->GetSearchDialog() == nullptr; }

    // The server's answer: three accounts, the second a contact.
    void AnswerThree()
    {
        service->DeliverMessage(0, "VCARD-PC", "<msg>3"
            "<ps>1<usr>s1</usr><dom>d1</dom><n>Sam One</n><em>s1@d1.org</em><cp>Acme</cp><ci>Lima</ci><s>LR</s>"
            "<t>Peru</t></ps><ps>1<usr>c2</usr><dom>d2</dom><n>Contact Two</n></ps>"
            "<ps>1<usr>s3</usr><dom>d3</dom><n>Sue Three</n></ps></msg>");
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

    // The selected rows' places, as "0 2".
    std::string Selection() const
    {
        std::string places;
        int row = -1;
        while ((row = static_cast<int>(SendMessageA(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0)
            places += (places.empty() ? "" : " ") + std::to_string(row);
        return places;
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
    SearchDialog* dialog = nullptr;
};
