// The card dialog's vCard files: Save as vCard on any card, Import vCard
// on the own card's editor.
#include "dialogs/CardDialog.h"

#include <commdlg.h>

#include "platform/File.h"
#include "platform/FileDialog.h"
#include "platform/ModalScope.h"
#include "support/CodePage.h"

namespace {

// Bytes in a Windows code page as UTF-8, through the system's converters.
std::optional<std::string> Utf8FromCodePage(const std::string& charset, std::string_view bytes)
{
    auto page = static_cast<UINT>(CodePageOfCharset(charset));
    int count = static_cast<int>(bytes.size());
    int wide = page && count ? MultiByteToWideChar(page, 0, bytes.data(), count, nullptr, 0) : 0;
    if (wide <= 0)
        return std::nullopt;
    std::wstring text(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(page, 0, bytes.data(), count, text.data(), wide);
    std::string utf8(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
    return utf8;
}

// A paragraph, after a blank line when text has some already.
void AddPart(std::string& text, const std::string& paragraph)
{
    text += (text.empty() ? "" : "\n\n") + paragraph;
}

// A heading and its lines; nothing without lines.
void AddList(std::string& text, const char* heading, const std::vector<std::string>& lines)
{
    if (lines.empty())
        return;
    std::string paragraph = heading;
    for (const std::string& line : lines)
        paragraph += "\n" + line;
    AddPart(text, paragraph);
}

// The display name and ".vcf", the characters a file name cannot hold as "_".
std::string VCardFileName(const std::string& displayName)
{
    std::string name;
    for (char c : displayName)
        name += static_cast<unsigned char>(c) < 32 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos
            ? '_' : c;
    return (name.empty() ? "card" : name) + ".vcf";
}

// The labels, after the section's name when it has one.
void AddLost(std::vector<std::string>& lost, const std::string& section, const std::vector<std::string>& labels)
{
    for (const std::string& label : labels)
        lost.push_back(section.empty() ? label : section + " - " + label);
}

} // namespace

CardContact CardDialog::ShownCard() const
{
    CardContact card;
    if (identificationPage.HasContent())
        card.identification = identificationPage.ShownFields();
    card.photo = identificationPage.ShownPhoto();
    if (homePage.HasContent())
        card.home = homePage.ShownFields();
    if (businessPage.HasContent())
        card.business = businessPage.ShownFields();
    card.account = Utf8FromCp1252(CombinedName(userName, domain));
    return card;
}

IdentificationPage::Refusal CardDialog::TypeCard(const CardContact& card, std::vector<std::string>& lost)
{
    if (identificationPage.HasContent())
        AddLost(lost, "", identificationPage.TypeFields(card.identification));
    if (homePage.HasContent())
        AddLost(lost, GetText(HomeText), homePage.TypeFields(card.home));
    if (businessPage.HasContent())
        AddLost(lost, GetText(BusinessText), businessPage.TypeFields(card.business));
    return card.photo.empty() ? IdentificationPage::Refusal::None : identificationPage.OfferPicture(card.photo);
}

void CardDialog::SaveAsVCard()
{
    ModalScope modal(hwnd);
    CFileDialog chooser(false, "vcf", VCardFileName(displayName).c_str(),
        OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, GetText(VCardFilter), hwnd);
    if (!chooser.DoModal())
        return;
    std::string text = WriteVCard(VCardOfCard(ShownCard(), Utf8FromCp1252(displayName)));
    if (!WriteWholeFile(chooser.GetPathName().c_str(), text))
        Tell(GetText(NotWrittenText));
}

void CardDialog::ImportVCard()
{
    ModalScope modal(hwnd);
    CFileDialog chooser(true, nullptr, "*.vcf", OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST,
        GetText(VCardFilter), hwnd);
    if (chooser.DoModal())
        ImportVCardFile(chooser.GetPathName());
}

// A file longer than MaxVCardFile is read up to there: its first card may
// end before.
bool CardDialog::ImportVCardFile(const std::string& path)
{
    if (!directoryPage)
        return false;
    ModalScope modal(hwnd);
    bool longer = false;
    auto bytes = ReadFileStart(path.c_str(), MaxVCardFile, &longer);
    VCardNotes notes;
    std::optional<VCardContact> contact;
    if (bytes)
        contact = ReadVCard(*bytes, Utf8FromCodePage, &notes);
    if (!contact || (longer && !notes.ended)) {
        Tell(GetText(contact ? TooLargeVCardText : NotVCardText));
        return false;
    }
    CardImport import = CardOfVCard(*contact);
    std::vector<std::string> lost;
    IdentificationPage::Refusal photoRefusal = TypeCard(import.card, lost);
    std::string text;
    AddList(text, GetText(LostCharactersText), lost);
    if (import.moreThanTenEmails)
        AddPart(text, GetText(TenAddressesText));
    const std::pair<LeftOut::Kind, int> kinds[] = {{LeftOut::Address, LeftOutAddressesText},
        {LeftOut::Phone, LeftOutPhonesText}, {LeftOut::WebPage, LeftOutWebPagesText},
        {LeftOut::Email, LeftOutEmailsText}, {LeftOut::PhotoAddress, PhotoAddressText}};
    for (const auto& [kind, heading] : kinds) {
        std::vector<std::string> lines;
        for (const LeftOut& left : import.leftOut)
            if (left.kind == kind)
                lines.push_back(Cp1252FromUtf8(left.text).text);
        AddList(text, GetText(heading), lines);
    }
    if (notes.photoUnreadable || photoRefusal == IdentificationPage::Refusal::NotAPicture)
        AddPart(text, GetText(PhotoUnreadableText));
    else if (photoRefusal == IdentificationPage::Refusal::TooManyPixels)
        AddPart(text, GetText(PhotoTooManyPixelsText));
    else if (photoRefusal == IdentificationPage::Refusal::TooLarge)
        AddPart(text, GetText(PhotoTooLargeText));
    if (!text.empty())
        Tell(text);
    return true;
}

void CardDialog::Tell(const std::string& text)
{
    MessageBoxA(hwnd, text.c_str(), GetText(0), MB_ICONINFORMATION);
}
