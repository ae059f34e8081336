// The card dialog's vCard files: Save as vCard on any card, Import vCard
// on the own card's editor.
#include "dialogs/CardDialog.h"

#include <commdlg.h>

#include "dialogs/CardVCard.h"
#include "platform/File.h"
#include "platform/FileDialog.h"
#include "platform/ModalScope.h"

void CardDialog::SaveAsVCard()
{
    ModalScope modal(hwnd);
    CFileDialog chooser(false, "vcf", VCardFileName(displayName).c_str(),
        OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, GetText(VCardFilter), hwnd);
    if (!chooser.DoModal())
        return;
    std::string text = WriteVCard(ContactOfCard(*this));
    CFile file;
    bool written = file.OpenForWriting(chooser.GetPathName().c_str())
        && file.Write(text.data(), static_cast<DWORD>(text.size()));
    if (!file.Close() || !written)
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

bool CardDialog::ImportVCardFile(const std::string& path)
{
    if (!directoryPage)
        return false;
    ModalScope modal(hwnd);
    auto size = CFile::GetStatus(path.c_str());
    std::string bytes(size && *size <= MaxVCardFile ? static_cast<size_t>(*size) : 0, '\0');
    CFile file;
    std::optional<VCardContact> contact;
    if (!bytes.empty() && file.OpenForReading(path.c_str())
        && file.Read(bytes.data(), static_cast<DWORD>(bytes.size())) == bytes.size())
        contact = ReadVCard(bytes);
    if (!contact) {
        Tell(GetText(NotVCardText));
        return false;
    }
    ImportLosses losses = PutContactIntoCard(*this, *contact);
    if (!losses.fields.empty()) {
        std::string text = GetText(LostCharactersText);
        for (const std::string& field : losses.fields)
            text += "\n" + field;
        Tell(text);
    }
    if (losses.addressesDropped)
        Tell(GetText(TenAddressesText));
    return true;
}

void CardDialog::Tell(const std::string& text)
{
    MessageBoxA(hwnd, text.c_str(), GetText(0), MB_ICONINFORMATION);
}
