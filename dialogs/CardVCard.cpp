#include "dialogs/CardVCard.h"

#include "dialogs/CardDialog.h"

#include <commctrl.h>

#include "protocol/Card.h"
#include "resources/resource.h"
#include "support/CodePage.h"

namespace {

// An edit of a page, its label, and the field it shows.
template <class Fields>
struct Edit {
    int edit;
    int label;
    std::string Fields::*field;
};

constexpr Edit<IdentificationFields> NameEdits[] = {{IDC_TITLE, IDC_TITLE_LABEL, &IdentificationFields::title},
    {IDC_FIRST, IDC_FIRST_LABEL, &IdentificationFields::first},
    {IDC_MIDDLE, IDC_MIDDLE_LABEL, &IdentificationFields::middle},
    {IDC_LAST, IDC_LAST_LABEL, &IdentificationFields::last},
    {IDC_NICKNAME, IDC_NICKNAME_LABEL, &IdentificationFields::nickname},
    {IDC_FRIENDLY, IDC_FRIENDLY_LABEL, &IdentificationFields::friendly}};
constexpr Edit<AddressFields> BusinessEdits[] = {{IDC_COMPANY, IDC_COMPANY_LABEL, &AddressFields::company},
    {IDC_DEPARTMENT, IDC_DEPARTMENT_LABEL, &AddressFields::department},
    {IDC_JOB, IDC_JOB_LABEL, &AddressFields::job}};
constexpr Edit<AddressFields> PlaceEdits[] = {{IDC_STREET, IDC_STREET_LABEL, &AddressFields::street},
    {IDC_CITY, IDC_CITY_LABEL, &AddressFields::city}, {IDC_STATE, IDC_STATE_LABEL, &AddressFields::state},
    {IDC_ZIP, IDC_ZIP_LABEL, &AddressFields::zip}, {IDC_COUNTRY, IDC_COUNTRY_LABEL, &AddressFields::country},
    {IDC_PHONE, IDC_PHONE_LABEL, &AddressFields::phone}, {IDC_FAX, IDC_FAX_LABEL, &AddressFields::fax},
    {IDC_MOBILE, IDC_MOBILE_LABEL, &AddressFields::mobile}, {IDC_WEB, IDC_WEB_LABEL, &AddressFields::web}};

std::string WindowText(HWND window)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A control's text as UTF-8 with single line feeds.
std::string Shown(CWnd& page, int id)
{
    std::string text;
    for (char c : WindowText(page.GetDlgItem(id)))
        if (c != '\r')
            text += c;
    return Utf8FromCp1252(text);
}

std::vector<std::string> ShownAddresses(IdentificationPage& page)
{
    HWND list = page.GetDlgItem(IDC_ADDRESSES);
    std::vector<std::string> emails;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        char text[512] = {};
        ListView_GetItemText(list, row, 0, text, sizeof text);
        emails.push_back(Utf8FromCp1252(text));
    }
    return emails;
}

template <class Fields, std::size_t N>
void ReadEdits(CWnd& page, const Edit<Fields> (&edits)[N], Fields& fields)
{
    for (const auto& edit : edits)
        fields.*edit.field = Shown(page, edit.edit);
}

// Writes into a page as the user would: the text replaces the control's
// selection, here all of it, and the control reports its change. An
// unchanged text is left alone.
class Typist {
public:
    explicit Typist(std::vector<std::string>& found) : losses(found) {}

    // Heads the labels of the fields that lose characters, "" for none.
    void SetSection(const std::string& name) { section = name; }

    void Type(CWnd& page, int edit, int label, const std::string& utf8, bool lines = false)
    {
        std::string text = Windows1252(page, label, utf8);
        Put(page, edit, lines ? CrLf(text) : text);
    }

    static void Put(CWnd& page, int edit, const std::string& text)
    {
        HWND control = page.GetDlgItem(edit);
        if (WindowText(control) == text)
            return;
        ::SendMessageA(control, EM_SETSEL, 0, -1);
        ::SendMessageA(control, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }

    std::string Windows1252(CWnd& page, int label, const std::string& utf8)
    {
        Cp1252Text converted = Cp1252FromUtf8(utf8);
        if (converted.lost)
            Lost(LabelOf(page, label));
        return converted.text;
    }

private:
    // Each field once, after its section's name.
    void Lost(const std::string& label)
    {
        std::string field = section.empty() ? label : section + " - " + label;
        for (const std::string& known : losses)
            if (known == field)
                return;
        losses.push_back(field);
    }

    static std::string LabelOf(CWnd& page, int label)
    {
        std::string text;
        for (char c : WindowText(page.GetDlgItem(label)))
            if (c != '&')
                text += c;
        return text;
    }
    static std::string CrLf(const std::string& text)
    {
        std::string out;
        for (char c : text)
            out += c == '\n' ? std::string("\r\n") : std::string(1, c);
        return out;
    }

    std::vector<std::string>& losses;
    std::string section;
};

template <class Fields, std::size_t N>
void TypeEdits(CWnd& page, const Edit<Fields> (&edits)[N], const Fields& fields, Typist& typist)
{
    for (const auto& edit : edits)
        typist.Type(page, edit.edit, edit.label, fields.*edit.field, edit.edit == IDC_STREET);
}

void TypeIdentification(IdentificationPage& page, const CardContact& card, Typist& typist)
{
    TypeEdits(page, NameEdits, card.identification, typist);
    std::vector<std::string> emails;
    for (const std::string& email : card.identification.emails)
        emails.push_back(typist.Windows1252(page, IDC_EMAIL_GROUP, email));
    page.SetAddresses(emails);
    if (!card.photo.empty())
        page.TakePicture(card.photo);
}

} // namespace

CardContact ShownCard(CardDialog& dialog)
{
    CardContact card;
    IdentificationPage& identification = dialog.Identification();
    if (identification.HasContent()) {
        ReadEdits(identification, NameEdits, card.identification);
        card.identification.emails = ShownAddresses(identification);
    }
    card.photo = identification.ShownPhoto();
    if (dialog.Home().HasContent())
        ReadEdits(dialog.Home(), PlaceEdits, card.home);
    if (dialog.Business().HasContent()) {
        ReadEdits(dialog.Business(), PlaceEdits, card.business);
        ReadEdits(dialog.Business(), BusinessEdits, card.business);
    }
    card.account = Utf8FromCp1252(CombinedName(dialog.GetUser(), dialog.GetDomain()));
    return card;
}

std::vector<std::string> TypeCard(CardDialog& dialog, const CardContact& card)
{
    std::vector<std::string> losses;
    Typist typist(losses);
    if (dialog.Identification().HasContent())
        TypeIdentification(dialog.Identification(), card, typist);
    typist.SetSection(dialog.GetText(CardDialog::HomeText));
    if (dialog.Home().HasContent())
        TypeEdits(dialog.Home(), PlaceEdits, card.home, typist);
    typist.SetSection(dialog.GetText(CardDialog::BusinessText));
    if (dialog.Business().HasContent()) {
        TypeEdits(dialog.Business(), PlaceEdits, card.business, typist);
        TypeEdits(dialog.Business(), BusinessEdits, card.business, typist);
    }
    return losses;
}

std::string VCardFileName(const std::string& displayName)
{
    std::string name;
    for (char c : displayName)
        name += static_cast<unsigned char>(c) < 32 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos
            ? '_' : c;
    return (name.empty() ? "card" : name) + ".vcf";
}
