// Menu bar construction from item tables, accelerators and menu hints.
#include "Win/Menu.h"

#include "Win/Bitmaps.h"

namespace {

constexpr COLORREF kMenuPictureBackground = RGB(0xC0, 0xC0, 0xC0);

std::string KeyName(unsigned key) {
    if (key >= VK_F1 && key <= VK_F24) return std::string("F").append(std::to_string(key - VK_F1 + 1));
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    char name[64] = "";
    const LONG scanCode = static_cast<LONG>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
    GetKeyNameTextA(scanCode, name, sizeof(name));
    return name;
}

ACCEL Accelerator(unsigned shortCut, int id) {
    ACCEL accelerator{};
    accelerator.fVirt = FVIRTKEY;
    if (shortCut & kShiftFlag) accelerator.fVirt |= FSHIFT;
    if (shortCut & kCtrlFlag) accelerator.fVirt |= FCONTROL;
    if (shortCut & kAltFlag) accelerator.fVirt |= FALT;
    accelerator.key = static_cast<WORD>(shortCut & 0xFF);
    accelerator.cmd = static_cast<WORD>(id);
    return accelerator;
}

}  // namespace

std::string ShortCutText(unsigned shortCut) {
    std::string text;
    if (shortCut & kCtrlFlag) text += "Ctrl+";
    if (shortCut & kShiftFlag) text += "Shift+";
    if (shortCut & kAltFlag) text += "Alt+";
    return text.append(KeyName(shortCut & 0xFF));
}

void TMainMenu::Build(std::span<const TMenuItemSpec> items) {
    owned_.Reset(CreateMenu());
    handle_ = owned_.Get();
    items_.clear();
    bitmaps_.clear();
    std::vector<ACCEL> accelerators;
    HMENU current = nullptr;
    for (const TMenuItemSpec& itemSpec : items) {
        TItem item{itemSpec.name, itemSpec.id, nullptr, nullptr, itemSpec.hint ? itemSpec.hint : ""};
        if (itemSpec.level == 0) {
            current = CreatePopupMenu();
            AppendMenuA(handle_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(current), itemSpec.caption);
            item.parent = handle_;
            item.popup = current;
        } else if (current) {
            item.parent = current;
            if (std::string_view(itemSpec.caption) == "-") {
                AppendMenuA(current, MF_SEPARATOR, 0, nullptr);
            } else {
                std::string caption = itemSpec.caption;
                if (itemSpec.shortCut) {
                    caption.append("\t").append(ShortCutText(itemSpec.shortCut));
                    accelerators.push_back(Accelerator(itemSpec.shortCut, itemSpec.id));
                }
                AppendMenuA(current, MF_STRING, static_cast<UINT_PTR>(itemSpec.id), caption.c_str());
                if (itemSpec.bitmapId) {
                    TBitmapHandle picture =
                        LoadBitmapOnBackground(itemSpec.bitmapId, kMenuPictureBackground, GetSysColor(COLOR_MENU));
                    if (picture) {
                        MENUITEMINFOA info{};
                        info.cbSize = sizeof(info);
                        info.fMask = MIIM_BITMAP;
                        info.hbmpItem = picture.Get();
                        SetMenuItemInfoA(current, static_cast<UINT>(itemSpec.id), FALSE, &info);
                        bitmaps_.push_back(std::move(picture));
                    }
                }
            }
        }
        items_.push_back(std::move(item));
    }
    accelerators_.Reset(accelerators.empty()
                            ? nullptr
                            : CreateAcceleratorTableA(accelerators.data(), static_cast<int>(accelerators.size())));
}

const TMainMenu::TItem* TMainMenu::FindItem(std::string_view name) const {
    for (const TItem& item : items_)
        if (item.name == name) return &item;
    return nullptr;
}

const TMainMenu::TItem* TMainMenu::FindCommand(int id) const {
    if (id == 0) return nullptr;
    for (const TItem& item : items_)
        if (item.id == id) return &item;
    return nullptr;
}

std::string TMainMenu::HintFor(HMENU menu, UINT item, UINT flags) const {
    if (!menu || (flags & (MF_SEPARATOR | MF_SYSMENU)) || flags == 0xFFFF) return "";
    if (flags & MF_POPUP) {
        HMENU popup = GetSubMenu(menu, static_cast<int>(item));
        for (const TItem& entry : items_)
            if (entry.popup && entry.popup == popup) return entry.hint;
        return "";
    }
    const TItem* entry = FindCommand(static_cast<int>(item));
    return entry ? entry->hint : "";
}

void TMainMenu::Enable(int id, bool enabled) const {
    EnableMenuItem(handle_, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool TMainMenu::IsEnabled(int id) const {
    const UINT state = GetMenuState(handle_, static_cast<UINT>(id), MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

void TMainMenu::CheckRadio(int firstId, int lastId, int id) const {
    CheckMenuRadioItem(handle_, static_cast<UINT>(firstId), static_cast<UINT>(lastId), static_cast<UINT>(id),
                       MF_BYCOMMAND);
}
