// Leaks and screenshots of the search dialog.
#include "tests/dialogs/SearchDialogFixture.h"
#include "tests/hosts/GdiCounter.h"
#include "tests/hosts/Screens.h"

namespace {

class SearchWindows : public SearchDialogTest {
protected:
    // A search as a person makes it, answered with the three accounts, a
    // row chosen, the window painted, then Close.
    void Cycle(int round)
    {
        deleted = false;
        auto* cycled = new WatchedSearchDialog(service, deleted);
        ASSERT_TRUE(cycled->Create());
        dialog = cycled;
        dialog->SetLanguage(round % 2);
        dialog->SetTitleName("Quillora");
        Type(Item(IDC_CITY), "Lima");
        Click(Item(IDOK));
        AnswerThree();
        ClickAt(RowPoint(round % 3));
        dialog->ShowWindow(SW_SHOW);
        Pump();
        RedrawWindow(dialog->GetSafeHwnd(), nullptr, nullptr,
            RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Click(Item(IDCANCEL));
        Pump();
        ASSERT_TRUE(deleted);
    }
};

TEST_F(SearchWindows, FiftySearchesOpenedAndClosedLeaveNoGdiOrUserObjectBehind)
{
    dialog->DestroyWindow();
    GdiCounter& counter = GdiCounter::Install();
    ASSERT_GT(counter.PatchedEntries(), 0);
    auto [before, after] = counter.LiveAround(50, [&](int round) { Cycle(round); });
    EXPECT_EQ(before, after);
}

// ---- Screenshots in build/windows/screens

TEST_F(SearchWindows, ScreenshotsInEnglishAndSpanishWithResults)
{
    for (int language : {LangTable::English, LangTable::Spanish}) {
        dialog->SetLanguage(language);
        HWND window = dialog->GetSafeHwnd();
        SetWindowPos(window, HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE);
        SetForegroundWindow(window);
        Type(Item(IDC_COUNTRY), "Peru");
        Click(Item(IDOK));
        AnswerThree();
        dialog->AddResult("ana.lopez", "mail.example.pe", "Ana L\xF3pez", "ana@example.pe", "Andes Tours", "Arequipa",
            "Arequipa", "Peru");
        ClickAt(RowPoint(2));
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
        // The client area: without a window manager the screen shows no frame.
        RECT client = {};
        GetClientRect(window, &client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        Screenshot shot = CaptureScreen(client);
        // The rows added in one go are drawn once the loop has run: the
        // chosen one in the highlight colour.
        RECT row = {};
        row.left = LVIR_BOUNDS;
        SendMessageA(List(), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
        MapWindowPoints(List(), window, reinterpret_cast<POINT*>(&row), 2);
        EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), shot.At(row.left + 4, row.top + 1));
        EXPECT_TRUE(Save(shot, language == LangTable::English ? "search-dialog-en" : "search-dialog-es"));
        SetWindowTextA(Item(IDC_COUNTRY), "");
    }
}

} // namespace
