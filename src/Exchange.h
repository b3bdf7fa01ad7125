// Exchange files: an Uninstall entry's values saved to an INI file (one section per entry, one
// key per value) and INI files written back into the Uninstall key. No window involved.
#pragma once

#include "Location.h"

#include <string>
#include <utility>
#include <vector>

// The file's key name for the entry's unnamed default value.
inline constexpr const char* DefaultValueKey = "@";

// Replaces `fileName` with one section `entryName` holding `rows` (value name, text) in order,
// or deletes it when there are no rows. The file is replaced only once every value reads back
// unchanged; otherwise throws Exception "Unable to export '%s'" naming the value (or the entry),
// or "Unable to write to %s", and leaves the old file as it was.
void ExportEntry(const std::string& fileName, const std::string& entryName,
                 const std::vector<std::pair<std::string, std::string>>& rows);

// The text of an exchange file's bytes in the program's ANSI code page. Where that is UTF-8,
// UTF-8 is taken as it is (without a byte-order mark), UTF-16 with its byte-order mark is
// converted, and anything else was written before, or by another program, in the system's
// legacy ANSI code page and is converted from it. Elsewhere the bytes stay as they are. Throws
// Exception "Unable to read %s" (`fileName`) for UTF-16 that is no text.
std::string ExchangeTextOf(const std::string& bytes, const std::string& fileName);

// The text of the file `fileName` as ExchangeTextOf gives it. Throws Exception
// "Unable to read %s" when the file cannot be read.
std::string ReadExchangeFileText(const std::string& fileName);

// Writes every section of `fileName` into UninstallKeyPath\<section> of `location` as REG_SZ
// values. The file is read as ReadExchangeFileText gives it. Throws Exception "Invalid section
// name '%s' in %s" before writing anything when a section name is empty or holds a "\", and
// Exception / ERegistryException when the file cannot be read or a key or value fails.
void ImportEntries(const std::string& fileName, const TEntryLocation& location);
