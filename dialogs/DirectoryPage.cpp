#include "dialogs/DirectoryPage.h"

#include "dialogs/AddressPage.h"
#include "dialogs/IdentificationPage.h"
#include "resources/resource.h"

namespace {

constexpr int SectionBoxes[] = {IDC_PUBLISH_IDENTIFICATION, IDC_PUBLISH_HOME, IDC_PUBLISH_BUSINESS, IDC_PUBLISH_PHOTO};
// The boxes that follow the identification box.
constexpr int Followers[] = {IDC_PUBLISH_HOME, IDC_PUBLISH_BUSINESS, IDC_PUBLISH_PHOTO};

} // namespace

DirectoryPage::DirectoryPage(CardDialog& card, IdentificationPage& identification, HomePage& home,
    BusinessPage& business)
    : CardPage(IDD_DIRECTORY, card, LangTexts::directoryPage, LangTexts::directoryPageCount, IDC_DIRECTORY_WAITING, 0),
      identificationPage(identification), homePage(home), businessPage(business)
{
}

BOOL DirectoryPage::OnInitDialog()
{
    CardPage::OnInitDialog();
    for (int id : SectionBoxes)
        SetCheck(id, true);
    SetLanguage(GetLanguage());
    return TRUE;
}

void DirectoryPage::SetLanguage(int value)
{
    LangTable::SetLanguage(value);
    WriteTexts({{IDC_NOTE, 2}, {IDC_PUBLISH_HOME, 3}, {IDC_PUBLISH_BUSINESS, 4}, {IDC_PUBLISH_IDENTIFICATION, 5},
        {IDC_PUBLISH_GROUP, 6}, {IDC_PUBLISH_PHOTO, 7}});
}

void DirectoryPage::SetCheck(int id, bool checked)
{
    CheckDlgButton(hwnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool DirectoryPage::IsPublished(int section) const
{
    if (section < IdentificationSection || section > PhotoSection)
        return false;
    return IsDlgButtonChecked(hwnd, SectionBoxes[section - 1]) == BST_CHECKED;
}

void DirectoryPage::ShowHiddenFlags(int identification, int home, int business, int photo)
{
    const int hidden[] = {identification, home, business, photo};
    for (int section = IdentificationSection; section <= PhotoSection; ++section)
        if (!chosen[section - 1])
            SetCheck(SectionBoxes[section - 1], hidden[section - 1] == 0);
    CoupleToIdentification();
}

// Without the identification section the directory shows none: the other
// boxes are cleared and disabled.
void DirectoryPage::CoupleToIdentification()
{
    bool published = IsPublished(IdentificationSection);
    for (int id : Followers) {
        if (!published)
            SetCheck(id, false);
        ::EnableWindow(GetDlgItem(id), published);
    }
}

void DirectoryPage::MarkSectionChanged(int section)
{
    switch (section) {
    case IdentificationSection: identificationPage.MarkIdentificationChanged(); return;
    case HomeSection: homePage.MarkChanged(); return;
    case BusinessSection: businessPage.MarkChanged(); return;
    default: identificationPage.MarkPhotoChanged(1); return;
    }
}

// A click on the identification box checks or clears the three others; each
// one that changes state is the user's choice and is published as shown.
void DirectoryPage::Choose(int section)
{
    chosen[section - 1] = true;
    MarkSectionChanged(section);
    if (section != IdentificationSection)
        return;
    bool published = IsPublished(IdentificationSection);
    for (int follower = HomeSection; follower <= PhotoSection; ++follower) {
        if (IsPublished(follower) == published)
            continue;
        SetCheck(SectionBoxes[follower - 1], published);
        chosen[follower - 1] = true;
        MarkSectionChanged(follower);
    }
    CoupleToIdentification();
}

LRESULT DirectoryPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED)
        for (int section = IdentificationSection; section <= PhotoSection; ++section)
            if (LOWORD(wParam) == SectionBoxes[section - 1]) {
                Choose(section);
                return 0;
            }
    return CardPage::OnCommand(wParam, lParam);
}
