#include "dialogs/CardDialog.h"

#include <prsht.h>

#include "controls/SkinPage.h"
#include "dialogs/DialogSkin.h"
#include "platform/ModuleContext.h"
#include "resources/resource.h"

namespace {

enum Text {
    TitleText = 1,
    CloseText = 2,
    CancelText = 3,
    OkText = 4,
    DirectoryText = 5,
    IdentificationText = 6,
    HomeText = 7,
    BusinessText = 8,
};

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
    AddPage(identification, IdentificationText);
    AddPage(home, HomeText);
    AddPage(business, BusinessText);
    tabs.SetSelectedTextColour(0xFF0000);
    tabs.SelectPage(0);
    SetLanguage(GetLanguage());
    return TRUE;
}

void CardDialog::AddPage(CardPage& page, int textIndex)
{
    page.Create(hwnd);
    tabs.AddPage(&page, GetText(textIndex), 0);
}

void CardDialog::SetTitle(const std::string& productName)
{
    titleName = productName;
    WriteTitle();
}

void CardDialog::WriteTitle()
{
    SetWindowText(DialogTitle(titleName, GetText(TitleText)));
}

void CardDialog::SetIdentity(const std::string& userName, const std::string& domainName, const std::string& display)
{
    user = userName;
    domain = domainName;
    displayName = display;
    for (CardPage* page : {static_cast<CardPage*>(&identification), static_cast<CardPage*>(&home),
             static_cast<CardPage*>(&business), static_cast<CardPage*>(directory.get())})
        if (page)
            page->SetIdentity(user, domain, displayName);
}

void CardDialog::SetLanguage(int value)
{
    LangTable::SetLanguage(value);
    WriteTitle();
    tabs.SetPage(0, &identification, GetText(IdentificationText), 0);
    tabs.SetPage(1, &home, GetText(HomeText), 0);
    tabs.SetPage(2, &business, GetText(BusinessText), 0);
    identification.SetLanguage(value);
    home.SetLanguage(value);
    business.SetLanguage(value);
    if (directory) {
        tabs.SetPage(DirectoryTab, directory.get(), GetText(DirectoryText), 0);
        directory->SetLanguage(value);
    }
    cancelButton.SetWindowText(GetText(directory ? CancelText : CloseText));
    okButton.SetWindowText(GetText(OkText));
    tabs.Invalidate();
}

void CardDialog::EnableEditing(int editable)
{
    if (!directory) {
        directory = std::make_unique<DirectoryPage>(*this, identification, home, business);
        AddPage(*directory, DirectoryText);
        directory->SetIdentity(user, domain, displayName);
        directory->SetLanguage(GetLanguage());
    }
    ShowHiddenFlags();
    okButton.ShowWindow(SW_SHOW);
    cancelButton.SetWindowText(GetText(CancelText));
    identification.SetEditable(editable);
    home.SetEditable(editable);
    business.SetEditable(editable);
}

void CardDialog::ShowHiddenFlags()
{
    if (directory)
        directory->ShowHiddenFlags(identificationHidden, homeHidden, businessHidden, photoHidden);
}

void CardDialog::EnableOk()
{
    okButton.EnableWindow(TRUE);
}

void CardDialog::FocusCurrentPage()
{
    tabs.FocusCurrentPage();
}

void CardDialog::OnOK()
{
    UpdateData(TRUE);
    identification.UpdateData(TRUE);
    home.UpdateData(TRUE);
    business.UpdateData(TRUE);
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
