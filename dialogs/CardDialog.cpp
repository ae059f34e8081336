#include "dialogs/CardDialog.h"

#include <prsht.h>

#include "controls/SkinPage.h"
#include "dialogs/DialogSkin.h"
#include "platform/DropFiles.h"
#include "platform/Menu.h"
#include "platform/ModuleContext.h"
#include "resources/resource.h"

namespace {

constexpr int DirectoryTab = 3;

} // namespace

CardDialog::CardDialog(DialogOwner* dialogOwner)
    : CDialog(IDD_CARD), LangTable(LangTexts::cardDialog, LangTexts::cardDialogCount), owner(dialogOwner),
      titleName(GetText(0))
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
    SetSystemCommand(SaveVCardCommand, SaveVCardText);
    SetLanguage(GetLanguage());
    return TRUE;
}

void CardDialog::AddPage(CardPage& page, int textIndex)
{
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
    WriteTitle();
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
    cancelButton.SetWindowText(GetText(directoryPage ? CancelText : CloseText));
    okButton.SetWindowText(GetText(OkText));
    SetSystemCommand(SaveVCardCommand, SaveVCardText);
    if (directoryPage)
        SetSystemCommand(ImportVCardCommand, ImportVCardText);
    tabs.Invalidate();
}

void CardDialog::EnableEditing(int editable)
{
    if (!directoryPage) {
        directoryPage = std::make_unique<DirectoryPage>(*this, identificationPage, homePage, businessPage);
        AddPage(*directoryPage, DirectoryText);
        directoryPage->SetIdentity(userName, domain, displayName);
        directoryPage->SetLanguage(GetLanguage());
        SetSystemCommand(ImportVCardCommand, ImportVCardText);
        DragAcceptFiles(hwnd, TRUE);
    }
    ShowHiddenFlags();
    okButton.ShowWindow(SW_SHOW);
    cancelButton.SetWindowText(GetText(CancelText));
    identificationPage.SetEditable(editable);
    homePage.SetEditable(editable);
    businessPage.SetEditable(editable);
}

void CardDialog::ShowHiddenFlags()
{
    if (directoryPage)
        directoryPage->ShowHiddenFlags(identificationHidden, homeHidden, businessHidden, photoHidden);
}

void CardDialog::EnableOk()
{
    okButton.EnableWindow(TRUE);
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
    RunCommand(menu.Track(hwnd, screen));
}

bool CardDialog::RunCommand(UINT command)
{
    if (command == SaveVCardCommand)
        SaveAsVCard();
    else if (command == ImportVCardCommand && directoryPage)
        ImportVCard();
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
    UpdateData(TRUE);
    identificationPage.UpdateData(TRUE);
    homePage.UpdateData(TRUE);
    businessPage.UpdateData(TRUE);
    owner->Request(static_cast<int>(RequestKind::Publish), this);
    DestroyWindow();
}

void CardDialog::PostNcDestroy()
{
    owner->Request(static_cast<int>(RequestKind::CardClosed), this);
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
    if (wParam == ProductLabelIndex)
        owner->Request(static_cast<int>(RequestKind::ProductLabel), nullptr);
    return 0;
}

// Ctrl+Tab and Ctrl+Page Down select the next tab, Ctrl+Shift+Tab and
// Ctrl+Page Up the previous one.
BOOL CardDialog::PreTranslateMessage(MSG* msg)
{
    int direction = PageSwitchKey(*msg);
    if (direction < 0)
        return CDialog::PreTranslateMessage(msg);
    if (SendMessage(PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(msg)))
        return TRUE;
    tabs.SelectNext(direction == 1);
    return TRUE;
}
