// The registry editor's and the backup tool's command lines, the full backup's file name and
// the key the editor opens at.
#include <gtest/gtest.h>

#include <string>

#include "platform/memory/MemoryFileSystem.h"
#include "ui/external/ExternalTools.h"

namespace vantrel {
namespace {

TEST(RegistryEditor, StartedByItsFullPathWithTheSpecifiedSwitches) {
    EXPECT_EQ(RegistryEditorPath("C:\\WINDOWS"), "C:\\WINDOWS\\regedit.exe");
    EXPECT_EQ(RegistryEditorPath("C:\\WINDOWS\\"), "C:\\WINDOWS\\regedit.exe");
    EXPECT_EQ(ExportCommandLine("C:\\WINDOWS\\regedit.exe", "D:\\My backups\\all.reg"),
              "\"C:\\WINDOWS\\regedit.exe\" /e \"D:\\My backups\\all.reg\"");
    EXPECT_EQ(MergeCommandLine("C:\\Win dows\\regedit.exe", "C:\\b\\Backup20261206210507.reg"),
              "\"C:\\Win dows\\regedit.exe\" /s \"C:\\b\\Backup20261206210507.reg\"");
}

TEST(FullBackupPath, RegAppendedUnlessTheExtensionIsReg) {
    struct Case {
        const char* chosen;
        const char* path;
    };
    const Case cases[] = {
        {"C:\\b\\backup", "C:\\b\\backup.reg"},
        {"C:\\b\\backup.reg", "C:\\b\\backup.reg"},
        {"C:\\b\\backup.Reg", "C:\\b\\backup.Reg"},
        {"C:\\b\\backup.REG", "C:\\b\\backup.REG"},
        {"C:\\b\\backup.txt", "C:\\b\\backup.txt.reg"},
        {"C:\\b\\backup.reg.txt", "C:\\b\\backup.reg.txt.reg"},
        {"C:\\b.d\\backup", "C:\\b.d\\backup.reg"},
        {"C:\\b\\backup.regs", "C:\\b\\backup.regs.reg"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FullBackupPath(c.chosen), c.path) << c.chosen;
    EXPECT_EQ(OverwriteQuestion("C:\\b\\backup.reg"), "C:\\b\\backup.reg has existed,overite it?");
}

TEST(RegistryEditorKeyText, TheKeyOfTheRowsTarget) {
    struct Case {
        const char* name;
        RepairKind kind;
        const char* keyText;
        const char* valueText;
        const char* lastKey;
    };
    const Case cases[] = {
        {"key", RepairKind::DeleteKey, "HKEY_CLASSES_ROOT\\.xyz", "", "HKEY_CLASSES_ROOT\\.xyz"},
        {"value named by the key text", RepairKind::DeleteValueInKey,
         "HKEY_CURRENT_USER\\Software\\X\\Name", "C:\\x.exe", "HKEY_CURRENT_USER\\Software\\X"},
        {"value named by the key text, no backslash", RepairKind::DeleteValueInKey, "Name", "", ""},
        {"value named by the value text", RepairKind::DeleteNamedValue,
         "HKEY_LOCAL_MACHINE\\SOFTWARE\\Fonts", "a.ttf", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Fonts"},
        {"subkey", RepairKind::DeleteSubkey, "HKEY_CURRENT_USER\\Software\\Run", "Sub",
         "HKEY_CURRENT_USER\\Software\\Run\\Sub"},
        {"default value", RepairKind::DeleteDefaultValue, "HKEY_CLASSES_ROOT\\CLSID\\{1}", "",
         "HKEY_CLASSES_ROOT\\CLSID\\{1}"},
        {"file", RepairKind::DeleteNamedFile, "C:\\Users\\a.lnk", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RegistryEditorKeyText(ScanIssue{"Problem", c.keyText, c.valueText, c.kind}),
                  c.lastKey)
            << c.name;
    }
}

TEST(WindowsBackupProgram, NtbackupWhereItExistsElseTheBackupToolOfToday) {
    struct Case {
        const char* name;
        bool ntbackup;
        bool sdclt;
        const char* program;
    };
    const Case cases[] = {
        {"Windows XP", true, false, "C:\\WINDOWS\\system32\\ntbackup.exe"},
        {"both", true, true, "C:\\WINDOWS\\system32\\ntbackup.exe"},
        {"Windows 7 and later", false, true, "C:\\WINDOWS\\system32\\sdclt.exe"},
        {"neither: the shell reports it", false, false, "C:\\WINDOWS\\system32\\ntbackup.exe"},
    };
    for (const Case& c : cases) {
        MemoryFileSystem files;
        files.AddDrive('c', drivetype::kFixed);
        files.AddDirectory("C:\\WINDOWS\\system32");
        files.SetEnvironment("SystemRoot", "C:\\WINDOWS");
        if (c.ntbackup)
            files.AddFile("C:\\WINDOWS\\system32\\ntbackup.exe");
        if (c.sdclt)
            files.AddFile("C:\\WINDOWS\\system32\\sdclt.exe");
        EXPECT_EQ(WindowsBackupProgram(files), c.program) << c.name;
    }
    // Without the variable the text stays as it is, for the shell to report.
    MemoryFileSystem bare;
    EXPECT_EQ(WindowsBackupProgram(bare), "%SystemRoot%\\system32\\ntbackup.exe");
}

}  // namespace
}  // namespace vantrel
