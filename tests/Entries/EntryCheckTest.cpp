// The check of entries in a scratch registry: which value it takes for the command (as the
// details' automatic check does), its states, and one probe per program and run.
#include "Entries/EntryCheck.h"

#include "ScratchRegistry.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

class EntryCheckTest : public ScratchRegistryTest {};

TEST_F(EntryCheckTest, TakesTheValueThatTheDetailsCheckForTheCommand) {
    const struct {
        const char* entry;
        std::pair<std::string, std::string> value;
        TEntryState state;
    } rows[] = {
        {"Exact", {"UninstallString", "MsiExec.exe /X{1}"}, esExistingLink},
        {"OtherCase", {"uninstallSTRING", "C:\\gone\\unins.exe"}, esInvalidLink},
        {"Containing", {"MyUninstallStringOld", "E:\\SETUP.EXE /u"}, esMissingDisk},
        {"Unlike", {"Uninstall String", "C:\\gone\\unins.exe"}, esNoUninstallCommand},
        {"Empty", {"UninstallString", ""}, esInvalidLink},
    };
    for (const auto& row : rows) CreateEntry(row.entry, {row.value});
    TEntryChecker checker(kMachine64Location);
    ASSERT_EQ(std::size(rows), checker.Names().size());
    for (size_t index = 0; index < checker.Names().size(); ++index) {
        const TEntryCheck entry = checker.Check(index);
        SCOPED_TRACE(entry.name);
        const auto row = std::find_if(std::begin(rows), std::end(rows), [&](const auto& row) { return entry.name == row.entry; });
        ASSERT_NE(std::end(rows), row);
        EXPECT_EQ(row->state, entry.state);
        if (entry.state != esExistingLink && entry.state != esNoUninstallCommand) {
            EXPECT_EQ(row->value.second, entry.command);
        }
    }
}

TEST_F(EntryCheckTest, AProgramNamedByManyEntriesIsProbedOncePerRun) {
    constexpr int kEntries = 10;
    for (int index = 0; index < kEntries; ++index)
        CreateEntry("App" + std::to_string(index), {{"UninstallString", "C:\\gone\\shared\\unins.exe /x" + std::to_string(index)}});
    const auto probesOf = [](auto&& work) {
        const unsigned long before = BenchmarkSeam::FileProbeCount();
        work();
        return BenchmarkSeam::FileProbeCount() - before;
    };
    TEntryChecker checker(kMachine64Location);
    const unsigned long first = probesOf([&] { EXPECT_EQ(esInvalidLink, checker.Check(0).state); });
    EXPECT_GT(first, 0u);
    EXPECT_EQ(0u, probesOf([&] {
                  for (size_t index = 1; index < kEntries; ++index) EXPECT_EQ(esInvalidLink, checker.Check(index).state);
              }));
    TEntryChecker nextRun(kMachine64Location);
    EXPECT_EQ(first, probesOf([&] { nextRun.Check(0); })) << "a new run probes afresh";
    // The information box passes no cache: every evaluation probes all again.
    const auto evaluate = [] { EvaluateCommandLink(kMachine64Location, "C:\\gone\\shared\\unins.exe"); };
    const unsigned long click = probesOf(evaluate);
    EXPECT_GE(click, first);
    EXPECT_EQ(click, probesOf(evaluate));
}

}  // namespace
