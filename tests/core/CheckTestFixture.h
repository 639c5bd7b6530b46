#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WindowsVersion.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "scan/CheckTable.h"
#include "scan/ScanContext.h"
#include "tests/core/LoadRegText.h"
#include "tests/core/RecordingSink.h"

namespace vantrel::checktest {

using test::LoadRegText;

// The checks by their ids, as the tests name them.
constexpr CheckId kFilesAndFoldersLocalMachine{3};
constexpr CheckId kFilesAndFoldersCurrentUser{4};
constexpr CheckId kFilesAndFoldersUsers{5};
constexpr CheckId kSoftwareLocations{6};
constexpr CheckId kWindowsFonts{7};
constexpr CheckId kHelpFilePaths{8};
constexpr CheckId kSharedDlls{9};
constexpr CheckId kStartupPrograms{10};
constexpr CheckId kAddRemovePrograms{11};
constexpr CheckId kFileExtensions{12};
constexpr CheckId kCustomControls{13};
constexpr CheckId kObsoleteSoftware{14};
constexpr CheckId kWindowsServices{15};
constexpr CheckId kStartMenu{16};
constexpr CheckId kShortcuts{17};
constexpr CheckId kSoundEvents{18};
constexpr CheckId kInvalidActiveX{19};
constexpr CheckId kMruLists{20};
constexpr CheckId kInstaller{21};
constexpr CheckId kApplications{22};

// A check's captions as the check table gives them: the problem of its rows and what the scan
// window's caption label shows while it runs.
inline std::string ProblemOf(CheckId check) {
    return FindCheck(check)->problemCaption;
}
inline std::string ProgressCaptionOf(CheckId check) {
    return FindCheck(check)->progressCaption;
}

// A check of the tests' own, to run a walker on its own: its rows carry the problem "Caption".
inline const CategoryNode kWalkerTestCheck{0, 1, "Walker", nullptr, "Caption", nullptr, {}};

// A row as the tests spell it, so a mismatch prints all four fields.
struct Row {
    std::string problem;
    std::string key;
    std::string value;
    RepairKind kind;

    bool operator==(const Row& other) const {
        return problem == other.problem && key == other.key && value == other.value &&
               kind == other.kind;
    }
};

inline std::ostream& operator<<(std::ostream& out, const Row& row) {
    return out << "{" << row.problem << " | " << row.key << " | " << row.value << " | "
               << static_cast<int>(row.kind) << "}";
}

// Records like the scan task's sink and can run a hook as a row arrives or a key is shown,
// to request a stop in the middle of a check.
class HookedSink : public test::RecordingSink {
  public:
    void AddScanIssue(const ScanIssue& issue) override {
        RecordingSink::AddScanIssue(issue);
        if (onIssue)
            onIssue(issue);
    }
    void ShowProgressKey(const std::string& text) override {
        RecordingSink::ShowProgressKey(text);
        if (onProgressKey)
            onProgressKey(text);
    }

    std::function<void(const ScanIssue&)> onIssue;
    std::function<void(const std::string&)> onProgressKey;
};

// Drive C is the only fixed disk; D is removable and E a network drive. A few files and folders
// exist on C that the fixtures name.
class CheckFixture {
  public:
    CheckFixture() {
        files.AddDrive('c', drivetype::kFixed);
        files.AddDrive('d', drivetype::kRemovable);
        files.AddDrive('e', drivetype::kRemote);
        files.AddFile("C:\\Windows\\system32\\rundll32.exe");
        files.AddFile("C:\\Program Files\\App\\app.exe");
        files.AddFile("C:\\Bin\\tool");
        files.AddFile("C:\\Lib\\present.dll");
        files.AddFile("E:\\Net\\net.exe");
        files.AddDirectory("C:\\Existing");
    }

    void Load(std::string_view regText) {
        LoadRegText(registry, "REGEDIT4\r\n\r\n" + std::string(regText));
    }

    // Runs one check as the scan task runs it and returns the rows it added, in order.
    std::vector<Row> Run(CheckId check,
                         WindowsVersion windowsVersion = WindowsVersion::Nt52OrLater) {
        ScanContext context(registry, files, "c", windowsVersion, sink, stop);
        RunCheck(check, context);
        return Rows();
    }

    std::vector<Row> Rows() {
        std::vector<Row> rows;
        for (const ScanIssue& issue : sink.Issues()) {
            rows.push_back({issue.problem, issue.keyText, issue.valueText, issue.kind});
        }
        return rows;
    }

    // The key label texts, in order.
    std::vector<std::string> ProgressKeys() {
        std::vector<std::string> keys;
        for (const std::string& event : sink.Events()) {
            if (event.rfind("key ", 0) != 0)
                continue;
            std::string key = event.substr(4);
            // Undo the key label's line break so tests compare whole paths.
            const auto lineBreak = key.find("\r\n");
            if (lineBreak != std::string::npos)
                key.erase(lineBreak, 2);
            keys.push_back(key);
        }
        return keys;
    }

    // A context of the fixture's registry and files, for running a walker on its own.
    ScanContext WalkerContext() {
        ScanContext context(registry, files, "c", WindowsVersion::Nt52OrLater, sink, stop);
        context.BeginCheck(kWalkerTestCheck);
        return context;
    }

    MemoryRegistry registry;
    MemoryFileSystem files;
    HookedSink sink;
    std::atomic<bool> stop{false};
};

// One named fixture with the rows expected from it.
struct CheckCase {
    const char* name;
    const char* regText;
    std::vector<Row> expected;
};

inline void ExpectRows(CheckId check, const std::vector<CheckCase>& cases,
                       WindowsVersion windowsVersion = WindowsVersion::Nt52OrLater) {
    for (const CheckCase& checkCase : cases) {
        SCOPED_TRACE(checkCase.name);
        CheckFixture fixture;
        fixture.Load(checkCase.regText);
        EXPECT_EQ(fixture.Run(check, windowsVersion), checkCase.expected);
    }
}

}  // namespace vantrel::checktest
