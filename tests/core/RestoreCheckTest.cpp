// The check a restore passes before its backup file may be deleted: the backup read back and
// compared with the registry after the merge.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/memory/MemoryBackupFile.h"
#include "platform/memory/MemoryRegistry.h"
#include "repair/RegFileWriter.h"
#include "repair/RestoreCheck.h"
#include "tests/core/LoadRegText.h"
#include "tests/support/RepairSupport.h"

namespace vantrel {

using test::LoadRegText;
namespace {

constexpr RootKey kUser = RootKey::CurrentUser;
constexpr const char* kFile = "C:\\Backup\\Backup20261206210507.reg";

// A registry after a repair and the merge of its backup: a subtree of every value type,
// backed up as repair backs it up (the whole key, and one value of another key).
struct Restored {
    MemoryRegistry registry;
    MemoryBackupFile files;
};

std::unique_ptr<Restored> BackedUpSubtree() {
    auto restored = std::make_unique<Restored>();
    LoadRegText(restored->registry, R"(REGEDIT4

[HKEY_CURRENT_USER\Software\Stale]
@="default"
"Path"="C:\\gone\\tool.exe"
"Count"=dword:0000002a
"Blob"=hex:00,01,fe,ff
"Expand"=hex(2):25,54,45,4d,50,25,00

[HKEY_CURRENT_USER\Software\Stale\Sub]
"Deep"="C:\\gone\\deep.dll"

[HKEY_CURRENT_USER\Software\Run]
"Tool"="C:\\gone\\run.exe"
"Kept"="C:\\here.exe"
)");
    const auto exportEntry = [&](const char* keyPath, const char* valueName, ExportScope scope) {
        return test::ExportToFile(restored->registry, restored->files, kFile, kUser, keyPath,
                                  valueName, scope);
    };
    EXPECT_EQ(exportEntry("Software\\Stale", "", ExportScope::WholeKey), ExportResult::Written);
    EXPECT_EQ(exportEntry("Software\\Run", "Tool", ExportScope::SingleValue),
              ExportResult::Written);
    return restored;
}

TEST(RestoreCheck, WhatTheRegistryHoldsAfterTheMerge) {
    // The backup names 3 keys and 7 values.
    struct Case {
        const char* name;
        std::function<void(MemoryRegistry&)> change;
        size_t missing;
    };
    const Case cases[] = {
        {"all present", [](MemoryRegistry&) {}, 0},
        {"more in the registry than in the backup",
         [](MemoryRegistry& r) {
             r.SetString(kUser, "Software\\Stale", "Added", "x");
             r.AddKey(kUser, "Software\\Stale\\New");
         },
         0},
        {"one string changed",
         [](MemoryRegistry& r) { r.SetString(kUser, "Software\\Stale", "Path", "C:\\other.exe"); },
         1},
        {"one number changed",
         [](MemoryRegistry& r) { r.SetDword(kUser, "Software\\Stale", "Count", 43); }, 1},
        {"same bytes, other type",
         [](MemoryRegistry& r) {
             r.SetValue(kUser, "Software\\Stale", "Blob", regtype::kNone, {0x00, 0x01, 0xfe, 0xff});
         },
         1},
        {"expandable text stored as plain text",
         [](MemoryRegistry& r) {
             r.SetString(kUser, "Software\\Stale", "Expand", "%TEMP%", regtype::kString);
         },
         1},
        {"the default value missing",
         [](MemoryRegistry& r) { r.RemoveValue(kUser, "Software\\Stale", ""); }, 1},
        {"the single value missing",
         [](MemoryRegistry& r) { r.RemoveValue(kUser, "Software\\Run", "Tool"); }, 1},
        {"a subkey missing counts with its value",
         [](MemoryRegistry& r) { r.RemoveKey(kUser, "Software\\Stale\\Sub"); }, 2},
        {"the top key missing takes its subtree with it",
         [](MemoryRegistry& r) { r.RemoveKey(kUser, "Software\\Stale"); }, 8},
        {"an unreadable value",
         [](MemoryRegistry& r) { r.FailRead(kUser, "Software\\Run", "Tool"); }, 1},
        {"a key that cannot be opened",
         [](MemoryRegistry& r) { r.RefuseOpen(kUser, "Software\\Run"); }, 2},
    };
    for (const Case& c : cases) {
        const auto restored = BackedUpSubtree();
        c.change(restored->registry);
        const RestoreCheck check = CheckBackupRestored(restored->registry, restored->files, kFile);
        EXPECT_EQ(check.entries, 10u) << c.name;
        EXPECT_EQ(check.missing, c.missing) << c.name;
        EXPECT_EQ(check.Complete(), c.missing == 0) << c.name;
    }
}

std::vector<RegFileBlock> Blocks(const char* text) {
    return ReadRegFile(text);
}

TEST(RestoreCheck, LaterLinesWinAndEachEntryCountsOnce) {
    MemoryRegistry registry;
    LoadRegText(registry, R"(
[HKEY_CURRENT_USER\A]
"v"="second"
[HKEY_CURRENT_USER\A\Gone]
)");
    struct Case {
        const char* name;
        const char* backup;
        size_t entries;
        size_t missing;
    };
    const Case cases[] = {
        {"the same key twice, names in other letter case",
         "[HKEY_CURRENT_USER\\A]\n\"v\"=\"first\"\n[hkey_current_user\\a]\n\"V\"=\"second\"\n", 2,
         0},
        {"a removal that the registry did", "[-HKEY_CURRENT_USER\\B]\n", 1, 0},
        {"a removal that the registry did not do", "[-HKEY_CURRENT_USER\\A\\Gone]\n", 1, 1},
        {"a value removal", "[HKEY_CURRENT_USER\\A]\n\"w\"=-\n\"v\"=-\n", 3, 1},
        {"a removed key written again", "[-HKEY_CURRENT_USER\\A]\n[HKEY_CURRENT_USER\\A]\n", 1, 0},
        {"a removed parent made again by its child",
         "[-HKEY_CURRENT_USER\\A]\n[HKEY_CURRENT_USER\\A\\Gone]\n", 2, 0},
    };
    for (const Case& c : cases) {
        const RestoreCheck check = CheckRestored(registry, Blocks(c.backup));
        EXPECT_EQ(check.entries, c.entries) << c.name;
        EXPECT_EQ(check.missing, c.missing) << c.name;
    }
}

// The restore dialog's list of a backup: each entry with where it stands now, and the blocks
// that merge a chosen few of them alone.
TEST(RestoreCheck, EntriesWithTheirStateAndASubsetMergedAlone) {
    const auto restored = BackedUpSubtree();
    MemoryRegistry& registry = restored->registry;
    registry.SetString(kUser, "Software\\Stale", "Path", "C:\\other.exe");
    registry.RemoveValue(kUser, "Software\\Stale", "Count");
    registry.RemoveKey(kUser, "Software\\Stale\\Sub");
    const std::vector<BackupEntry> entries =
        ListBackupEntries(registry, ReadRegFile(restored->files.Read(kFile)));
    std::vector<std::string> listed;
    for (const BackupEntry& entry : entries)
        listed.push_back(entry.keyPath + (entry.isValue ? "|" + entry.valueName : "") + ": " +
                         EntryNowText(entry));
    EXPECT_EQ(listed, (std::vector<std::string>{
                          "Software\\Run: in the registry",
                          "Software\\Run|Tool: the same now",
                          "Software\\Stale: in the registry",
                          "Software\\Stale|: the same now",
                          "Software\\Stale|Blob: the same now",
                          "Software\\Stale|Count: not in the registry",
                          "Software\\Stale|Expand: the same now",
                          "Software\\Stale|Path: different now",
                          "Software\\Stale\\Sub: not in the registry",
                          "Software\\Stale\\Sub|Deep: not in the registry",
                      }));

    // Count and Deep chosen: merged alone, they come back and nothing else changes.
    const std::string blocks = RegBlocksOfEntries(entries, {5, 9});
    LoadRegText(registry, "REGEDIT4\r\n" + blocks);
    EXPECT_EQ(ReadRegFile(blocks).size(), 2u);
    const RestoreCheck check = CheckBackupRestored(registry, restored->files, kFile);
    EXPECT_EQ(check.missing, 1u);  // Path stays as the user has it now
    EXPECT_EQ(RestoredNotice(check), "1 of the 10 entries is not in the registry.");
    EXPECT_EQ(RestoredNotice(RestoreCheck{12, 0}), "All 12 entries are back in the registry.");
}

TEST(RestoreCheck, AFileThatCannotBeReadBackOrIsNotRegedit4Raises) {
    MemoryRegistry registry;
    MemoryBackupFile files;
    EXPECT_THROW(CheckBackupRestored(registry, files, kFile), BackupFileError);
    files.Create(kFile, "Windows Registry Editor Version 5.00\r\n");
    EXPECT_THROW(CheckBackupRestored(registry, files, kFile), RegFileError);
}

TEST(RestoreCheck, Notices) {
    EXPECT_EQ(MissingEntriesNotice(12),
              "12 entries of the backup are not in the registry; the backup file was kept.");
    EXPECT_EQ(MissingEntriesNotice(1),
              "1 entry of the backup is not in the registry; the backup file was kept.");
    EXPECT_EQ(UncheckedBackupNotice("Cannot open \"x\": gone"),
              "The backup could not be compared with the registry; the backup file was "
              "kept.\r\nCannot open \"x\": gone");
}

}  // namespace
}  // namespace vantrel
