#include "dialogs/AddressPage.h"

#include <shellapi.h>

#include "resources/resource.h"

namespace {

enum Text {
    ZipText = 2,
    WebText = 3,
    StateText = 4,
    PhoneText = 5,
    MobileText = 6,
    FaxText = 7,
    CountryText = 8,
    CityText = 9,
    StreetText = 10,
    GoText = 11,
    // Home's error and not-answering texts, then Business's own labels and
    // its error and not-answering texts.
    HomeErrorText = 12,
    HomeNotAnsweringText = 13,
    HomeSavedCopyText = 14,
    JobText = 12,
    DepartmentText = 13,
    CompanyText = 14,
    BusinessErrorText = 15,
    BusinessNotAnsweringText = 16,
    BusinessSavedCopyText = 17,
};

#define ADDRESS_FIELDS \
    {IDC_STREET, IDC_STREET_LABEL, &AddressFields::street}, {IDC_CITY, IDC_CITY_LABEL, &AddressFields::city}, \
    {IDC_STATE, IDC_STATE_LABEL, &AddressFields::state}, {IDC_ZIP, IDC_ZIP_LABEL, &AddressFields::zip}, \
    {IDC_COUNTRY, IDC_COUNTRY_LABEL, &AddressFields::country}, {IDC_PHONE, IDC_PHONE_LABEL, &AddressFields::phone}, \
    {IDC_FAX, IDC_FAX_LABEL, &AddressFields::fax}, {IDC_MOBILE, IDC_MOBILE_LABEL, &AddressFields::mobile}, \
    {IDC_WEB, IDC_WEB_LABEL, &AddressFields::web}

constexpr AddressPage::Field HomeFields[] = {ADDRESS_FIELDS};
constexpr AddressPage::Field BusinessFields[] = {
    {IDC_COMPANY, IDC_COMPANY_LABEL, &AddressFields::company}, {IDC_JOB, IDC_JOB_LABEL, &AddressFields::job},
    {IDC_DEPARTMENT, IDC_DEPARTMENT_LABEL, &AddressFields::department}, ADDRESS_FIELDS};
constexpr AddressPage::Label BusinessLabels[] = {
    {IDC_JOB_LABEL, JobText}, {IDC_DEPARTMENT_LABEL, DepartmentText}, {IDC_COMPANY_LABEL, CompanyText}};

} // namespace

AddressPage::AddressPage(UINT resource, const char* const* table, int texts, int error, int notAnswering,
    std::span<const Field> fieldEdits, std::span<const Label> labels)
    : CardPage(resource, table, texts, IDC_WAITING, error, notAnswering), edits(fieldEdits), extraLabels(labels)
{
}

HomePage::HomePage()
    : AddressPage(IDD_HOME, LangTexts::homePage, LangTexts::homePageCount, HomeErrorText, HomeNotAnsweringText,
          HomeFields, {})
{
}

BusinessPage::BusinessPage()
    : AddressPage(IDD_BUSINESS, LangTexts::businessPage, LangTexts::businessPageCount, BusinessErrorText,
          BusinessNotAnsweringText, BusinessFields, BusinessLabels)
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
    WriteTexts({{IDC_ZIP_LABEL, ZipText}, {IDC_WEB_LABEL, WebText}, {IDC_STATE_LABEL, StateText},
        {IDC_PHONE_LABEL, PhoneText}, {IDC_MOBILE_LABEL, MobileText}, {IDC_FAX_LABEL, FaxText},
        {IDC_COUNTRY_LABEL, CountryText}, {IDC_CITY_LABEL, CityText}, {IDC_STREET_LABEL, StreetText},
        {IDC_GO, GoText}});
    for (const Label& label : extraLabels)
        SetDlgItemTextA(hwnd, label.id, GetText(label.text));
}

void AddressPage::DoDataExchange(CDataExchange* exchange)
{
    DDX_Control(exchange, IDC_GO, goButton);
    for (const Field& edit : edits)
        DDX_Text(exchange, edit.id, fields.*edit.member);
}

void AddressPage::SetEditable(int value)
{
    editable = value != 0;
    for (const Field& edit : edits)
        ::SendMessageA(GetDlgItem(edit.id), EM_SETREADONLY, !editable || !HasContent(), 0);
}

void AddressPage::Show(const AddressFields& received)
{
    if (!changed) {
        fields = received;
        UpdateControls();
    }
    ShowContent();
    if (editable)
        SetEditable(1);
}

void AddressPage::ShowSaved(const AddressFields& saved)
{
    fields = saved;
    UpdateControls();
    ShowSavedCopy();
}

void AddressPage::MarkChanged()
{
    if (!HasContent())
        return;
    changed = true;
    TellChange();
}

AddressFields AddressPage::ShownFields() const
{
    AddressFields values;
    for (const Field& edit : edits)
        values.*edit.member = ShownText(edit.id);
    return values;
}

std::vector<std::string> AddressPage::TypeFields(const AddressFields& values)
{
    std::vector<std::string> lost;
    for (const Field& edit : edits)
        if (!TypeText(edit.id, values.*edit.member))
            lost.push_back(LabelText(edit.label));
    return lost;
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
