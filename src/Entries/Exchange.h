// Exchange files: an Uninstall entry's values saved to an INI file (one section per entry, one
// key per value) and INI files written back into the Uninstall key. No window involved.
#pragma once

#include "Entries/Location.h"
#include "Entries/Registry.h"

#include <string>
#include <utility>
#include <vector>

// The file's key name for the entry's unnamed default value.
inline constexpr const char* DefaultValueKey = "@";

using TValueRows = std::vector<std::pair<std::string, std::string>>;  // (value name, text)

// An entry's values as an exchange file sees them: the file holds text only.
struct TExportValues {
    TValueRows texts;     // the text values, by name in the details' order (lstrcmpA)
    TStringList nonText;  // names of the values of every other type, in the same order
};

// Reads the values of UninstallKeyPath\<entryName> of `location` as they are now; none when the
// key cannot be opened. Throws when a value cannot be read, also when its name does not reach it
// ("This system cannot handle the value name '%s'").
TExportValues ReadExportValues(const std::string& entryName, const TEntryLocation& location);

// Replaces `fileName` with one section `entryName` holding `rows` in order, or deletes it when
// there are no rows. The file is replaced only once every value reads back unchanged; otherwise
// throws Exception "Unable to export '%s': <reason>" naming the value (or the entry), or
// "Unable to write to %s", and leaves the old file as it was.
void ExportEntry(const std::string& fileName, const std::string& entryName, const TValueRows& rows);

// What the user is told after an export: the values left out because they are not text
// ("(Default)" standing for the unnamed one), and that no file was written when the entry had
// no text value. "" when every value was written.
std::string ExportWarning(const std::string& entryName, const TExportValues& values);

// The text of an exchange file's bytes in the program's ANSI code page. Where that is UTF-8,
// UTF-8 is taken as it is (without a byte-order mark), UTF-16 with its byte-order mark is
// converted, and anything else was written before, or by another program, in the system's
// legacy ANSI code page and is converted from it. Elsewhere the bytes stay as they are. Throws
// Exception "Unable to read %s" (`fileName`) for UTF-16 that is no text.
std::string ExchangeTextOf(const std::string& bytes, const std::string& fileName);

// Writes every section of `fileName` into UninstallKeyPath\<section> of `location` as REG_SZ
// values. The file is read as ExchangeTextOf gives its bytes. Before writing anything, throws
// Exception "Unable to import %s: line <n> <what>" for the first line that is no section
// header, value, comment or blank, that ends in a carriage return without a line feed, that
// names an empty section or one with a "\", that repeats a section or a key of its section (in
// any case of any script), that holds a value before the first section or one without a name,
// or whose name the profile functions read otherwise than this check; and "Unable to import %s:
// it holds no section" when there is none. Throws Exception / ERegistryException when the file
// cannot be read or a key or value fails.
void ImportEntries(const std::string& fileName, const TEntryLocation& location);
