#include "dialogs/CardDialog.h"

#include <prsht.h>

#include <algorithm>

#include "controls/SkinPage.h"
#include "dialogs/AnswerTimeLimit.h"
#include "dialogs/DialogSkin.h"
#include "platform/DropFiles.h"
#include "platform/Menu.h"
#include "platform/ModuleContext.h"
#include "platform/RedrawFreeze.h"
#include "resources/resource.h"

namespace {

constexpr int DirectoryTab = 3;

} // namespace

CardDialog::CardDialog(DialogOwner* dialogOwner)
    : CDialog(IDD_CARD), LangTable(LangTexts::cardDialog, LangTexts::cardDialogCount), owner(dialogOwner),
      titleName(GetText(ProductNameText))
{
}

bool CardDialog::Create()
{
    return CDialog::Create(nullptr) != FALSE;
}

void CardDialog::DoDataExchange(CDataExchange* exchange)
{
    DDX_Control(exchange, IDCANCEL, cancelButton);
    DDX_Control(exchange, IDOK, okButton);
    DDX_Control(exchange, IDC_PRODUCT_LABEL, productLabel);
    DDX_Control(exchange, IDC_TABS, tabs);
}

BOOL CardDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDialogIcons(hwnd, IDI_CARD_SMALL, IDI_CARD);
    productImage.Reset(LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(IDB_PRODUCT_LOGO)));
    SetUpDialogButton(okButton, GetFont());
    SetUpDialogButton(cancelButton, GetFont());
    SetUpProductLabel(productLabel, hwnd, productImage);
    AddPage(identificationPage, IdentificationText);
    AddPage(homePage, HomeText);
    AddPage(businessPage, BusinessText);
    tabs.SetSelectedTextColour(0xFF0000);
    tabs.SelectPage(0);
    // The pages wrote their own texts as they were made.
    WriteOwnTexts();
    // Enter outside a button closes a viewer; the editor's default is OK.
    SendMessage(DM_SETDEFID, IDCANCEL);
    WaitForAnswer();
    return TRUE;
}

void CardDialog::AddPage(CardPage& page, int textIndex)
{
    page.onChange = [this] { ChangeMade(); };
    page.onHeadingMenu = [this](POINT screen) { ShowCardMenu(screen); };
    page.Create(hwnd);
    tabs.AddPage(&page, GetText(textIndex), 0);
}

void CardDialog::SetTitleName(const std::string& productName)
{
    titleName = productName;
    WriteTitle();
}

void CardDialog::WriteTitle()
{
    SetWindowText(DialogTitle(titleName, GetText(TitleText)));
}

void CardDialog::SetIdentity(const std::string& user, const std::string& domainName, const std::string& display)
{
    userName = user;
    domain = domainName;
    displayName = display;
    for (CardPage* page : {static_cast<CardPage*>(&identificationPage), static_cast<CardPage*>(&homePage),
             static_cast<CardPage*>(&businessPage), static_cast<CardPage*>(directoryPage.get())})
        if (page)
            page->SetIdentity(userName, domain, displayName);
}

void CardDialog::SetLanguage(int value)
{
    LangTable::SetLanguage(value);
    tabs.SetPage(0, &identificationPage, GetText(IdentificationText), 0);
    tabs.SetPage(1, &homePage, GetText(HomeText), 0);
    tabs.SetPage(2, &businessPage, GetText(BusinessText), 0);
    identificationPage.SetLanguage(value);
    homePage.SetLanguage(value);
    businessPage.SetLanguage(value);
    if (directoryPage) {
        tabs.SetPage(DirectoryTab, directoryPage.get(), GetText(DirectoryText), 0);
        directoryPage->SetLanguage(value);
    }
    WriteOwnTexts();
    tabs.Invalidate();
}

// The title, the buttons and the system menu's commands.
void CardDialog::WriteOwnTexts()
{
    WriteTitle();
    cancelButton.SetWindowText(GetText(directoryPage ? CancelText : CloseText));
    okButton.SetWindowText(GetText(OkText));
    SetSystemCommand(SaveVCardCommand, SaveVCardText);
    SetSystemCommand(TryAgainCommand, TryAgainText);
    if (directoryPage)
        SetSystemCommand(ImportVCardCommand, ImportVCardText);
    UpdateTryAgain();
}

void CardDialog::EnableEditing(int editable)
{
    if (!directoryPage) {
        directoryPage = std::make_unique<DirectoryPage>();
        directoryPage->onChosen = [this](int section) { SectionChosen(section); };
        AddPage(*directoryPage, DirectoryText);
        directoryPage->SetIdentity(userName, domain, displayName);
        directoryPage->SetLanguage(GetLanguage());
        SetSystemCommand(ImportVCardCommand, ImportVCardText);
        DragAcceptFiles(hwnd, TRUE);
    }
    ShowHiddenFlags();
    directoryPage->ShowContent();
    okButton.ShowWindow(SW_SHOW);
    SendMessage(DM_SETDEFID, IDOK);
    cancelButton.SetWindowText(GetText(CancelText));
    identificationPage.SetEditable(editable);
    homePage.SetEditable(editable);
    businessPage.SetEditable(editable);
    FocusCurrentPage();
}

void CardDialog::ShowHiddenFlags()
{
    if (directoryPage)
        directoryPage->ShowHiddenFlags(hidden);
}

void CardDialog::SectionShown(int section, int flag)
{
    SectionAnswered(section);
    hidden[static_cast<size_t>(section - 1)] = flag;
    ShowHiddenFlags();
    FocusCurrentPage();
}

// A page is filled frozen and drawn once afterwards.
void CardDialog::ShowSection(const IdentificationFields& fields, int flag)
{
    {
        RedrawFreeze freeze(identificationPage.GetSafeHwnd());
        identificationPage.Show(fields);
    }
    SectionShown(IdentificationSection, flag);
}

void CardDialog::ShowSection(CardSection section, const AddressFields& fields, int flag)
{
    if (section != HomeSection && section != BusinessSection)
        return;
    AddressPage& page = section == HomeSection ? static_cast<AddressPage&>(homePage) : businessPage;
    {
        RedrawFreeze freeze(page.GetSafeHwnd());
        page.Show(fields);
    }
    SectionShown(section, flag);
}

void CardDialog::ShowSection(const PhotoFields& photo, int flag)
{
    identificationPage.ShowPhoto(photo.picture);
    SectionShown(PhotoSection, flag);
}

void CardDialog::ShowSectionError(int section)
{
    if (section >= IdentificationSection && section <= PhotoSection)
        SectionAnswered(section);
    if (CardPage* page = PageOf(section))
        page->ShowError();
}

CardPage* CardDialog::PageOf(int section)
{
    switch (section) {
    case IdentificationSection: return &identificationPage;
    case HomeSection: return &homePage;
    case BusinessSection: return &businessPage;
    default: return nullptr;
    }
}

void CardDialog::WaitForAnswer()
{
    answerTimer.Start(hwnd, AnswerTimeLimit);
    UpdateTryAgain();
}

void CardDialog::SectionAnswered(int section)
{
    answered[static_cast<size_t>(section - 1)] = true;
    if (!IsAwaitingAny())
        answerTimer.Stop();
    UpdateTryAgain();
}

bool CardDialog::IsAwaitingAny() const
{
    return std::find(answered.begin(), answered.end(), false) != answered.end();
}

bool CardDialog::IsAwaiting(int section) const
{
    return section >= IdentificationSection && section <= PhotoSection && !answered[static_cast<size_t>(section - 1)];
}

void CardDialog::UpdateTryAgain()
{
    EnableMenuItem(GetSystemMenu(hwnd, FALSE), TryAgainCommand,
        MF_BYCOMMAND | (IsAwaitingAny() ? MF_ENABLED : MF_GRAYED));
}

void CardDialog::ShowSavedSection(const IdentificationFields& fields)
{
    if (IsAwaiting(IdentificationSection)) {
        RedrawFreeze freeze(identificationPage.GetSafeHwnd());
        identificationPage.ShowSaved(fields);
    }
}

void CardDialog::ShowSavedSection(CardSection section, const AddressFields& fields)
{
    if ((section != HomeSection && section != BusinessSection) || !IsAwaiting(section))
        return;
    AddressPage& page = section == HomeSection ? static_cast<AddressPage&>(homePage) : businessPage;
    RedrawFreeze freeze(page.GetSafeHwnd());
    page.ShowSaved(fields);
}

void CardDialog::ShowSavedSection(const PhotoFields& photo)
{
    if (IsAwaiting(PhotoSection))
        identificationPage.ShowSavedPhoto(photo.picture);
}

void CardDialog::ShowSectionNotAnswering(int section)
{
    CardPage* page = PageOf(section);
    if (page && IsAwaiting(section))
        page->ShowNotAnswering();
}

void CardDialog::TryAgain()
{
    if (!IsAwaitingAny())
        return;
    identificationPage.ShowWaiting();
    homePage.ShowWaiting();
    businessPage.ShowWaiting();
    if (owner)
        owner->RetryCard(*this);
    WaitForAnswer();
}

LRESULT CardDialog::OnTimer(UINT_PTR id)
{
    if (id != AnswerTimer)
        return CDialog::OnTimer(id);
    answerTimer.Stop();
    if (owner)
        owner->CardTimedOut(*this);
    return 0;
}

LRESULT CardDialog::OnDestroy()
{
    answerTimer.Stop();
    return CDialog::OnDestroy();
}

void CardDialog::ChangeMade()
{
    okButton.EnableWindow(TRUE);
}

void CardDialog::SectionChosen(int section)
{
    switch (section) {
    case IdentificationSection: identificationPage.MarkIdentificationChanged(); return;
    case HomeSection: homePage.MarkChanged(); return;
    case BusinessSection: businessPage.MarkChanged(); return;
    default: identificationPage.MarkPhotoChanged(1); return;
    }
}

CardChanges CardDialog::TakeChanges()
{
    CardChanges changes;
    if (!directoryPage)
        return changes;
    for (int section = IdentificationSection; section <= PhotoSection; ++section)
        changes.hidden[static_cast<size_t>(section - 1)] = directoryPage->IsPublished(section) ? 0 : 1;
    if (identificationPage.identificationChanged) {
        identificationPage.UpdateData(TRUE);
        changes.identification = identificationPage.fields;
    }
    for (auto [page, taken] : {std::pair<AddressPage*, std::optional<AddressFields>*>{&homePage, &changes.home},
             {&businessPage, &changes.business}})
        if (page->changed) {
            page->UpdateData(TRUE);
            *taken = page->fields;
        }
    if (identificationPage.photoChanged)
        changes.photo = PhotoFields{identificationPage.GetPhotoData()};
    changes.photoFlag = identificationPage.photoFlagChanged;
    return changes;
}

void CardDialog::SetSystemCommand(Command command, int textIndex)
{
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    if (GetMenuState(menu, command, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
        ModifyMenuA(menu, command, MF_BYCOMMAND | MF_STRING, command, GetText(textIndex));
        return;
    }
    if (command == SaveVCardCommand)
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, command, GetText(textIndex));
}

void CardDialog::ShowCardMenu(POINT screen)
{
    PopupMenu menu;
    menu.Append(SaveVCardCommand, GetText(SaveVCardText));
    if (directoryPage)
        menu.Append(ImportVCardCommand, GetText(ImportVCardText));
    menu.Append(TryAgainCommand, GetText(TryAgainText), IsAwaitingAny());
    RunCommand(menu.Track(hwnd, screen));
}

bool CardDialog::RunCommand(UINT command)
{
    if (command == SaveVCardCommand)
        SaveAsVCard();
    else if (command == ImportVCardCommand && directoryPage)
        ImportVCard();
    else if (command == TryAgainCommand)
        TryAgain();
    else
        return false;
    return true;
}

LRESULT CardDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND && RunCommand(static_cast<UINT>(wParam & 0xFFF0)))
        return 0;
    if (message == WM_DROPFILES) {
        DroppedFiles files(reinterpret_cast<HDROP>(wParam));
        ImportVCardFile(files.First());
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CardDialog::FocusCurrentPage()
{
    tabs.FocusCurrentPage();
}

void CardDialog::OnOK()
{
    if (owner && directoryPage)
        owner->Publish(*this, TakeChanges());
    DestroyWindow();
}

void CardDialog::PostNcDestroy()
{
    if (owner)
        owner->CardClosed(*this);
    delete this;
}

LRESULT CardDialog::OnShowWindow(BOOL show, UINT)
{
    if (show)
        FocusCurrentPage();
    return Default();
}

LRESULT CardDialog::OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SKIN_SWITCH_PAGE)
        return tabs.SendMessage(message, wParam, lParam);
    if (message != WM_SKIN_CLICK)
        return CDialog::OnPrivateMessage(message, wParam, lParam);
    if (wParam == ProductLabelIndex && owner)
        owner->ProductLabel();
    return 0;
}

// Ctrl+Tab and Ctrl+Page Down select the next tab, Ctrl+Shift+Tab and
// Ctrl+Page Up the previous one.
BOOL CardDialog::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_F5) {
        TryAgain();
        return TRUE;
    }
    int direction = PageSwitchKey(*msg);
    if (direction < 0)
        return CDialog::PreTranslateMessage(msg);
    if (SendMessage(PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(msg)))
        return TRUE;
    tabs.SelectNext(direction == 1);
    return TRUE;
}
