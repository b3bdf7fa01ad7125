// Test fixture that points HKEY_LOCAL_MACHINE at an emptied scratch key below HKEY_CURRENT_USER,
// so no test ever sees or touches the machine's real Uninstall key, nor another test's keys.
#pragma once

#include "Registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The key below HKEY_CURRENT_USER that stands in for HKEY_LOCAL_MACHINE during a test.
inline constexpr const char* kScratchMachinePath = "Software\\TarnwickTests\\Machine";

class ScratchRegistryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Helpers that write below the redirected HKEY_LOCAL_MACHINE with the raw API, so that
    // tests do not depend on the class under test to arrange their data.
    static std::string EntryPath(const std::string& entry);
    static void CreateKey(const std::string& path);
    static void SetString(const std::string& path, const std::string& name, const std::string& value,
                          DWORD type = REG_SZ);
    static void SetRaw(const std::string& path, const std::string& name, DWORD type, const void* data,
                       DWORD size);
    static void SetDword(const std::string& path, const std::string& name, DWORD value);
    static bool KeyExists(const std::string& path);
    // Creates an Uninstall entry with the given string values.
    static void CreateEntry(const std::string& entry,
                            const std::vector<std::pair<std::string, std::string>>& values);

private:
    TKeyHandle scratch_;
};
