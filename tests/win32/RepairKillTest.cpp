// vantrel-scan --repair ended from outside at random points, as the task manager ends it: after
// every kill, each entry missing from the registry is in the backup file, which reads whole, and
// the registry editor's merge of it brings the registry back as it was.
//
// Checks 6 (application paths: key rows with subtrees) and 9 (shared DLLs: value rows) find only
// what this test seeds in a fresh prefix; like the other repair tests it assumes that no other
// test seeds those keys at the same moment.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "platform/win32/Win32Registry.h"
#include "repair/RegFileReader.h"
#include "tests/win32/ConsoleRunner.h"
#include "tests/win32/RegistrySeed.h"
#include "tests/win32/RegistrySnapshot.h"
#include "tests/win32/ScratchArea.h"

namespace vantrel {
namespace {

using Clock = std::chrono::steady_clock;
using test::ConsoleProcess;
using test::MergeWithRegedit;
using test::ReadFile;
using test::RegistrySeed;
using test::ScratchFolder;

constexpr const char* kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr const char* kSharedDlls = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
constexpr const char* kGone = "C:\\vantrel-test\\RepairKill gone\\";
// Enough rows for several commits of the backup file.
constexpr int kEntriesPerCheck = 100;
// Each application path: its key, three values, a subkey and its value; each shared DLL a value.
constexpr size_t kSeededEntries = 7 * kEntriesPerCheck;
constexpr int kKills = 20;

// Below HKEY_LOCAL_MACHINE: keys by upper-case path, each with its values by upper-case name.
using Entries = std::map<std::string, std::map<std::string, RawValue>>;

void AddSubtree(RegistrySource& registry, const std::string& path, Entries& entries) {
    auto access = registry.NewAccess();
    access->SetAccess(AccessMode::ReadOnly);
    access->SetRootKey(RootKey::LocalMachine);
    if (!access->OpenKey(path))
        return;
    auto& values = entries[UpperAscii(path)];
    for (const std::string& name : access->GetValueNames())
        values[UpperAscii(name)] = access->ReadRawValue(name);
    for (const std::string& subkey : access->GetKeyNames())
        AddSubtree(registry, JoinKeyPath(path, subkey), entries);
}

Entries Snapshot() {
    Win32Registry registry;
    Entries entries;
    AddSubtree(registry, kAppPaths, entries);
    AddSubtree(registry, kSharedDlls, entries);
    return entries;
}

Entries FromBackup(const std::vector<RegFileBlock>& blocks) {
    Entries entries;
    for (const RegFileBlock& block : blocks) {
        EXPECT_EQ(block.root, RootKey::LocalMachine) << block.path;
        auto& values = entries[UpperAscii(block.path)];
        for (const RegFileValue& value : block.values)
            values[UpperAscii(value.name)] = RawValue{value.type, value.data, true};
    }
    return entries;
}

bool Same(const RawValue& a, const RawValue& b) {
    return a.type == b.type && a.data == b.data;
}

// Every key and value of `before` that `after` lacks, and that `backup` does not hold as it was.
std::vector<std::string> Lost(const Entries& before, const Entries& after, const Entries& backup,
                              size_t& missing) {
    std::vector<std::string> lost;
    for (const auto& [key, values] : before) {
        const auto kept = after.find(key);
        const auto saved = backup.find(key);
        if (kept == after.end()) {
            ++missing;
            if (saved == backup.end())
                lost.push_back("key " + key);
        }
        for (const auto& [name, value] : values) {
            if (kept != after.end() && kept->second.count(name) != 0)
                continue;
            ++missing;
            if (saved == backup.end() || saved->second.count(name) == 0 ||
                !Same(saved->second.at(name), value)) {
                lost.push_back("value " + key + " \"" + name + "\"");
            }
        }
    }
    return lost;
}

// The backup file a run made in its folder, or "" when it made none.
std::string BackupFileIn(const std::string& folder) {
    WIN32_FIND_DATAA found{};
    const HANDLE search = ::FindFirstFileA((folder + "\\Backup*.reg").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return {};
    ::FindClose(search);
    return folder + "\\" + found.cFileName;
}

class RepairKill : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < kEntriesPerCheck; ++i) {
            const std::string number = std::to_string(i);
            const std::string entry = "vantrel-kill-" + number + ".exe";
            const std::string key = JoinKeyPath(kAppPaths, entry);
            seed_.String(HKEY_LOCAL_MACHINE, key, "", kGone + entry);
            seed_.String(HKEY_LOCAL_MACHINE, key, "Path", "C:\\vantrel-test\\RepairKill gone");
            seed_.Dword(HKEY_LOCAL_MACHINE, key, "Order", static_cast<uint32_t>(i));
            seed_.ExpandString(HKEY_LOCAL_MACHINE, JoinKeyPath(key, "SupportedTypes"), ".kill",
                               "%SystemRoot%\\kill" + number);
            seed_.Dword(HKEY_LOCAL_MACHINE, kSharedDlls, kGone + ("kill-" + number + ".dll"),
                        static_cast<uint32_t>(i + 1));
        }
        before_ = Snapshot();
    }

    // The repair of checks 6 and 9 into a folder of its own.
    std::string Arguments(const std::string& backupFolder) const {
        return "--checks 6,9 --repair --backup-dir \"" + backupFolder + "\"";
    }

    // What is missing must be in the backup, which must read whole; the merge of the backup
    // then brings back the registry as it was. Returns how many entries were missing.
    size_t CheckNothingLostAndRestore(const std::string& backupFolder, const std::string& run) {
        const Entries after = Snapshot();
        const std::string backupFile = BackupFileIn(backupFolder);
        std::vector<RegFileBlock> blocks;
        if (!backupFile.empty()) {
            try {
                blocks = ReadRegFile(ReadFile(backupFile));
            } catch (const RegFileError& error) {
                ADD_FAILURE() << run << ": the backup file does not read whole: " << error.what();
            }
        }
        size_t missing = 0;
        for (const std::string& entry : Lost(before_, after, FromBackup(blocks), missing))
            ADD_FAILURE() << run << ": missing and not in the backup file: " << entry;
        if (!backupFile.empty()) {
            EXPECT_EQ(MergeWithRegedit(backupFile), 0u) << run;
        }
        size_t stillMissing = 0;
        const std::vector<std::string> notRestored = Lost(before_, Snapshot(), {}, stillMissing);
        EXPECT_TRUE(notRestored.empty()) << run << ": not restored: " << notRestored.front();
        return missing;
    }

    ScratchFolder folder_;
    RegistrySeed seed_;
    Entries before_;
};

// Waits until the run has made its backup file or has ended; the time that took.
Clock::duration UntilBackupFileOrEnd(const ConsoleProcess& process, const std::string& folder) {
    const auto start = Clock::now();
    while (process.Running() && BackupFileIn(folder).empty())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return Clock::now() - start;
}

TEST_F(RepairKill, EveryEntryMissingAfterAKillIsInTheBackupFile) {
    // A run to the end says how long a run takes and how long its repair.
    const std::string firstFolder = folder_.Path("whole run");
    const auto start = Clock::now();
    ConsoleProcess whole(Arguments(firstFolder), folder_, "whole");
    const auto untilBackup = UntilBackupFileOrEnd(whole, firstFolder);
    EXPECT_EQ(whole.Wait(), 1u) << "every row repaired";
    const auto total = Clock::now() - start;
    const auto repair =
        std::max(total - untilBackup, Clock::duration(std::chrono::milliseconds(1)));
    EXPECT_EQ(CheckNothingLostAndRestore(firstFolder, "whole run"), kSeededEntries)
        << "every seeded entry was repaired";

    std::random_device device;
    const unsigned seed = device();
    std::mt19937 random(seed);
    std::cout << "kill seed " << seed << "; a whole run takes "
              << std::chrono::duration_cast<std::chrono::milliseconds>(total).count()
              << " ms, its repair "
              << std::chrono::duration_cast<std::chrono::milliseconds>(repair).count() << " ms\n";
    size_t killedDuringRepair = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const std::string run = "kill " + std::to_string(kill);
        const std::string backupFolder = folder_.Path(run);
        ConsoleProcess process(Arguments(backupFolder), folder_, run);
        ASSERT_TRUE(process.Started());
        // Most kills land while the repair runs; some anywhere in the run.
        if (kill % 4 != 3) {
            UntilBackupFileOrEnd(process, backupFolder);
            std::this_thread::sleep_for(
                std::uniform_int_distribution<Clock::rep>(0, repair.count())(random) *
                Clock::duration(1));
        } else {
            std::this_thread::sleep_for(
                std::uniform_int_distribution<Clock::rep>(0, total.count())(random) *
                Clock::duration(1));
        }
        process.Kill();
        const size_t missing = CheckNothingLostAndRestore(backupFolder, run);
        if (missing > 0 && missing < kSeededEntries)
            ++killedDuringRepair;
        std::cout << run << ": " << missing << " entries were missing\n";
    }
    std::cout << killedDuringRepair << " of " << kKills << " kills ended a repair halfway\n";
}

}  // namespace
}  // namespace vantrel
