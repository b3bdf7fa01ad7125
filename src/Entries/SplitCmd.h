// Command-line resolution: turns a free-form uninstall command line into the program path
// and its parameters, searching the current directory, the Windows and system directories
// and PATH. No window, no state.
#pragma once

#include <string>

// True when the first match of a directory search for `name` (wildcards honoured) is a file,
// not a directory, whose last-write time converts to a local DOS date and time.
bool FileExists(const std::string& name);

namespace BenchmarkSeam {
// How many directory searches FileExists has made in this process.
unsigned long FileProbeCount();
}  // namespace BenchmarkSeam

// Removes a leading double quote and then the first remaining double quote, if any.
void StripQuotes(std::string& text);

// The path under which `name` exists: `name` itself, or a search-list directory + "\" + name;
// empty when it is found nowhere.
std::string SearchProgram(const std::string& name);

// Splits `line` into the program (found path, a drive path kept as it is, or empty when not
// found) and its parameters.
void SplitCommandLine(const std::string& line, std::string& program, std::string& params);
