#include "dialogs/CardVCard.h"

#include "dialogs/CardDialog.h"

#include <commctrl.h>

#include "protocol/Card.h"
#include "resources/resource.h"
#include "support/CodePage.h"

namespace {

// An edit of a page, its label, and where its text goes in a contact.
struct ContactEdit {
    int edit;
    int label;
    std::string VCardContact::*field;
};
struct PlaceEdit {
    int edit;
    int label;
    std::string VCardPlace::*field;
};

constexpr ContactEdit NameEdits[] = {{IDC_TITLE, IDC_TITLE_LABEL, &VCardContact::prefix},
    {IDC_FIRST, IDC_FIRST_LABEL, &VCardContact::given}, {IDC_MIDDLE, IDC_MIDDLE_LABEL, &VCardContact::additional},
    {IDC_LAST, IDC_LAST_LABEL, &VCardContact::family}, {IDC_NICKNAME, IDC_NICKNAME_LABEL, &VCardContact::nickname}};
constexpr ContactEdit BusinessEdits[] = {{IDC_COMPANY, IDC_COMPANY_LABEL, &VCardContact::organization},
    {IDC_DEPARTMENT, IDC_DEPARTMENT_LABEL, &VCardContact::unit}, {IDC_JOB, IDC_JOB_LABEL, &VCardContact::jobTitle}};
constexpr PlaceEdit PlaceEdits[] = {{IDC_STREET, IDC_STREET_LABEL, &VCardPlace::street},
    {IDC_CITY, IDC_CITY_LABEL, &VCardPlace::city}, {IDC_STATE, IDC_STATE_LABEL, &VCardPlace::region},
    {IDC_ZIP, IDC_ZIP_LABEL, &VCardPlace::postalCode}, {IDC_COUNTRY, IDC_COUNTRY_LABEL, &VCardPlace::country},
    {IDC_PHONE, IDC_PHONE_LABEL, &VCardPlace::voice}, {IDC_FAX, IDC_FAX_LABEL, &VCardPlace::fax},
    {IDC_MOBILE, IDC_MOBILE_LABEL, &VCardPlace::cell}};

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

// Title, first, middle and last name, those that are there, with spaces.
std::string JoinedNames(const VCardContact& contact)
{
    std::string joined;
    for (const std::string* part : {&contact.prefix, &contact.given, &contact.additional, &contact.family})
        if (!part->empty())
            joined += (joined.empty() ? "" : " ") + *part;
    return joined;
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

void ReadPlace(AddressPage& page, VCardPlace& place)
{
    for (const PlaceEdit& edit : PlaceEdits)
        place.*edit.field = Shown(page, edit.edit);
    std::string web = Shown(page, IDC_WEB);
    if (WebPageToSend(web) != "http://")
        place.url = web;
}

// Writes into a page as the user would: the text replaces the control's
// selection, here all of it, and the control reports its change. An
// unchanged text is left alone.
class Typist {
public:
    explicit Typist(ImportLosses& found) : losses(found) {}

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
        for (const std::string& known : losses.fields)
            if (known == field)
                return;
        losses.fields.push_back(field);
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

    ImportLosses& losses;
    std::string section;
};

void TypeIdentification(IdentificationPage& page, const VCardContact& contact, Typist& typist, ImportLosses& losses)
{
    for (const ContactEdit& edit : NameEdits)
        typist.Type(page, edit.edit, edit.label, contact.*edit.field);
    std::string friendly = contact.formattedName == JoinedNames(contact) ? "" : contact.formattedName;
    typist.Type(page, IDC_FRIENDLY, IDC_FRIENDLY_LABEL, friendly);
    std::vector<std::string> emails;
    for (const std::string& email : contact.emails) {
        if (emails.size() == static_cast<size_t>(MaxEmailSlots)) {
            losses.addressesDropped = true;
            break;
        }
        emails.push_back(typist.Windows1252(page, IDC_EMAIL_GROUP, email));
    }
    page.SetAddresses(emails);
    if (!contact.photo.empty())
        page.TakePicture(contact.photo);
}

void TypePlace(AddressPage& page, const VCardPlace& place, Typist& typist)
{
    for (const PlaceEdit& edit : PlaceEdits)
        typist.Type(page, edit.edit, edit.label, place.*edit.field, edit.edit == IDC_STREET);
    Typist::Put(page, IDC_WEB, WebPageReceived(typist.Windows1252(page, IDC_WEB_LABEL, place.url)));
}

} // namespace

VCardContact ContactOfCard(CardDialog& dialog)
{
    VCardContact contact;
    IdentificationPage& identification = dialog.Identification();
    if (identification.HasContent()) {
        for (const ContactEdit& edit : NameEdits)
            contact.*edit.field = Shown(identification, edit.edit);
        contact.formattedName = Shown(identification, IDC_FRIENDLY);
        contact.emails = ShownAddresses(identification);
    }
    if (contact.formattedName.empty())
        contact.formattedName = JoinedNames(contact);
    if (contact.formattedName.empty())
        contact.formattedName = Utf8FromCp1252(dialog.GetDisplayName());
    contact.photo = identification.ShownPhoto();
    contact.photoType = PictureMediaType(contact.photo);
    if (dialog.Home().HasContent())
        ReadPlace(dialog.Home(), contact.home);
    if (dialog.Business().HasContent()) {
        ReadPlace(dialog.Business(), contact.work);
        for (const ContactEdit& edit : BusinessEdits)
            contact.*edit.field = Shown(dialog.Business(), edit.edit);
    }
    contact.account = Utf8FromCp1252(CombinedName(dialog.GetUser(), dialog.GetDomain()));
    return contact;
}

ImportLosses PutContactIntoCard(CardDialog& dialog, const VCardContact& contact)
{
    ImportLosses losses;
    Typist typist(losses);
    if (dialog.Identification().HasContent())
        TypeIdentification(dialog.Identification(), contact, typist, losses);
    typist.SetSection(dialog.GetText(CardDialog::HomeText));
    if (dialog.Home().HasContent())
        TypePlace(dialog.Home(), contact.home, typist);
    typist.SetSection(dialog.GetText(CardDialog::BusinessText));
    if (dialog.Business().HasContent()) {
        TypePlace(dialog.Business(), contact.work, typist);
        for (const ContactEdit& edit : BusinessEdits)
            typist.Type(dialog.Business(), edit.edit, edit.label, contact.*edit.field);
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
