// Repair under faults: every step of a repair (opening a key for writing, the export's opens,
// listings and reads, the backup file's writes and commits, the deletions, the shell's file
// deletion) fails in turn at each of its calls, for rows of every RepairKind. Whatever fails:
// - no entry is deleted unless the block that backs it up was committed to the disk before;
// - the backup file, written and committed, always reads whole;
// - a row is removed only when its entry is gone, a refused entry's row is counted and stays,
//   and the rows left alone by an error keep their entries.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/PathText.h"
#include "platform/TextCase.h"
#include "platform/memory/MemoryBackupFile.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "repair/RegFileReader.h"
#include "repair/Repair.h"
#include "scan/RowTarget.h"
#include "tests/core/LoadRegText.h"

namespace vantrel {
namespace {

constexpr const char* kBackup = "C:\\Backup\\Backup20261206210507.reg";
constexpr RootKey kRoots[] = {RootKey::CurrentUser, RootKey::LocalMachine};

// The entries the rows name: keys with subtrees, values of every type, default values.
constexpr const char* kRegistryText =
    "REGEDIT4\r\n"
    "[HKEY_CURRENT_USER\\Software\\K0a]\r\n@=\"c:\\\\gone.exe\"\r\n\"Size\"=dword:00000010\r\n"
    "[HKEY_CURRENT_USER\\Software\\K0a\\Sub\\Deeper]\r\n\"List\"=hex(7):61,00,00\r\n"
    "[HKEY_CURRENT_USER\\Software\\K0b]\r\n\"Blob\"=hex:01,02,03\r\n"
    "[HKEY_CURRENT_USER\\Software\\K0c\\Empty]\r\n"
    "[HKEY_CURRENT_USER\\Software\\K1]\r\n\"Path\"=\"c:\\\\gone1.exe\"\r\n"
    "\"Other\"=hex(2):25,00\r\n\"Keep\"=\"x\"\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\K2]\r\n\"c:\\\\a.dll\"=dword:00000001\r\n"
    "\"c:\\\\b.dll\"=\"1\"\r\n\"c:\\\\c.dll\"=hex:\r\n"
    "[HKEY_CURRENT_USER\\Software\\K3\\Child]\r\n\"v\"=\"1\"\r\n"
    "[HKEY_CURRENT_USER\\Software\\K3\\Second\\Below]\r\n@=\"2\"\r\n"
    "[HKEY_CURRENT_USER\\Software\\K3\\Third]\r\n"
    "[HKEY_CURRENT_USER\\Software\\K5a]\r\n@=\"sound.wav\"\r\n\"Other\"=\"stays\"\r\n"
    "[HKEY_CURRENT_USER\\Software\\K5b]\r\n@=hex(2):25,31,00\r\n";

RepairRow Row(std::string keyText, std::string valueText, RepairKind kind) {
    return RepairRow{ScanIssue{"Problem", std::move(keyText), std::move(valueText), kind}, true};
}

struct Scenario {
    const char* name;
    std::vector<RepairRow> rows;
};

std::vector<Scenario> Scenarios() {
    std::vector<Scenario> scenarios = {
        {"kind 0, keys with subtrees",
         {Row("HKEY_CURRENT_USER\\Software\\K0a", "", RepairKind::DeleteKey),
          Row("HKEY_CURRENT_USER\\Software\\K0b", "", RepairKind::DeleteKey),
          Row("HKEY_CURRENT_USER\\Software\\K0c", "", RepairKind::DeleteKey)}},
        {"kind 1, values named by the key text",
         {Row("HKEY_CURRENT_USER\\Software\\K1\\Path", "c:\\gone1.exe",
              RepairKind::DeleteValueInKey),
          Row("HKEY_CURRENT_USER\\Software\\K1\\Other", "%", RepairKind::DeleteValueInKey)}},
        {"kind 2, values named by the value text",
         {Row("HKEY_LOCAL_MACHINE\\SOFTWARE\\K2", "c:\\a.dll", RepairKind::DeleteNamedValue),
          Row("HKEY_LOCAL_MACHINE\\SOFTWARE\\K2", "c:\\b.dll", RepairKind::DeleteNamedValue),
          Row("HKEY_LOCAL_MACHINE\\SOFTWARE\\K2", "c:\\c.dll", RepairKind::DeleteNamedValue)}},
        {"kind 3, subkeys",
         {Row("HKEY_CURRENT_USER\\Software\\K3", "Child", RepairKind::DeleteSubkey),
          Row("HKEY_CURRENT_USER\\Software\\K3", "Second", RepairKind::DeleteSubkey),
          Row("HKEY_CURRENT_USER\\Software\\K3", "Third", RepairKind::DeleteSubkey)}},
        {"kind 4, files",
         {Row("C:\\Links\\one.lnk", "", RepairKind::DeleteNamedFile),
          Row("C:\\Links\\two.lnk", "", RepairKind::DeleteNamedFile)}},
        {"kind 5, default values",
         {Row("HKEY_CURRENT_USER\\Software\\K5a", "sound.wav", RepairKind::DeleteDefaultValue),
          Row("HKEY_CURRENT_USER\\Software\\K5b", "%1", RepairKind::DeleteDefaultValue)}},
    };
    Scenario all{"every kind", {}};
    for (const Scenario& scenario : scenarios)
        all.rows.insert(all.rows.end(), scenario.rows.begin(), scenario.rows.end());
    scenarios.push_back(all);
    return scenarios;
}

// The registry by key ("ROOT\PATH" in capitals), each with its values by upper-case name.
using KeyValues = std::map<std::string, RawValue>;
using Snapshot = std::map<std::string, KeyValues>;

void AddSubtree(const MemoryRegistry& registry, RootKey root, const std::string& path,
                Snapshot& snapshot) {
    KeyValues& values = snapshot[UpperAscii(KeyText(RootKeyName(root), path))];
    for (const std::string& name : registry.ValueNames(root, path))
        values[UpperAscii(name)] = *registry.GetValue(root, path, name);
    for (const std::string& subkey : registry.SubkeyNames(root, path))
        AddSubtree(registry, root, path.empty() ? subkey : path + "\\" + subkey, snapshot);
}

Snapshot SnapshotOf(const MemoryRegistry& registry) {
    Snapshot snapshot;
    for (const RootKey root : kRoots)
        AddSubtree(registry, root, "", snapshot);
    return snapshot;
}

bool SameValue(const RawValue& a, const RawValue& b) {
    return a.type == b.type && a.data == b.data;
}

// What `before` holds and `after` lacks, each not found in `backup`: one line per entry.
std::vector<std::string> LostEntries(const Snapshot& before, const Snapshot& after,
                                     const Snapshot& backup) {
    std::vector<std::string> lost;
    for (const auto& [key, values] : before) {
        const auto kept = after.find(key);
        const auto saved = backup.find(key);
        if (kept == after.end() && saved == backup.end())
            lost.push_back("key " + key);
        for (const auto& [name, value] : values) {
            if (kept != after.end() && kept->second.count(name) != 0)
                continue;
            const bool backedUp = saved != backup.end() && saved->second.count(name) != 0 &&
                                  SameValue(saved->second.at(name), value);
            if (!backedUp)
                lost.push_back("value " + key + " \"" + name + "\"");
        }
    }
    return lost;
}

// The backup text as the registry it would restore (nothing but what it holds).
Snapshot BackupSnapshot(const std::optional<std::string>& text) {
    MemoryRegistry restored;
    if (text)
        test::LoadRegText(restored, *text);
    return SnapshotOf(restored);
}

// One repair over a fresh registry, watched at every registry call.
struct Repair {
    explicit Repair(size_t rowsPerCommit) {
        context.rowsPerCommit = rowsPerCommit;
        test::LoadRegText(registry, kRegistryText);
        registry.SetCallObserver([this](RegistryCall call) { Observe(call); });
    }
    ~Repair() { registry.SetCallObserver(nullptr); }

    void Run(const std::vector<RepairRow>& rows) {
        before = SnapshotOf(registry);
        try {
            RepairRows(context, rows, deleteFile, tally);
        } catch (const BackupFileError& error) {
            raised = error.what();
        } catch (const RegistryError& error) {
            raised = error.what();
        }
        CheckLastDeletion();
        CheckFileReadsWhole();
    }

    void Observe(RegistryCall call) {
        ++callsOfKind[call];
        CheckLastDeletion();
        CheckFileReadsWhole();
        if (call == RegistryCall::DeleteKey || call == RegistryCall::DeleteValue) {
            beforeDeletion = SnapshotOf(registry);
            if (files.CommitCount() != committedVersion || !committedAtDeletion) {
                committedVersion = files.CommitCount();
                committedAtDeletion = BackupSnapshot(files.CommittedContents(kBackup));
            }
        }
    }

    // What the last deletion took must have been in the file's committed text when it ran.
    void CheckLastDeletion() {
        if (!beforeDeletion)
            return;
        for (const std::string& entry :
             LostEntries(*beforeDeletion, SnapshotOf(registry), *committedAtDeletion)) {
            violations.push_back("deleted before its backup was committed: " + entry);
        }
        beforeDeletion.reset();
    }

    void CheckFileReadsWhole() {
        // Read again only after a write or a commit.
        const size_t version = files.WriteCount() + files.CommitCount();
        if (version == checkedVersion)
            return;
        checkedVersion = version;
        for (const auto& text : {files.Contents(kBackup), files.CommittedContents(kBackup)}) {
            try {
                if (text)
                    ReadRegFile(*text);
            } catch (const RegFileError& error) {
                violations.push_back(std::string("backup file unreadable: ") + error.what());
            }
        }
    }

    MemoryRegistry registry;
    MemoryFileSystem fileSystem;
    MemoryBackupFile files;
    RepairContext context{registry, fileSystem, files, kBackup};
    std::set<std::string> deletedFiles;
    size_t fileDeletions = 0;
    std::optional<size_t> failingFileDeletion;
    FileDeleter deleteFile = [this](const std::string& path) {
        if (++fileDeletions == failingFileDeletion)
            return false;
        deletedFiles.insert(path);
        return true;
    };
    RepairTally tally;
    std::string raised;
    Snapshot before;
    std::map<RegistryCall, size_t> callsOfKind;
    std::optional<Snapshot> beforeDeletion;
    // The committed text as the registry it restores, read again only after a commit.
    std::optional<Snapshot> committedAtDeletion;
    size_t committedVersion = 0;
    std::vector<std::string> violations;
    size_t checkedVersion = 0;
};

// A step of the repair that can fail, and how to make its nth call fail.
struct Step {
    const char* name;
    std::function<void(Repair&, size_t nth)> failNth;
    std::function<size_t(const Repair&)> calls;
};

std::vector<Step> Steps() {
    const auto registryStep = [](const char* name, RegistryCall call) {
        return Step{name,
                    [call](Repair& repair, size_t nth) { repair.registry.FailCall(call, nth); },
                    [call](const Repair& repair) {
                        const auto found = repair.callsOfKind.find(call);
                        return found == repair.callsOfKind.end() ? size_t{0} : found->second;
                    }};
    };
    return {
        registryStep("open for writing", RegistryCall::OpenForWrite),
        registryStep("the export's open", RegistryCall::OpenForRead),
        registryStep("the export's listing", RegistryCall::ListNames),
        registryStep("the export's read", RegistryCall::ReadData),
        {"backup write", [](Repair& repair, size_t nth) { repair.files.FailWritesAfter(nth - 1); },
         [](const Repair& repair) { return repair.files.WriteCount(); }},
        {"backup commit",
         [](Repair& repair, size_t nth) { repair.files.FailCommitsAfter(nth - 1); },
         [](const Repair& repair) { return repair.files.CommitCount(); }},
        registryStep("key deletion", RegistryCall::DeleteKey),
        registryStep("value deletion", RegistryCall::DeleteValue),
        {"shell file deletion",
         [](Repair& repair, size_t nth) { repair.failingFileDeletion = nth; },
         [](const Repair& repair) { return repair.fileDeletions; }},
    };
}

// Whether the row's entry is still there (a file: not deleted by the repair).
bool EntryThere(const Repair& repair, const RepairRow& row) {
    const RowTarget target = RowTargetOf(row.issue);
    switch (target.kind) {
        case RowTarget::Kind::Key:
            return repair.registry.HasKey(target.root, target.keyPath);
        case RowTarget::Kind::Value:
            return repair.registry.HasValue(target.root, target.keyPath, target.valueName);
        case RowTarget::Kind::DefaultValue:
            return repair.registry.HasValue(target.root, target.keyPath, "");
        case RowTarget::Kind::File:
            return repair.deletedFiles.count(target.filePath) == 0;
        case RowTarget::Kind::Nothing:
            break;
    }
    return false;
}

void CheckOutcome(const Repair& repair, const std::vector<RepairRow>& rows) {
    for (const std::string& violation : repair.violations)
        ADD_FAILURE() << violation;
    const std::vector<std::string> lost =
        LostEntries(repair.before, SnapshotOf(repair.registry),
                    BackupSnapshot(repair.files.CommittedContents(kBackup)));
    for (const std::string& entry : lost)
        ADD_FAILURE() << "missing from the registry and from the committed backup: " << entry;

    std::set<size_t> removed(repair.tally.removed.begin(), repair.tally.removed.end());
    std::set<size_t> stay(repair.tally.notRemoved.begin(), repair.tally.notRemoved.end());
    EXPECT_EQ(removed.size() + stay.size(),
              repair.tally.removed.size() + repair.tally.notRemoved.size())
        << "a row counted twice";
    for (size_t index = 0; index < rows.size(); ++index) {
        const bool there = EntryThere(repair, rows[index]);
        const std::string row = rows[index].issue.keyText + " " + rows[index].issue.valueText;
        if (removed.count(index) != 0) {
            EXPECT_FALSE(there) << "removed from the list, but its entry is there: " << row;
        } else if (stay.count(index) != 0) {
            EXPECT_TRUE(there) << "counted as refused, but its entry is gone: " << row;
        } else {
            EXPECT_FALSE(repair.raised.empty()) << "neither removed nor counted: " << row;
            EXPECT_TRUE(there) << "left alone by the error, but its entry is gone: " << row;
        }
    }
}

// Fails the step at its first call, then at its second, and so on to its last.
void RunStepFailingAtEachCall(const Scenario& scenario, const Step& step, size_t rowsPerCommit) {
    // A run without faults says how often the step comes.
    Repair clean(rowsPerCommit);
    clean.Run(scenario.rows);
    CheckOutcome(clean, scenario.rows);
    EXPECT_TRUE(clean.raised.empty()) << clean.raised;
    EXPECT_TRUE(clean.tally.notRemoved.empty());
    const size_t calls = step.calls(clean);
    for (size_t nth = 1; nth <= calls; ++nth) {
        SCOPED_TRACE("failing call " + std::to_string(nth) + " of " + std::to_string(calls));
        Repair faulty(rowsPerCommit);
        step.failNth(faulty, nth);
        faulty.Run(scenario.rows);
        CheckOutcome(faulty, scenario.rows);
    }
}

// Rows per commit: one, a few (so the rows of every kind span several commits), the default.
constexpr size_t kBatchSizes[] = {1, 4, kRowsPerCommit};

TEST(RepairFaultMatrix, EveryStepFailingAtEachOfItsCallsLosesNothing) {
    for (const size_t rowsPerCommit : kBatchSizes) {
        for (const Scenario& scenario : Scenarios()) {
            for (const Step& step : Steps()) {
                SCOPED_TRACE(std::string(scenario.name) + ", " + step.name + ", " +
                             std::to_string(rowsPerCommit) + " rows per commit");
                RunStepFailingAtEachCall(scenario, step, rowsPerCommit);
            }
        }
    }
}

// The matrix must reach what it claims: each step comes in some scenario, and a failing
// deletion, export or file deletion is counted as a refusal whose row stays.
TEST(RepairFaultMatrix, EveryStepComesAndRefusalsAreCounted) {
    const Scenario all = Scenarios().back();
    Repair clean(4);
    clean.Run(all.rows);
    for (const Step& step : Steps())
        EXPECT_GT(step.calls(clean), 0u) << step.name;
    EXPECT_GE(clean.files.CommitCount(), 3u) << "the rows span several commits";

    struct Refusal {
        const char* name;
        std::function<void(Repair&)> fault;
    };
    const Refusal refusals[] = {
        {"key deletion", [](Repair& r) { r.registry.FailCall(RegistryCall::DeleteKey, 1); }},
        {"value deletion", [](Repair& r) { r.registry.FailCall(RegistryCall::DeleteValue, 1); }},
        {"export listing", [](Repair& r) { r.registry.FailCall(RegistryCall::ListNames, 1); }},
        {"file deletion", [](Repair& r) { r.failingFileDeletion = 1; }},
    };
    for (const Refusal& refusal : refusals) {
        Repair faulty(4);
        refusal.fault(faulty);
        faulty.Run(all.rows);
        EXPECT_TRUE(faulty.raised.empty()) << refusal.name << ": " << faulty.raised;
        EXPECT_EQ(faulty.tally.notRemoved.size(), 1u) << refusal.name;
        EXPECT_EQ(faulty.tally.removed.size(), all.rows.size() - 1) << refusal.name;
    }
}

}  // namespace
}  // namespace vantrel
