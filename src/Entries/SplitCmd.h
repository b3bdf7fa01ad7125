// Command-line resolution: turns a free-form uninstall command line into the program path
// and its parameters, searching the current directory, the Windows and system directories
// and PATH. No window, no state.
#pragma once

#include <map>
#include <string>

// Probes remembered through one run over many command lines, so that a file or drive named by
// many entries is asked about once. Made for one run: files and disks come and go between runs.
struct TProbeCache {
    std::map<std::string, bool> files;         // by the name probed: whether FileExists held
    std::map<char, bool> drivesWithoutDisk;    // by upper-case drive letter
};

// True when the first match of a directory search for `name` (wildcards honoured) is a file,
// not a directory, whose last-write time converts to a local DOS date and time. With `cache`,
// a name probed before is answered from it.
bool FileExists(const std::string& name, TProbeCache* cache = nullptr);

namespace BenchmarkSeam {
// How many directory searches FileExists has made in this process.
unsigned long FileProbeCount();
}  // namespace BenchmarkSeam

// Removes a leading double quote and then the first remaining double quote, if any.
void StripQuotes(std::string& text);

// The path under which `name` exists: `name` itself, or a search-list directory + "\" + name;
// empty when it is found nowhere. `cache` as for FileExists.
std::string SearchProgram(const std::string& name, TProbeCache* cache = nullptr);

// Splits `line` into the program (found path, a drive path kept as it is, or empty when not
// found) and its parameters. `cache` as for FileExists.
void SplitCommandLine(const std::string& line, std::string& program, std::string& params,
                      TProbeCache* cache = nullptr);
