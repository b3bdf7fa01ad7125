// ScratchRegistryTest: HKEY_LOCAL_MACHINE redirected to HKCU\Software\TarnwickTests\Machine,
// and on request HKEY_CURRENT_USER to HKCU\Software\TarnwickTests\User.
#include "ScratchRegistry.h"

namespace {

TKeyHandle CreateUnder(HKEY base, const std::string& path, REGSAM view = 0) {
    TKeyHandle key;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(base, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                                             key.Receive(), nullptr))
        << path;
    return key;
}

// The machine keys the tests write are those of the native view, which the window shows first: a
// 32-bit test program would otherwise write the 32-bit view's.
TKeyHandle CreateMachineKey(const std::string& path) {
    return CreateUnder(HKEY_LOCAL_MACHINE, path, kMachine64Location.view);
}

}  // namespace

void ScratchRegistryTest::SetUp() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kScratchMachinePath);
    scratch_ = CreateUnder(HKEY_CURRENT_USER, kScratchMachinePath);
    ASSERT_TRUE(scratch_.IsValid());
    // The registry sends the 32-bit view of a key that has this subkey into it.
    CreateUnder(scratch_.Get(), "Software\\Wow6432Node");
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_LOCAL_MACHINE, scratch_.Get()));
    CreateKey(UninstallKeyPath);
}

void ScratchRegistryTest::RedirectCurrentUser() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kScratchUserPath);
    scratchUser_ = CreateUnder(HKEY_CURRENT_USER, kScratchUserPath);
    ASSERT_TRUE(scratchUser_.IsValid());
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CURRENT_USER, scratchUser_.Get()));
    CreateUnder(HKEY_CURRENT_USER, UninstallKeyPath);
}

void ScratchRegistryTest::TearDown() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    scratch_.Reset();
    if (scratchUser_) {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        scratchUser_.Reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchUserPath);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kScratchMachinePath);
}

std::string ScratchRegistryTest::EntryPath(const std::string& entry) {
    return std::string(UninstallKeyPath) + "\\" + entry;
}

LSTATUS ScratchRegistryTest::DeleteEntry(const std::string& entry) {
    TKeyHandle uninstall;
    const REGSAM access = KEY_ALL_ACCESS | kMachine64Location.view;
    const LSTATUS opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, UninstallKeyPath, 0, access, uninstall.Receive());
    return opened == ERROR_SUCCESS ? RegDeleteTreeA(uninstall.Get(), entry.c_str()) : opened;
}

void ScratchRegistryTest::CreateKey(const std::string& path) { CreateMachineKey(path); }

void ScratchRegistryTest::SetRaw(const std::string& path, const std::string& name, DWORD type, const void* data,
                                 DWORD size) {
    TKeyHandle key = CreateMachineKey(path);
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

void ScratchRegistryTest::CreateWideKey(const std::string& path, const std::wstring& name) {
    TKeyHandle parent = CreateMachineKey(path);
    TKeyHandle key;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(parent.Get(), name.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS | kMachine64Location.view, nullptr, key.Receive(), nullptr))
        << path;
}

bool ScratchRegistryTest::KeyExists(const std::string& path) { return KeyExists(kMachine64Location, path); }

bool ScratchRegistryTest::KeyExists(const TEntryLocation& location, const std::string& path) {
    TKeyHandle key;
    return RegOpenKeyExA(location.root, path.c_str(), 0, KEY_READ | location.view, key.Receive()) == ERROR_SUCCESS;
}

void ScratchRegistryTest::CreateEntry(const std::string& entry,
                                      const std::vector<std::pair<std::string, std::string>>& values) {
    CreateEntry(kMachine64Location, entry, values);
}

void ScratchRegistryTest::CreateEntry(const TEntryLocation& location, const std::string& entry,
                                      const std::vector<std::pair<std::string, std::string>>& values) {
    const TKeyHandle key = CreateUnder(location.root, EntryPath(entry), location.view);
    for (const auto& [name, value] : values)
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                                                reinterpret_cast<const BYTE*>(value.c_str()),
                                                static_cast<DWORD>(value.size() + 1)))
            << entry << " / " << name;
}
