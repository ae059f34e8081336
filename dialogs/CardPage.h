#pragma once
// CardPage: a page of the card dialog. Until its section arrives it shows
// only its waiting text, heading and icon; it heads itself with the card's
// owner, passes Enter and Escape on to the dialog that holds it, and tells
// the program's filling of its controls from the user's own changes. The
// dialog hears of changes and of the heading's menu through handlers.
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <utility>

#include "controls/SkinButton.h"
#include "controls/SkinPage.h"
#include "dialogs/LangTable.h"

class CardPage : public SkinPage, public LangTable {
public:
    // errorIndex: the table entry shown on an error answer, 0 for none;
    // notAnsweringIndex: the entry shown when the server does not answer,
    // followed by the one shown over a saved copy, 0 for none.
    CardPage(UINT resource, const char* const* table, int texts, int waitingId, int errorIndex,
        int notAnsweringIndex = 0);

    // Called when the user changes the page's section.
    std::function<void()> onChange;
    // Called with a point of the screen when the heading is right-clicked.
    std::function<void(POINT)> onHeadingMenu;

    // The heading: display name, " (", user, "@", domain, ")".
    void SetIdentity(const std::string& user, const std::string& domain, const std::string& displayName);
    // Hides the waiting text and shows every other control.
    void ShowContent();
    // Puts the error text in place of the waiting text, for good.
    void ShowError();
    // While the section is awaited: the notice that the server is not
    // answering in place of the waiting text, or the waiting text again.
    void ShowNotAnswering();
    void ShowWaiting();
    // Whether the section arrived and is shown, neither waiting nor failed;
    // a saved copy is not.
    bool HasContent() const { return shown && !failed; }
    bool ShowsSavedCopy() const { return notice == notAnsweringIndex + 1; }
    // Whether the error text stands in place of the waiting text.
    bool HasFailed() const { return failed; }
    // Copies the members into the controls; marks nothing changed.
    void UpdateControls();

protected:
    BOOL OnInitDialog() override;
    // A right click on the heading opens the card dialog's menu.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    void OnCancel() override;

    // True while the program, not the user, writes the controls.
    bool IsFilling() const { return filling; }
    // Control id and table entry of each text, plus the waiting text.
    void WriteTexts(std::initializer_list<std::pair<int, int>> texts);
    void SetUpButton(SkinButton& button);
    // A control's text as it stands.
    std::string ItemText(int id) const;
    // A control's text in UTF-8, lines ending in a single line feed.
    std::string ShownText(int id) const;
    // Types UTF-8 text into an edit as the user would: it replaces the whole
    // text, lines ending in CR LF in a multiline edit, and the edit reports
    // its change; the same text is left alone. False when characters the
    // code page lacks became "?".
    bool TypeText(int edit, const std::string& utf8);
    // A label's text without its mnemonic "&".
    std::string LabelText(int id) const;
    void TellChange() const;
    // Shows the controls, filled with a saved copy, under the notice that
    // says so, while the section is awaited.
    void ShowSavedCopy();

private:
    int waitingId;
    int errorIndex;
    int notAnsweringIndex;
    int notice = 0;  // the table entry in place of the waiting text, 0 for none
    bool failed = false;
    bool shown = false;
    bool filling = false;
};
