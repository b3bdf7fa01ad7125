// Entry trees for tests: one with every kind of value and a subtree three deep, and raw writes
// and reads of a key's tree with the registry's UTF-16 functions, apart from the code under test.
#pragma once

#include "Entries/EntryTree.h"
#include "Entries/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

inline std::string Utf16Bytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// Printed by name, type and size when a comparison fails.
inline void PrintTo(const TKeyValue& value, std::ostream* out) {
    *out << "{" << DisplayName(value.name) << ", type " << value.type << ", " << value.data.size() << " bytes}";
}
inline void PrintTo(const TKeyTree& tree, std::ostream* out) {
    *out << "[" << DisplayName(tree.name) << ": " << testing::PrintToString(tree.values) << ", "
         << testing::PrintToString(tree.subkeys) << "]";
}

// Every kind of value an installer may leave, with the data the ANSI functions would change or
// cut: text after an embedded null or with a line break, odd sizes, empty data, the default
// value, unknown types, names in other scripts.
inline TKeyTree EveryKindOfEntry(const std::wstring& name) {
    const std::vector<TKeyValue> values = {
        {L"DisplayName", REG_SZ, Utf16Bytes(std::wstring(L"Quote \" and \\ back\0", 19))},
        {L"UninstallString", REG_SZ, Utf16Bytes(std::wstring(L"C:\\x\\unins.exe\0", 15))},
        {L"", REG_SZ, Utf16Bytes(std::wstring(L"default\0", 8))},
        {L"Cut", REG_SZ, Utf16Bytes(std::wstring(L"a\0after\0", 8))},
        {L"Empty", REG_SZ, ""},
        {L"Odd size", REG_SZ, "abc"},
        {L"Lines", REG_SZ, Utf16Bytes(std::wstring(L"one\r\ntwo\0", 9))},
        {L"Path", REG_EXPAND_SZ, Utf16Bytes(std::wstring(L"%ProgramFiles%\\X\0", 17))},
        {L"Multi", REG_MULTI_SZ, Utf16Bytes(std::wstring(L"one\0two\0\0", 9))},
        {L"Size", REG_DWORD, std::string("\x78\x56\x34\x12", 4)},
        {L"Short", REG_DWORD, "\x01"},
        {L"Big", REG_QWORD, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
        {L"Blob", REG_BINARY, std::string(100, '\xAB')},
        {L"None", REG_NONE, ""},
        {L"Own \"type\"", 0x12345, "custom"},
        {L"Ελληνικά", REG_SZ, Utf16Bytes(std::wstring(L"中文\0", 3))},
    };
    const TKeyTree level3{L"Level3", values, {}};
    const TKeyTree level2{L"Level2", {values[0]}, {level3}};
    return {name, values, {{L"Level1", {}, {level2}}, {L"Second", {values[12]}, {}}}};
}

// `tree` with its values and subkeys by name: the registry keeps no order of its own.
inline TKeyTree Sorted(TKeyTree tree) {
    const auto byName = [](const auto& a, const auto& b) { return a.name < b.name; };
    std::sort(tree.values.begin(), tree.values.end(), byName);
    for (TKeyTree& subtree : tree.subkeys) subtree = Sorted(subtree);
    std::sort(tree.subkeys.begin(), tree.subkeys.end(), byName);
    return tree;
}

// Writes `tree` as the subkey `tree.name` of the open key `parent`.
inline void WriteTree(HKEY parent, REGSAM view, const TKeyTree& tree) {
    TKeyHandle key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(parent, tree.name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                                             key.Receive(), nullptr));
    for (const TKeyValue& value : tree.values)
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.Get(), value.name.c_str(), 0, value.type,
                                                reinterpret_cast<const BYTE*>(value.data.data()),
                                                static_cast<DWORD>(value.data.size())));
    for (const TKeyTree& subtree : tree.subkeys) WriteTree(key.Get(), view, subtree);
}

// The tree of the subkey `name` of the open key `parent`, sorted; a failure when it is missing.
inline TKeyTree ReadTree(HKEY parent, REGSAM view, const std::wstring& name) {
    TKeyTree tree{name, {}, {}};
    TKeyHandle key;
    DWORD subkeys = 0, values = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ | view, key.Receive()))
        << DisplayName(name);
    RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    for (DWORD index = 0; index < values; ++index) {
        wchar_t valueName[16384];
        std::string data(65536, '\0');
        DWORD nameLength = 16384, size = static_cast<DWORD>(data.size());
        TKeyValue value;
        EXPECT_EQ(ERROR_SUCCESS, RegEnumValueW(key.Get(), index, valueName, &nameLength, nullptr, &value.type,
                                               reinterpret_cast<BYTE*>(data.data()), &size));
        tree.values.push_back({std::wstring(valueName, nameLength), value.type, data.substr(0, size)});
    }
    for (DWORD index = 0; index < subkeys; ++index) {
        wchar_t subkeyName[256];
        DWORD length = 256;
        EXPECT_EQ(ERROR_SUCCESS, RegEnumKeyExW(key.Get(), index, subkeyName, &length, nullptr, nullptr, nullptr, nullptr));
        tree.subkeys.push_back(ReadTree(key.Get(), view, std::wstring(subkeyName, length)));
    }
    return Sorted(tree);
}

// The same below the Uninstall key of `location`.
inline TKeyHandle UninstallKeyOf(const TEntryLocation& location) {
    TKeyHandle uninstall;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(location.root, UninstallKeyPath, 0, nullptr, 0,
                                             KEY_ALL_ACCESS | location.view, nullptr, uninstall.Receive(), nullptr));
    return uninstall;
}
inline void WriteEntryTree(const TEntryLocation& location, const TKeyTree& tree) {
    WriteTree(UninstallKeyOf(location).Get(), location.view, tree);
}
inline TKeyTree ReadEntryTree(const TEntryLocation& location, const std::wstring& name) {
    return ReadTree(UninstallKeyOf(location).Get(), location.view, name);
}
