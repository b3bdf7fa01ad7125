// How the details show a registry value: text as it is, other data as the system's registry
// editor writes it.
#pragma once

#include "Entries/Registry.h"

#include <string>

// REG_SZ / REG_EXPAND_SZ: the text up to its first null. REG_DWORD of 4 bytes: "0x0000000a (10)";
// REG_QWORD of 8 bytes: the same with 16 hex digits. REG_MULTI_SZ: its strings, separated by
// blanks. Everything else (REG_BINARY, other types, numbers of another size): the data bytes as
// two lower-case hex digits each, separated by blanks.
std::string ValueDisplayText(const TRegistryValue& value);
