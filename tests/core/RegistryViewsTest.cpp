// The registry's two views and the 32-bit programs' view of the files, on a 64-bit Windows.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "scan/RegistryViews.h"
#include "scan/ThirtyTwoBitFileView.h"

namespace vantrel {
namespace {

constexpr RootKey kMachine = RootKey::LocalMachine;

struct TwinCase {
    const char* name;
    void (*build)(MemoryRegistry&);
    const char* keyPath;
    std::optional<std::string> twin;
};

constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRun32 = "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";

const TwinCase kTwinCases[] = {
    {"a key of its own, named in the key's own spelling",
     [](MemoryRegistry& r) {
         r.AddKey(kMachine, kRun);
         r.AddKey(kMachine, "SOFTWARE\\WOW6432NODE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN");
     },
     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
     "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {"only the 32-bit key", [](MemoryRegistry& r) { r.AddKey(kMachine, kRun32); }, kRun, kRun32},
    {"a shared key: a link to the native one",
     [](MemoryRegistry& r) {
         r.AddKey(kMachine, kRun);
         r.AddLink(kMachine, kRun32, kMachine, kRun);
     },
     kRun, std::nullopt},
    {"no 32-bit key", [](MemoryRegistry& r) { r.AddKey(kMachine, "Software\\Wow6432Node"); }, kRun,
     std::nullopt},
    {"no 32-bit view at all", [](MemoryRegistry& r) { r.AddKey(kMachine, kRun); }, kRun,
     std::nullopt},
    {"the classes: the system's node is after Classes",
     [](MemoryRegistry& r) {
         r.AddKey(kMachine, "Software\\Classes\\Applications");
         r.AddKey(kMachine, "Software\\Classes\\Wow6432Node\\Applications");
         r.AddLink(kMachine, "Software\\Wow6432Node\\Classes", kMachine,
                   "Software\\Classes\\Wow6432Node");
     },
     "Software\\Classes\\Applications", "Software\\Classes\\Wow6432Node\\Applications"},
    {"a 32-bit key that leads elsewhere: the system's own path",
     [](MemoryRegistry& r) {
         r.AddKey(kMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones");
         r.AddKey(kMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Time Zones");
         r.AddLink(kMachine,
                   "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Time Zones",
                   kMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones");
     },
     "Software\\Microsoft\\Windows\\CurrentVersion\\Time Zones",
     "Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones"},
};

TEST(ThirtyTwoBitTwinPath, Cases) {
    for (const TwinCase& row : kTwinCases) {
        MemoryRegistry registry;
        row.build(registry);
        EXPECT_EQ(ThirtyTwoBitTwinPath(registry, row.keyPath), row.twin) << row.name;
    }
}

TEST(ThirtyTwoBitTwinPath, BothViewsListTheNativeKeyFirst) {
    MemoryRegistry registry;
    registry.AddKey(kMachine, kRun32);
    EXPECT_THAT(MachineKeyInBothViews(registry, kRun), ::testing::ElementsAre(kRun, kRun32));
}

TEST(CurrentUserHiveName, IsTheSidThatHkeyUsersListsForTheUser) {
    MemoryRegistry registry("S-1-5-21-9-8-7-1004");
    EXPECT_EQ(CurrentUserHiveName(registry), "S-1-5-21-9-8-7-1004");
    registry.SetString(RootKey::CurrentUser, "Software\\Own", "v", "x");
    EXPECT_TRUE(registry.HasValue(RootKey::Users, "S-1-5-21-9-8-7-1004\\Software\\Own", "v"));
}

TEST(IsThirtyTwoBitKeyPath, AWow6432NodeKeyAnywhereOnThePath) {
    EXPECT_TRUE(IsThirtyTwoBitKeyPath("Software\\Wow6432Node\\Vendor"));
    EXPECT_TRUE(IsThirtyTwoBitKeyPath("SOFTWARE\\CLASSES\\WOW6432NODE\\CLSID"));
    EXPECT_TRUE(IsThirtyTwoBitKeyPath("S-1-5-21-1\\Software\\Wow6432Node"));
    EXPECT_FALSE(IsThirtyTwoBitKeyPath("Software\\Wow6432NodeX\\Vendor"));
    EXPECT_FALSE(IsThirtyTwoBitKeyPath("Software\\Vendor"));
}

// C: with Windows' own folders, a 64-bit system folder and its 32-bit stand-in.
class ThirtyTwoBitFileViewTest : public ::testing::Test {
  protected:
    ThirtyTwoBitFileViewTest() {
        files_.AddDrive('c', drivetype::kFixed);
        files_.AddFile("C:\\Windows\\System32\\native.dll");
        files_.AddFile("C:\\Windows\\SysWOW64\\wow.dll");
        files_.AddFile("C:\\Program Files (x86)\\App\\app.exe");
        files_.AddDirectory("C:\\Program Files\\Common Files");
        files_.SetSystemFolders("C:\\Windows\\System32", "C:\\Windows\\SysWOW64");
        files_.SetEnvironment("ProgramFiles", "C:\\Program Files");
        files_.SetEnvironment("ProgramFiles(x86)", "C:\\Program Files (x86)");
        files_.SetEnvironment("CommonProgramFiles(x86)", "C:\\Program Files (x86)\\Common Files");
        files_.SetEnvironment("SystemRoot", "C:\\Windows");
    }
    MemoryFileSystem files_;
};

TEST_F(ThirtyTwoBitFileViewTest, RedirectsTheSystemFolderAndSysnative) {
    ThirtyTwoBitFileView view(files_);
    const struct {
        const char* name;
        const char* path;
        const char* seen;
    } rows[] = {
        {"system folder", "C:\\Windows\\System32\\x.dll", "C:\\Windows\\SysWOW64\\x.dll"},
        {"any letter case", "c:\\WINDOWS\\system32\\x.dll", "C:\\Windows\\SysWOW64\\x.dll"},
        {"the folder itself", "C:\\Windows\\System32", "C:\\Windows\\SysWOW64"},
        {"sysnative is the real system folder", "C:\\Windows\\Sysnative\\x.dll",
         "C:\\Windows\\System32\\x.dll"},
        {"a longer name is another folder", "C:\\Windows\\System32x\\a",
         "C:\\Windows\\System32x\\a"},
        {"elsewhere", "C:\\Program Files\\a.exe", "C:\\Program Files\\a.exe"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(view.Redirect(row.path), row.seen) << row.name;
    EXPECT_TRUE(view.FileExists("C:\\Windows\\System32\\wow.dll"));
    EXPECT_FALSE(view.FileExists("C:\\Windows\\System32\\native.dll"));
    EXPECT_TRUE(view.FileExists("C:\\Windows\\Sysnative\\native.dll"));
    EXPECT_TRUE(view.IsOwnView());
}

TEST_F(ThirtyTwoBitFileViewTest, ExpandsProgramFilesAsA32BitProgramDoes) {
    ThirtyTwoBitFileView view(files_);
    EXPECT_EQ(view.ExpandEnvironmentStrings("%ProgramFiles%\\App\\app.exe", 1024),
              "C:\\Program Files (x86)\\App\\app.exe");
    EXPECT_EQ(view.ExpandEnvironmentStrings("%COMMONPROGRAMFILES%", 1024),
              "C:\\Program Files (x86)\\Common Files");
    EXPECT_EQ(view.ExpandEnvironmentStrings("%SystemRoot%\\%Unset%x", 1024),
              "C:\\Windows\\%Unset%x");
    EXPECT_EQ(view.EnvironmentVariable("programfiles"), "C:\\Program Files (x86)");
    EXPECT_EQ(files_.ExpandEnvironmentStrings("%ProgramFiles%", 1024), "C:\\Program Files");
}

TEST_F(ThirtyTwoBitFileViewTest, WithoutA32BitSystemFolderItIsTheNativeView) {
    files_.SetSystemFolders("C:\\Windows\\System32", "");
    ThirtyTwoBitFileView view(files_);
    EXPECT_FALSE(view.IsOwnView());
    EXPECT_TRUE(view.FileExists("C:\\Windows\\System32\\native.dll"));
    EXPECT_EQ(view.ExpandEnvironmentStrings("%ProgramFiles%", 1024), "C:\\Program Files");
}

}  // namespace
}  // namespace vantrel
