// The benchmark's generated Windows 11 registry, at a tiny size in the memory registry: its
// lists hold what the generator counted, its links are there, and a scan finds a stale entry in
// every category.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "bench/Windows11Registry.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "scan/CheckTable.h"
#include "scan/IssueCollectingSink.h"
#include "scan/ScanTaskThread.h"

namespace vantrel {
namespace {

using bench::GeneratedCount;

class MemoryTarget : public bench::GeneratedRegistryTarget {
  public:
    MemoryTarget(MemoryRegistry& registry, MemoryFileSystem& files)
        : registry_(registry), files_(files) {}

    void Key(RootKey root, std::string_view path) override {
        root_ = root;
        path_ = path;
        registry_.AddKey(root, path);
    }
    void String(std::string_view name, std::string_view text) override {
        registry_.SetString(root_, path_, name, text);
    }
    void Dword(std::string_view name, uint32_t number) override {
        registry_.SetDword(root_, path_, name, number);
    }
    void Binary(std::string_view name, size_t bytes) override {
        registry_.SetValue(root_, path_, name, regtype::kBinary, std::vector<uint8_t>(bytes));
    }
    void Link(RootKey root, std::string_view path, RootKey targetRoot,
              std::string_view targetPath) override {
        registry_.AddLink(root, path, targetRoot, targetPath);
    }
    void File(std::string_view path) override { files_.AddFile(path); }
    void Folder(std::string_view path) override { files_.AddDirectory(path); }
    void Shortcut(std::string_view link, std::string_view target) override {
        files_.SetShortcutTarget(link, target);
    }
    std::string SpecialFolder(int folder) override { return files_.SpecialFolderPath(folder); }

  private:
    MemoryRegistry& registry_;
    MemoryFileSystem& files_;
    RootKey root_ = RootKey::None;
    std::string path_;
};

class Windows11RegistryShape : public ::testing::Test {
  protected:
    void SetUp() override {
        files_.AddDrive('c', drivetype::kFixed);
        files_.SetSpecialFolder(specialfolder::kFonts, "C:\\windows\\Fonts");
        files_.SetSpecialFolder(specialfolder::kStartMenu, "C:\\users\\me\\Start Menu");
        files_.SetSpecialFolder(specialfolder::kPrograms, "C:\\users\\me\\Start Menu\\Programs");
        files_.AddDirectory("C:\\windows\\Fonts");
        files_.AddDirectory("C:\\users\\me\\Start Menu\\Programs");
        MemoryTarget target(registry_, files_);
        count_ = bench::GenerateWindows11Registry({0.002, 200}, target);
    }

    size_t Entries(std::string_view list) const {
        for (const bench::GeneratedList& generated : count_.lists) {
            if (generated.name == list)
                return generated.entries;
        }
        ADD_FAILURE() << "no list " << list;
        return 0;
    }

    MemoryRegistry registry_;
    MemoryFileSystem files_;
    GeneratedCount count_;
};

TEST_F(Windows11RegistryShape, ListsHoldTheirEntriesAndEveryStaleKind) {
    struct Case {
        const char* list;
        RootKey root;
        const char* path;
        bool values;  // the entries are values, not subkeys
    };
    const Case cases[] = {
        {"CLSID", RootKey::ClassesRoot, "CLSID", false},
        {"Interface", RootKey::ClassesRoot, "Interface", false},
        {"TypeLib", RootKey::ClassesRoot, "TypeLib", false},
        {"Services", RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Services", false},
        {"ARPCache", RootKey::LocalMachine,
         "Software\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache", false},
        {"App Paths", RootKey::LocalMachine,
         "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths", false},
        {"Installer\\UserData components", RootKey::LocalMachine,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Components",
         false},
        {"Installer\\Folders", RootKey::LocalMachine,
         "Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders", true},
        {"SharedDlls", RootKey::LocalMachine,
         "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls", true},
        {"Fonts", RootKey::LocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
         true},
    };
    for (const Case& c : cases) {
        const size_t held = c.values ? registry_.ValueNames(c.root, c.path).size()
                                     : registry_.SubkeyNames(c.root, c.path).size();
        EXPECT_EQ(held, Entries(c.list)) << c.list;
    }
    // Every list but the ones Windows keeps to itself has healthy and stale entries.
    const std::set<std::string> withoutStale = {"Interface", "Installer\\UserData products",
                                                "Installer\\UserData components"};
    for (const bench::GeneratedList& list : count_.lists) {
        EXPECT_GT(list.entries, list.stale) << list.name;
        EXPECT_EQ(list.stale == 0, withoutStale.count(list.name) == 1) << list.name;
    }
    EXPECT_GT(count_.values, count_.keys);
}

TEST_F(Windows11RegistryShape, HasItsLinks) {
    ASSERT_EQ(count_.links, bench::GeneratedLinks().size());
    for (const bench::GeneratedLink& link : bench::GeneratedLinks()) {
        const auto value = registry_.GetValue(link.root, link.path, "SymbolicLinkValue");
        ASSERT_TRUE(value.has_value()) << link.path;
        EXPECT_EQ(value->type, regtype::kLink) << link.path;
    }
}

// Each check's rows carry its problem caption; the three Files and Folders checks share theirs
// and are told apart by the root their tree caption names.
TEST_F(Windows11RegistryShape, ScanFindsAStaleEntryInEveryCategory) {
    SilentSink silent;
    IssueCollectingSink sink(silent);
    TScanTaskThread task(registry_, files_, WindowsVersion::Nt52OrLater, sink);
    task.CheckList() = CheckIdsInTreeOrder();
    task.Execute();
    for (const CategoryNode* check : ChecksInIdOrder()) {
        bool found = false;
        for (const ScanIssue& issue : sink.Issues()) {
            found =
                found || (issue.problem == check->problemCaption &&
                          (check->level < 2 || issue.keyText.rfind(check->treeCaption, 0) == 0));
        }
        EXPECT_TRUE(found) << check->treeCaption;
    }
}

}  // namespace
}  // namespace vantrel
