#include "devhost/server/CardRecord.h"

#include <fstream>
#include <iterator>

#include "protocol/Card.h"
#include "protocol/Number.h"
#include "support/Xml.h"

namespace fs = std::filesystem;

namespace {

std::array<std::vector<std::string>, 4> BuildTags()
{
    std::array<std::vector<std::string>, 4> tags;
    for (const auto& entry : IdentificationTags)
        tags[0].push_back(entry.tag);
    for (int slot = 0; slot < MaxEmailSlots; ++slot)
        tags[0].push_back(EmailTag(slot));
    for (const auto& entry : HomeTags)
        tags[1].push_back(entry.tag);
    for (const auto& entry : BusinessTags)
        tags[2].push_back(entry.tag);
    tags[3].push_back("ph");
    return tags;
}

constexpr const char* kHex = "0123456789ABCDEF";

bool KeptInFileName(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
}

} // namespace

const std::vector<std::string>& SectionTags(int section)
{
    static const auto tags = BuildTags();
    static const std::vector<std::string> none;
    return section >= 1 && section <= 4 ? tags[section - 1] : none;
}

int TagIndex(int section, std::string_view tag)
{
    const auto& tags = SectionTags(section);
    for (std::size_t i = 0; i < tags.size(); ++i)
        if (tags[i] == tag)
            return static_cast<int>(i);
    return -1;
}

CardRecord::CardRecord()
{
    for (int number = 1; number <= 4; ++number)
        Section(number).values.resize(SectionTags(number).size());
}

CardRecord::CardRecord(std::string userName, std::string domainName) : CardRecord()
{
    user = std::move(userName);
    domain = std::move(domainName);
}

const std::string& CardRecord::Field(int section, std::string_view tag) const
{
    static const std::string empty;
    int index = TagIndex(section, tag);
    return index < 0 ? empty : Section(section).values[index];
}

void CardRecord::SetField(int section, std::string_view tag, std::string value)
{
    int index = TagIndex(section, tag);
    if (index >= 0)
        Section(section).values[index] = std::move(value);
}

std::string EncodeFileName(std::string_view name)
{
    std::string out;
    for (char c : name) {
        if (KeptInFileName(c)) {
            out += c;
        } else {
            auto byte = static_cast<unsigned char>(c);
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
    return out;
}

fs::path CardFilePath(const fs::path& folder, const std::string& user, const std::string& domain)
{
    return folder / EncodeFileName(domain) / (EncodeFileName(user) + ".xml");
}

std::string CardFileText(const CardRecord& card)
{
    XmlDocument doc("card", 1);
    doc.AddChild("usr", card.user);
    doc.AddChild("dom", card.domain);
    for (int number = 1; number <= 4; ++number) {
        const StoredSection& section = card.Section(number);
        if (!section.held && section.notPublished == 0)
            continue;
        XmlNode& typ = doc.AddChild("typ", number);
        typ.AddChild(NotPublishedTag, section.notPublished);
        if (!section.held)
            continue;
        typ.AddChild(VersionTag, section.version);
        const auto& tags = SectionTags(number);
        for (std::size_t i = 0; i < tags.size(); ++i)
            if (!section.values[i].empty())
                typ.AddChild(tags[i], section.values[i]);
    }
    return doc.GetXml();
}

std::optional<CardRecord> ParseCardFile(const std::string& text)
{
    XmlDocument doc;
    if (!doc.Parse(text) || doc.GetRoot().GetName() != "card")
        return std::nullopt;
    CardRecord card(doc.FindChild("usr").GetText(), doc.FindChild("dom").GetText());
    if (card.user.empty() || card.domain.empty())
        return std::nullopt;
    for (const XmlNode* typ = &doc.FindChild("typ"); !typ->GetText().empty();
         typ = &doc.FindNextChild("typ", *typ)) {
        int number = ReadNumber(typ->GetText());
        if (number < 1 || number > 4)
            continue;
        StoredSection& section = card.Section(number);
        section.notPublished = ReadNumber(typ->FindChild(NotPublishedTag).GetText()) != 0 ? 1 : 0;
        section.held = typ->HasChild(VersionTag);
        if (!section.held)
            continue;
        section.version = ReadNumber(typ->FindChild(VersionTag).GetText());
        const auto& tags = SectionTags(number);
        for (std::size_t i = 0; i < tags.size(); ++i)
            section.values[i] = typ->FindChild(tags[i]).GetText();
    }
    return card;
}

bool WriteCardFile(const fs::path& folder, const CardRecord& card)
{
    std::error_code error;
    fs::path target = CardFilePath(folder, card.user, card.domain);
    fs::create_directories(target.parent_path(), error);
    if (error)
        return false;
    fs::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << CardFileText(card);
        out.close();
        if (!out) {
            fs::remove(temporary, error);
            return false;
        }
    }
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

std::optional<CardRecord> ReadCardFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ParseCardFile(text);
}
