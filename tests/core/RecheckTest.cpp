// Repair judges every row again by its check's own rule just before its backup and deletion.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/memory/MemoryBackupFile.h"
#include "repair/Repair.h"
#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using namespace checktest;
using Indexes = std::vector<size_t>;
using Fix = std::function<void(CheckFixture&)>;

Fix FileAppears(const char* path) {
    return [path](CheckFixture& fixture) { fixture.files.AddFile(path); };
}

Fix KeyAppears(RootKey root, const char* path) {
    return [root, path](CheckFixture& fixture) { fixture.registry.AddKey(root, path); };
}

Fix ValueAppears(RootKey root, const char* path) {
    return [root, path](CheckFixture& fixture) {
        fixture.registry.SetString(root, path, "DisplayName", "x");
    };
}

// The folders the checks of files look in, and a dead shortcut in the start menu.
void AddShellFolders(CheckFixture& fixture) {
    fixture.files.SetSpecialFolder(specialfolder::kFonts, "C:\\Windows\\Fonts");
    fixture.files.AddDirectory("C:\\Windows\\Fonts");
    fixture.files.SetSpecialFolder(specialfolder::kPrograms, "C:\\Menu\\Programs");
    fixture.files.AddDirectory("C:\\Menu\\Programs");
    fixture.files.SetSpecialFolder(specialfolder::kStartMenu, "C:\\Menu");
}

// For every check: one entry it reports, and what makes that entry no longer a problem after the
// scan. Repaired as found, the entry goes; fixed after the scan, it is left alone and counted.
TEST(Recheck, EachCheckJudgesItsRowAgainBeforeRepair) {
    constexpr RootKey kUser = RootKey::CurrentUser;
    constexpr RootKey kMachine = RootKey::LocalMachine;
    constexpr RootKey kClasses = RootKey::ClassesRoot;
    struct Case {
        CheckId check;
        const char* regText;
        Fix fix;
    };
    const Case cases[] = {
        {kFilesAndFoldersLocalMachine,
         "[HKEY_LOCAL_MACHINE\\Software\\A]\r\n\"P\"=\"C:\\\\Gone\\\\a.exe\"",
         FileAppears("C:\\Gone\\a.exe")},
        {kFilesAndFoldersCurrentUser,
         "[HKEY_CURRENT_USER\\Software\\A]\r\n\"P\"=\"C:\\\\Gone\\\\d\"",
         [](CheckFixture& f) { f.files.AddDirectory("C:\\Gone\\d"); }},
        {kFilesAndFoldersUsers,
         "[HKEY_USERS\\S-1-5-21-9\\Software\\A]\r\n\"P\"=\"C:\\\\Gone\\\\u.exe\"",
         FileAppears("C:\\Gone\\u.exe")},
        {kSoftwareLocations,
         "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\g.exe]\r\n"
         "@=\"C:\\\\Gone\\\\g.exe\"",
         FileAppears("C:\\Gone\\g.exe")},
        {kWindowsFonts,
         "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]\r\n"
         "\"G\"=\"g.ttf\"",
         FileAppears("C:\\Windows\\Fonts\\g.ttf")},
        {kHelpFilePaths,
         "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\Help]\r\n\"g.hlp\"=\"C:\\\\Help\"",
         FileAppears("C:\\Help\\g.hlp")},
        {kSharedDlls,
         "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls]\r\n"
         "\"C:\\\\Gone\\\\s.dll\"=dword:00000001",
         FileAppears("C:\\Gone\\s.dll")},
        {kStartupPrograms,
         "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
         "\"R\"=\"C:\\\\Gone\\\\run.exe /s\"",
         FileAppears("C:\\Gone\\run.exe")},
        {kStartupPrograms,
         "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Shared Tools\\MSConfig\\startupreg\\T]\r\n"
         "\"command\"=\"C:\\\\Gone\\\\cfg.exe\"",
         FileAppears("C:\\Gone\\cfg.exe")},
        {kAddRemovePrograms,
         "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\E]",
         ValueAppears(kMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\E")},
        {kFileExtensions,
         "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\"
         ".zz\\OpenWithList]",
         KeyAppears(kClasses, ".zz")},
        {kCustomControls,
         "[HKEY_CLASSES_ROOT\\CLSID\\{C}\\InprocServer32]\r\n@=\"C:\\\\Gone\\\\c.dll\"",
         FileAppears("C:\\Gone\\c.dll")},
        {kObsoleteSoftware, "[HKEY_CURRENT_USER\\Software\\Empty]",
         ValueAppears(kUser, "Software\\Empty")},
        {kWindowsServices,
         "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\S]\r\n"
         "\"ImagePath\"=\"C:\\\\Gone\\\\svc.exe\"",
         FileAppears("C:\\Gone\\svc.exe")},
        {kStartMenu,
         "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\"
         "Start Menu2\\Programs\\Group]",
         [](CheckFixture& f) { f.files.AddDirectory("C:\\Menu\\Programs\\Group"); }},
        {kShortcuts, "", FileAppears("C:\\Gone\\target.exe")},
        {kSoundEvents,
         "[HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\.Default\\Beep\\.Current]\r\n"
         "@=\"C:\\\\Gone\\\\beep.wav\"",
         FileAppears("C:\\Gone\\beep.wav")},
        {kInvalidActiveX,
         "[HKEY_CLASSES_ROOT\\TypeLib\\{T}\\1.0\\0\\win32]\r\n@=\"C:\\\\Gone\\\\t.dll\"",
         FileAppears("C:\\Gone\\t.dll")},
        {kMruLists,
         "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\"
         "OpenSaveMRU]\r\n\"a\"=\"C:\\\\Gone\\\\doc.txt\"",
         FileAppears("C:\\Gone\\doc.txt")},
        {kInstaller,
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\"
         "ARPCache\\P]\r\n\"X\"=\"1\"",
         KeyAppears(kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\P")},
        {kInstaller,
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders]"
         "\r\n"
         "\"C:\\\\Gone\\\\F\\\\\"=\"\"",
         [](CheckFixture& f) { f.files.AddDirectory("C:\\Gone\\F"); }},
        {kApplications,
         "[HKEY_LOCAL_MACHINE\\Software\\Classes\\Applications\\ap.exe\\shell\\open\\command]\r\n"
         "@=\"C:\\\\Gone\\\\ap.exe %1\"",
         FileAppears("C:\\Gone\\ap.exe")},
    };
    std::vector<CheckId> covered;
    for (const Case& c : cases) {
        covered.push_back(c.check);
        for (const bool fixed : {false, true}) {
            SCOPED_TRACE(std::string(ProblemOf(c.check)) + (fixed ? ", fixed after the scan" : ""));
            CheckFixture fixture;
            AddShellFolders(fixture);
            fixture.files.AddFile("C:\\Menu\\dead.lnk");
            fixture.files.SetShortcutTarget("C:\\Menu\\dead.lnk", "C:\\Gone\\target.exe");
            fixture.Load(c.regText);
            fixture.Run(c.check);
            ASSERT_EQ(fixture.sink.Issues().size(), 1u);
            if (fixed)
                c.fix(fixture);
            MemoryBackupFile backup;
            std::vector<std::string> deletedFiles;
            RepairTally tally;
            RepairRows(
                {fixture.registry, fixture.files, backup, "C:\\b.reg"},
                {RepairRow{fixture.sink.Issues()[0], true}},
                [&](const std::string& path) {
                    deletedFiles.push_back(path);
                    fixture.files.Remove(path);
                    return true;
                },
                tally);
            EXPECT_EQ(tally.removed, Indexes{0});
            EXPECT_EQ(tally.noLongerProblems, fixed ? Indexes{0} : Indexes{});
            EXPECT_EQ(backup.FileCount() + deletedFiles.size(), fixed ? 0u : 1u);
            // Repaired as found, the entry is gone: the check finds nothing new.
            if (!fixed) {
                EXPECT_EQ(fixture.Run(c.check).size(), 1u);
            }
        }
    }
    for (const CategoryNode* check : ChecksInIdOrder())
        EXPECT_NE(std::find(covered.begin(), covered.end(), check->Id()), covered.end())
            << check->treeCaption;
}

}  // namespace
}  // namespace vantrel
