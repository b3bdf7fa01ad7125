// Filling and sorting lists in bulk gives the same lists as one item at a time (list boxes, the
// details sort, the main window's entry lists), and tooltips follow the mouse without
// subclassing the controls.
#include "GuiTest.h"

#include "Win/Controls.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// A sorted list box of its own, as the main window's entry lists are made.
class TSortedListBox {
public:
    TSortedListBox()
        : handle_(CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_SORT | LBS_NOTIFY, 0, 0, 200, 200, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr)) {}
    ~TSortedListBox() { DestroyWindow(handle_); }
    TSortedListBox(const TSortedListBox&) = delete;
    TSortedListBox& operator=(const TSortedListBox&) = delete;

    HWND Get() const { return handle_; }
    std::vector<std::string> Items() const {
        std::vector<std::string> items;
        for (int index = 0; index < ListBoxCount(handle_); ++index) items.push_back(ListBoxItemText(handle_, index));
        return items;
    }

private:
    HWND handle_;
};

// Names as installers make them: product codes, punctuation and digits first, mixed case,
// letters with accents, names in other scripts. No two of them are equal ignoring case.
std::vector<std::string> InstallerNames() {
    return {"{3F2B8C41-7D5E-4A9B-B1C6-2E8F0D4A7C13}", "Northwind Notes_is1", "PixelForge", "Harbor Sync",
            "KB4023057", "_Leftover", "~Temp", "123 Tools", "9Lives", "alpha", "Beta", "Zeta", "zeta2", "a b", "ab",
            "a-b", "a_b", "Émile", "emile", "Ölpumpe", "Oz", "Привет", "中文名称", "😀 Smile",
            "{00000000-0000-0000-0000-000000000000}", "Harbor Sync 2", "harbor"};
}

// Many names from a small alphabet that sorts in unusual ways (deterministic).
std::vector<std::string> GeneratedNames() {
    const std::vector<std::string> alphabet = {"a", "A", "b", "B", "z", "Z", "0", "9", "_", "-", ".", " ",
                                                "{", "}", "~", "é", "É", "Я", "я", "中"};
    std::vector<std::string> names;
    std::uint32_t state = 12345;
    for (int index = 0; index < 1500; ++index) {
        state = state * 1664525u + 1013904223u;
        std::string name = std::to_string(index % 7);
        for (std::uint32_t length = 1 + (state >> 28) % 8, at = 0; at < length; ++at) {
            state = state * 1664525u + 1013904223u;
            name += alphabet[(state >> 24) % alphabet.size()];
        }
        name += std::to_string(index);  // unique even ignoring case
        names.push_back(name);
    }
    return names;
}

TEST(BulkListsTest, AddingAllAtOnceGivesTheListOfOneAddEach) {
    const struct {
        const char* label;
        std::vector<std::string> existing;  // in the list before
        std::vector<std::string> names;
    } rows[] = {
        {"installer names", {}, InstallerNames()},
        {"many generated names", {}, GeneratedNames()},
        {"names equal but for case", {}, {"Same", "other", "SAME", "same", "Other2"}},
        {"into a list that has items", {"Middle", "{first}"}, InstallerNames()},
        {"one name", {}, {"Only"}},
        {"no names", {"Kept"}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        TSortedListBox oneByOne, atOnce;
        for (const std::string& name : row.existing) {
            ListBoxAdd(oneByOne.Get(), name);
            ListBoxAdd(atOnce.Get(), name);
        }
        for (const std::string& name : row.names) ListBoxAdd(oneByOne.Get(), name);
        ListBoxAddAll(atOnce.Get(), row.names);
        EXPECT_EQ(row.existing.size() + row.names.size(), oneByOne.Items().size());
        EXPECT_EQ(oneByOne.Items(), atOnce.Items());
    }
}

TEST(BulkListsTest, TheCaptionSortKeepsValuesAndChecksWithTheirRows) {
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT, 0, 0, 300, 200, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, list);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    ListViewAddColumn(list, 0, "Data", 100);
    ListViewAddColumn(list, 1, "Value", 100);
    const std::vector<std::string> captions = {"URLInfoAbout", "uninstallstring", "_Private", "DisplayName", "b", "B",
                                               "10", "9", "État",      "Zeta",            "a-b",      "ab"};
    for (const std::string& caption : captions) ListViewSetText(list, ListViewAddRow(list, caption), 1, "of " + caption);
    ListViewSetChecked(list, 1, true);  // uninstallstring

    ListViewSortByCaption(list);

    std::vector<std::string> expected = captions;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const std::string& first, const std::string& second) { return lstrcmpA(first.c_str(), second.c_str()) < 0; });
    ASSERT_EQ(static_cast<int>(expected.size()), ListViewRowCount(list));
    for (int row = 0; row < ListViewRowCount(list); ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(expected[static_cast<size_t>(row)], ListViewText(list, row, 0));
        EXPECT_EQ("of " + expected[static_cast<size_t>(row)], ListViewText(list, row, 1));
        EXPECT_EQ(expected[static_cast<size_t>(row)] == "uninstallstring", ListViewChecked(list, row));
    }
    DestroyWindow(list);
}

using BulkEntryListsTest = MainFormTest;

TEST_F(BulkEntryListsTest, TheEntryListsHoldEveryEntryInTheListBoxOrder) {
    std::vector<std::string> conventional, unconventional;
    int number = 0;
    for (const std::vector<std::string>& names : {InstallerNames(), GeneratedNames()}) {
        for (const std::string& name : names) {
            if (++number % 3 == 0) {
                CreateEntry(name, {{"DisplayName", name}});
                unconventional.push_back(name);
            } else {
                CreateEntry(name, {{"DisplayName", name}, {"UninstallString", "C:\\x.exe"}});
                conventional.push_back(name);
            }
        }
    }
    Activate();
    TSortedListBox expectedConventional, expectedUnconventional;
    for (const std::string& name : conventional) ListBoxAdd(expectedConventional.Get(), name);
    for (const std::string& name : unconventional) ListBoxAdd(expectedUnconventional.Get(), name);
    EXPECT_EQ(expectedConventional.Items(), Entries("CEntryList"));
    EXPECT_EQ(expectedUnconventional.Items(), Entries("UEntryList"));
}

TEST_F(BulkEntryListsTest, AnEntryListShowsItsTooltipWhenTheMouseRestsOnIt) {
    HWND list = Control("CEntryList");
    RECT bounds;
    GetWindowRect(list, &bounds);
    const POINT centre{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    ASSERT_TRUE(SetCursorPos(centre.x, centre.y));
    POINT client = centre;
    ScreenToClient(list, &client);
    PostMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));

    // The tooltip appears after its initial delay of 500 ms.
    TOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    bool shown = false;
    for (const DWORD start = GetTickCount(); !shown && GetTickCount() - start < 3000;) {
        PumpMessages();
        Sleep(20);
        shown = SendMessageA(Form().ToolTips(), TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
    }
    ASSERT_TRUE(shown);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(list), tool.uId);
}

}  // namespace
