// Edit > Undo Remove in the real main window: what Remove took comes back byte for byte, a name
// taken again is refused, and removals in two locations come back in turn, each where it was.
#include "GuiTest.h"
#include "KeyTrees.h"

namespace {

class UndoRemoveTest : public MainFormTest {
protected:
    bool UndoEnabled() { return Form().Menu().IsEnabled(MenuId("EditUndoItem")); }

    void Remove(const char* listName, const std::string& entry, TWhere where = TWhere::current()) {
        ClickEntry(listName, entry, where);
        const TConfirmedRun run = RunWithConfirmation([&] { Command("EditRemoveItem"); }, PressButton(IDOK), where);
        EXPECT_TRUE(run.confirmed && !run.warned) << run.warning.text;
    }
};

TEST_F(UndoRemoveTest, PutsBackEveryValueAndSubkeyOfTheRemovedEntryByteForByte) {
    WriteEntryTree(kMachine64Location, EveryKindOfEntry(L"Full"));
    CreateEntry("Other", {{"DisplayName", "Other"}, {"UninstallString", "C:\\o\\unins.exe"}});
    Activate();
    EXPECT_FALSE(UndoEnabled()) << "nothing was removed in this run";
    Remove("CEntryList", "Full");
    ASSERT_FALSE(KeyExists(EntryPath("Full")));
    EXPECT_TRUE(UndoEnabled());
    EXPECT_EQ(std::vector<std::string>{"Other"}, Entries("CEntryList"));

    {
        TCtrlDown ctrl(true);
        PressKey(Control("CEntryList"), 'Z');
    }
    EXPECT_EQ(Sorted(EveryKindOfEntry(L"Full")), ReadEntryTree(kMachine64Location, L"Full"));
    EXPECT_EQ((std::vector<std::string>{"Full", "Other"}), Entries("CEntryList"));
    EXPECT_EQ(0, SelectedIndex("CEntryList")) << "the restored entry is selected";
    EXPECT_EQ("Full", Form().EntryName);
    EXPECT_EQ(EveryKindOfEntry(L"Full").values.size(), Rows().size());
    EXPECT_FALSE(UndoEnabled());
}

TEST_F(UndoRemoveTest, RemoveDeletesNothingOfAnEntryWhoseTreeCannotBeReadWhole) {
    CreateEntry("Guarded", {{"DisplayName", "Guarded"}, {"UninstallString", "C:\\g\\unins.exe"}});
    CreateWideKey(EntryPath("Guarded\\Inner"), L"Half \xD83D pair");  // no code page holds a lone surrogate
    Activate();
    ClickEntry("CEntryList", "Guarded");
    const TConfirmedRun run = RunWithConfirmation([&] { Command("EditRemoveItem"); }, PressButton(IDOK));
    ASSERT_TRUE(run.warned);
    EXPECT_EQ("Cannot remove this entry.\r\n'Guarded': this system's code page cannot hold the name of its subkey "
              "'Inner\\Half \xEF\xBF\xBD pair'.",
              run.warning.text);
    EXPECT_TRUE(KeyExists(EntryPath("Guarded\\Inner")));
    EXPECT_EQ(std::vector<std::string>{"Guarded"}, Entries("CEntryList"));
    EXPECT_FALSE(UndoEnabled());
}

TEST_F(UndoRemoveTest, IsRefusedWhileTheNameIsTakenAgainAndChangesNothing) {
    CreateEntry("Taken", {{"DisplayName", "Old"}, {"UninstallString", "C:\\old\\unins.exe"}});
    Activate();
    Remove("CEntryList", "Taken");
    CreateEntry("Taken", {{"DisplayName", "New"}});
    TModalAnswer warning(kFormClassName, "Warning", PressButton(IDOK));
    Command("EditUndoItem");
    ASSERT_TRUE(warning.Answered());
    EXPECT_EQ("Cannot undo the removal: a key named 'Taken' exists again where the entry was.",
              warning.Snapshot().text);
    EXPECT_EQ((TKeyTree{L"Taken", {{L"DisplayName", REG_SZ, Utf16Bytes(std::wstring(L"New\0", 4))}}, {}}),
              ReadEntryTree(kMachine64Location, L"Taken"));
    EXPECT_TRUE(UndoEnabled()) << "the removal can still be undone once the name is free";
}

TEST_F(UndoRemoveTest, TwoRemovalsInTwoLocationsComeBackInTurnEachWhereItWas) {
    RedirectCurrentUser();
    WriteEntryTree(kMachine64Location, EveryKindOfEntry(L"Machine app"));
    CreateEntry(kUserLocation, "User app", {{"DisplayName", "User app"}});
    Activate();
    Remove("CEntryList", "Machine app");
    Command("ViewUserItem");
    Remove("UEntryList", "User app");
    ASSERT_FALSE(KeyExists(kUserLocation, EntryPath("User app")));
    Command("View64BitItem");

    Command("EditUndoItem");
    EXPECT_TRUE(KeyExists(kUserLocation, EntryPath("User app")));
    EXPECT_FALSE(KeyExists(EntryPath("Machine app"))) << "one step per Undo, the latest first";
    EXPECT_EQ(kUserLocation.root, Form().ShownLocation().root);
    EXPECT_EQ(std::vector<std::string>{"User app"}, Entries("UEntryList"));
    EXPECT_EQ(0, SelectedIndex("UEntryList"));
    EXPECT_TRUE(UndoEnabled());

    Command("EditUndoItem");
    EXPECT_EQ(Sorted(EveryKindOfEntry(L"Machine app")), ReadEntryTree(kMachine64Location, L"Machine app"));
    EXPECT_TRUE(SameLocation(kMachine64Location, Form().ShownLocation()));
    EXPECT_EQ("Machine app", Form().EntryName);
    EXPECT_FALSE(KeyExists(kMachine32Location, EntryPath("Machine app"))) << "nowhere else";
    EXPECT_FALSE(UndoEnabled());
}

}  // namespace
