#include "dialogs/AddressPage.h"

#include <shellapi.h>

#include "dialogs/CardDialog.h"
#include "resources/resource.h"

namespace {

constexpr int GoText = 11;

#define ADDRESS_FIELDS \
    {IDC_STREET, &AddressFields::street}, {IDC_CITY, &AddressFields::city}, {IDC_STATE, &AddressFields::state}, \
    {IDC_ZIP, &AddressFields::zip}, {IDC_COUNTRY, &AddressFields::country}, {IDC_PHONE, &AddressFields::phone}, \
    {IDC_FAX, &AddressFields::fax}, {IDC_MOBILE, &AddressFields::mobile}, {IDC_WEB, &AddressFields::web}

constexpr AddressPage::Field HomeFields[] = {ADDRESS_FIELDS};
constexpr AddressPage::Field BusinessFields[] = {
    {IDC_COMPANY, &AddressFields::company}, {IDC_JOB, &AddressFields::job},
    {IDC_DEPARTMENT, &AddressFields::department}, ADDRESS_FIELDS};
constexpr int BusinessLabels[] = {IDC_JOB_LABEL, IDC_DEPARTMENT_LABEL, IDC_COMPANY_LABEL};

} // namespace

AddressPage::AddressPage(UINT resource, CardDialog& card, const char* const* table, int texts, int error,
    std::span<const Field> fieldEdits, std::span<const int> labels)
    : CardPage(resource, card, table, texts, IDC_WAITING, error), edits(fieldEdits), extraLabels(labels)
{
}

HomePage::HomePage(CardDialog& card)
    : AddressPage(IDD_HOME, card, LangTexts::homePage, LangTexts::homePageCount, 12, HomeFields, {})
{
}

BusinessPage::BusinessPage(CardDialog& card)
    : AddressPage(IDD_BUSINESS, card, LangTexts::businessPage, LangTexts::businessPageCount, 15, BusinessFields,
          BusinessLabels)
{
}

BOOL AddressPage::OnInitDialog()
{
    CardPage::OnInitDialog();
    SetUpButton(goButton);
    SetLanguage(GetLanguage());
    return TRUE;
}

void AddressPage::SetLanguage(int value)
{
    LangTable::SetLanguage(value);
    WriteTexts({{IDC_ZIP_LABEL, 2}, {IDC_WEB_LABEL, 3}, {IDC_STATE_LABEL, 4}, {IDC_PHONE_LABEL, 5},
        {IDC_MOBILE_LABEL, 6}, {IDC_FAX_LABEL, 7}, {IDC_COUNTRY_LABEL, 8}, {IDC_CITY_LABEL, 9},
        {IDC_STREET_LABEL, 10}, {IDC_GO, GoText}});
    int entry = GoText;
    for (int id : extraLabels)
        SetDlgItemTextA(hwnd, id, GetText(++entry));
}

void AddressPage::DoDataExchange(CDataExchange* exchange)
{
    DDX_Control(exchange, IDC_GO, goButton);
    for (const Field& edit : edits)
        DDX_Text(exchange, edit.id, fields.*edit.member);
}

void AddressPage::SetEditable(int editable)
{
    for (const Field& edit : edits)
        ::SendMessageA(GetDlgItem(edit.id), EM_SETREADONLY, editable == 0, 0);
}

void AddressPage::MarkChanged()
{
    changed = true;
    owner.EnableOk();
}

bool AddressPage::IsFieldEdit(int id) const
{
    for (const Field& edit : edits)
        if (edit.id == id)
            return true;
    return false;
}

void AddressPage::OpenWebPage()
{
    UpdateData(TRUE);
    ShellExecuteA(nullptr, "open", WebPageToSend(fields.web).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT AddressPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == EN_CHANGE && IsFieldEdit(LOWORD(wParam))) {
        if (!IsFilling())
            MarkChanged();
        return 0;
    }
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_GO) {
        OpenWebPage();
        return 0;
    }
    return CardPage::OnCommand(wParam, lParam);
}
