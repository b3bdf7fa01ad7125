// The check of Uninstall entries: the same command, resolution and link rules as the details and
// the information box, in a loop that keeps the Uninstall key open and remembers its probes.
#include "Entries/EntryCheck.h"

#include "Base/Text.h"
#include "Entries/ValueText.h"

#include <exception>
#include <optional>

namespace {

// Values that tell why an entry has no uninstall command of its own, in the order they are told.
constexpr const char* kExplainingValues[] = {"SystemComponent", "ParentKeyName", "WindowsInstaller"};

// The value as the details show it; "" when it is missing or cannot be read.
std::string ShownValue(const TRegistry& key, const char* name) {
    try {
        return ValueDisplayText(key.ReadValue(name));
    } catch (const std::exception&) {
        return "";
    }
}

TEntryState EntryStateOf(LinkState state) {
    switch (state) {
    case lsExistingLink:
        return esExistingLink;
    case lsMissingDisk:
        return esMissingDisk;
    default:
        return esInvalidLink;
    }
}

}  // namespace

bool NamesUninstallCommand(const std::string& valueName) {
    return SameTextAscii(valueName, "UninstallString") || valueName.find("UninstallString") != std::string::npos;
}

TCommandLink EvaluateCommandLink(const TEntryLocation& location, const std::string& line, TProbeCache* cache) {
    const TNativeFileSystemScope fileSystem(location);
    TCommandLink link;
    SplitCommandLine(ProbedCommandLine(location, line), link.program, link.params, cache);
    link.state = ProgramLinkState(link.program, cache);
    return link;
}

std::string EntryStateText(const TEntryCheck& entry) {
    switch (entry.state) {
    case esExistingLink:
        return "EXISTING LINK";
    case esInvalidLink:
        return "INVALID LINK";
    case esMissingDisk:
        return "MISSING DISK: the disk may come back";
    case esUnsupportedName:
        return "UNSUPPORTED NAME";
    case esNotText:
        return "Not text";
    case esNoUninstallCommand:
        break;
    }
    if (entry.explanation.empty()) return "No uninstall command";
    return "No uninstall command (" + entry.explanation + ")";
}

TEntryChecker::TEntryChecker(const TEntryLocation& location) : location_(location) {
    uninstall_.ChooseRoot(location.root, location.view);
    if (!uninstall_.OpenRegistryKey(UninstallKeyPath, false)) return;
    uninstall_.ListSubkeyNames(names_, &unsupportedNames_);
    // Each entry is opened below the Uninstall key, held open meanwhile: no walk from the root.
    entry_.ChooseRoot(uninstall_.CurrentKey(), location.view);
}

TEntryCheck TEntryChecker::Check(size_t index) {
    TEntryCheck result;
    result.name = names_.at(index);
    if (Contains(unsupportedNames_, result.name)) {
        result.state = esUnsupportedName;
        return result;
    }
    entry_.CloseRegistryKey();
    // A key gone since the listing has no values: the details would show an empty list.
    if (entry_.OpenRegistryKey(result.name, false)) {
        // As the details: the first readable value, in enumeration order, whose name is taken
        // for the command; a value whose name cannot reach it gets no row there.
        TStringList valueNames, unsupportedValueNames;
        entry_.ListValueNames(valueNames, &unsupportedValueNames);
        std::optional<TRegistryValue> command;
        for (const std::string& valueName : valueNames) {
            if (!NamesUninstallCommand(valueName) || Contains(unsupportedValueNames, valueName)) continue;
            try {
                command = entry_.ReadValue(valueName);
                break;
            } catch (const std::exception&) {
            }
        }
        if (command) {
            result.command = ValueDisplayText(*command);
            result.state = !command->IsText() && !command->data.empty()
                               ? esNotText
                               : EntryStateOf(EvaluateCommandLink(location_, result.command, &probes_).state);
        }
        if (result.state == esExistingLink) return result;
        result.displayName = ShownValue(entry_, "DisplayName");
        if (result.state == esNoUninstallCommand) {
            for (const char* name : kExplainingValues) {
                if (!entry_.HasValue(name)) continue;
                result.explanation = std::string(name) + " = " + ShownValue(entry_, name);
                break;
            }
        }
    }
    return result;
}
