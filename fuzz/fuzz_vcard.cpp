// Any bytes, read as a file: the read ends without crash, leak or hang, and
// a card that is read writes and reads back to the same card, whose writing
// is stable. The same bytes cut into a contact's texts: the written contact
// reads back as it was.
#include "support/VCard.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "support/CodePage.h"

namespace {

void Check(bool holds)
{
    if (!holds)
        std::abort();
}

// A text as the reader gives texts: well-formed UTF-8, no carriage return.
std::string Text(std::string_view bytes)
{
    std::string text = IsUtf8(bytes) ? std::string(bytes) : Utf8FromCp1252(bytes);
    std::erase(text, '\r');
    return text;
}

VCardContact ContactOf(std::string_view data)
{
    std::vector<std::string> texts;
    for (std::size_t start = 0; texts.size() < 20;) {
        std::size_t end = std::min(data.find('\x01', start), data.size());
        texts.push_back(Text(data.substr(std::min(start, data.size()), end - std::min(start, data.size()))));
        start = end + 1;
    }
    VCardContact c;
    std::string* fields[] = {&c.formattedName, &c.family, &c.given, &c.additional, &c.prefix, &c.suffix,
        &c.nickname, &c.jobTitle, &c.account};
    for (std::size_t i = 0; i < std::size(fields); ++i)
        *fields[i] = texts[i];
    if (!texts[9].empty())
        c.emails.push_back(texts[9]);
    if (!(texts[10] + texts[11]).empty())
        c.addresses.push_back({{"home"}, 2, texts[10], "", texts[11], "", "", "", ""});
    if (!texts[12].empty())
        c.phones.push_back({{"work", "cell"}, 0, texts[12]});
    if (!texts[13].empty())
        c.urls.push_back({{}, 1, texts[13]});
    if (!(texts[14] + texts[15]).empty())
        c.organization = {texts[14], texts[15]};
    if (!texts[16].empty()) {
        c.photo = texts[16];
        c.photoType = "image/png";
    }
    return c;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (auto card = ReadVCard(bytes)) {
        std::string written = WriteVCard(*card);
        auto back = ReadVCard(written);
        Check(back && *back == *card && WriteVCard(*back) == written);
    }
    VCardContact contact = ContactOf(bytes);
    Check(ReadVCard(WriteVCard(contact)) == contact);
    return 0;
}
