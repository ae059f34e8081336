#pragma once
// What the hostile answers may have written: snapshots of registry keys and
// folders, and the entries that differ between two snapshots outside the
// places the service may write to.
#include <windows.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

class WriteAudit {
public:
    // Registry subtree watched in full, e.g. HKLM "Software".
    void WatchKey(HKEY root, const std::string& rootName, const std::string& path);
    // Folder watched in full (recursive) or only its own entries.
    void WatchFolder(const std::filesystem::path& folder, bool recursive);
    // Changes below this prefix are allowed ("HKLM\Software\...\Users\" or a
    // folder path); compared without case.
    void Allow(const std::string& prefix);
    // A file or key left out altogether (files the host itself writes, the
    // large Classes trees).
    void Ignore(const std::string& path);

    void Before();
    std::size_t Watched() const { return before.size(); }
    // The entries added, removed or changed since Before() that are not allowed.
    std::vector<std::string> Violations() const;

private:
    using Snapshot = std::map<std::string, std::string>;  // entry -> content digest
    struct Key {
        HKEY root;
        std::string rootName, path;
    };
    struct Folder {
        std::filesystem::path path;
        bool recursive;
    };

    Snapshot Take() const;
    void AddKey(Snapshot& into, HKEY root, const std::string& name, const std::string& path, int depth) const;
    void AddFolder(Snapshot& into, const Folder& folder) const;
    bool Allowed(const std::string& entry) const;
    bool Ignored(const std::string& entry) const;

    std::vector<Key> keys;
    std::vector<Folder> folders;
    std::vector<std::string> allowed, ignored;
    Snapshot before;
};
