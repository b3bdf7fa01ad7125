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

// Writes every section of `fileName` into UninstallKeyPath\<section> of `location` as REG_SZ
// values.
// Throws Exception "Invalid section name '%s' in %s" before writing anything when a section
// name is empty or holds a "\", and Exception / ERegistryException when a key or value fails.
void ImportEntries(const std::string& fileName, const TEntryLocation& location);
