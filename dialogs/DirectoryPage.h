#pragma once
// DirectoryPage: tab 3 of the own card. Four boxes choose which sections
// the public directory shows; without the identification section it shows
// none. A box stays disabled until its section's flag is known. A click is
// the user's choice for that section, and so is a box that follows the
// identification box into another state: the dialog hears of each.
#include <array>
#include <functional>

#include "dialogs/CardPage.h"
#include "protocol/Card.h"

class DirectoryPage : public CardPage {
public:
    // A section's flag not yet known.
    static constexpr int UnknownFlag = -1;

    DirectoryPage();

    // Called with the section whose box the user's choice changed.
    std::function<void(int section)> onChosen;

    void SetLanguage(int language) override;
    // Checks each box whose section is published (hidden flag 0), but for
    // the boxes the user has set in this dialog: his choice stands. Boxes of
    // an unknown flag are disabled and left as they are.
    void ShowHiddenFlags(const std::array<int, 4>& hidden);
    // Whether the box of section 1 to 4 is checked; false for other numbers.
    bool IsPublished(int section) const;

protected:
    BOOL OnInitDialog() override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void SetCheck(int id, bool checked);
    bool IsKnown(int section) const { return flags[section - 1] != UnknownFlag; }
    // Home, business and photo follow the identification box.
    void CoupleToIdentification();
    // The user's click on the box of a section.
    void Choose(int section);
    void TellChosen(int section);

    std::array<bool, 4> chosen{};
    std::array<int, 4> flags{UnknownFlag, UnknownFlag, UnknownFlag, UnknownFlag};
};
