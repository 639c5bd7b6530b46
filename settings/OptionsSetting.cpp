#include "settings/OptionsSetting.h"

#include <algorithm>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/PathText.h"
#include "settings/IniValues.h"

namespace vantrel {

namespace {

// The kinds of stored setting, each with the record's member it fills and its default.
struct TextSetting {
    std::string OptionsSetting::*member;
    std::string (*fallback)(std::string_view executableFolder);
};
struct FlagSetting {
    bool OptionsSetting::*member;
    bool fallback;
};
struct NumberSetting {
    int OptionsSetting::*member;
    int fallback;
};
// One flag per category tree node, keyed by the node's image index.
struct TickSetting {
    CategoryTickSet OptionsSetting::*member;
    bool fallback;
};
// "Count", then <row key>1 to <row key>Count; empty by default.
struct ListSetting {
    std::vector<std::string> OptionsSetting::*member;
};
// The show command and the bounds of the main window, under the keys below; missing bounds
// fall back to the window's design, centred.
struct WindowSetting {
    WindowShowState OptionsSetting::*member;
    WindowShowState fallback;
};

struct SettingRow {
    std::string_view section;
    std::string_view key;  // a list's entry prefix; the ticks and the window name their own keys
    std::variant<TextSetting, FlagSetting, NumberSetting, TickSetting, ListSetting, WindowSetting>
        kind;
};

constexpr std::string_view kOptions = "Options";

// Every setting of the file, in the order a save writes them.
constexpr SettingRow kSettings[] = {
    {kOptions, "OutputDirectory",
     TextSetting{&OptionsSetting::OutputDirectory, &DefaultOutputDirectory}},
    {kOptions, "DeleteBackupFile", FlagSetting{&OptionsSetting::DeleteBackupFile, true}},
    {"TreeViewNodeCheck", "", TickSetting{&OptionsSetting::CategoryTicks, true}},
    {"IgnoreValue", "Value", ListSetting{&OptionsSetting::IgnoreValueList}},
    {"IgnoreKey", "Key", ListSetting{&OptionsSetting::IgnoreKeyList}},
    {"Window", "", WindowSetting{&OptionsSetting::WindowState, WindowShowState::Normal}},
    {"Skin", "Index", NumberSetting{&OptionsSetting::SkinIndex, 2}},
};

constexpr std::string_view kCount = "Count";
constexpr std::string_view kState = "State";
// The stored bounds, in the order they are written.
constexpr std::pair<std::string_view, int WindowRect::*> kBoundKeys[] = {
    {"Left", &WindowRect::left},
    {"Top", &WindowRect::top},
    {"Width", &WindowRect::width},
    {"Height", &WindowRect::height},
};

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

std::string TickKey(int imageIndex) {
    return std::to_string(imageIndex);
}

std::string EntryKey(std::string_view entryPrefix, int number) {
    return std::string(entryPrefix) + std::to_string(number);
}

// Exactly Count entries (missing ones empty), whatever lies beyond Count in the file.
std::vector<std::string> ReadList(const IniFile& file, const SettingRow& row) {
    const int count = std::min(ReadInteger(file, row.section, kCount, 0), kMaxIgnoreEntries);
    std::vector<std::string> entries;
    for (int number = 1; number <= count; ++number)
        entries.push_back(file.ReadString(row.section, EntryKey(row.key, number), ""));
    return entries;
}

void WriteList(IniFile& file, const SettingRow& row, const std::vector<std::string>& entries) {
    WriteInteger(file, row.section, kCount, static_cast<int>(entries.size()));
    int number = 0;
    for (const std::string& entry : entries)
        WriteText(file, row.section, EntryKey(row.key, ++number), entry);
}

// Each bound falls back to the window's design: centred on the screen at its design size.
WindowRect ReadStoredBounds(const IniFile& file, std::string_view section, const WindowRect& design,
                            ScreenSize screen) {
    const WindowRect centred = CentredOnScreen(design.width, design.height, screen);
    WindowRect stored;
    for (const auto& [key, bound] : kBoundKeys)
        stored.*bound = ReadInteger(file, section, key, centred.*bound);
    // A window cannot have no size; a damaged one opens at its design size.
    if (stored.width <= 0)
        stored.width = design.width;
    if (stored.height <= 0)
        stored.height = design.height;
    return stored;
}

// A readable State gives the show state; a missing or unreadable one keeps `state`.
void LoadWindow(const IniFile& file, std::string_view section, OptionsWindow& window,
                WindowShowState& state) {
    if (const auto command = ParseIniInteger(file.ReadString(section, kState, "")))
        state = *command == showcommand::kMaximized ? WindowShowState::Maximized
                                                    : WindowShowState::Normal;
    if (state == WindowShowState::Maximized)
        return;
    const WindowRect stored = ReadStoredBounds(file, section, window.Bounds(), window.Screen());
    if (ShouldApplyStoredPosition(stored, window.MonitorWorkAreas()))
        window.SetBounds(stored);
    else
        window.SetBounds(CentredOnScreen(stored.width, stored.height, window.Screen()));
}

bool IsMinimized(std::optional<int> showCommand) {
    return showCommand == showcommand::kMinimized || showCommand == showcommand::kMinimize ||
           showCommand == showcommand::kMinimizedNoActivate;
}

void SaveWindow(IniFile& file, std::string_view section, const OptionsWindow& window) {
    // Without an answer from the system the earlier state stays in the file.
    const auto showCommand = window.PlacementShowCommand();
    if (showCommand)
        WriteInteger(file, section, kState, *showCommand);
    // A minimized window's own bounds are the caption-sized stub the system parks off screen;
    // stored, they would open the next start as a window too small to use.
    const WindowRect bounds = IsMinimized(showCommand) ? window.RestoredBounds() : window.Bounds();
    for (const auto& [key, bound] : kBoundKeys)
        WriteInteger(file, section, key, bounds.*bound);
}

// Puts each row's default into the record.
struct DefaultSetter {
    std::string_view executableFolder;
    OptionsSetting& options;

    void operator()(const TextSetting& s) const {
        options.*s.member = s.fallback(executableFolder);
    }
    void operator()(const FlagSetting& s) const { options.*s.member = s.fallback; }
    void operator()(const NumberSetting& s) const { options.*s.member = s.fallback; }
    void operator()(const TickSetting& s) const {
        for (int index = CategoryTickSet::kFirstIndex; index <= CategoryTickSet::kLastIndex;
             ++index)
            (options.*s.member).SetTicked(index, s.fallback);
    }
    void operator()(const ListSetting& s) const { (options.*s.member).clear(); }
    void operator()(const WindowSetting& s) const { options.*s.member = s.fallback; }
};

// Reads a row's keys into a record holding the defaults: a missing or unreadable key keeps its
// default.
struct RowLoader {
    const IniFile& file;
    const SettingRow& row;
    OptionsWindow& window;
    OptionsSetting& options;

    void operator()(const TextSetting& s) const {
        options.*s.member = file.ReadString(row.section, row.key, options.*s.member);
    }
    void operator()(const FlagSetting& s) const {
        options.*s.member = ReadBoolean(file, row.section, row.key, options.*s.member);
    }
    void operator()(const NumberSetting& s) const {
        options.*s.member = ReadInteger(file, row.section, row.key, options.*s.member);
    }
    void operator()(const TickSetting& s) const {
        CategoryTickSet& ticks = options.*s.member;
        for (int index = CategoryTickSet::kFirstIndex; index <= CategoryTickSet::kLastIndex;
             ++index)
            ticks.SetTicked(index,
                            ReadBoolean(file, row.section, TickKey(index), ticks.IsTicked(index)));
    }
    void operator()(const ListSetting& s) const { options.*s.member = ReadList(file, row); }
    void operator()(const WindowSetting& s) const {
        LoadWindow(file, row.section, window, options.*s.member);
    }
};

struct RowSaver {
    IniFile& file;
    const SettingRow& row;
    OptionsWindow& window;
    OptionsSetting& options;

    void operator()(const TextSetting& s) const {
        WriteText(file, row.section, row.key, options.*s.member);
    }
    void operator()(const FlagSetting& s) const {
        WriteBoolean(file, row.section, row.key, options.*s.member);
    }
    void operator()(const NumberSetting& s) const {
        WriteInteger(file, row.section, row.key, options.*s.member);
    }
    // The ticks are the tree's, as shown now.
    void operator()(const TickSetting& s) const {
        CategoryTickSet& ticks = options.*s.member;
        window.SaveCategoryTicks(ticks);
        for (int index = CategoryTickSet::kFirstIndex; index <= CategoryTickSet::kLastIndex;
             ++index)
            WriteBoolean(file, row.section, TickKey(index), ticks.IsTicked(index));
    }
    void operator()(const ListSetting& s) const { WriteList(file, row, options.*s.member); }
    // The placement is the window's, as shown now.
    void operator()(const WindowSetting&) const { SaveWindow(file, row.section, window); }
};

}  // namespace

std::string OptionsFilePath(std::string_view executableFolder) {
    return WithTrailingBackslash(executableFolder) + "options.ini";
}

std::string DefaultOutputDirectory(std::string_view executableFolder) {
    return WithTrailingBackslash(executableFolder) + "backup";
}

OptionsSetting DefaultOptions(std::string_view executableFolder) {
    OptionsSetting options;
    for (const SettingRow& row : kSettings)
        std::visit(DefaultSetter{executableFolder, options}, row.kind);
    return options;
}

void LoadOptions(const IniFile& file, std::string_view executableFolder, OptionsWindow& window,
                 OptionsSetting& options) {
    options = DefaultOptions(executableFolder);
    for (const SettingRow& row : kSettings)
        std::visit(RowLoader{file, row, window, options}, row.kind);
}

void SaveOptions(IniFile& file, OptionsWindow& window, OptionsSetting& options) {
    for (const SettingRow& row : kSettings)
        std::visit(RowSaver{file, row, window, options}, row.kind);
}

}  // namespace vantrel
