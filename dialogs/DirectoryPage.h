#pragma once
// DirectoryPage: tab 3 of the own card. Four boxes choose which sections
// the public directory shows; without the identification section it shows
// none. A click marks the section changed on its page, and so does a box
// that follows the identification box into another state.
#include <array>

#include "dialogs/CardPage.h"

class IdentificationPage;
class HomePage;
class BusinessPage;

class DirectoryPage : public CardPage {
public:
    DirectoryPage(CardDialog& owner, IdentificationPage& identification, HomePage& home, BusinessPage& business);

    void SetLanguage(int language) override;
    // Checks each box whose section is published (hidden flag 0), but for
    // the boxes the user has set in this dialog: his choice stands.
    void ShowHiddenFlags(int identification, int home, int business, int photo);
    // Whether the box of section 1 to 4 is checked; false for other numbers.
    bool IsPublished(int section) const;

protected:
    BOOL OnInitDialog() override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void SetCheck(int id, bool checked);
    // Home, business and photo follow the identification box.
    void CoupleToIdentification();
    // The user's click on the box of a section.
    void Choose(int section);
    void MarkSectionChanged(int section);

    std::array<bool, 4> chosen{};

    IdentificationPage& identificationPage;
    HomePage& homePage;
    BusinessPage& businessPage;
};
