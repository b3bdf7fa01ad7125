// Capture and restore of an entry's key tree through the UTF-16 registry functions, which keep
// every name and text as stored; the ANSI functions would convert both on the way.
#include "Entries/EntryTree.h"

#include "Base/Exception.h"
#include "Entries/CodePage.h"
#include "Entries/Registry.h"

#include <algorithm>

namespace {

constexpr const char* kUnableToRestore = "Unable to put back the entry '%s'";

// The path of a subkey below the entry, for a reason: "A\B".
std::string SubkeyPath(const std::string& parentPath, const std::wstring& name) {
    return parentPath.empty() ? DisplayName(name) : parentPath + "\\" + DisplayName(name);
}

// Whether the ANSI code page holds `name` exactly: only then do the program's ANSI calls (the
// tree deletion among them) reach what it names.
bool FitsCodePage(const std::wstring& name) {
    std::string ansi;
    return CodePageFromWide(CP_ACP, name, ansi) && WideFromCodePage(CP_ACP, ansi) == name;
}

// Reads the values and subkeys of the open key `key` into `tree`; `path` is the key's path
// below the entry ("" for the entry itself), for the reason.
bool CaptureKey(HKEY key, REGSAM view, const std::string& path, TKeyTree& tree, std::string& reason) {
    DWORD subkeyCount = 0, maxSubkeyLength = 0, valueCount = 0, maxValueNameLength = 0, maxDataSize = 0;
    const std::string where = path.empty() ? "its key" : "its subkey '" + path + "'";
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeyCount, &maxSubkeyLength, nullptr, &valueCount,
                         &maxValueNameLength, &maxDataSize, nullptr, nullptr) != ERROR_SUCCESS) {
        reason = where + " cannot be read";
        return false;
    }
    std::wstring name(maxValueNameLength + 1, L'\0');
    std::string data(maxDataSize, '\0');
    for (DWORD index = 0; index < valueCount; ++index) {
        TKeyValue value;
        LONG status = ERROR_MORE_DATA;
        // A value that grew since the query asks for larger buffers.
        for (int attempt = 0; attempt < 4 && status == ERROR_MORE_DATA; ++attempt) {
            DWORD nameLength = static_cast<DWORD>(name.size());
            DWORD dataSize = static_cast<DWORD>(data.size());
            status = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &value.type,
                                   reinterpret_cast<BYTE*>(data.data()), &dataSize);
            if (status == ERROR_SUCCESS) {
                value.name.assign(name.data(), nameLength);
                value.data.assign(data.data(), dataSize);
            } else if (status == ERROR_MORE_DATA) {
                name.resize(name.size() * 2 + 2);
                data.resize(std::max<size_t>(data.size() * 2, dataSize));
            }
        }
        if (status != ERROR_SUCCESS) {
            reason = "a value of " + where + " cannot be read";
            return false;
        }
        if (!FitsCodePage(value.name)) {
            reason = "this system's code page cannot hold the name of the value '" + DisplayName(value.name) +
                     "' of " + where;
            return false;
        }
        tree.values.push_back(std::move(value));
    }

    std::wstring subkeyName(maxSubkeyLength + 1, L'\0');
    for (DWORD index = 0; index < subkeyCount; ++index) {
        DWORD length = static_cast<DWORD>(subkeyName.size());
        if (RegEnumKeyExW(key, index, subkeyName.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            reason = "a subkey of " + where + " cannot be read";
            return false;
        }
        TKeyTree subtree;
        subtree.name.assign(subkeyName.data(), length);
        const std::string subpath = SubkeyPath(path, subtree.name);
        if (!FitsCodePage(subtree.name)) {
            reason = "this system's code page cannot hold the name of its subkey '" + subpath + "'";
            return false;
        }
        TKeyHandle subkey;
        if (RegOpenKeyExW(key, subtree.name.c_str(), 0, KEY_ALL_ACCESS | view, subkey.Receive()) != ERROR_SUCCESS) {
            reason = "its subkey '" + subpath + "' cannot be opened";
            return false;
        }
        if (!CaptureKey(subkey.Get(), view, subpath, subtree, reason)) return false;
        tree.subkeys.push_back(std::move(subtree));
    }
    return true;
}

// Creates (or opens) the subkey `name` of `parent`; `created` tells which. Throws on failure.
TKeyHandle CreateKey(HKEY parent, REGSAM view, const std::wstring& name, const std::string& entryName,
                     bool& created) {
    TKeyHandle key;
    DWORD disposition = 0;
    if (RegCreateKeyExW(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | view, nullptr,
                        key.Receive(), &disposition) != ERROR_SUCCESS)
        throw Exception(FormatMessageText(kUnableToRestore, entryName) + ": the key '" + DisplayName(name) +
                        "' cannot be created");
    created = disposition == REG_CREATED_NEW_KEY;
    return key;
}

// Writes the values and subkeys of `tree` into the open key `key`, recursively.
void WriteKeyContents(HKEY key, REGSAM view, const TKeyTree& tree, const std::string& entryName) {
    WriteKeyValues(key, tree.values, tree.name);
    for (const TKeyTree& subtree : tree.subkeys) {
        bool created = false;
        const TKeyHandle subkey = CreateKey(key, view, subtree.name, entryName, created);
        WriteKeyContents(subkey.Get(), view, subtree, entryName);
    }
}

}  // namespace

std::string DisplayName(const std::wstring& name) {
    std::string ansi;
    if (CodePageFromWide(CP_ACP, name, ansi)) return ansi;
    const int size = WideCharToMultiByte(CP_ACP, 0, name.data(), static_cast<int>(name.size()), nullptr, 0,
                                         nullptr, nullptr);
    ansi.assign(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, name.data(), static_cast<int>(name.size()), ansi.data(), size, nullptr,
                            nullptr);
    return ansi;
}

bool OpenUninstallKey(const TEntryLocation& location, bool create, TKeyHandle& key) {
    TRegistry registry;
    registry.ChooseRoot(location.root, location.view);
    if (!registry.OpenRegistryKey(UninstallKeyPath, create)) return false;
    // A handle of our own that outlives the registry object.
    return RegOpenKeyExA(registry.CurrentKey(), "", 0, KEY_ALL_ACCESS | location.view, key.Receive()) ==
           ERROR_SUCCESS;
}

bool EntryKeyExists(const TEntryLocation& location, const std::wstring& name) {
    TKeyHandle uninstall, entry;
    return OpenUninstallKey(location, false, uninstall) &&
           RegOpenKeyExW(uninstall.Get(), name.c_str(), 0, KEY_READ | location.view, entry.Receive()) ==
               ERROR_SUCCESS;
}

void WriteKeyValues(HKEY key, const std::vector<TKeyValue>& values, const std::wstring& keyName) {
    for (const TKeyValue& value : values) {
        if (RegSetValueExW(key, value.name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                           static_cast<DWORD>(value.data.size())) != ERROR_SUCCESS)
            throw Exception(FormatMessageText("Failed to set data for '%s'", DisplayName(value.name)) + " in '" +
                            DisplayName(keyName) + "'");
    }
}

bool CaptureEntryTree(const TEntryLocation& location, const std::string& entryName, TKeyTree& tree,
                      std::string& reason) {
    tree = TKeyTree{WideFromCodePage(CP_ACP, entryName), {}, {}};
    TKeyHandle uninstall, entry;
    if (!OpenUninstallKey(location, false, uninstall) ||
        RegOpenKeyExW(uninstall.Get(), tree.name.c_str(), 0, KEY_ALL_ACCESS | location.view, entry.Receive()) !=
            ERROR_SUCCESS) {
        reason = "its key cannot be opened";
        return false;
    }
    return CaptureKey(entry.Get(), location.view, "", tree, reason);
}

// The Uninstall key of `location`, opened for writing `entryName` back into it.
TKeyHandle UninstallKeyToRestoreInto(const TEntryLocation& location, const std::string& entryName) {
    TKeyHandle uninstall;
    if (!OpenUninstallKey(location, true, uninstall))
        throw Exception(FormatMessageText(kUnableToRestore, entryName) + ": the Uninstall key cannot be opened");
    return uninstall;
}

bool RestoreEntryTree(const TEntryLocation& location, const TKeyTree& tree) {
    const std::string entryName = DisplayName(tree.name);
    const TKeyHandle uninstall = UninstallKeyToRestoreInto(location, entryName);
    bool created = false;
    TKeyHandle entry = CreateKey(uninstall.Get(), location.view, tree.name, entryName, created);
    // Created and opened in one call: no other program's key of that name can be written into.
    if (!created) return false;
    try {
        WriteKeyContents(entry.Get(), location.view, tree, entryName);
    } catch (const Exception&) {
        // Nothing half-restored stays behind: the removal can be undone again later.
        entry.Reset();
        TRegistry registry;
        registry.ChooseRoot(uninstall.Get(), location.view);
        registry.DeleteKeyTree(entryName);
        throw;
    }
    return true;
}

void RepairEntryTree(const TEntryLocation& location, const TKeyTree& tree) {
    const std::string entryName = DisplayName(tree.name);
    const TKeyHandle uninstall = UninstallKeyToRestoreInto(location, entryName);
    bool created = false;
    const TKeyHandle entry = CreateKey(uninstall.Get(), location.view, tree.name, entryName, created);
    WriteKeyContents(entry.Get(), location.view, tree, entryName);
}
