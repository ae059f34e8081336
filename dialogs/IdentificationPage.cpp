#include "dialogs/IdentificationPage.h"

#include <commdlg.h>
#include <shellapi.h>

#include "picture/PictureSize.h"
#include "platform/File.h"
#include "platform/FileDialog.h"
#include "platform/ModalScope.h"
#include "platform/RedrawFreeze.h"
#include "platform/WaitCursor.h"
#include "resources/resource.h"
#include "support/Base64.h"
#include "support/CodePage.h"

namespace {

enum Text {
    TitleText = 2,
    NicknameText = 3,
    MiddleText = 4,
    LastText = 5,
    FriendlyText = 6,
    PhotoGroupText = 7,
    EmailGroupText = 8,
    FirstText = 9,
    PhotoRemoveText = 10,
    AddressEditText = 11,
    AddText = 12,
    BrowseText = 13,
    ErrorText = 14,
    FileFilter = 15,
    TooLargeText = 16,
    SendText = 17,
    AddressRemoveText = 18,
    UnreadableText = 19,
    NoPictureText = 20,
    TooManyPixelsText = 21,
    NotAnsweringText = 22,
    SavedCopyText = 23,
};

// An edit of a name, its label and the field it shows.
struct NameEdit {
    int id;
    int label;
    std::string IdentificationFields::*member;
};

constexpr NameEdit NameEdits[] = {{IDC_TITLE, IDC_TITLE_LABEL, &IdentificationFields::title},
    {IDC_FIRST, IDC_FIRST_LABEL, &IdentificationFields::first},
    {IDC_MIDDLE, IDC_MIDDLE_LABEL, &IdentificationFields::middle},
    {IDC_LAST, IDC_LAST_LABEL, &IdentificationFields::last},
    {IDC_NICKNAME, IDC_NICKNAME_LABEL, &IdentificationFields::nickname},
    {IDC_FRIENDLY, IDC_FRIENDLY_LABEL, &IdentificationFields::friendly}};

// At least one character on each side of the first "@".
bool IsAddress(const std::string& text)
{
    size_t at = text.find('@');
    return at != std::string::npos && at >= 1 && at + 2 <= text.size();
}


// The list's in-place editor reports its changes too; only these count.
bool IsNameEdit(int id)
{
    for (const NameEdit& edit : NameEdits)
        if (edit.id == id)
            return true;
    return false;
}

// Whether the picture's header declares a size within the frame.
bool FitsFrame(const std::string& bytes, const RECT& frame)
{
    auto size = DeclaredSize(bytes);
    return size && size->width <= frame.right && size->height <= frame.bottom;
}

// Whether the bytes load into picture and show.
bool Shows(CPicture& picture, const std::string& bytes)
{
    picture.Load(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    return picture.HasPicture();
}

} // namespace

IdentificationPage::IdentificationPage()
    : CardPage(IDD_IDENTIFICATION, LangTexts::identificationPage, LangTexts::identificationPageCount,
          IDC_WAITING, ErrorText, NotAnsweringText)
{
}

BOOL IdentificationPage::OnInitDialog()
{
    CardPage::OnInitDialog();
    for (SkinButton* button : {&addButton, &sendButton, &editButton, &removeButton, &removePhotoButton, &browseButton})
        SetUpButton(*button);
    // Room left for the scroll bar of a full list: no horizontal one for the
    // few pixels it would cover.
    addresses.InsertColumn(0, "email", LVCFMT_LEFT, addresses.GetClientRect().right - GetSystemMetrics(SM_CXVSCROLL));
    SetLanguage(GetLanguage());
    return TRUE;
}

void IdentificationPage::SetLanguage(int value)
{
    LangTable::SetLanguage(value);
    WriteTexts({{IDC_TITLE_LABEL, TitleText}, {IDC_NICKNAME_LABEL, NicknameText}, {IDC_MIDDLE_LABEL, MiddleText},
        {IDC_LAST_LABEL, LastText}, {IDC_FRIENDLY_LABEL, FriendlyText}, {IDC_PHOTO_GROUP, PhotoGroupText},
        {IDC_EMAIL_GROUP, EmailGroupText}, {IDC_FIRST_LABEL, FirstText},
        {IDC_REMOVE_PHOTO, PhotoRemoveText}, {IDC_REMOVE_ADDRESS, AddressRemoveText},
        {IDC_EDIT_ADDRESS, AddressEditText}, {IDC_ADD_ADDRESS, AddText}, {IDC_BROWSE, BrowseText},
        {IDC_SEND_EMAIL, SendText}});
}

void IdentificationPage::DoDataExchange(CDataExchange* exchange)
{
    DDX_Control(exchange, IDC_ADD_ADDRESS, addButton);
    DDX_Control(exchange, IDC_SEND_EMAIL, sendButton);
    DDX_Control(exchange, IDC_EDIT_ADDRESS, editButton);
    DDX_Control(exchange, IDC_REMOVE_ADDRESS, removeButton);
    DDX_Control(exchange, IDC_REMOVE_PHOTO, removePhotoButton);
    DDX_Control(exchange, IDC_BROWSE, browseButton);
    DDX_Control(exchange, IDC_ADDRESSES, addresses);
    DDX_Control(exchange, IDC_PHOTO, photo);
    for (const NameEdit& edit : NameEdits)
        DDX_Text(exchange, edit.id, fields.*edit.member);
    DDX_Text(exchange, IDC_NEW_ADDRESS, newAddress);
    ExchangeAddresses(exchange);
}

// The list holds at most ten rows, the slots a card carries.
void IdentificationPage::ExchangeAddresses(CDataExchange* exchange)
{
    if (exchange->saveAndValidate)
        fields.emails = ListedAddresses();
    else
        ListAddresses(fields.emails);
}

std::vector<std::string> IdentificationPage::ListedAddresses() const
{
    std::vector<std::string> rows;
    for (int row = 0; row < addresses.GetItemCount(); ++row)
        rows.push_back(addresses.GetItemText(row, 0));
    return rows;
}

void IdentificationPage::ListAddresses(const std::vector<std::string>& emails)
{
    {
        RedrawFreeze freeze(addresses.GetSafeHwnd());
        addresses.DeleteAllItems();
        for (size_t row = 0; row < emails.size() && row < static_cast<size_t>(MaxEmailSlots); ++row)
            addresses.InsertItem(static_cast<int>(row), emails[row].c_str());
    }
    addresses.MeasureRows();
    UpdateAddressButtons();
    UpdateAddButton();
}

void IdentificationPage::SetAddresses(const std::vector<std::string>& emails)
{
    if (ListedAddresses() == emails)
        return;
    ListAddresses(emails);
    MarkIdentificationChanged();
}

IdentificationFields IdentificationPage::ShownFields() const
{
    IdentificationFields values;
    for (const NameEdit& edit : NameEdits)
        values.*edit.member = ShownText(edit.id);
    for (const std::string& email : ListedAddresses())
        values.emails.push_back(Utf8FromCp1252(email));
    return values;
}

std::vector<std::string> IdentificationPage::TypeFields(const IdentificationFields& values)
{
    std::vector<std::string> lost;
    for (const NameEdit& edit : NameEdits)
        if (!TypeText(edit.id, values.*edit.member))
            lost.push_back(LabelText(edit.label));
    std::vector<std::string> emails;
    bool emailsLost = false;
    for (const std::string& email : values.emails) {
        Cp1252Text converted = Cp1252FromUtf8(email);
        emailsLost = emailsLost || converted.lost;
        emails.push_back(converted.text);
    }
    if (emailsLost)
        lost.push_back(LabelText(IDC_EMAIL_GROUP));
    SetAddresses(emails);
    return lost;
}

void IdentificationPage::SetEditable(int value)
{
    editable = value != 0;
    bool writable = editable && HasContent();
    addresses.EnableWindow(writable);
    UpdatePhotoButtons();
    for (const NameEdit& edit : NameEdits)
        ::SendMessageA(GetDlgItem(edit.id), EM_SETREADONLY, !writable, 0);
    ::SendMessageA(GetDlgItem(IDC_NEW_ADDRESS), EM_SETREADONLY, !writable, 0);
}

void IdentificationPage::UpdatePhotoButtons()
{
    removePhotoButton.EnableWindow(editable && photoShown);
    browseButton.EnableWindow(editable && photoShown);
}

void IdentificationPage::Show(const IdentificationFields& received)
{
    if (!identificationChanged) {
        fields = received;
        UpdateControls();
    }
    ShowContent();
    if (editable)
        SetEditable(1);
}

void IdentificationPage::ShowPhoto(const std::string& base64)
{
    if (!photoChanged)
        SetPhotoData(base64);
    photoShown = true;
    UpdatePhotoButtons();
}

void IdentificationPage::ShowSaved(const IdentificationFields& saved)
{
    fields = saved;
    UpdateControls();
    ShowSavedCopy();
}

void IdentificationPage::ShowSavedPhoto(const std::string& base64)
{
    if (!photoShown)
        SetPhotoData(base64);
}

void IdentificationPage::SetPhotoData(const std::string& base64)
{
    shownPhoto = Base64Decode(base64);
    if (shownPhoto.empty()) {
        photo.ClearPicture();
        return;
    }
    photo.SetPicture(reinterpret_cast<const unsigned char*>(shownPhoto.data()), static_cast<int>(shownPhoto.size()));
}

void IdentificationPage::MarkIdentificationChanged()
{
    if (!HasContent())
        return;
    identificationChanged = true;
    TellChange();
}

void IdentificationPage::MarkPhotoChanged(int which)
{
    if (!photoShown)
        return;
    (which == 0 ? photoChanged : photoFlagChanged) = true;
    TellChange();
}

void IdentificationPage::UpdateAddButton()
{
    newAddress = ItemText(IDC_NEW_ADDRESS);
    addButton.EnableWindow(IsAddress(newAddress) && addresses.GetItemCount() < MaxEmailSlots);
}

void IdentificationPage::UpdateAddressButtons()
{
    bool selected = addresses.GetFirstSelected() >= 0;
    removeButton.EnableWindow(selected && IsOwnCard());
    editButton.EnableWindow(selected && IsOwnCard());
    sendButton.EnableWindow(selected);
}

void IdentificationPage::AddAddress()
{
    UpdateData(TRUE);
    if (!IsOwnCard() || !IsAddress(newAddress) || fields.emails.size() >= static_cast<size_t>(MaxEmailSlots))
        return;
    fields.emails.push_back(newAddress);
    newAddress.clear();
    UpdateControls();
    MarkIdentificationChanged();
}

void IdentificationPage::EditAddress()
{
    int row = addresses.GetFirstSelected();
    if (row < 0 || !IsOwnCard())
        return;
    addresses.SetFocus();
    addresses.EditLabel(row);
}

void IdentificationPage::RemoveAddress()
{
    int row = addresses.GetFirstSelected();
    if (row < 0 || !IsOwnCard())
        return;
    addresses.DeleteItem(row);
    MarkIdentificationChanged();
    UpdateAddressButtons();
    UpdateAddButton();
}

void IdentificationPage::SendEmail()
{
    int row = addresses.GetFirstSelected();
    if (row < 0)
        return;
    addresses.SetFocus();
    std::string address = "mailto:" + addresses.GetItemText(row, 0);
    ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// A file is read whole, within MaxChosenFileSize, and then taken.
void IdentificationPage::Browse()
{
    if (!IsOwnCard())
        return;
    ModalScope modal(hwnd);
    CFileDialog chooser("", OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, GetText(FileFilter), hwnd);
    if (!chooser.DoModal())
        return;
    bool longer = false;
    auto bytes = ReadFileStart(chooser.GetPathName().c_str(), MaxChosenFileSize, &longer);
    if (!bytes || longer) {
        Tell(bytes ? TooLargeText : UnreadableText);
        return;
    }
    TakePicture(*bytes);
}

IdentificationPage::Refusal IdentificationPage::OfferPicture(const std::string& bytes)
{
    if (!IsOwnCard() || !photoShown)
        return Refusal::NotEditable;
    auto picture = std::make_unique<CPicture>(hwnd);
    std::string taken;
    if (bytes.size() <= static_cast<size_t>(MaxFileSize) && FitsFrame(bytes, photo.GetClientRect())
        && Shows(*picture, bytes)) {
        taken = bytes;
    } else {
        FittedPhoto fitted = FitToFrame(bytes);
        if (fitted.outcome != FittedPhoto::Fitted || !Shows(*picture, fitted.jpeg))
            return fitted.outcome == FittedPhoto::Undecodable ? Refusal::NotAPicture
                : fitted.outcome == FittedPhoto::TooManyPixels ? Refusal::TooManyPixels : Refusal::TooLarge;
        taken = std::move(fitted.jpeg);
    }
    photo.SetPicture(std::move(picture));
    photoData = Base64Encode(taken, true);
    shownPhoto = std::move(taken);
    MarkPhotoChanged(0);
    return Refusal::None;
}

bool IdentificationPage::TakePicture(const std::string& bytes)
{
    Refusal refusal = OfferPicture(bytes);
    switch (refusal) {
    case Refusal::NotAPicture: Tell(NoPictureText); break;
    case Refusal::TooManyPixels: Tell(TooManyPixelsText); break;
    case Refusal::TooLarge: Tell(TooLargeText); break;
    default: break;
    }
    return refusal == Refusal::None;
}

FittedPhoto IdentificationPage::FitToFrame(const std::string& bytes)
{
    WaitCursor wait;
    RECT frame = photo.GetClientRect();
    return FitPhoto(bytes, {frame.right, frame.bottom}, PhotoBackground, MaxFileSize);
}

void IdentificationPage::Tell(int text)
{
    ModalScope modal(hwnd);
    MessageBoxA(hwnd, GetText(text), GetText(ProductNameText), MB_ICONINFORMATION);
}

void IdentificationPage::RemovePhoto()
{
    if (!IsOwnCard() || !photoShown)
        return;
    photo.ClearPicture();
    shownPhoto.clear();
    photoData.clear();
    MarkPhotoChanged(0);
}

bool IdentificationPage::AcceptLabel(const char* text)
{
    if (!text || !IsOwnCard() || !IsAddress(text))
        return false;
    MarkIdentificationChanged();
    return true;
}

LRESULT IdentificationPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    int id = LOWORD(wParam);
    int code = HIWORD(wParam);
    if (code == EN_CHANGE && id == IDC_NEW_ADDRESS) {
        UpdateAddButton();
        return 0;
    }
    if (code == EN_CHANGE && IsNameEdit(id)) {
        if (!IsFilling())
            MarkIdentificationChanged();
        return 0;
    }
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_ADD_ADDRESS: AddAddress(); return 0;
        case IDC_EDIT_ADDRESS: EditAddress(); return 0;
        case IDC_REMOVE_ADDRESS: RemoveAddress(); return 0;
        case IDC_SEND_EMAIL: SendEmail(); return 0;
        case IDC_BROWSE: Browse(); return 0;
        case IDC_REMOVE_PHOTO: RemovePhoto(); return 0;
        default: break;
        }
    }
    return CardPage::OnCommand(wParam, lParam);
}

LRESULT IdentificationPage::OnNotify(WPARAM wParam, LPARAM lParam)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom != IDC_ADDRESSES)
        return CardPage::OnNotify(wParam, lParam);
    switch (header->code) {
    case NM_CLICK:
    case NM_RCLICK:
    case LVN_ODSTATECHANGED:
    case LVN_ITEMCHANGED:
        UpdateAddressButtons();
        return 0;
    case LVN_KEYDOWN:
        UpdateAddressButtons();
        if (reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_F2)
            EditAddress();
        return 0;
    case LVN_BEGINLABELEDITA:
        return IsOwnCard() ? FALSE : TRUE;
    case LVN_ENDLABELEDITA:
        UpdateAddressButtons();
        return AcceptLabel(reinterpret_cast<const NMLVDISPINFOA*>(lParam)->item.pszText) ? TRUE : FALSE;
    default:
        return CardPage::OnNotify(wParam, lParam);
    }
}
