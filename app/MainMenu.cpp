#include "app/MainMenu.h"

#include <initializer_list>
#include <iterator>

#include "app/CommandIds.h"

namespace vantrel {
namespace {

struct MenuEntry {
    WORD id;  // 0 for a separator
    const char* caption;
};

constexpr MenuEntry kSeparator{0, nullptr};

HMENU NewPopup(std::initializer_list<MenuEntry> entries) {
    HMENU popup = ::CreatePopupMenu();
    for (const MenuEntry& entry : entries) {
        if (entry.id == 0)
            ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuA(popup, MF_STRING, entry.id, entry.caption);
    }
    return popup;
}

HMENU NewSkinMenu() {
    static constexpr const char* kSkinCaptions[command::kSkinCount] = {
        "&Wood",    "&RealOne", "Win &XP", "&Deep Blue",
        "&Protein", "R&oyale",  "&Matrix", "D&iamond Blue"};
    HMENU popup = ::CreatePopupMenu();
    for (int index = 0; index < command::kSkinCount; ++index)
        ::AppendMenuA(popup, MF_STRING, static_cast<UINT_PTR>(command::kFirstSkin + index),
                      kSkinCaptions[index]);
    return popup;
}

// The selection commands and the editor command, as the Edit menu and the context menu show
// them.
HMENU NewSelectionMenu(bool withOptions) {
    HMENU popup = NewPopup({{command::kSelectAll, "Select &All\tCtrl+A"},
                            {command::kSelectAllOfType, "&Select All of Type"},
                            kSeparator,
                            {command::kSelectNone, "Select &None\tCtrl+N"},
                            {command::kSelectNoneOfType, "Select None of Type"},
                            kSeparator,
                            {command::kSelectInvert, "Select &Invert"},
                            kSeparator,
                            {command::kOpenInRegistryEditor, "&Open in Registry Editor..."}});
    if (withOptions) {
        ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(popup, MF_STRING, command::kOptions, "&Options...");
    }
    return popup;
}

}  // namespace

unique_hmenu CreateMainMenu() {
    unique_hmenu bar(::CreateMenu());
    HMENU file = NewPopup({{command::kBackupFullRegistry, "&Backup Full Registry..."},
                           {command::kWindowsBackup, "&Windows Backup..."},
                           kSeparator});
    ::AppendMenuA(file, MF_POPUP, reinterpret_cast<UINT_PTR>(NewSkinMenu()), "Change Skin");
    ::AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(file, MF_STRING, command::kExit, "E&xit");
    HMENU actions = NewPopup({{command::kScan, "&Scan the registry\tCtrl+S"},
                              {command::kRepair, "&Repair registry issue\tCtrl+R"},
                              kSeparator,
                              {command::kRestore, "R&estore previous repairs...\tCtrl+E"}});
    HMENU help = NewPopup({{command::kHelp, "&Help\tF1"},
                           kSeparator,
                           {command::kHomePage, "Home &Page"},
                           kSeparator,
                           {command::kAbout, "&About..."}});
    ::AppendMenuA(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    ::AppendMenuA(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(actions), "&Actions");
    ::AppendMenuA(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(NewSelectionMenu(true)), "&Edit");
    ::AppendMenuA(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
    return bar;
}

unique_hmenu CreateResultsContextMenu() {
    unique_hmenu holder(::CreateMenu());
    ::AppendMenuA(holder.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(NewSelectionMenu(false)), "");
    return holder;
}

unique_haccel CreateMainAccelerators() {
    ACCEL keys[] = {
        {FVIRTKEY | FCONTROL, 'S', command::kScan},
        {FVIRTKEY | FCONTROL, 'R', command::kRepair},
        {FVIRTKEY | FCONTROL, 'E', command::kRestore},
        {FVIRTKEY | FCONTROL, 'A', command::kSelectAll},
        {FVIRTKEY | FCONTROL, 'N', command::kSelectNone},
        {FVIRTKEY, VK_F1, command::kHelp},
    };
    return unique_haccel(::CreateAcceleratorTableA(keys, static_cast<int>(std::size(keys))));
}

HMENU FileMenuOf(HMENU menuBar) {
    return ::GetSubMenu(menuBar, 0);
}

}  // namespace vantrel
