// An Uninstall entry's whole key tree held in memory: every value with its type and exact bytes,
// every subkey at every depth. Read and written with the registry's UTF-16 functions, so that
// names and text data come back exactly as they were stored.
#pragma once

#include "Base/Handles.h"
#include "Entries/Location.h"

#include <string>
#include <vector>

struct TKeyValue {
    std::wstring name;  // "" for the unnamed default value
    DWORD type = REG_NONE;
    std::string data;   // the bytes as stored (UTF-16 for text types)

    bool operator==(const TKeyValue&) const = default;
};

struct TKeyTree {
    std::wstring name;  // the key's own name, as stored
    std::vector<TKeyValue> values;
    std::vector<TKeyTree> subkeys;

    bool operator==(const TKeyTree&) const = default;
};

// An entry that could not be removed, and why (a phrase such as "its subkey 'A' cannot be
// opened"), for the message that names it.
struct TRemovalFailure {
    std::string entryName;
    std::string reason;
};

// A name as the program shows it: in the ANSI code page, a character it cannot hold as a
// stand-in ("?", or U+FFFD in UTF-8).
std::string DisplayName(const std::wstring& name);

// Reads the whole tree of the entry `entryName` of `location` into `tree`. False, with `reason`,
// when the entry's key or a subkey cannot be opened or read, or when the ANSI code page cannot
// hold a name in it (the program's other operations could not reach that part).
bool CaptureEntryTree(const TEntryLocation& location, const std::string& entryName, TKeyTree& tree,
                      std::string& reason);

// Creates the entry `tree` below the Uninstall key of `location` with every value and subkey
// byte for byte. Refuses (false, nothing written) when a key of that name exists. Throws
// Exception naming the entry when a key or value cannot be written, after deleting what it wrote.
bool RestoreEntryTree(const TEntryLocation& location, const TKeyTree& tree);

// Writes `tree` over the entry's key as it is now, creating what is missing: puts back the part
// of an entry that a failed deletion removed. Throws Exception when a key or value fails.
void RepairEntryTree(const TEntryLocation& location, const TKeyTree& tree);

// Whether the Uninstall key of `location` has a subkey named `name` (UTF-16, exact).
bool EntryKeyExists(const TEntryLocation& location, const std::wstring& name);

// Opens (or with `create`, creates) the Uninstall key of `location` with full access; false
// when that fails.
bool OpenUninstallKey(const TEntryLocation& location, bool create, TKeyHandle& key);

// Writes `values` into the open key `key`, each with its type and bytes; throws Exception naming
// `keyName` and the value on failure.
void WriteKeyValues(HKEY key, const std::vector<TKeyValue>& values, const std::wstring& keyName);
