// Test fixture that points HKEY_LOCAL_MACHINE at an emptied scratch key below HKEY_CURRENT_USER,
// so no test ever sees or touches the machine's real Uninstall key, nor another test's keys.
// The scratch key splits into a 64-bit and a 32-bit view as the machine's Software key does;
// a test may point HKEY_CURRENT_USER at a scratch key of its own as well.
#pragma once

#include "Entries/Location.h"
#include "Entries/Registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The key below HKEY_CURRENT_USER that stands in for HKEY_LOCAL_MACHINE during a test.
inline constexpr const char* kScratchMachinePath = "Software\\TarnwickTests\\Machine";
// The key below the real HKEY_CURRENT_USER that stands in for it after RedirectCurrentUser.
inline constexpr const char* kScratchUserPath = "Software\\TarnwickTests\\User";

class ScratchRegistryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Points HKEY_CURRENT_USER at an emptied scratch key holding an empty Uninstall key, until
    // the test ends.
    void RedirectCurrentUser();

    // Helpers that write below the redirected keys with the raw API, so that tests do not
    // depend on the class under test to arrange their data. Without a location they work in
    // the 64-bit view of HKEY_LOCAL_MACHINE.
    static std::string EntryPath(const std::string& entry);
    static LSTATUS DeleteEntry(const std::string& entry);  // with all its subkeys
    static void CreateKey(const std::string& path);
    static void SetString(const std::string& path, const std::string& name, const std::string& value,
                          DWORD type = REG_SZ);
    static void SetRaw(const std::string& path, const std::string& name, DWORD type, const void* data,
                       DWORD size);
    static void SetDword(const std::string& path, const std::string& name, DWORD value);
    // Creates the subkey `name` (UTF-16, any characters) of the key at `path`.
    static void CreateWideKey(const std::string& path, const std::wstring& name);
    static bool KeyExists(const std::string& path);
    static bool KeyExists(const TEntryLocation& location, const std::string& path);
    // Creates an Uninstall entry with the given string values.
    static void CreateEntry(const std::string& entry,
                            const std::vector<std::pair<std::string, std::string>>& values);
    static void CreateEntry(const TEntryLocation& location, const std::string& entry,
                            const std::vector<std::pair<std::string, std::string>>& values);

private:
    TKeyHandle scratch_;
    TKeyHandle scratchUser_;
};
