#pragma once
// The local copy of every card section seen, with its version: the section
// fields in the registry below the host's key, the photo's Base64 text in a
// file of its own in appPath's "vc" folder. The card key records the account
// it holds, since the registry and the file system ignore case. A card whose
// names make no safe key or file name is never cached.
#include <string>

#include "protocol/Card.h"
#include "store/RegKey.h"

class XmlNode;

class CardCache {
public:
    // A photo file larger than this is not read: the Base64 text of an
    // 8192-byte picture is about 11 KB.
    static constexpr uint64_t MaxPhotoFileSize = 1 << 20;

    // The key and appPath are the service's own and are used as they are when
    // called; usersKey is the key below HKEY_LOCAL_MACHINE that holds the cards.
    CardCache(RegKey& key, const std::string& appPath, std::string usersKey);

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

    // appPath's "vc" folder and the photo file in it.
    std::string PhotoFolder() const;
    std::string PhotoFile(const std::string& user, const std::string& domain) const;

    // The account's card key below HKEY_LOCAL_MACHINE.
    std::string CardKey(const std::string& user, const std::string& domain) const;

private:
    bool IsCacheable(const std::string& user, const std::string& domain) const;
    bool UseKey(const std::string& path);
    bool UseSection(const std::string& user, const std::string& domain, int section);
    bool UseCardKey(const std::string& user, const std::string& domain);
    // Whether the current card key records exactly this account.
    bool HoldsAccount(const std::string& user, const std::string& domain) const;
    // Makes the current card key this account's, withdrawing every version
    // of the account it held before.
    bool ClaimFor(const std::string& user, const std::string& domain);
    // The card key current and recorded for this account; with claim, taken
    // over from whichever account it held.
    bool UseOwnCardKey(const std::string& user, const std::string& domain, bool claim);
    void StoreFields(const std::string& user, const std::string& domain, const XmlNode& section, int number);
    template <std::size_t N>
    void LoadAddress(const std::string& user, const std::string& domain, int number,
                     const FieldTag<AddressFields> (&tags)[N], AddressFields& fields, int& hidden);
    bool WriteVersion(int section, int version);

    RegKey& key;
    const std::string& appPath;
    std::string usersKey;
};
