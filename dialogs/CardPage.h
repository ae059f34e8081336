#pragma once
// CardPage: a page of the card dialog. Until its section arrives it shows
// only its waiting text, heading and icon; it heads itself with the card's
// owner, passes Enter and Escape on to the card dialog, opens the card's
// menu from its heading, and tells the program's filling of its controls
// from the user's own changes.
#include <initializer_list>
#include <span>
#include <string>
#include <utility>

#include "controls/SkinButton.h"
#include "controls/SkinPage.h"
#include "dialogs/LangTable.h"

class CardDialog;

class CardPage : public SkinPage, public LangTable {
public:
    // errorIndex: the table entry shown on an error answer, 0 for none.
    CardPage(UINT resource, CardDialog& owner, const char* const* table, int texts, int waitingId, int errorIndex);

    // The heading: display name, " (", user, "@", domain, ")".
    void SetIdentity(const std::string& user, const std::string& domain, const std::string& displayName);
    // Hides the waiting text and shows every other control.
    void ShowContent();
    // Puts the error text in place of the waiting text, for good.
    void ShowError();
    // Whether the section arrived and is shown, neither waiting nor failed.
    bool HasContent() const { return shown && !failed; }
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
    void SetReadOnly(std::span<const int> edits, bool readOnly);

    CardDialog& owner;

private:
    int waitingId;
    int errorIndex;
    bool failed = false;
    bool shown = false;
    bool filling = false;
};
