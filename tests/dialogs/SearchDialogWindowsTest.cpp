// Leaks of the search dialog.
#include "tests/dialogs/SearchDialogFixture.h"
#include "tests/hosts/GdiCounter.h"

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

TEST_F(SearchWindows, TwentySearchesOpenedAndClosedLeaveNoGdiOrUserObjectBehind)
{
    dialog->DestroyWindow();
    GdiCounter& counter = GdiCounter::Install();
    ASSERT_GT(counter.PatchedEntries(), 0);
    auto [before, after] = counter.LiveAround(20, [&](int round) { Cycle(round); });
    EXPECT_EQ(before, after);
}

} // namespace
