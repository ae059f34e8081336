#include "store/CardCache.h"

#include <vector>

#include "platform/File.h"
#include "platform/ReportSwallowed.h"
#include "protocol/Number.h"
#include "store/CacheNames.h"
#include "support/Xml.h"

namespace {

constexpr uint32_t NoVersion = 0xFFFFFFFF;
// The card key's record of the account it holds, byte for byte.
constexpr const char* RecordedUser = "usr";
constexpr const char* RecordedDomain = "dom";
constexpr const char* TemporarySuffix = ".new";

std::vector<std::string> StoredTags(int section)
{
    std::vector<std::string> tags;
    auto add = [&](const auto& table) {
        for (const auto& entry : table)
            tags.push_back(entry.tag);
    };
    if (section == IdentificationSection) {
        add(IdentificationTags);
        for (int slot = 0; slot < MaxEmailSlots; ++slot)
            tags.push_back(EmailTag(slot));
    } else {
        if (section == HomeSection)
            add(HomeTags);
        else
            add(BusinessTags);
    }
    return tags;
}

// The photo text as the loader takes it: a plain file of at most
// MaxPhotoFileSize bytes, up to its first zero byte.
bool ReadPhotoFile(const std::string& path, std::string& text)
{
    bool longer = false;
    auto bytes = ReadFileStart(path.c_str(), CardCache::MaxPhotoFileSize, &longer);
    if (!bytes || longer)
        return false;
    text = bytes->substr(0, bytes->find('\0'));
    return true;
}

} // namespace

CardCache::CardCache(RegKey& registryKey, const std::string& applicationPath, std::string cardsKey)
    : key(registryKey), appPath(applicationPath), usersKey(std::move(cardsKey)) {}

std::string CardCache::CardKey(const std::string& user, const std::string& domain) const
{
    return usersKey + "\\" + domain + "\\" + user + "\\VC";
}

std::string CardCache::PhotoFolder() const
{
    bool separated = !appPath.empty() && appPath.back() == '\\';
    return appPath + (separated ? "" : "\\") + "vc";
}

std::string CardCache::PhotoFile(const std::string& user, const std::string& domain) const
{
    return PhotoFolder() + "\\" + PhotoFileName(user, domain);
}

// Judged on the names really opened: both registry keys and both photo files.
bool CardCache::IsCacheable(const std::string& user, const std::string& domain) const
{
    std::string file = PhotoFileName(user, domain);
    return IsSafeKeyName(user) && IsSafeKeyName(domain) && IsPlainFileName(file) &&
           IsPlainFileName(file + TemporarySuffix);
}

bool CardCache::UseKey(const std::string& path)
{
    return key.SetRootKey(HKEY_LOCAL_MACHINE) && key.SetKey(path, true);
}

bool CardCache::UseCardKey(const std::string& user, const std::string& domain)
{
    return UseKey(CardKey(user, domain));
}

bool CardCache::UseSection(const std::string& user, const std::string& domain, int section)
{
    return UseKey(CardKey(user, domain) + "\\" + NamesOf(section).key);
}

bool CardCache::HoldsAccount(const std::string& user, const std::string& domain) const
{
    return key.ReadString(RecordedUser, "") == user && key.ReadString(RecordedDomain, "") == domain;
}

bool CardCache::ClaimFor(const std::string& user, const std::string& domain)
{
    if (HoldsAccount(user, domain))
        return true;
    for (int section = IdentificationSection; section <= PhotoSection; ++section)
        if (!WriteVersion(section, NotCached))
            return false;
    return key.WriteString(RecordedUser, user) && key.WriteString(RecordedDomain, domain);
}

bool CardCache::UseOwnCardKey(const std::string& user, const std::string& domain, bool claim)
{
    return IsCacheable(user, domain) && UseCardKey(user, domain) &&
           (claim ? ClaimFor(user, domain) : HoldsAccount(user, domain));
}

bool CardCache::WriteVersion(int section, int version)
{
    return key.WriteDword(NamesOf(section).version, static_cast<uint32_t>(version));
}

int CardCache::GetCachedVersion(const std::string& user, const std::string& domain, int section)
{
    SectionNames names = NamesOf(section);
    if (!names.key || !UseOwnCardKey(user, domain, false))
        return NotCached;
    auto version = static_cast<int32_t>(key.ReadDword(names.version, NoVersion));
    if (!key.SetKey(CardKey(user, domain) + "\\" + names.key, false))
        return NotCached;
    std::string photo;
    if (section == PhotoSection && !ReadPhotoFile(key.ReadString("ph", ""), photo))
        return NotCached;
    return version;
}

// The version is withdrawn before the values change and written back only
// when every value was written, so a store that fails part way leaves the
// section not cached rather than a version over values it does not hold.
void CardCache::StoreFields(const std::string& user, const std::string& domain, const XmlNode& section,
                            int number)
{
    if (IsCacheable(user, domain) && !WriteFields(user, domain, section, number))
        ReportSwallowed("CardCache::StoreFields");
}

bool CardCache::WriteFields(const std::string& user, const std::string& domain, const XmlNode& section, int number)
{
    if (!UseOwnCardKey(user, domain, true) || !WriteVersion(number, NotCached) || !UseSection(user, domain, number))
        return false;
    for (const std::string& tag : StoredTags(number))
        if (!key.WriteString(tag, section.ChildText(tag)))
            return false;
    return key.WriteDword(NotPublishedTag, static_cast<uint32_t>(ReadNumber(section.ChildText(NotPublishedTag)))) &&
           UseCardKey(user, domain) && WriteVersion(number, ReadNumber(section.ChildText(VersionTag)));
}

void CardCache::StoreBasic(const std::string& user, const std::string& domain, const XmlNode& section)
{
    StoreFields(user, domain, section, IdentificationSection);
}

void CardCache::StoreHome(const std::string& user, const std::string& domain, const XmlNode& section)
{
    StoreFields(user, domain, section, HomeSection);
}

void CardCache::StoreBusiness(const std::string& user, const std::string& domain, const XmlNode& section)
{
    StoreFields(user, domain, section, BusinessSection);
}

// The picture goes to a new file first; it replaces the stored one only once
// the version is withdrawn, so a failure leaves the former copy whole or the
// section not cached.
void CardCache::StorePhoto(const std::string& user, const std::string& domain, const XmlNode& section, bool flagOnly)
{
    if (IsCacheable(user, domain) && !WritePhoto(user, domain, section, flagOnly))
        ReportSwallowed("CardCache::StorePhoto");
}

// A flag alone is never written over another account's photo.
bool CardCache::WritePhoto(const std::string& user, const std::string& domain, const XmlNode& section, bool flagOnly)
{
    std::string file = PhotoFile(user, domain);
    if (flagOnly) {
        if (!UseOwnCardKey(user, domain, false))
            return true;
    } else {
        CreateDirectoryA(PhotoFolder().c_str(), nullptr);
        std::string fresh = file + TemporarySuffix;
        if (!WriteWholeFile(fresh.c_str(), section.ChildText("ph")) || !UseOwnCardKey(user, domain, true) ||
            !WriteVersion(PhotoSection, NotCached) ||
            !MoveFileExA(fresh.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            DeleteFileA(fresh.c_str());
            return false;
        }
    }
    if (!UseSection(user, domain, PhotoSection) || (!flagOnly && !key.WriteString("ph", file)) ||
        !key.WriteDword(NotPublishedTag, static_cast<uint32_t>(ReadNumber(section.ChildText(NotPublishedTag)))))
        return false;
    return flagOnly || (UseCardKey(user, domain) && WriteVersion(PhotoSection, ReadNumber(section.ChildText(VersionTag))));
}

void CardCache::LoadBasic(const std::string& user, const std::string& domain, IdentificationFields& fields,
                          int& hidden)
{
    if (!UseOwnCardKey(user, domain, false) || !UseSection(user, domain, IdentificationSection))
        return;
    ReadIdentification(fields, [&](const std::string& tag) { return key.ReadString(tag, ""); });
    hidden = static_cast<int>(key.ReadDword(NotPublishedTag, 0));
}

template <std::size_t N>
void CardCache::LoadAddress(const std::string& user, const std::string& domain, int number,
                            const FieldTag<AddressFields> (&tags)[N], AddressFields& fields, int& hidden)
{
    if (!UseOwnCardKey(user, domain, false) || !UseSection(user, domain, number))
        return;
    ReadAddress(fields, tags, [&](const std::string& tag) { return key.ReadString(tag, ""); });
    hidden = static_cast<int>(key.ReadDword(NotPublishedTag, 0));
}

void CardCache::LoadHome(const std::string& user, const std::string& domain, AddressFields& fields, int& hidden)
{
    LoadAddress(user, domain, HomeSection, HomeTags, fields, hidden);
}

void CardCache::LoadBusiness(const std::string& user, const std::string& domain, AddressFields& fields, int& hidden)
{
    LoadAddress(user, domain, BusinessSection, BusinessTags, fields, hidden);
}

bool CardCache::LoadPhoto(const std::string& user, const std::string& domain, PhotoFields& fields, int& hidden)
{
    std::string text;
    if (!UseOwnCardKey(user, domain, false) || !UseSection(user, domain, PhotoSection) ||
        !ReadPhotoFile(key.ReadString("ph", ""), text))
        return false;
    fields.picture = text;
    hidden = static_cast<int>(key.ReadDword(NotPublishedTag, 0));
    return true;
}
