// The bytes of an RCDATA resource of the test program (the resources are the program's own).
#pragma once

#include <windows.h>

#include <vector>

inline std::vector<unsigned char> ResourceBytes(int id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (resource == nullptr) return {};
    auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, resource)));
    return std::vector<unsigned char>(data, data + SizeofResource(module, resource));
}
