#pragma once
// The local copy of every card section seen, with its version: the section
// fields in the registry below the host's key, the photo's Base64 text in a
// file of its own in appPath's "vc" folder. A card whose user name or domain
// is no safe path component is never cached.
#include <string>

#include "protocol/Card.h"
#include "store/RegKey.h"

class XmlNode;

class CardCache {
public:
    // Both are the service's own and are used as they are when called.
    CardCache(RegKey& key, const std::string& appPath);

    // The version of the usable cached copy of a section, or -1.
    int GetCachedVersion(const std::string& user, const std::string& domain, int section);

    // Store a "typ" element of that section; its version is written last.
    void StoreBasic(const std::string& user, const std::string& domain, const XmlNode& section);
    void StoreHome(const std::string& user, const std::string& domain, const XmlNode& section);
    void StoreBusiness(const std::string& user, const std::string& domain, const XmlNode& section);
    // With flagOnly, only the not-published flag changes.
    void StorePhoto(const std::string& user, const std::string& domain, const XmlNode& section, bool flagOnly);

    // Fill the holders and the section's not-published flag.
    void LoadBasic(const std::string& user, const std::string& domain, IdentificationFields& fields, int& hidden);
    void LoadHome(const std::string& user, const std::string& domain, AddressFields& fields, int& hidden);
    void LoadBusiness(const std::string& user, const std::string& domain, AddressFields& fields, int& hidden);
    // False, and nothing filled, when the stored photo file cannot be read.
    bool LoadPhoto(const std::string& user, const std::string& domain, PhotoFields& fields, int& hidden);

    static bool FileExists(const std::string& path);

    // appPath's "vc" folder and the photo file in it.
    std::string PhotoFolder() const;
    std::string PhotoFile(const std::string& user, const std::string& domain) const;

    // The account's card key below HKEY_LOCAL_MACHINE.
    static std::string CardKey(const std::string& user, const std::string& domain);

private:
    bool UseKey(const std::string& path);
    bool UseSection(const std::string& user, const std::string& domain, int section);
    bool UseCardKey(const std::string& user, const std::string& domain);
    void StoreFields(const std::string& user, const std::string& domain, const XmlNode& section, int number);
    template <std::size_t N>
    void LoadAddress(const std::string& user, const std::string& domain, int number,
                     const FieldTag<AddressFields> (&tags)[N], AddressFields& fields, int& hidden);
    bool WriteVersion(int section, int version);

    RegKey& key;
    const std::string& appPath;
};
