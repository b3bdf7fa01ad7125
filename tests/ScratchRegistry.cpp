// ScratchRegistryTest: HKEY_LOCAL_MACHINE redirected to HKCU\Software\TarnwickTests\Machine.
#include "ScratchRegistry.h"

namespace {

TKeyHandle CreateUnder(HKEY base, const std::string& path) {
    TKeyHandle key;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(base, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             key.Receive(), nullptr))
        << path;
    return key;
}

}  // namespace

void ScratchRegistryTest::SetUp() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kScratchMachinePath);
    scratch_ = CreateUnder(HKEY_CURRENT_USER, kScratchMachinePath);
    ASSERT_TRUE(scratch_.IsValid());
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_LOCAL_MACHINE, scratch_.Get()));
    CreateKey(UninstallKeyPath);
}

void ScratchRegistryTest::TearDown() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    scratch_.Reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, kScratchMachinePath);
}

std::string ScratchRegistryTest::EntryPath(const std::string& entry) {
    return std::string(UninstallKeyPath) + "\\" + entry;
}

void ScratchRegistryTest::CreateKey(const std::string& path) { CreateUnder(HKEY_LOCAL_MACHINE, path); }

void ScratchRegistryTest::SetRaw(const std::string& path, const std::string& name, DWORD type, const void* data,
                                 DWORD size) {
    TKeyHandle key = CreateUnder(HKEY_LOCAL_MACHINE, path);
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExA(key.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size))
        << path << " / " << name;
}

void ScratchRegistryTest::SetString(const std::string& path, const std::string& name, const std::string& value,
                                    DWORD type) {
    SetRaw(path, name, type, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void ScratchRegistryTest::SetDword(const std::string& path, const std::string& name, DWORD value) {
    SetRaw(path, name, REG_DWORD, &value, sizeof(value));
}

bool ScratchRegistryTest::KeyExists(const std::string& path) {
    TKeyHandle key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.Receive()) == ERROR_SUCCESS;
}

void ScratchRegistryTest::CreateEntry(const std::string& entry,
                                      const std::vector<std::pair<std::string, std::string>>& values) {
    CreateKey(EntryPath(entry));
    for (const auto& [name, value] : values) SetString(EntryPath(entry), name, value);
}
