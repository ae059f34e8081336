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
    SetCheck(IDC_PUBLISH_IDENTIFICATION, identification == 0);
    SetCheck(IDC_PUBLISH_HOME, home == 0);
    SetCheck(IDC_PUBLISH_BUSINESS, business == 0);
    SetCheck(IDC_PUBLISH_PHOTO, photo == 0);
    if (identification != 0)
        CoupleToIdentification(false);
    else
        EnableFollowers(true);
}

void DirectoryPage::CoupleToIdentification(bool published)
{
    for (int id : Followers)
        SetCheck(id, published);
    EnableFollowers(published);
}

void DirectoryPage::EnableFollowers(bool enable)
{
    for (int id : Followers)
        ::EnableWindow(GetDlgItem(id), enable);
}

LRESULT DirectoryPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return CardPage::OnCommand(wParam, lParam);
    switch (LOWORD(wParam)) {
    case IDC_PUBLISH_IDENTIFICATION:
        CoupleToIdentification(IsPublished(IdentificationSection));
        identificationPage.MarkIdentificationChanged();
        return 0;
    case IDC_PUBLISH_HOME: homePage.MarkChanged(); return 0;
    case IDC_PUBLISH_BUSINESS: businessPage.MarkChanged(); return 0;
    case IDC_PUBLISH_PHOTO: identificationPage.MarkPhotoChanged(1); return 0;
    default: return CardPage::OnCommand(wParam, lParam);
    }
}
