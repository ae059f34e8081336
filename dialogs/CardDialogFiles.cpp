// The card dialog's vCard files: Save as vCard on any card, Import vCard
// on the own card's editor.
#include "dialogs/CardDialog.h"

#include <commdlg.h>

#include "dialogs/CardVCard.h"
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

} // namespace

void CardDialog::SaveAsVCard()
{
    ModalScope modal(hwnd);
    CFileDialog chooser(false, "vcf", VCardFileName(displayName).c_str(),
        OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, GetText(VCardFilter), hwnd);
    if (!chooser.DoModal())
        return;
    std::string text = WriteVCard(VCardOfCard(ShownCard(*this), Utf8FromCp1252(displayName)));
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
    std::string text;
    AddList(text, GetText(LostCharactersText), TypeCard(*this, import.card));
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
    if (notes.photoUnreadable)
        AddPart(text, GetText(PhotoUnreadableText));
    if (!text.empty())
        Tell(text);
    return true;
}

void CardDialog::Tell(const std::string& text)
{
    MessageBoxA(hwnd, text.c_str(), GetText(0), MB_ICONINFORMATION);
}
