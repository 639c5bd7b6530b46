// Every row says why it is there and how safe its repair is.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using checktest::CheckFixture;

// The shell folders the fixtures below name, with the folders that must exist.
void AddShellFolders(CheckFixture& fixture) {
    const struct {
        int number;
        const char* path;
    } folders[] = {
        {specialfolder::kFonts, "C:\\Windows\\Fonts"},
        {specialfolder::kPrograms, "C:\\Users\\u\\Start Menu\\Programs"},
        {specialfolder::kCommonPrograms, "C:\\All Users\\Start Menu\\Programs"},
        {specialfolder::kDesktopDirectory, "C:\\Users\\u\\Desktop"},
    };
    for (const auto& folder : folders) {
        fixture.files.AddDirectory(folder.path);
        fixture.files.SetSpecialFolder(folder.number, folder.path);
    }
    fixture.files.SetShortcutTarget("C:\\Users\\u\\Desktop\\Old.lnk", "C:\\Old\\old.exe");
}

// Two uninstall entries of programs that are there (a folder, an icon that exist), one of a
// program gone: its publisher's keys are an orphan's, safe.
constexpr const char* kUninstallEntries =
    R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\{P}]
"InstallLocation"="C:\\Existing"
"Publisher"="Acme Soft"
"DisplayName"="Acme Writer"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tool]
"DisplayIcon"="C:\\Program Files\\App\\app.exe,0"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Gone]
"InstallLocation"="C:\\Gone"
"UninstallString"="\"C:\\Gone\\unins.exe\" /x"
"Publisher"="Gone Corp"
)";

struct ReasonCase {
    const char* name;
    CheckId check;
    const char* regText;
    std::string reason;
    RowRisk risk;
};

TEST(RowReasons, EachCheckSaysWhatItTestedAndFound) {
    const std::vector<ReasonCase> cases = {
        {"files and folders, machine", checktest::kFilesAndFoldersLocalMachine,
         "[HKEY_LOCAL_MACHINE\\Software\\Gone Corp\\Pad]\r\n\"Path\"=\"C:\\\\Gone\\\\a.exe\"\r\n",
         "C:\\Gone\\a.exe names a file or folder that does not exist", RowRisk::Safe},
        {"files and folders, current user", checktest::kFilesAndFoldersCurrentUser,
         "[HKEY_CURRENT_USER\\Software\\Old]\r\n\"Path\"=\"C:\\\\Gone\\\\a.exe\"\r\n",
         "C:\\Gone\\a.exe names a file or folder that does not exist", RowRisk::Safe},
        {"files and folders, users", checktest::kFilesAndFoldersUsers,
         "[HKEY_USERS\\S-1-5-21-9\\Software\\Old]\r\n\"Path\"=\"C:\\\\Gone\\\\a.exe\"\r\n",
         "C:\\Gone\\a.exe names a file or folder that does not exist", RowRisk::Safe},
        {"software locations", checktest::kSoftwareLocations,
         "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App "
         "Paths\\gone.exe]\r\n@=\"C:\\\\Gone\\\\gone.exe\"\r\n",
         "C:\\Gone\\gone.exe names a program that does not exist", RowRisk::Safe},
        {"fonts", checktest::kWindowsFonts,
         "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]\r\n"
         "\"Gone (TrueType)\"=\"gone.ttf\"\r\n",
         "the font file gone.ttf is not in C:\\Windows\\Fonts", RowRisk::Safe},
        {"help files", checktest::kHelpFilePaths,
         "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\Help]\r\n"
         "\"gone.hlp\"=\"C:\\\\Help\"\r\n",
         "C:\\Help\\gone.hlp does not exist", RowRisk::Safe},
        {"shared DLL gone", checktest::kSharedDlls,
         "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls]\r\n"
         "\"C:\\\\Gone\\\\x.dll\"=dword:00000001\r\n",
         "C:\\Gone\\x.dll does not exist", RowRisk::Safe},
        {"shared DLL unused", checktest::kSharedDlls,
         "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls]\r\n"
         "\"C:\\\\Lib\\\\present.dll\"=dword:00000000\r\n",
         "the reference count is zero", RowRisk::Safe},
        {"startup programs", checktest::kStartupPrograms,
         "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
         "\"Old\"=\"C:\\\\Gone\\\\old.exe /tray\"\r\n",
         "C:\\Gone\\old.exe /tray names a program that does not exist", RowRisk::Safe},
        {"add/remove programs", checktest::kAddRemovePrograms,
         "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Old]\r\n",
         "the uninstall entry holds no information", RowRisk::Safe},
        {"file extensions, empty class", checktest::kFileExtensions,
         "[HKEY_LOCAL_MACHINE\\Software\\Classes\\Foo.Document]\r\n@=\"\"\r\n",
         "the class holds only an empty default value", RowRisk::Safe},
        {"file extensions, unregistered", checktest::kFileExtensions,
         "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\."
         "zzz]\r\n",
         "the extension .zzz is not registered and names no program that is there", RowRisk::Safe},
        {"custom controls", checktest::kCustomControls,
         "[HKEY_CLASSES_ROOT\\CLSID\\{X}\\InprocServer32]\r\n@=\"C:\\\\Gone\\\\x.dll\"\r\n",
         "class {X} names a server file that does not exist: C:\\Gone\\x.dll", RowRisk::Safe},
        {"custom controls, a key other than a server's", checktest::kCustomControls,
         "[HKEY_CLASSES_ROOT\\CLSID\\{Y}\\DefaultIcon]\r\n@=\"C:\\\\Gone\\\\y.ico\"\r\n",
         "class {Y} names a file that does not exist: C:\\Gone\\y.ico", RowRisk::Safe},
        {"obsolete software", checktest::kObsoleteSoftware,
         "[HKEY_CURRENT_USER\\Software\\Empty]\r\n", "the key holds no values and no subkeys",
         RowRisk::Safe},
        {"windows services", checktest::kWindowsServices,
         "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Svc]\r\n"
         "\"ImagePath\"=\"C:\\\\Gone\\\\svc.exe\"\r\n",
         "the service's program does not exist: C:\\Gone\\svc.exe", RowRisk::Safe},
        {"start menu", checktest::kStartMenu,
         "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\"
         "Start Menu2\\Programs\\Old Group]\r\n",
         "no program group named Old Group exists", RowRisk::Safe},
        {"shortcuts", checktest::kShortcuts, "",
         "the shortcut's target C:\\Old\\old.exe does not exist", RowRisk::Safe},
        {"sound events", checktest::kSoundEvents,
         "[HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\.Default\\Beep\\.Current]\r\n"
         "@=\"C:\\\\Gone\\\\beep.wav\"\r\n",
         "C:\\Gone\\beep.wav names a file that does not exist", RowRisk::Safe},
        {"activex", checktest::kInvalidActiveX,
         "[HKEY_CLASSES_ROOT\\TypeLib\\{1}\\1.0\\0\\win32]\r\n@=\"C:\\\\Gone\\\\x.dll\"\r\n",
         "C:\\Gone\\x.dll names a file or folder that does not exist", RowRisk::Safe},
        {"history list entry", checktest::kMruLists,
         "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\"
         "OpenSaveMRU\\txt]\r\n\"a\"=\"C:\\\\Gone\\\\a.txt\"\r\n",
         "C:\\Gone\\a.txt names a file or folder that does not exist", RowRisk::Review},
        {"history list's own value", checktest::kMruLists,
         "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\"
         "OpenSaveMRU]\r\n\"a\"=\"C:\\\\Gone\\\\b.txt\"\r\n",
         "C:\\Gone\\b.txt does not exist", RowRisk::Review},
        {"installer cache", checktest::kInstaller,
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App "
         "Management\\ARPCache\\Old]\r\n",
         "no uninstall entry is named Old", RowRisk::Safe},
        {"installer folders", checktest::kInstaller,
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders]"
         "\r\n\"C:\\\\Gone\\\\\"=\"\"\r\n",
         "C:\\Gone\\ does not exist", RowRisk::Safe},
        {"applications", checktest::kApplications,
         "[HKEY_LOCAL_MACHINE\\Software\\Classes\\Applications\\old.exe\\shell\\open\\command]"
         "\r\n@=\"C:\\\\Gone\\\\old.exe %1\"\r\n",
         "C:\\Gone\\old.exe %1 names a program that does not exist", RowRisk::Safe},
        {"a setting of an installed program, by publisher", checktest::kFilesAndFoldersLocalMachine,
         "[HKEY_LOCAL_MACHINE\\Software\\Acme "
         "Soft\\Writer]\r\n\"Last\"=\"C:\\\\Gone\\\\a.doc\"\r\n",
         "C:\\Gone\\a.doc names a file or folder that does not exist", RowRisk::Review},
        {"a setting of an installed program, 32-bit view, by display name",
         checktest::kFilesAndFoldersLocalMachine,
         "[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Vendor\\ACME WRITER]\r\n"
         "\"Last\"=\"C:\\\\Gone\\\\a.doc\"\r\n",
         "C:\\Gone\\a.doc names a file or folder that does not exist", RowRisk::Review},
        {"a user's setting of an installed program, by entry name",
         checktest::kFilesAndFoldersCurrentUser,
         "[HKEY_CURRENT_USER\\Software\\Tool]\r\n\"Last\"=\"C:\\\\Gone\\\\a.doc\"\r\n",
         "C:\\Gone\\a.doc names a file or folder that does not exist", RowRisk::Review},
        {"another user's setting of an installed program", checktest::kFilesAndFoldersUsers,
         "[HKEY_USERS\\S-1-5-21-9\\Software\\Acme Soft\\Writer]\r\n"
         "\"Last\"=\"C:\\\\Gone\\\\a.doc\"\r\n",
         "C:\\Gone\\a.doc names a file or folder that does not exist", RowRisk::Review},
    };
    std::set<int> covered;
    for (const ReasonCase& reasonCase : cases) {
        SCOPED_TRACE(reasonCase.name);
        covered.insert(reasonCase.check.Number());
        CheckFixture fixture;
        AddShellFolders(fixture);
        // The uninstall lists only decide risk; the checks that read them are given none.
        if (reasonCase.check != checktest::kAddRemovePrograms &&
            reasonCase.check != checktest::kInstaller)
            fixture.Load(kUninstallEntries);
        fixture.Load(reasonCase.regText);
        fixture.Run(reasonCase.check);
        ASSERT_EQ(fixture.sink.Issues().size(), 1u);
        EXPECT_EQ(fixture.sink.Issues().front().reason, reasonCase.reason);
        EXPECT_EQ(RowRiskText(fixture.sink.Issues().front().risk), RowRiskText(reasonCase.risk));
    }
    for (const CategoryNode* check : ChecksInIdOrder())
        EXPECT_EQ(covered.count(check->Id().Number()), 1u) << check->treeCaption;
}

}  // namespace
}  // namespace vantrel
