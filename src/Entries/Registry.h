// TRegistry: every registry read and change of the program goes through one of these objects.
// It holds a root key with a registry view and at most one open ("current") key below it, and
// is made for one operation: create, choose the root, open, work, let it go out of scope.
#pragma once

#include "Base/Exception.h"
#include "Base/Handles.h"
#include "Base/Text.h"

#include <string>

inline constexpr const char* UninstallKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr const char* ShellFoldersKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The path of the Uninstall entry `entryName` below a location's root.
inline std::string UninstallEntryPath(const std::string& entryName) {
    return std::string(UninstallKeyPath) + "\\" + entryName;
}

// A value as the registry stores it: its type and its data bytes, unchanged.
struct TRegistryValue {
    DWORD type = REG_NONE;
    std::string data;

    // REG_SZ and REG_EXPAND_SZ hold text; every other type does not.
    bool IsText() const { return type == REG_SZ || type == REG_EXPAND_SZ; }
    // The text of a text value: its data up to the first null.
    std::string Text() const { return data.substr(0, data.find('\0')); }
    // Whether the data holds more than nulls after the text.
    bool HasDataAfterText() const {
        const auto end = data.find('\0');
        return end != std::string::npos && data.find_first_not_of('\0', end) != std::string::npos;
    }
};

// The error for a value that holds data other than text where text is needed.
ERegistryException InvalidDataTypeError(const std::string& name);

// The error for a listed value name that does not reach its value (see ListValueNames).
Exception UnsupportedValueNameError(const std::string& name);

class TRegistry {
public:
    TRegistry() = default;  // no key open, root HKEY_CURRENT_USER in the process's own view
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return root_; }
    REGSAM View() const { return view_; }
    HKEY CurrentKey() const { return current_.Get(); }
    const std::string& CurrentPath() const { return currentPath_; }

    // Switches to another root (a predefined key, or an open key that outlives this use of it)
    // and registry view (KEY_WOW64_64KEY, KEY_WOW64_32KEY, or 0 for the process's own), which
    // every later open, create and delete passes on; closes the current key when either changes.
    void ChooseRoot(HKEY root, REGSAM view = 0);

    // Opens (or with mayCreate and a non-empty path, creates with missing parents) the key at
    // `path` with full access and makes it current. "\..." is absolute (from the root); any other
    // path is relative to the current key, or to the root when none is open. On failure nothing
    // changes and the result is false.
    bool OpenRegistryKey(const std::string& path, bool mayCreate);

    // Closes the current key and clears the current path; never flushes.
    void CloseRegistryKey();

    // Replace `list` with the subkey / value names of the current key in enumeration order.
    // Empty with no current key. The unnamed default value is listed as "". A name that cannot
    // be read (the key changed meanwhile) is left out. `inexact`, when given, receives the
    // listed names that are not the registry's own: the ANSI code page cannot hold one of its
    // characters (it reads as "?" or a look-alike), so the name opens no key, or another one.
    void ListSubkeyNames(TStringList& list, TStringList* inexact = nullptr) const;
    void ListValueNames(TStringList& list, TStringList* inexact = nullptr) const;

    // True when the current key has a value of that name, of any type and size.
    bool HasValue(const std::string& name) const;

    // The value's type and data bytes; REG_NONE without data when it does not exist. Throws
    // ERegistryException "Failed to get data for '%s'" when the data cannot be read.
    TRegistryValue ReadValue(const std::string& name) const;

    // The value's string data up to its first null; "" when it does not exist or has no data.
    // Throws ERegistryException when the data cannot be read or is not REG_SZ / REG_EXPAND_SZ.
    std::string ReadStringValue(const std::string& name) const;

    // Whether `text`, the text of the current key's text value `name` as ReadValue gives it, is
    // the registry's own: the ANSI code page cannot hold every character of the stored UTF-16
    // data, and reads one it lacks as "?" or a look-alike. False when the value cannot be read.
    bool IsExactText(const std::string& name, const std::string& text) const;

    // Stores `text` as REG_SZ. Throws ERegistryException on failure (also with no key open).
    void WriteStringValue(const std::string& name, const std::string& text);

    // Deletes the key at `path` (resolved like OpenRegistryKey) with all its subkeys; true when
    // the key itself was deleted. A path that does not name a key below its base (empty, or
    // ending in "\") deletes nothing and gives false.
    bool DeleteKeyTree(const std::string& path);

private:
    HKEY root_ = HKEY_CURRENT_USER;
    REGSAM view_ = 0;
    TKeyHandle current_;
    std::string currentPath_;
};
