#pragma once
// One account's card as the reference server keeps it, and its file: one
// XML file per account, <folder>/<domain>/<user>.xml with both names
// encoded so that any safe account name gives a plain ASCII file name.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct StoredSection {
    bool held = false;              // data was published for this section
    int notPublished = 0;           // 1: shown only to the owner and his contacts
    int version = 0;                // meaningful only when held
    std::vector<std::string> values;  // one per SectionTags(section)
};

// The field tags that the server keeps for section 1 to 4, in travelling
// order; identification ends with the slots "e0" to "e9". Empty for any
// other number.
const std::vector<std::string>& SectionTags(int section);
// Position of tag in SectionTags(section); -1 when the section has no such tag.
int TagIndex(int section, std::string_view tag);

struct CardRecord {
    CardRecord();
    CardRecord(std::string userName, std::string domainName);

    std::string user, domain;
    std::array<StoredSection, 4> sections;  // index = section number - 1

    StoredSection& Section(int number) { return sections[number - 1]; }
    const StoredSection& Section(int number) const { return sections[number - 1]; }
    // "" for a tag that the section does not have.
    const std::string& Field(int section, std::string_view tag) const;
    // Ignored for a tag that the section does not have.
    void SetField(int section, std::string_view tag, std::string value);
};

// Bytes a-z, 0-9, '.', '-' and '_' kept, every other byte as %XX (upper-case
// hex): distinct names stay distinct on a case-insensitive file system.
std::string EncodeFileName(std::string_view name);

std::filesystem::path CardFilePath(const std::filesystem::path& folder, const std::string& user,
                                   const std::string& domain);

// The file's text: root "card", "usr", "dom", then one "typ" per section that
// is held or flagged (a section without "ver" holds only its flag); empty
// fields are left out.
std::string CardFileText(const CardRecord& card);
// nullopt when the text is no card file.
std::optional<CardRecord> ParseCardFile(const std::string& text);

// Writes a temporary file beside the card's file and renames it over, so the
// file is either the old or the new one whole. False on any failure.
bool WriteCardFile(const std::filesystem::path& folder, const CardRecord& card);
// nullopt when the file cannot be read or parsed.
std::optional<CardRecord> ReadCardFile(const std::filesystem::path& file);
