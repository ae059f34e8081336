#pragma once
// SkinTab: an owner-drawn tab control that shows the page dialog of the
// selected tab. Pages ask for the next or previous tab with WM_SKIN_SWITCH_PAGE.
#include <cstdint>
#include <vector>

#include "platform/Gdi.h"
#include "platform/TabCtrl.h"

// Sent by a page to its tab control: wParam 1 next page, 0 previous.
inline constexpr UINT WM_SKIN_SWITCH_PAGE = WM_APP + 143;

class SkinTab : public CTabCtrl {
public:
    static constexpr COLORREF Background = 0x00AADDDD;

    // Appends a tab for page; only the first page is shown.
    void AddPage(CWnd* page, const char* text, int imageIndex);
    // Replaces tab index; the page is shown only when that tab is selected.
    void SetPage(int index, CWnd* page, const char* text, int imageIndex);
    void SetSelectedTextColour(COLORREF colour);
    bool IsPageEnabled(int index) const;
    // A disabled page cannot be selected; its tab text turns grey.
    void SetPageEnabled(int index, bool enabled);
    // False when the page is not enabled.
    bool SelectPage(int index);
    // The next (or previous) enabled tab with wrap-around; false when none
    // but the current one.
    bool SelectNext(bool forward);
    void FocusCurrentPage();
    // The page of tab index, or null.
    CWnd* PageAt(int index) const;

protected:
    void PreSubclassWindow() override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    bool DrawItem(const DRAWITEMSTRUCT& item) override;
    LRESULT OnEraseBkgnd(HDC dc) override;
    LRESULT OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowPage(int index, bool show);
    static void FocusPage(CWnd& page);
    void PlacePage(CWnd* page);

    Brush backgroundBrush;
    std::vector<uint32_t> pageEnabled;
    int previousSelection = 0;
    POINT pageOrigin = {4, 28};
    COLORREF selectedTextColour = 0;
    bool hasSelectedTextColour = false;
};
