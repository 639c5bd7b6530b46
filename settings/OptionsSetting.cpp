#include "settings/OptionsSetting.h"

#include <algorithm>

#include "platform/PathText.h"
#include "settings/IniValues.h"

namespace vantrel {

namespace {

constexpr std::string_view kOptions = "Options";
constexpr std::string_view kTreeViewNodeCheck = "TreeViewNodeCheck";
constexpr std::string_view kIgnoreValue = "IgnoreValue";
constexpr std::string_view kIgnoreKey = "IgnoreKey";
constexpr std::string_view kWindow = "Window";
constexpr std::string_view kSkin = "Skin";
constexpr int kDefaultSkinIndex = 2;

// The two ignore lists share one layout: "Count", then <entry prefix>1 to <entry prefix>Count.
struct ListSection {
    std::string_view section;
    std::string_view entryPrefix;
};
constexpr ListSection kIgnoreValueSection{kIgnoreValue, "Value"};
constexpr ListSection kIgnoreKeySection{kIgnoreKey, "Key"};

int ReadInteger(const IniFile& file, std::string_view section, std::string_view key, int fallback) {
    return ParseIniInteger(file.ReadString(section, key, "")).value_or(fallback);
}

bool ReadBoolean(const IniFile& file, std::string_view section, std::string_view key,
                 bool fallback) {
    const auto number = ParseIniInteger(file.ReadString(section, key, ""));
    return number ? *number != 0 : fallback;
}

void WriteText(IniFile& file, std::string_view section, std::string_view key,
               std::string_view text) {
    file.WriteString(section, key, EncodeIniText(text));
}

void WriteInteger(IniFile& file, std::string_view section, std::string_view key, int value) {
    file.WriteString(section, key, std::to_string(value));
}

void WriteBoolean(IniFile& file, std::string_view section, std::string_view key, bool value) {
    file.WriteString(section, key, value ? "1" : "0");
}

std::string EntryKey(const ListSection& list, int number) {
    return std::string(list.entryPrefix) + std::to_string(number);
}

// Exactly Count entries (missing ones empty), whatever lies beyond Count in the file.
std::vector<std::string> ReadList(const IniFile& file, const ListSection& list) {
    const int count = std::min(ReadInteger(file, list.section, "Count", 0), kMaxIgnoreEntries);
    std::vector<std::string> entries;
    for (int number = 1; number <= count; ++number)
        entries.push_back(file.ReadString(list.section, EntryKey(list, number), ""));
    return entries;
}

void WriteList(IniFile& file, const ListSection& list, const std::vector<std::string>& entries) {
    WriteInteger(file, list.section, "Count", static_cast<int>(entries.size()));
    int number = 0;
    for (const std::string& entry : entries)
        WriteText(file, list.section, EntryKey(list, ++number), entry);
}

// Each bound falls back to the window's design: centred on the screen at its design size.
WindowRect ReadStoredBounds(const IniFile& file, const WindowRect& design, ScreenSize screen) {
    const WindowRect centred = CentredOnScreen(design.width, design.height, screen);
    WindowRect stored;
    stored.left = ReadInteger(file, kWindow, "Left", centred.left);
    stored.top = ReadInteger(file, kWindow, "Top", centred.top);
    stored.width = ReadInteger(file, kWindow, "Width", design.width);
    stored.height = ReadInteger(file, kWindow, "Height", design.height);
    // A window cannot have no size; a damaged one opens at its design size.
    if (stored.width <= 0)
        stored.width = design.width;
    if (stored.height <= 0)
        stored.height = design.height;
    return stored;
}

void LoadWindow(const IniFile& file, OptionsWindow& window, OptionsSetting& options) {
    const int state = ReadInteger(file, kWindow, "State", showcommand::kNormal);
    if (state == showcommand::kMaximized) {
        options.WindowState = WindowShowState::Maximized;
        return;
    }
    options.WindowState = WindowShowState::Normal;
    const WindowRect stored = ReadStoredBounds(file, window.Bounds(), window.Screen());
    if (ShouldApplyStoredPosition(stored, window.MonitorWorkAreas()))
        window.SetBounds(stored);
    else
        window.SetBounds(CentredOnScreen(stored.width, stored.height, window.Screen()));
}

bool IsMinimized(std::optional<int> showCommand) {
    return showCommand == showcommand::kMinimized || showCommand == showcommand::kMinimize ||
           showCommand == showcommand::kMinimizedNoActivate;
}

void SaveWindow(IniFile& file, const OptionsWindow& window) {
    // Without an answer from the system the earlier state stays in the file.
    const auto showCommand = window.PlacementShowCommand();
    if (showCommand)
        WriteInteger(file, kWindow, "State", *showCommand);
    // A minimized window's own bounds are the caption-sized stub the system parks off screen;
    // stored, they would open the next start as a window too small to use.
    const WindowRect bounds = IsMinimized(showCommand) ? window.RestoredBounds() : window.Bounds();
    WriteInteger(file, kWindow, "Left", bounds.left);
    WriteInteger(file, kWindow, "Top", bounds.top);
    WriteInteger(file, kWindow, "Width", bounds.width);
    WriteInteger(file, kWindow, "Height", bounds.height);
}

}  // namespace

std::string OptionsFilePath(std::string_view executableFolder) {
    return WithTrailingBackslash(executableFolder) + "options.ini";
}

std::string DefaultOutputDirectory(std::string_view executableFolder) {
    return WithTrailingBackslash(executableFolder) + "backup";
}

void LoadOptions(const IniFile& file, std::string_view executableFolder, OptionsWindow& window,
                 OptionsSetting& options) {
    options.OutputDirectory =
        file.ReadString(kOptions, "OutputDirectory", DefaultOutputDirectory(executableFolder));
    options.DeleteBackupFile = ReadBoolean(file, kOptions, "DeleteBackupFile", true);
    for (int index = CategoryTickSet::kFirstIndex; index <= CategoryTickSet::kLastIndex; ++index)
        options.CategoryTicks.SetTicked(
            index, ReadBoolean(file, kTreeViewNodeCheck, std::to_string(index), true));
    options.IgnoreValueList = ReadList(file, kIgnoreValueSection);
    options.IgnoreKeyList = ReadList(file, kIgnoreKeySection);
    LoadWindow(file, window, options);
    options.SkinIndex = ReadInteger(file, kSkin, "Index", kDefaultSkinIndex);
}

void SaveOptions(IniFile& file, OptionsWindow& window, OptionsSetting& options) {
    WriteText(file, kOptions, "OutputDirectory", options.OutputDirectory);
    WriteBoolean(file, kOptions, "DeleteBackupFile", options.DeleteBackupFile);
    window.SaveCategoryTicks(options.CategoryTicks);
    for (int index = CategoryTickSet::kFirstIndex; index <= CategoryTickSet::kLastIndex; ++index)
        WriteBoolean(file, kTreeViewNodeCheck, std::to_string(index),
                     options.CategoryTicks.IsTicked(index));
    WriteList(file, kIgnoreValueSection, options.IgnoreValueList);
    WriteList(file, kIgnoreKeySection, options.IgnoreKeyList);
    SaveWindow(file, window);
    WriteInteger(file, kSkin, "Index", options.SkinIndex);
}

void ReadWriteOptions(bool load, IniFile& file, std::string_view executableFolder,
                      OptionsWindow& window, OptionsSetting& options) {
    if (load)
        LoadOptions(file, executableFolder, window, options);
    else
        SaveOptions(file, window, options);
}

}  // namespace vantrel
