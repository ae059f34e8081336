#include "dialogs/DirectoryPage.h"

#include "resources/resource.h"

namespace {

enum Text {
    NoteText = 2,
    HomeBoxText = 3,
    BusinessBoxText = 4,
    IdentificationBoxText = 5,
    GroupText = 6,
    PhotoBoxText = 7,
};

constexpr int SectionBoxes[] = {IDC_PUBLISH_IDENTIFICATION, IDC_PUBLISH_HOME, IDC_PUBLISH_BUSINESS, IDC_PUBLISH_PHOTO};

} // namespace

DirectoryPage::DirectoryPage()
    : CardPage(IDD_DIRECTORY, LangTexts::directoryPage, LangTexts::directoryPageCount, IDC_DIRECTORY_WAITING, 0)
{
}

BOOL DirectoryPage::OnInitDialog()
{
    CardPage::OnInitDialog();
    for (int id : SectionBoxes) {
        SetCheck(id, true);
        ::EnableWindow(GetDlgItem(id), FALSE);
    }
    SetLanguage(GetLanguage());
    return TRUE;
}

void DirectoryPage::SetLanguage(int value)
{
    LangTable::SetLanguage(value);
    WriteTexts({{IDC_NOTE, NoteText}, {IDC_PUBLISH_HOME, HomeBoxText}, {IDC_PUBLISH_BUSINESS, BusinessBoxText},
        {IDC_PUBLISH_IDENTIFICATION, IdentificationBoxText}, {IDC_PUBLISH_GROUP, GroupText},
        {IDC_PUBLISH_PHOTO, PhotoBoxText}});
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

void DirectoryPage::ShowHiddenFlags(const std::array<int, 4>& hidden)
{
    flags = hidden;
    for (int section = IdentificationSection; section <= PhotoSection; ++section)
        if (IsKnown(section) && !chosen[section - 1])
            SetCheck(SectionBoxes[section - 1], flags[section - 1] == 0);
    CoupleToIdentification();
}

// Without the identification section the directory shows none: the other
// boxes are cleared and disabled.
void DirectoryPage::CoupleToIdentification()
{
    ::EnableWindow(GetDlgItem(SectionBoxes[0]), IsKnown(IdentificationSection));
    bool published = IsKnown(IdentificationSection) && IsPublished(IdentificationSection);
    for (int follower = HomeSection; follower <= PhotoSection; ++follower) {
        if (!IsKnown(follower))
            continue;
        int id = SectionBoxes[follower - 1];
        if (!published)
            SetCheck(id, false);
        ::EnableWindow(GetDlgItem(id), published);
    }
}

void DirectoryPage::TellChosen(int section)
{
    chosen[section - 1] = true;
    if (onChosen)
        onChosen(section);
}

// A click on the identification box checks or clears the three others; each
// one known that changes state is the user's choice and is published as shown.
void DirectoryPage::Choose(int section)
{
    TellChosen(section);
    if (section != IdentificationSection)
        return;
    bool published = IsPublished(IdentificationSection);
    for (int follower = HomeSection; follower <= PhotoSection; ++follower) {
        if (!IsKnown(follower) || IsPublished(follower) == published)
            continue;
        SetCheck(SectionBoxes[follower - 1], published);
        TellChosen(follower);
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
