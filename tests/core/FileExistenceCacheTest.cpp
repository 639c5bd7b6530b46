#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/ForwardingFileSystem.h"
#include "platform/memory/MemoryFileSystem.h"
#include "scan/FileExistenceCache.h"

namespace vantrel {
namespace {

void BuildTrickyMachine(MemoryFileSystem& files) {
    files.AddDrive('c', drivetype::kFixed);
    files.AddDrive('d', drivetype::kCdRom);
    files.AddFile("C:\\Program Files\\Vendor\\prog.exe");
    files.AddShortName("C:\\Program Files", "C:\\PROGRA~1");
    files.AddFile("C:\\file.txt");
    files.AddFile("C:\\Dir\\Sub\\deep.dll");
    files.AddDirectory("C:\\Dir\\Empty");
    files.AddFile("C:\\Dir\\Sub\\other.txt");
    files.AddFile("C:\\Dir\\MixedCase.TXT");
    files.AddFile("C:\\Dir\\ lead blank.txt");
    files.AddFile("C:\\Dir\\a~b.txt");
    files.AddShortName("C:\\Dir\\MixedCase.TXT", "C:\\Dir\\MIXEDC~1.TXT");
}

// Paths whose answers depend on the file system's path rules, each asked as file and as folder.
const std::vector<std::string> kTrickyPaths = {
    "C:",
    "C:\\",
    "c:\\",
    "C:\\\\",
    "C:\\.",
    "C:\\..",
    "C:\\Program Files",
    "C:\\PROGRAM FILES\\",
    "C:\\PROGRA~1",
    "C:\\PROGRA~1\\Vendor\\prog.exe",
    "C:\\progra~1\\VENDOR\\PROG.EXE",
    "C:\\Program Files\\Vendor\\prog.exe",
    "C:\\Program Files\\Vendor\\prog.exe.",
    "C:\\Program Files\\Vendor\\prog.exe . ",
    "C:\\Program Files\\Vendor\\prog.exe\\",
    "C:\\Program Files\\\\Vendor\\\\prog.exe",
    "C:\\Program Files\\Vendor\\.\\prog.exe",
    "C:\\Program Files\\Vendor\\..\\Vendor\\prog.exe",
    "C:\\Program Files\\Gone\\..\\Vendor\\prog.exe",
    "C:\\Gone\\..\\file.txt",
    "C:\\Gone\\.\\..\\Dir",
    "C:\\Gone\\x\\..\\..\\Dir\\Sub",
    "C:\\Gone\\x.",
    "C:\\Gone\\...",
    "C:\\Gone\\. .",
    "C:\\Gone\\",
    "C:\\Gone\\Deeper\\file.txt",
    "C:\\Dir\\Sub\\deep.dll",
    "C:\\dir\\sub\\DEEP.DLL",
    "C:\\Dir\\Sub\\",
    "C:\\Dir\\Sub.\\deep.dll",
    "C:\\Dir\\Sub \\deep.dll",
    "C:\\Dir\\Empty",
    "C:\\Dir\\Empty\\nothing",
    "C:\\Dir\\Empty\\..",
    "C:\\file.txt",
    "C:\\FILE.TXT",
    "C:\\file.txt\\",
    "C:\\file.txt\\x",
    "C:\\file.txt\\..",
    "C:\\file.txt\\..\\Dir",
    "C:\\file.txt\\.",
    "C:/Dir/Sub/deep.dll",
    "C:\\Gone/../Dir",
    "C:\\Gone\\x/..",
    "C:\\Gone\\x/../..",
    "D:\\",
    "D:\\anything",
    "E:\\",
    "E:\\anything",
    "",
    "file.txt",
    "\\",
    "\\Dir\\Sub\\deep.dll",
    // Spellings a folder listing cannot answer as the system would.
    "C:\\Dir\\Sub\\deep.dll ",
    "C:\\Dir\\Sub\\deep.dll.",
    "C:\\Dir\\Sub\\DEEP.DLL\\",
    "C:\\Dir\\Sub\\\\",
    "C:\\Dir\\MIXEDC~1.TXT",
    "C:\\Dir\\mixedc~1.txt",
    "C:\\Dir\\a~b.txt",
    "C:\\Dir\\A~B.TXT",
    "C:\\Dir\\ lead blank.txt",
    "C:\\Dir\\lead blank.txt",
    "C:\\Dir\\mixedcase.txt",
    "C:\\Dir\\Sub\\*",
    "C:\\Dir\\Sub\\deep.dl?",
    "C:\\Dir\\Sub\\deep.dll:alt",
    "C:\\Dir\\Sub\\deep.dll::$DATA",
    "C:\\Dir\\Sub\\<",
    "C:\\Dir\\con",
    "C:\\Dir\\CON.txt",
    "C:\\Dir\\com1",
    "C:\\Dir\\LPT9.log",
    "C:\\Dir\\COM0",
    "C:\\Dir\\Sub\\caf\xe9.txt",
    "C:\\Dir\\Sub\\tab\there",
    "C:\\Dir\\Sub/other.txt",
    "\\\\server\\share\\file.txt",
    "\\\\?\\C:\\file.txt",
    "\\\\.\\C:\\file.txt",
    "Dir\\Sub\\deep.dll",
    "C:Dir\\Sub\\deep.dll",
    "C:\\Dir\\" + std::string(300, 'a'),
    "C:\\Dir\\Sub\\" + std::string(250, 'b') + "\\x",
};

std::vector<std::vector<std::string>> QueryOrders() {
    std::vector<std::vector<std::string>> orders;
    orders.push_back(kTrickyPaths);
    orders.emplace_back(kTrickyPaths.rbegin(), kTrickyPaths.rend());
    for (unsigned seed : {1u, 2u, 3u}) {
        std::vector<std::string> shuffled = kTrickyPaths;
        std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(seed));
        orders.push_back(std::move(shuffled));
    }
    return orders;
}

TEST(FileExistenceCache, AnswersAsTheFileSystemInAnyOrder) {
    MemoryFileSystem files;
    BuildTrickyMachine(files);
    const auto orders = QueryOrders();
    for (size_t order = 0; order < orders.size(); ++order) {
        FileExistenceCache cache(files);
        // Each path twice, as file first in one round and as folder first in the other.
        for (int round = 0; round < 2; ++round) {
            for (const std::string& path : orders[order]) {
                const bool fileFirst = (round == 0) == (order % 2 == 0);
                bool file = false;
                bool directory = false;
                if (fileFirst) {
                    file = cache.FileExists(path);
                    directory = cache.DirectoryExists(path);
                } else {
                    directory = cache.DirectoryExists(path);
                    file = cache.FileExists(path);
                }
                EXPECT_EQ(file, files.FileExists(path))
                    << "file \"" << path << "\" order " << order << " round " << round;
                EXPECT_EQ(directory, files.DirectoryExists(path))
                    << "folder \"" << path << "\" order " << order << " round " << round;
            }
        }
    }
}

// Lists every folder on the machine through the cache, by asking it twice about names that are
// not there.
void ListEveryFolder(FileExistenceCache& cache) {
    for (const char* folder : {"C:\\", "C:\\Program Files\\", "C:\\Program Files\\Vendor\\",
                               "C:\\Dir\\", "C:\\Dir\\Sub\\", "C:\\Dir\\Empty\\", "D:\\"}) {
        for (const char* name : {"warm-up-1", "warm-up-2"})
            cache.FileExists(std::string(folder) + name);
    }
}

TEST(FileExistenceCache, AnswersFromListingsAsTheFileSystemForEveryTrickySpelling) {
    MemoryFileSystem files;
    BuildTrickyMachine(files);
    FileExistenceCache cache(files);
    ListEveryFolder(cache);
    // D:\ is an empty root: its listing is empty, so it cannot stand in for the system.
    EXPECT_EQ(cache.ListingCount(), 7u);
    for (const std::string& path : kTrickyPaths) {
        EXPECT_EQ(cache.FileExists(path), files.FileExists(path)) << "file \"" << path << "\"";
        EXPECT_EQ(cache.DirectoryExists(path), files.DirectoryExists(path))
            << "folder \"" << path << "\"";
    }
}

TEST(FileExistenceCache, AnswersManyNamesInOneFolderFromOneListing) {
    MemoryFileSystem files;
    files.AddDrive('c', drivetype::kFixed);
    for (int i = 0; i < 100; ++i)
        files.AddFile("C:\\Many\\file" + std::to_string(i) + ".txt");
    for (int i = 0; i < 10; ++i)
        files.AddDirectory("C:\\Many\\folder" + std::to_string(i));
    FileExistenceCache cache(files);
    for (int i = 0; i < 200; ++i) {
        const std::string file =
            "C:\\Many\\" + std::string(i % 2 ? "FILE" : "file") + std::to_string(i) + ".txt";
        const std::string folder = "C:\\Many\\folder" + std::to_string(i);
        EXPECT_EQ(cache.FileExists(file), i < 100) << file;
        EXPECT_FALSE(cache.DirectoryExists(file)) << file;
        EXPECT_EQ(cache.DirectoryExists(folder), i < 10) << folder;
        EXPECT_FALSE(cache.FileExists(folder)) << folder;
        EXPECT_EQ(cache.DirectoryExists(folder + "\\"), i < 10) << folder;
        EXPECT_FALSE(cache.FileExists(folder + "\\")) << folder;
    }
    // "C:\", "C:\Many\" and the first name in it; then one listing of C:\Many answers the rest.
    EXPECT_EQ(files.ExistenceQueries(), 3u);
    EXPECT_EQ(cache.ExistenceQueries(), 3u);
    EXPECT_EQ(cache.ListingCount(), 1u);
    EXPECT_EQ(cache.RealQueries(), 4u);
}

TEST(FileExistenceCache, ListsAFolderOnlyOnItsSecondQuestion) {
    MemoryFileSystem files;
    BuildTrickyMachine(files);
    FileExistenceCache cache(files);
    // One question in each of C:\, C:\Dir\ and C:\Dir\Sub\ (the parents, then the file).
    EXPECT_TRUE(cache.FileExists("C:\\Dir\\Sub\\deep.dll"));
    EXPECT_EQ(cache.ListingCount(), 0u);
    EXPECT_EQ(cache.ExistenceQueries(), 4u);
    EXPECT_TRUE(cache.FileExists("C:\\Dir\\Sub\\other.txt"));
    EXPECT_EQ(cache.ListingCount(), 1u);
    EXPECT_EQ(cache.ExistenceQueries(), 4u);
    EXPECT_FALSE(cache.FileExists("C:\\Dir\\Sub\\third.txt"));
    EXPECT_TRUE(cache.DirectoryExists("C:\\Dir\\Empty"));
    EXPECT_EQ(cache.ListingCount(), 2u);
    EXPECT_EQ(cache.ExistenceQueries(), 4u);
}

// Hands out a listing of its own for one folder and passes everything else on.
class ScriptedListing : public ForwardingFileSystem {
  public:
    ScriptedListing(FileSystem& files, std::string folder, std::vector<FolderEntry> entries)
        : ForwardingFileSystem(files), folder_(std::move(folder)), entries_(std::move(entries)) {}

    std::vector<FolderEntry> ListFolder(std::string_view folder) override {
        return folder == folder_ ? entries_ : Inner().ListFolder(folder);
    }

  private:
    std::string folder_;
    std::vector<FolderEntry> entries_;
};

TEST(FileExistenceCache, AsksTheSystemWhereTheListingMayNotTellTheWholeTruth) {
    const FolderEntry dot{".", kAttributeDirectory};
    const FolderEntry dotDot{"..", kAttributeDirectory};
    const FolderEntry present{"present.txt", 0x20};
    struct Row {
        const char* name;
        std::vector<FolderEntry> listing;
        const char* asked;  // a name in C:\Odd\ whose answer the listing must not give
    };
    const Row rows[] = {
        {"an unreadable folder lists nothing", {}, "setup.exe"},
        // The system may fold a non-ASCII letter onto an ASCII one.
        {"a name outside ASCII",
         {dot,
          dotDot,
          present,
          {"\xdf"
           "etup.exe",
           0x20}},
         "setup.exe"},
        // Names the ANSI code page cannot hold are listed by their short names.
        {"a short-name stand-in", {dot, dotDot, present, {"SETUP~1.EXE", 0x20}}, "setup.exe"},
        {"names differing in case and kind",
         {dot, dotDot, present, {"Twin", kAttributeDirectory}, {"TWIN", 0x20}},
         "twin"},
    };
    for (const Row& row : rows) {
        MemoryFileSystem files;
        files.AddDrive('c', drivetype::kFixed);
        files.AddFile("C:\\Odd\\present.txt");
        files.AddFile("C:\\Odd\\setup.exe");
        files.AddDirectory("C:\\Odd\\Twin");
        ScriptedListing scripted(files, "C:\\Odd\\", row.listing);
        FileExistenceCache cache(scripted);
        cache.FileExists("C:\\Odd\\first-question");
        const std::string path = std::string("C:\\Odd\\") + row.asked;
        const size_t before = cache.ExistenceQueries();
        EXPECT_EQ(cache.FileExists(path), files.FileExists(path)) << row.name;
        EXPECT_EQ(cache.DirectoryExists(path), files.DirectoryExists(path)) << row.name;
        EXPECT_EQ(cache.ExistenceQueries(), before + 2) << row.name;
        EXPECT_EQ(cache.ListingCount(), 1u) << row.name;
    }
}

TEST(FileExistenceCache, AsksOnceForTheMissingFolderOfManyPaths) {
    MemoryFileSystem files;
    BuildTrickyMachine(files);
    FileExistenceCache cache(files);
    const size_t before = files.ExistenceQueries();
    for (int i = 0; i < 200; ++i) {
        const std::string name = "C:\\Gone\\Vendor\\app" + std::to_string(i);
        EXPECT_FALSE(cache.FileExists(name + ".exe"));
        EXPECT_FALSE(cache.DirectoryExists(name));
    }
    // "C:\", "C:\Gone\" and nothing more.
    EXPECT_EQ(files.ExistenceQueries() - before, 2u);
    EXPECT_EQ(cache.RealQueries(), 2u);
}

TEST(FileExistenceCache, AsksOnceForARepeatedPathWhateverItsLetterCase) {
    MemoryFileSystem files;
    BuildTrickyMachine(files);
    FileExistenceCache cache(files);
    EXPECT_TRUE(cache.FileExists("C:\\Dir\\Sub\\deep.dll"));
    const size_t afterFirst = files.ExistenceQueries();
    for (const char* path : {"C:\\Dir\\Sub\\deep.dll", "c:\\dir\\sub\\DEEP.dll"}) {
        EXPECT_TRUE(cache.FileExists(path)) << path;
    }
    EXPECT_EQ(files.ExistenceQueries(), afterFirst);
}

TEST(FileExistenceCache, CachesDriveTypes) {
    MemoryFileSystem files;
    BuildTrickyMachine(files);
    FileExistenceCache cache(files);
    EXPECT_EQ(cache.DriveType("c:\\"), drivetype::kFixed);
    EXPECT_EQ(cache.DriveType("C:\\"), drivetype::kFixed);
    EXPECT_EQ(cache.DriveType("d:\\"), drivetype::kCdRom);
    EXPECT_EQ(cache.DriveType("e:\\"), files.DriveType("e:\\"));
    EXPECT_EQ(cache.RealQueries(), 3u);
}

TEST(FileExistenceCache, PassesTheRestThrough) {
    MemoryFileSystem files;
    BuildTrickyMachine(files);
    files.SetEnvironment("Root", "C:\\Dir");
    files.SetSpecialFolder(specialfolder::kFonts, "C:\\WINDOWS\\Fonts");
    files.SetShortcutTarget("C:\\Dir\\link.lnk", "C:\\file.txt");
    FileExistenceCache cache(files);
    EXPECT_EQ(cache.ExpandEnvironmentStrings("%Root%\\x", 1024),
              files.ExpandEnvironmentStrings("%Root%\\x", 1024));
    EXPECT_EQ(cache.SpecialFolderPath(specialfolder::kFonts), "C:\\WINDOWS\\Fonts");
    EXPECT_EQ(cache.ResolveShortcutTarget("C:\\Dir\\link.lnk"), "C:\\file.txt");
    std::vector<std::string> names;
    for (const FolderEntry& entry : cache.ListFolder("C:\\Dir"))
        names.push_back(entry.name);
    std::vector<std::string> expected;
    for (const FolderEntry& entry : files.ListFolder("C:\\Dir"))
        expected.push_back(entry.name);
    EXPECT_EQ(names, expected);
    EXPECT_EQ(cache.RealQueries(), 0u);
}

TEST(FileExistenceCache, LooksForDevicesEvenInMissingFolders) {
    MemoryFileSystem files;
    BuildTrickyMachine(files);
    FileExistenceCache cache(files);
    // Device names exist in every folder on Windows, so only the system can answer for them.
    for (const char* path :
         {"C:\\Gone\\NUL", "C:\\Gone\\con.txt", "C:\\Gone\\COM1", "C:\\Gone\\lpt9"}) {
        const size_t before = cache.RealQueries();
        EXPECT_EQ(cache.FileExists(path), files.FileExists(path)) << path;
        EXPECT_GT(cache.RealQueries(), before) << path;
    }
}

}  // namespace
}  // namespace vantrel
