// The check of Uninstall entries by the rules of the information box: each entry's uninstall
// command found as the details find it, resolved and tested for its link state in the
// file-system view of the entry's location, with the file probes of one run remembered.
#pragma once

#include "Entries/Link.h"
#include "Entries/Location.h"
#include "Entries/Registry.h"
#include "Entries/SplitCmd.h"

#include <string>
#include <vector>

// Whether the details' automatic check takes a value of this name for the uninstall command.
bool NamesUninstallCommand(const std::string& valueName);

// What a command line points to: its program and parameters, and the link state of the program.
struct TCommandLink {
    std::string program;
    std::string params;
    LinkState state = lsInvalidLink;
};

// Splits `line` and tells its program's link state, in the file-system view of `location`. With
// `cache`, a file or drive probed before is not probed again; without, everything is probed now.
TCommandLink EvaluateCommandLink(const TEntryLocation& location, const std::string& line, TProbeCache* cache = nullptr);

// What the check tells about an entry.
enum TEntryState {
    esExistingLink,
    esInvalidLink,
    esMissingDisk,
    esUnsupportedName,     // its name cannot reach its key in this ANSI code page
    esNoUninstallCommand,  // no value is taken for the uninstall command
    esNotText,             // the command is stored as a number or other data
};

struct TEntryCheck {
    std::string name;
    std::string displayName;  // as the details show it; "" when missing
    std::string command;      // the uninstall command value as the details show it
    std::string explanation;  // for an entry without a command: a value that tells why, "name = data"
    TEntryState state = esNoUninstallCommand;
};

// The state column's text of a checked entry.
std::string EntryStateText(const TEntryCheck& entry);

// Checks the entries of one location, one at a time, with the Uninstall key held open meanwhile.
// Made for one run: the file probes it remembers may be stale later.
class TEntryChecker {
public:
    // Lists the entries of `location`; none when its Uninstall key cannot be opened.
    explicit TEntryChecker(const TEntryLocation& location);
    TEntryChecker(const TEntryChecker&) = delete;
    TEntryChecker& operator=(const TEntryChecker&) = delete;

    const TStringList& Names() const { return names_; }
    // Checks the entry Names()[index]. Reads nothing that the details would not show and
    // throws nothing: a value that cannot be read is left out, as in the details.
    TEntryCheck Check(size_t index);

private:
    TEntryLocation location_;
    TRegistry uninstall_;
    TRegistry entry_;
    TStringList names_;
    TStringList unsupportedNames_;
    TProbeCache probes_;
};
