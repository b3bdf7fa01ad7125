// TMainMenu: a form's menu bar built from a table of items, with its accelerator table,
// the items' hints (shown while an item is highlighted) and the pictures beside captions.
#pragma once

#include "Base/Handles.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

// Short cuts are stored as a virtual-key code plus these flags (F5 = 116, Ctrl+F1 = 0x4000 + 112).
inline constexpr unsigned kShiftFlag = 0x2000;
inline constexpr unsigned kCtrlFlag = 0x4000;
inline constexpr unsigned kAltFlag = 0x8000;

struct TMenuItemSpec {
    const char* name;
    int level;            // 0: a menu on the bar; 1: an item of the last menu above it
    const char* caption;  // "-" for a separator
    int id;               // command id of an item (WM_COMMAND); 0 for menus and separators
    unsigned shortCut;    // virtual key | kCtrlFlag/kShiftFlag/kAltFlag; 0 for none
    const char* hint;
    int bitmapId;         // resource id of the picture beside the caption; 0 for none
};

// The text a menu shows for a short cut: "F5", "Ctrl+F1", "Ctrl+Shift+X".
std::string ShortCutText(unsigned shortCut);

class TMainMenu {
public:
    struct TItem {
        std::string name;
        int id = 0;              // command id; 0 for a menu or separator
        HMENU parent = nullptr;  // the menu (or bar) that holds it
        HMENU popup = nullptr;   // for a menu: its own handle
        std::string hint;
    };

    // Creates the bar, its menus and items, the accelerator table and the pictures
    // (background 0xC0C0C0 shown in the menu colour). Replaces a previous, unattached menu.
    void Build(std::span<const TMenuItemSpec> items);

    HMENU Handle() const { return handle_; }
    HACCEL Accelerators() const { return accelerators_.Get(); }
    // The window now owns the menu handle (it destroys it); the pictures stay owned here.
    void AttachToWindow() { owned_.Release(); }

    // The item or menu of that name; null when there is none.
    const TItem* FindItem(std::string_view name) const;
    // The item with command `id`; null when there is none (and for 0, which no item has).
    const TItem* FindCommand(int id) const;
    // The hint for a WM_MENUSELECT: the highlighted item's or menu's, "" otherwise.
    std::string HintFor(HMENU menu, UINT item, UINT flags) const;
    // Enables or greys out the item with command `id`.
    void Enable(int id, bool enabled) const;
    bool IsEnabled(int id) const;
    // Shows the radio mark on the item with command `id` and clears it on the other items
    // whose ids lie from `firstId` to `lastId`.
    void CheckRadio(int firstId, int lastId, int id) const;

private:
    TMenuHandle owned_;
    HMENU handle_ = nullptr;
    TAcceleratorHandle accelerators_;
    std::vector<TItem> items_;
    std::vector<TBitmapHandle> bitmaps_;
};
