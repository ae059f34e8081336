#include "devhost/WriteAudit.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

}  // namespace

void WriteAudit::WatchKey(HKEY root, const std::string& rootName, const std::string& path)
{
    keys.push_back({root, rootName, path});
}

void WriteAudit::WatchFolder(const std::filesystem::path& folder, bool recursive)
{
    std::error_code error;
    folders.push_back({std::filesystem::absolute(folder, error), recursive});
}

void WriteAudit::Allow(const std::string& prefix)
{
    allowed.push_back(Lower(prefix));
}

void WriteAudit::Ignore(const std::string& path)
{
    ignored.push_back(Lower(path));
}

void WriteAudit::Before()
{
    before = Take();
}

std::vector<std::string> WriteAudit::Violations() const
{
    Snapshot after = Take();
    std::vector<std::string> found;
    for (const auto& [entry, digest] : after) {
        auto old = before.find(entry);
        if ((old == before.end() || old->second != digest) && !Allowed(entry))
            found.push_back((old == before.end() ? "added " : "changed ") + entry);
    }
    for (const auto& [entry, digest] : before)
        if (!after.count(entry) && !Allowed(entry))
            found.push_back("removed " + entry);
    return found;
}

WriteAudit::Snapshot WriteAudit::Take() const
{
    Snapshot snapshot;
    for (const Key& key : keys)
        AddKey(snapshot, key.root, key.rootName + "\\" + key.path, key.path, 0);
    for (const Folder& folder : folders)
        AddFolder(snapshot, folder);
    return snapshot;
}

void WriteAudit::AddKey(Snapshot& into, HKEY root, const std::string& name, const std::string& path, int depth) const
{
    // Links are recorded, not followed; a bound on depth, not on the registry's goodwill.
    HKEY key = nullptr;
    if (Ignored(Lower(name)))
        return;
    if (depth > 32 || RegOpenKeyExA(root, path.c_str(), REG_OPTION_OPEN_LINK, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    into[Lower(name) + "\\"] = "";
    if (RegQueryValueExA(key, "SymbolicLinkValue", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        RegCloseKey(key);
        return;
    }
    std::vector<char> valueName(16384);
    std::vector<BYTE> data(1 << 16);
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = static_cast<DWORD>(valueName.size()), dataSize = static_cast<DWORD>(data.size()), type = 0;
        LONG result = RegEnumValueA(key, i, valueName.data(), &nameSize, nullptr, &type, data.data(), &dataSize);
        if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA)
            break;
        std::string content = std::to_string(type) + ":" +
            (result == ERROR_SUCCESS ? std::string(reinterpret_cast<char*>(data.data()), dataSize)
                                     : "size " + std::to_string(dataSize));
        into[Lower(name) + "\\" + Lower(std::string(valueName.data(), nameSize)) + "="] = content;
    }
    std::vector<std::string> children;
    for (DWORD i = 0;; ++i) {
        char child[256] = {};
        DWORD size = sizeof child;
        if (RegEnumKeyExA(key, i, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        children.emplace_back(child, size);
    }
    RegCloseKey(key);
    for (const std::string& child : children)
        AddKey(into, root, name + "\\" + child, path + "\\" + child, depth + 1);
}

void WriteAudit::AddFolder(Snapshot& into, const Folder& folder) const
{
    std::error_code error;
    auto record = [&into](const std::filesystem::directory_entry& entry) {
        std::error_code ignoredError;
        std::string digest = entry.is_directory(ignoredError)
            ? "folder"
            : std::to_string(entry.file_size(ignoredError)) + " bytes, written " +
                  std::to_string(entry.last_write_time(ignoredError).time_since_epoch().count());
        into[Lower(entry.path().string())] = digest;
    };
    if (folder.recursive) {
        for (std::filesystem::recursive_directory_iterator it(folder.path, error), end; !error && it != end;
             it.increment(error))
            record(*it);
    } else {
        for (std::filesystem::directory_iterator it(folder.path, error), end; !error && it != end;
             it.increment(error))
            record(*it);
    }
}

bool WriteAudit::Ignored(const std::string& entry) const
{
    return std::find(ignored.begin(), ignored.end(), entry) != ignored.end();
}

bool WriteAudit::Allowed(const std::string& entry) const
{
    auto under = [&entry](const std::string& prefix) {
        return entry.rfind(prefix, 0) == 0 &&
            (prefix.back() == '\\' || entry.size() == prefix.size() || entry[prefix.size()] == '\\');
    };
    return std::any_of(allowed.begin(), allowed.end(), under) || std::any_of(ignored.begin(), ignored.end(), under);
}
