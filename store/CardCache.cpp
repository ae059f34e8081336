#include "store/CardCache.h"

#include <vector>

#include "frame/HostSettings.h"
#include "protocol/Number.h"
#include "support/Xml.h"

namespace {

constexpr uint32_t NoVersion = 0xFFFFFFFF;
// A photo file larger than this is not read: a picture is at most 8 KB.
constexpr LONGLONG MaxPhotoFileSize = 64LL << 20;

bool IsSafeAccount(const std::string& user, const std::string& domain)
{
    return IsSafeAccountName(user) && IsSafeAccountName(domain);
}

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

std::string ChildText(const XmlNode& section, const std::string& tag)
{
    return section.FindChild(tag).GetText();
}

bool WriteWholeFile(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = text.empty() ||
              (WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size());
    return CloseHandle(file) && ok;
}

bool ReadWholeFile(const std::string& path, std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size = {};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= MaxPhotoFileSize;
    std::string bytes;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                               read == bytes.size());
    }
    CloseHandle(file);
    if (ok)
        text = bytes.substr(0, bytes.find('\0'));
    return ok;
}

} // namespace

CardCache::CardCache(RegKey& registryKey, const std::string& applicationPath)
    : key(registryKey), appPath(applicationPath) {}

std::string CardCache::CardKey(const std::string& user, const std::string& domain)
{
    return std::string(HostSettingsKey) + "\\Users\\" + domain + "\\" + user + "\\VC";
}

std::string CardCache::PhotoFolder() const
{
    bool separated = !appPath.empty() && appPath.back() == '\\';
    return appPath + (separated ? "" : "\\") + "vc";
}

std::string CardCache::PhotoFile(const std::string& user, const std::string& domain) const
{
    return PhotoFolder() + "\\" + CombinedName(user, domain) + ".b64";
}

bool CardCache::FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
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

bool CardCache::WriteVersion(int section, int version)
{
    return key.WriteDword(NamesOf(section).version, static_cast<uint32_t>(version));
}

int CardCache::GetCachedVersion(const std::string& user, const std::string& domain, int section)
{
    if (!IsSafeAccount(user, domain) || !UseCardKey(user, domain))
        return NotCached;
    SectionNames names = NamesOf(section);
    if (!names.key)
        return NotCached;
    auto version = static_cast<int32_t>(key.ReadDword(names.version, NoVersion));
    if (!key.SetKey(CardKey(user, domain) + "\\" + names.key, false))
        return NotCached;
    if (section == PhotoSection && !FileExists(key.ReadString("ph", "")))
        return NotCached;
    return version;
}

// The version is withdrawn before the values change and written back only
// when every value was written, so a store that fails part way leaves the
// section not cached rather than a version over values it does not hold.
void CardCache::StoreFields(const std::string& user, const std::string& domain, const XmlNode& section,
                            int number)
{
    if (!IsSafeAccount(user, domain) || !UseSection(user, domain, number))
        return;
    if (!UseCardKey(user, domain) || !WriteVersion(number, NotCached) || !UseSection(user, domain, number))
        return;
    for (const std::string& tag : StoredTags(number))
        if (!key.WriteString(tag, ChildText(section, tag)))
            return;
    if (!key.WriteDword(NotPublishedTag, static_cast<uint32_t>(ReadNumber(ChildText(section, NotPublishedTag)))))
        return;
    if (UseCardKey(user, domain))
        WriteVersion(number, ReadNumber(ChildText(section, VersionTag)));
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
    if (!IsSafeAccount(user, domain))
        return;
    std::string file = PhotoFile(user, domain);
    if (!flagOnly) {
        CreateDirectoryA(PhotoFolder().c_str(), nullptr);
        std::string fresh = file + ".new";
        if (!WriteWholeFile(fresh, ChildText(section, "ph"))) {
            DeleteFileA(fresh.c_str());
            return;
        }
        if (!UseCardKey(user, domain) || !WriteVersion(PhotoSection, NotCached) ||
            !MoveFileExA(fresh.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            DeleteFileA(fresh.c_str());
            return;
        }
    }
    if (!UseSection(user, domain, PhotoSection))
        return;
    if (!flagOnly && !key.WriteString("ph", file))
        return;
    if (!key.WriteDword(NotPublishedTag, static_cast<uint32_t>(ReadNumber(ChildText(section, NotPublishedTag)))))
        return;
    if (!flagOnly && UseCardKey(user, domain))
        WriteVersion(PhotoSection, ReadNumber(ChildText(section, VersionTag)));
}

void CardCache::LoadBasic(const std::string& user, const std::string& domain, IdentificationFields& fields,
                          int& hidden)
{
    if (!IsSafeAccount(user, domain) || !UseSection(user, domain, IdentificationSection))
        return;
    for (const auto& entry : IdentificationTags)
        fields.*entry.field = key.ReadString(entry.tag, "");
    fields.emails = ReadEmailSlots([&](const std::string& tag) { return key.ReadString(tag, ""); });
    hidden = static_cast<int>(key.ReadDword(NotPublishedTag, 0));
}

template <std::size_t N>
void CardCache::LoadAddress(const std::string& user, const std::string& domain, int number,
                            const FieldTag<AddressFields> (&tags)[N], AddressFields& fields, int& hidden)
{
    if (!IsSafeAccount(user, domain) || !UseSection(user, domain, number))
        return;
    for (const auto& entry : tags)
        fields.*entry.field = key.ReadString(entry.tag, "");
    fields.web = WebPageReceived(fields.web);
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
    if (!IsSafeAccount(user, domain) || !UseSection(user, domain, PhotoSection))
        return false;
    std::string path = key.ReadString("ph", "");
    std::string text;
    if (!FileExists(path) || !ReadWholeFile(path, text))
        return false;
    fields.picture = text;
    hidden = static_cast<int>(key.ReadDword(NotPublishedTag, 0));
    return true;
}
