#include "bench/Windows11Registry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

#include "platform/FileSystem.h"

namespace vantrel::bench {

namespace {

constexpr uint32_t kSeed = 20261209;

// The entries of each list on a full machine.
constexpr size_t kClasses = 8000;
constexpr size_t kInterfaces = 25000;
constexpr size_t kTypeLibs = 3000;
constexpr size_t kExtensions = 2000;
constexpr size_t kUserFileExts = 300;
constexpr size_t kApplications = 300;
constexpr size_t kUninstall64 = 300;
constexpr size_t kUninstall32 = 100;
constexpr size_t kArpCache = 200;
constexpr size_t kInstallerFolders = 2000;
constexpr size_t kServices = 600;
constexpr size_t kProducts = 400;
constexpr size_t kComponents = 80000;
constexpr size_t kAppPaths = 300;
constexpr size_t kSharedDlls = 1500;
constexpr size_t kFonts = 200;
constexpr size_t kHelpFiles = 150;
constexpr size_t kRunEntries = 20;
constexpr size_t kSoundApps = 30;
constexpr size_t kSoundEvents = 20;
constexpr size_t kMenuGroups = 60;
constexpr size_t kShortcuts = 200;
constexpr size_t kMruExtensions = 40;
constexpr size_t kMruEntries = 20;
constexpr size_t kRealFiles = 400;
// The vendors' own keys: what is left of 700,000 keys after the lists, split between the
// machine, the user and the second user.
constexpr size_t kMachineVendorKeys = 300000;
constexpr size_t kUserVendorKeys = 100000;
constexpr size_t kOtherUserVendorKeys = 100000;
constexpr size_t kKeysPerVendor = 600;
constexpr size_t kVendorFanOut = 6;

constexpr const char* kUninstallPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kUninstall32Path =
    "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kInstallerPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Installer";
constexpr const char* kExplorerPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

std::string Hex(uint64_t number, int digits) {
    char text[24];
    std::snprintf(text, sizeof text, "%0*llX", digits, static_cast<unsigned long long>(number));
    return text;
}

// A GUID in braces, unique per (kind, index).
std::string Guid(uint32_t kind, size_t index) {
    return "{" + Hex(0xBE7C0000u + kind, 8) + "-" + Hex(index >> 16 & 0xFFFF, 4) + "-4" +
           Hex(index >> 4 & 0xFFF, 3) + "-8" + Hex(kind, 3) + "-" + Hex(index, 12) + "}";
}

// Windows Installer's packed form: 32 hex digits, no braces.
std::string PackedGuid(uint32_t kind, size_t index) {
    return Hex(0xBE7C0000u + kind, 8) + Hex(index, 12) + Hex(kind, 4) + Hex(index * 7919, 8);
}

class Generator {
  public:
    Generator(const GeneratedSize& size, GeneratedRegistryTarget& target)
        : size_(size), target_(target), rng_(kSeed) {
        // The lists are filled through references to their entries.
        count_.lists.reserve(32);
    }

    GeneratedCount Run() {
        RealFiles();
        Classes();
        Interfaces();
        TypeLibs();
        FileTypes();
        Applications();
        Uninstall();
        InstallerLists();
        Services();
        WindowsInstaller();
        SoftwareLists();
        StartupPrograms();
        Sounds();
        StartMenu();
        MruLists();
        Vendors(RootKey::LocalMachine, "Software", kMachineVendorKeys, "machine vendors");
        Vendors(RootKey::CurrentUser, "Software", kUserVendorKeys, "user vendors");
        Vendors(RootKey::Users, std::string(kOtherUserSid) + "\\Software", kOtherUserVendorKeys,
                "second user's vendors");
        Links();
        return count_;
    }

  private:
    size_t Scaled(size_t full) const {
        return std::max<size_t>(
            2, static_cast<size_t>(std::llround(static_cast<double>(full) * size_.scale)));
    }
    bool Stale(size_t index) const { return index % size_.staleEvery == 0; }
    GeneratedList& List(const std::string& name) {
        count_.lists.push_back({name, 0, 0});
        return count_.lists.back();
    }
    static void Note(GeneratedList& list, bool stale) {
        ++list.entries;
        list.stale += stale ? 1 : 0;
    }

    void Key(RootKey root, const std::string& path) {
        target_.Key(root, path);
        ++count_.keys;
    }
    void String(const std::string& name, const std::string& text) {
        target_.String(name, text);
        ++count_.values;
    }
    void Dword(const std::string& name, uint32_t number) {
        target_.Dword(name, number);
        ++count_.values;
    }
    void Binary(const std::string& name, size_t bytes) {
        target_.Binary(name, bytes);
        ++count_.values;
    }

    std::string Folder() const { return std::string(kGeneratedFilesFolder); }
    std::string ProgramFolder(size_t index) const {
        return Folder() + "\\Programs\\App " + std::to_string(index % 40);
    }
    // Real files, made by RealFiles; the stale entries name missing ones beside them.
    std::string RealFile(size_t index, const char* extension = ".dll") const {
        return ProgramFolder(index) + "\\file" + std::to_string(index % kRealFiles / 40) +
               extension;
    }
    std::string MissingFile(size_t index, const char* extension = ".dll") const {
        return ProgramFolder(index) + "\\gone" + std::to_string(index) + extension;
    }
    // Every real file once: index below four times kRealFiles.
    std::string DistinctRealFile(size_t index) const {
        static const char* const kKinds[] = {".dll", ".exe", ".wav", ".txt"};
        return RealFile(index, kKinds[index / kRealFiles % 4]);
    }
    std::string FileOrMissing(size_t index, bool stale, const char* extension = ".dll") const {
        return stale ? MissingFile(index, extension) : RealFile(index, extension);
    }

    void RealFiles() {
        for (size_t i = 0; i < kRealFiles; ++i) {
            for (const char* extension : {".dll", ".exe", ".wav", ".txt"})
                target_.File(RealFile(i, extension));
            count_.files += 4;
        }
    }

    // HKEY_CLASSES_ROOT\CLSID: description, server, ProgID, sometimes a type library, a
    // version and a category.
    void Classes() {
        GeneratedList& list = List("CLSID");
        for (size_t i = 0; i < Scaled(kClasses); ++i) {
            const bool stale = Stale(i);
            const std::string path = "CLSID\\" + Guid(1, i);
            Key(RootKey::ClassesRoot, path);
            String("", "VantrelBench Class " + std::to_string(i));
            const bool local = i % 8 == 3;
            Key(RootKey::ClassesRoot, path + (local ? "\\LocalServer32" : "\\InprocServer32"));
            if (local) {
                String("", "\"" + FileOrMissing(i, stale, ".exe") + "\" /automation");
            } else {
                String("", FileOrMissing(i, stale));
                String("ThreadingModel", i % 3 == 0 ? "Both" : "Apartment");
            }
            Key(RootKey::ClassesRoot, path + "\\ProgID");
            String("", "VantrelBench.Class" + std::to_string(i) + ".1");
            if (i % 3 == 0) {
                Key(RootKey::ClassesRoot, path + "\\TypeLib");
                String("", Guid(3, i % 3000));
            }
            if (i % 4 == 0) {
                Key(RootKey::ClassesRoot, path + "\\Version");
                String("", "1.0");
            }
            if (i % 10 == 0)
                Key(RootKey::ClassesRoot,
                    path + "\\Implemented Categories\\{7DD95801-9882-11CF-9FA9-00AA006C42C4}");
            Note(list, stale);
        }
    }

    // HKEY_CLASSES_ROOT\Interface: no paths, only names and proxies.
    void Interfaces() {
        GeneratedList& list = List("Interface");
        for (size_t i = 0; i < Scaled(kInterfaces); ++i) {
            const std::string path = "Interface\\" + Guid(2, i);
            Key(RootKey::ClassesRoot, path);
            String("", "IVantrelBench" + std::to_string(i));
            Key(RootKey::ClassesRoot, path + "\\ProxyStubClsid32");
            String("", "{00020424-0000-0000-C000-000000000046}");
            Key(RootKey::ClassesRoot, path + "\\NumMethods");
            String("", std::to_string(3 + i % 20));
            Note(list, false);
        }
    }

    void TypeLibs() {
        GeneratedList& list = List("TypeLib");
        for (size_t i = 0; i < Scaled(kTypeLibs); ++i) {
            const bool stale = Stale(i);
            const std::string version = "TypeLib\\" + Guid(3, i) + "\\1." + std::to_string(i % 3);
            Key(RootKey::ClassesRoot, version);
            String("", "VantrelBench Type Library " + std::to_string(i));
            Key(RootKey::ClassesRoot, version + (i % 4 == 1 ? "\\0\\win32" : "\\0\\win64"));
            String("", FileOrMissing(i, stale));
            Key(RootKey::ClassesRoot, version + "\\FLAGS");
            String("", "0");
            Key(RootKey::ClassesRoot, version + "\\HELPDIR");
            String("", ProgramFolder(i));
            Note(list, stale);
        }
    }

    // Extensions with their ProgIDs; the stale ones hold only an empty default. The user's
    // own settings of extensions, some of which nobody registers any more.
    void FileTypes() {
        GeneratedList& list = List("file extensions");
        for (size_t i = 0; i < Scaled(kExtensions); ++i) {
            const bool stale = Stale(i);
            const std::string progId = "VantrelBench.Type" + std::to_string(i);
            if (stale) {
                Key(RootKey::LocalMachine, "Software\\Classes\\.vbgone" + std::to_string(i));
                String("", "");
                Note(list, true);
                continue;
            }
            const std::string extension = "Software\\Classes\\.vb" + std::to_string(i);
            Key(RootKey::LocalMachine, extension);
            String("", progId);
            String("Content Type", "application/x-vantrelbench-" + std::to_string(i));
            Key(RootKey::LocalMachine, extension + "\\OpenWithProgids");
            String(progId, "");
            const std::string type = "Software\\Classes\\" + progId;
            Key(RootKey::LocalMachine, type);
            String("", "VantrelBench Document " + std::to_string(i));
            Key(RootKey::LocalMachine, type + "\\DefaultIcon");
            String("", RealFile(i, ".exe") + ",0");
            Key(RootKey::LocalMachine, type + "\\shell\\open\\command");
            String("", "\"" + RealFile(i, ".exe") + "\" \"%1\"");
            Note(list, false);
        }
        GeneratedList& user = List("FileExts");
        for (size_t i = 0; i < Scaled(kUserFileExts); ++i) {
            const bool stale = Stale(i);
            Key(RootKey::CurrentUser, std::string(kExplorerPath) + "\\FileExts\\" +
                                          (stale ? ".vbunregistered" : ".vb") + std::to_string(i) +
                                          "\\OpenWithList");
            String("a", "vbapp" + std::to_string(i) + ".exe");
            String("MRUList", "a");
            Note(user, stale);
        }
    }

    // A program's own file, named as its registration is: made unless the entry is stale.
    std::string OwnProgram(size_t index, const std::string& name, bool stale) {
        const std::string path = ProgramFolder(index) + "\\" + name;
        if (!stale) {
            target_.File(path);
            ++count_.files;
        }
        return path;
    }

    void Applications() {
        GeneratedList& list = List("Applications");
        for (size_t i = 0; i < Scaled(kApplications); ++i) {
            const bool stale = Stale(i);
            const std::string name = "vbapp" + std::to_string(i) + ".exe";
            Key(RootKey::LocalMachine,
                "Software\\Classes\\Applications\\" + name + "\\shell\\open\\command");
            String("", "\"" + OwnProgram(i, name, stale) + "\" \"%1\"");
            Note(list, stale);
        }
    }

    // 64- and 32-bit uninstall entries: the stale ones are empty or name a removed uninstaller;
    // the installer's cache entries of programs that have no uninstall entry any more.
    void Uninstall() {
        GeneratedList& list = List("Uninstall");
        size_t index = 0;
        for (const auto& [path, entries] :
             {std::pair{kUninstallPath, kUninstall64}, std::pair{kUninstall32Path, kUninstall32}}) {
            for (size_t i = 0; i < Scaled(entries); ++i, ++index) {
                const bool empty = Stale(index);
                const bool removed = Stale(index + size_.staleEvery / 2);
                const std::string entry =
                    std::string(path) + "\\VantrelBench App " + std::to_string(index);
                Key(RootKey::LocalMachine, entry);
                Note(list, empty || removed);
                if (empty)
                    continue;
                String("DisplayName", "VantrelBench App " + std::to_string(index));
                String("DisplayVersion", "1." + std::to_string(index % 10));
                String("Publisher", "VantrelBench Vendor " + std::to_string(index % 50));
                String("InstallLocation", ProgramFolder(index));
                String("UninstallString",
                       "\"" + FileOrMissing(index, removed, ".exe") + "\" /uninstall");
                String("DisplayIcon", RealFile(index, ".exe") + ",0");
                String("InstallDate", "20260101");
                Dword("EstimatedSize", static_cast<uint32_t>(1000 + index));
                Dword("NoModify", 1);
                Dword("NoRepair", 1);
            }
        }
        GeneratedList& cache = List("ARPCache");
        for (size_t i = 0; i < Scaled(kArpCache); ++i) {
            const bool stale = Stale(i);
            Key(RootKey::LocalMachine,
                "Software\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache\\" +
                    std::string(stale ? "VantrelBench Removed " : "VantrelBench App ") +
                    std::to_string(i));
            Binary("SlowInfoCache", 552);
            Note(cache, stale);
        }
    }

    void InstallerLists() {
        GeneratedList& list = List("Installer\\Folders");
        Key(RootKey::LocalMachine, std::string(kInstallerPath) + "\\Folders");
        for (size_t i = 0; i < Scaled(kInstallerFolders); ++i) {
            const bool stale = Stale(i);
            String(stale ? Folder() + "\\Removed " + std::to_string(i) + "\\"
                         : ProgramFolder(i) + "\\",
                   "");
            Note(list, stale);
        }
    }

    void Services() {
        GeneratedList& list = List("Services");
        for (size_t i = 0; i < Scaled(kServices); ++i) {
            const bool stale = Stale(i);
            const std::string service =
                "SYSTEM\\CurrentControlSet\\Services\\VantrelBenchService" + std::to_string(i);
            Key(RootKey::LocalMachine, service);
            String("ImagePath", "\"" + FileOrMissing(i, stale, ".exe") + "\" -service");
            String("DisplayName", "VantrelBench Service " + std::to_string(i));
            String("Description", "Keeps VantrelBench App " + std::to_string(i) + " up to date");
            String("ObjectName", "LocalSystem");
            Dword("Start", 3);  // on demand: the prefix's service manager starts none of them
            Dword("Type", 16);
            Dword("ErrorControl", 1);
            Key(RootKey::LocalMachine, service + "\\Parameters");
            String("LogLevel", "2");
            Key(RootKey::LocalMachine, service + "\\Security");
            Binary("Security", 144);
            Note(list, stale);
        }
    }

    // Windows Installer's database: products and the components that name their files.
    void WindowsInstaller() {
        GeneratedList& products = List("Installer\\UserData products");
        const std::string userData = std::string(kInstallerPath) + "\\UserData\\S-1-5-18";
        for (size_t i = 0; i < Scaled(kProducts); ++i) {
            const std::string product = userData + "\\Products\\" + PackedGuid(4, i);
            Key(RootKey::LocalMachine, product + "\\InstallProperties");
            String("DisplayName", "VantrelBench Suite " + std::to_string(i));
            String("LocalPackage", "C:\\windows\\Installer\\" + Hex(i, 6) + ".msi");
            String("InstallSource", ProgramFolder(i) + "\\");
            String("Publisher", "VantrelBench Vendor " + std::to_string(i % 50));
            String("DisplayVersion", "16.0." + std::to_string(i));
            Dword("Language", 1033);
            Dword("WindowsInstaller", 1);
            Key(RootKey::LocalMachine, product + "\\Features");
            for (size_t f = 0; f < 8; ++f)
                String("Feature" + std::to_string(f), PackedGuid(5, i * 8 + f));
            Key(RootKey::LocalMachine, product + "\\Usage");
            Dword("Main", static_cast<uint32_t>(i));
            Key(RootKey::LocalMachine,
                "Software\\Classes\\Installer\\Products\\" + PackedGuid(4, i) + "\\SourceList");
            String("PackageName", "suite" + std::to_string(i) + ".msi");
            Note(products, false);
        }
        GeneratedList& components = List("Installer\\UserData components");
        const size_t productCount = Scaled(kProducts);
        for (size_t i = 0; i < Scaled(kComponents); ++i) {
            Key(RootKey::LocalMachine, userData + "\\Components\\" + PackedGuid(6, i));
            String(PackedGuid(4, i % productCount), RealFile(i));
            if (i % 2 == 0)
                String(PackedGuid(4, (i + 1) % productCount), RealFile(i + 1));
            Note(components, false);
        }
    }

    void SoftwareLists() {
        GeneratedList& appPaths = List("App Paths");
        for (size_t i = 0; i < Scaled(kAppPaths); ++i) {
            const bool stale = Stale(i);
            const std::string name = "vbench" + std::to_string(i) + ".exe";
            Key(RootKey::LocalMachine,
                "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + name);
            String("", OwnProgram(i, name, stale));
            String("Path", ProgramFolder(i));
            Note(appPaths, stale);
        }
        GeneratedList& sharedDlls = List("SharedDlls");
        Key(RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls");
        for (size_t i = 0; i < Scaled(kSharedDlls); ++i) {
            const bool stale = Stale(i);
            Dword(stale ? MissingFile(i) : DistinctRealFile(i), static_cast<uint32_t>(1 + i % 4));
            Note(sharedDlls, stale);
        }
        GeneratedList& fonts = List("Fonts");
        const std::string fontFolder = target_.SpecialFolder(specialfolder::kFonts);
        for (size_t i = 0; i < Scaled(kFonts); ++i) {
            const bool stale = Stale(i);
            const std::string file = "vbenchfont" + std::to_string(i) + ".ttf";
            if (!stale)
                target_.File(fontFolder + "\\" + file);
            target_.Key(RootKey::LocalMachine,
                        "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts");
            String("VantrelBench Font " + std::to_string(i) + " (TrueType)", file);
            Note(fonts, stale);
        }
        GeneratedList& help = List("Help");
        for (size_t i = 0; i < Scaled(kHelpFiles); ++i) {
            const bool stale = Stale(i);
            const bool html = i % 3 == 0;
            const std::string file = "vbench" + std::to_string(i) + (html ? ".chm" : ".hlp");
            if (!stale)
                target_.File(ProgramFolder(i) + "\\" + file);
            target_.Key(RootKey::LocalMachine, std::string("Software\\Microsoft\\Windows\\") +
                                                   (html ? "Html Help" : "Help"));
            String(file, ProgramFolder(i));
            Note(help, stale);
        }
    }

    void StartupPrograms() {
        GeneratedList& list = List("Run");
        size_t index = 0;
        for (const auto& [root, path] :
             {std::pair{RootKey::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
              std::pair{RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
              std::pair{RootKey::LocalMachine,
                        "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"}}) {
            Key(root, path);
            for (size_t i = 0; i < Scaled(kRunEntries); ++i, ++index) {
                const bool stale = Stale(index);
                String("VantrelBench" + std::to_string(index),
                       "\"" + FileOrMissing(index, stale, ".exe") + "\" /background");
                Note(list, stale);
            }
        }
        for (size_t i = 0; i < Scaled(kRunEntries / 2); ++i, ++index) {
            const bool stale = Stale(index);
            Key(RootKey::LocalMachine,
                "Software\\Microsoft\\Shared Tools\\MSConfig\\startupreg\\VantrelBench" +
                    std::to_string(index));
            String("command", FileOrMissing(index, stale, ".exe"));
            Note(list, stale);
        }
    }

    void Sounds() {
        GeneratedList& list = List("AppEvents");
        size_t index = 0;
        for (size_t app = 0; app < Scaled(kSoundApps); ++app) {
            for (size_t event = 0; event < kSoundEvents; ++event, ++index) {
                const bool stale = Stale(index);
                const std::string path = "AppEvents\\Schemes\\Apps\\VantrelBench" +
                                         std::to_string(app) + "\\Event" + std::to_string(event);
                Key(RootKey::CurrentUser, path + "\\.Current");
                String("", FileOrMissing(index, stale, ".wav"));
                Key(RootKey::CurrentUser, path + "\\.Default");
                String("", RealFile(index, ".wav"));
                Note(list, stale);
            }
        }
    }

    // Program groups with their order keys, and the shortcuts in them.
    void StartMenu() {
        GeneratedList& groups = List("MenuOrder");
        const std::string programs = target_.SpecialFolder(specialfolder::kPrograms);
        for (size_t i = 0; i < Scaled(kMenuGroups); ++i) {
            const bool stale = Stale(i);
            const std::string group = "VantrelBench Group " + std::to_string(i);
            if (!stale)
                target_.Folder(programs + "\\" + group);
            Key(RootKey::CurrentUser,
                std::string(kExplorerPath) + "\\MenuOrder\\Start Menu2\\Programs\\" + group);
            Binary("Order", 64);
            Note(groups, stale);
        }
        GeneratedList& shortcuts = List("Shortcuts");
        for (size_t i = 0; i < Scaled(kShortcuts); ++i) {
            const bool stale = Stale(i);
            // Group 1 and on: group 0 may be the stale one.
            target_.Shortcut(programs + "\\VantrelBench Group " +
                                 std::to_string(1 + i % (Scaled(kMenuGroups) - 1)) + "\\App " +
                                 std::to_string(i) + ".lnk",
                             FileOrMissing(i, stale, ".exe"));
            ++count_.files;
            Note(shortcuts, stale);
        }
    }

    void MruLists() {
        GeneratedList& list = List("OpenSaveMRU");
        size_t index = 0;
        for (size_t e = 0; e < Scaled(kMruExtensions); ++e) {
            const std::string extension = "ext" + std::to_string(e);
            Key(RootKey::CurrentUser,
                std::string(kExplorerPath) + "\\ComDlg32\\OpenSaveMRU\\" + extension);
            std::string order;
            for (size_t i = 0; i < kMruEntries; ++i, ++index) {
                const bool stale = Stale(index);
                const std::string name(1, static_cast<char>('a' + i));
                String(name, FileOrMissing(index, stale, ".txt"));
                order += name;
                Note(list, stale);
            }
            String("MRUList", order);
            Key(RootKey::CurrentUser, std::string(kExplorerPath) + "\\RecentDocs\\." + extension);
            for (size_t i = 0; i < kMruEntries; ++i)
                Binary(std::to_string(i), 120);
            Binary("MRUListEx", 4 * kMruEntries + 4);
        }
    }

    // Vendors' trees, each key numbered like a heap (children of k: k*f+1 .. k*f+f), with
    // 0 to 5 values of the kinds real settings hold. One value in staleEvery names a file that
    // is gone; one vendor in staleEvery left nothing but an empty key.
    void Vendors(RootKey root, const std::string& software, size_t fullKeys,
                 const std::string& name) {
        GeneratedList& list = List(name);
        const size_t keys = Scaled(fullKeys);
        const size_t vendors = std::max<size_t>(2, keys / kKeysPerVendor);
        for (size_t v = 0; v < vendors; ++v) {
            const bool stale = Stale(v);
            const std::string vendor = software + "\\VantrelBench " +
                                       (root == RootKey::Users ? "Other " : "") + "Vendor " +
                                       std::to_string(v) + (stale ? " Leftover" : "");
            Note(list, stale);
            if (stale) {
                Key(root, vendor + "\\Settings");
                continue;
            }
            VendorTree(root, vendor, keys / vendors, 0);
        }
    }

    void VendorTree(RootKey root, const std::string& path, size_t keys, size_t index) {
        if (index >= keys)
            return;
        Key(root, path);
        const size_t values = rng_() % 6;
        for (size_t i = 0; i < values; ++i)
            SettingValue(i);
        for (size_t child = index * kVendorFanOut + 1;
             child <= index * kVendorFanOut + kVendorFanOut && child < keys; ++child) {
            VendorTree(root, path + "\\" + SubkeyName(child), keys, child);
        }
    }

    static std::string SubkeyName(size_t index) {
        static const char* const kNames[] = {"Settings", "Options", "Recent", "Plugins",
                                             "Profiles", "Cache",   "Layout", "Modules"};
        return kNames[index % 8] + std::string(" ") + std::to_string(index);
    }

    void SettingValue(size_t slot) {
        const size_t index = settingValues_++;
        const std::string name = "Value" + std::to_string(slot);
        if (Stale(index + 7)) {
            String(name, MissingFile(index, ".dat"));
            return;
        }
        switch (rng_() % 10) {
            case 0:
            case 1:
            case 2:
            case 3:
                Dword(name, static_cast<uint32_t>(rng_()));
                break;
            case 4:
            case 5:
                String(name, "Setting text " + std::to_string(index));
                break;
            case 6:
                Binary(name, 8 + rng_() % 64);
                break;
            case 7:
                String(name, RealFile(index));
                break;
            case 8:
                String(name, ProgramFolder(index) + "\\");
                break;
            default:
                String(name,
                       "\"" + RealFile(index, ".exe") + "\" --option " + std::to_string(index));
                break;
        }
    }

    void Links() {
        for (const GeneratedLink& link : GeneratedLinks()) {
            target_.Link(link.root, link.path, link.targetRoot, link.targetPath);
            ++count_.links;
        }
    }

    const GeneratedSize size_;
    GeneratedRegistryTarget& target_;
    std::mt19937 rng_;
    GeneratedCount count_;
    size_t settingValues_ = 0;
};

}  // namespace

// Links as Windows has them: one into another user's hive (as a user's classes are), one to a
// subtree of the same hive (as CurrentControlSet is).
std::vector<GeneratedLink> GeneratedLinks() {
    return {{RootKey::CurrentUser, "Software\\VantrelBench Links\\Other User", RootKey::Users,
             std::string(kOtherUserSid) + "\\Software"},
            {RootKey::LocalMachine, "Software\\VantrelBench Links\\Current Uninstall",
             RootKey::LocalMachine, kUninstallPath}};
}

GeneratedCount GenerateWindows11Registry(const GeneratedSize& size,
                                         GeneratedRegistryTarget& target) {
    return Generator(size, target).Run();
}

}  // namespace vantrel::bench
