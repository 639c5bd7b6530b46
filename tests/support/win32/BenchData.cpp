#include "tests/support/win32/BenchData.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <stdexcept>
#include <string_view>

#include "platform/TextCase.h"

namespace vantrel::bench {

namespace {

// Top folders of the bench tree; long names with blanks get short forms from the system.
constexpr std::array<const char*, 12> kVendorNames = {
    "Contoso Office", "Fabrikam",      "Northwind Traders", "AdventureWorks",
    "Litware",        "Tailspin Toys", "WideWorld",         "Proseware Studio",
    "Coho Winery",    "Lucerne",       "Woodgrove Bank",    "Humongous"};
constexpr size_t kTopFolders = 24;

constexpr std::array<const char*, 8> kTopFileNames = {"@.exe",        "@32.dll",   "@.chm",
                                                      "readme.txt",   "setup.ini", "uninstall.exe",
                                                      "@ Helper.exe", "icons.dll"};
constexpr std::array<const char*, 5> kBinFileNames = {"@svc.exe", "core.dll", "plugin1.dll",
                                                      "plugin2.dll", "update.exe"};
constexpr std::array<const char*, 5> kDataFileNames = {
    "default.cfg", "template.dot", "sample data.xml", "strings.res", "license.rtf"};

constexpr std::array<const char*, 12> kValueNames = {
    "Path",        "InstallLocation", "DisplayIcon",     "Command",
    "Version",     "Language",        "UninstallString", "HelpFile",
    "Description", "LastUsed",        "Target",          "WorkingDirectory"};

constexpr std::array<const char*, 10> kKeyWords = {
    "Vendor", "Product", "Settings", "Components", "Plugins",
    "Recent", "Shell",   "Options",  "Profiles",   "Extensions"};

constexpr std::array<const char*, 10> kPlainTexts = {"Default",
                                                     "1.2.0.4711",
                                                     "en-US",
                                                     "Enabled",
                                                     "Tahoma,8",
                                                     "http://www.example.com/update",
                                                     "Vantrel benchmark entry",
                                                     "",
                                                     "yes",
                                                     "Last session: 12 windows"};

template <size_t N>
const char* PickFrom(const std::array<const char*, N>& list, size_t index) {
    return list[index % N];
}

// The file name pattern with "@" replaced by the folder's stem.
std::string Expand(std::string_view pattern, const std::string& stem) {
    std::string out;
    for (const char c : pattern) {
        if (c == '@')
            out += stem;
        else
            out += c;
    }
    return out;
}

std::string StemOf(std::string_view vendor) {
    return LowerAscii(vendor.substr(0, vendor.find(' ')));
}

void MakeFolder(const std::string& path) {
    if (::CreateDirectoryW(Widen(path).c_str(), nullptr) ||
        ::GetLastError() == ERROR_ALREADY_EXISTS) {
        return;
    }
    throw std::runtime_error("cannot create the folder " + path);
}

void MakeFile(const std::string& path) {
    const HANDLE file = ::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create the file " + path);
    ::CloseHandle(file);
}

std::string ShortFormOf(const std::string& path) {
    const std::wstring wide = Widen(path);
    std::wstring shortPath(MAX_PATH + 1, L'\0');
    const DWORD length =
        ::GetShortPathNameW(wide.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
    if (length == 0 || length >= shortPath.size())
        return "";
    std::string out;
    for (DWORD i = 0; i < length; ++i)
        out += static_cast<char>(shortPath[i]);
    return out;
}

void AddFolderWithFiles(BenchFiles& files, const std::string& folder, const std::string& stem,
                        const char* const* names, size_t nameCount) {
    MakeFolder(folder);
    files.folders.push_back(folder);
    for (size_t i = 0; i < nameCount; ++i) {
        const std::string file = folder + "\\" + Expand(names[i], stem);
        MakeFile(file);
        files.files.push_back(file);
    }
}

std::string Hex(uint32_t number, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*X", digits, number);
    return buffer;
}

void VisitKey(const BenchTreeShape& shape, BenchValueGenerator& generator, size_t index,
              size_t depth, const std::function<void(const BenchKey&)>& visit) {
    BenchKey key;
    key.depth = depth;
    if (depth > 0)
        key.name = generator.KeyName((index - 1) % shape.fanOut);
    key.values = generator.ValuesOfKey(shape.valuesPerKey);
    visit(key);
    for (size_t child = 1; child <= shape.fanOut; ++child) {
        const size_t childIndex = index * shape.fanOut + child;
        if (childIndex >= shape.keys)
            break;
        VisitKey(shape, generator, childIndex, depth + 1, visit);
    }
}

}  // namespace

std::wstring Widen(const std::string& text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (const char c : text)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

BenchFiles CreateBenchFiles(const std::string& root) {
    BenchFiles files;
    files.root = root;
    MakeFolder(root);
    for (size_t i = 0; i < kTopFolders; ++i) {
        const std::string vendor =
            std::string(PickFrom(kVendorNames, i)) + (i >= kVendorNames.size() ? " Suite" : "");
        const std::string stem = StemOf(vendor);
        const std::string top = root + "\\" + vendor;
        AddFolderWithFiles(files, top, stem, kTopFileNames.data(), kTopFileNames.size());
        AddFolderWithFiles(files, top + "\\bin", stem, kBinFileNames.data(), kBinFileNames.size());
        AddFolderWithFiles(files, top + "\\Data Files", stem, kDataFileNames.data(),
                           kDataFileNames.size());
    }
    for (const std::string& folder : files.folders) {
        std::string shortForm = ShortFormOf(folder);
        if (!shortForm.empty() && shortForm != folder)
            files.shortFolders.push_back(shortForm);
    }
    return files;
}

void RemoveBenchFiles(const BenchFiles& files) {
    for (const std::string& file : files.files)
        ::DeleteFileW(Widen(file).c_str());
    // Subfolders come after their parents in the list, so the reverse order empties each first.
    for (auto folder = files.folders.rbegin(); folder != files.folders.rend(); ++folder) {
        ::RemoveDirectoryW(Widen(*folder).c_str());
    }
    ::RemoveDirectoryW(Widen(files.root).c_str());
}

BenchValueGenerator::BenchValueGenerator(const BenchFiles& files, uint32_t seed)
    : files_(files), rng_(seed) {
    if (files_.files.empty() || files_.folders.empty()) {
        throw std::invalid_argument("the benchmark generator needs real files to point at");
    }
}

std::vector<BenchValue> BenchValueGenerator::ValuesOfKey(size_t valueCount) {
    std::vector<BenchValue> values(valueCount);
    const size_t firstName = Pick(kValueNames.size());
    const bool withDefault = Chance(20);
    for (size_t i = 0; i < valueCount; ++i) {
        BenchValue& value = values[i];
        if (!(i == 0 && withDefault)) {
            value.name = PickFrom(kValueNames, firstName + i);
            if (i >= kValueNames.size())
                value.name += " " + std::to_string(i);
        }
        value.text = ValueText(value.expandable);
    }
    return values;
}

std::string BenchValueGenerator::KeyName(size_t childIndex) {
    if (Chance(15)) {
        return "{" + Hex(static_cast<uint32_t>(rng_()), 8) + "-" +
               Hex(static_cast<uint32_t>(rng_() & 0xFFFF), 4) + "-4A1B-9C2D-" +
               Hex(static_cast<uint32_t>(childIndex), 12) + "}";
    }
    return std::string(PickFrom(kKeyWords, Pick(kKeyWords.size()))) + " " +
           std::to_string(childIndex);
}

std::string BenchValueGenerator::ValueText(bool& expandable) {
    const size_t roll = Pick(100);
    expandable = false;
    if (roll < 30)
        return PlainText();
    if (roll < 44)
        return Chance(30) ? ExistingFolder() : ExistingFile();
    if (roll < 53)
        return MissingFileInFolder();
    if (roll < 59)
        return MissingFolderPath();
    if (roll < 69)
        return QuotedCommandLine();
    if (roll < 76)
        return CommandLineWithArguments();
    if (roll < 86) {
        expandable = Chance(80);
        return EnvironmentPath();
    }
    if (roll < 92)
        return ShortNamePath();
    if (roll < 97)
        return IconPath();
    return OtherDrivePath();
}

std::string BenchValueGenerator::FileOrMissing(unsigned missingPercent) {
    return Chance(missingPercent) ? MissingFileInFolder() : ExistingFile();
}

std::string BenchValueGenerator::MissingFileInFolder() {
    static constexpr std::array<const char*, 4> kStems = {"old", "legacy", "removed", "tmp"};
    static constexpr std::array<const char*, 5> kExtensions = {".exe", ".dll", ".ocx", ".hlp",
                                                               ".txt"};
    const std::string folder = ExistingFolder();
    return folder + "\\" + PickFrom(kStems, Pick(kStems.size())) + std::to_string(Pick(200)) +
           PickFrom(kExtensions, Pick(kExtensions.size()));
}

std::string BenchValueGenerator::MissingFolderPath() {
    static constexpr std::array<const char*, 3> kTails = {"\\bin\\app.exe", "\\app.exe",
                                                          "\\Data\\settings.dat"};
    const std::string tail = PickFrom(kTails, Pick(kTails.size()));
    if (Chance(30))
        return "C:\\Program Files\\Uninstalled " + std::to_string(Pick(40)) + tail;
    return files_.root + "\\Removed App " + std::to_string(Pick(60)) + tail;
}

std::string BenchValueGenerator::PlainText() {
    std::string text = PickFrom(kPlainTexts, Pick(kPlainTexts.size()));
    if (Chance(20))
        text += " " + std::to_string(Pick(1000));
    return text;
}

std::string BenchValueGenerator::QuotedCommandLine() {
    static constexpr std::array<const char*, 5> kArguments = {" /run", " \"%1\"", " -embedding",
                                                              " /uninstall /quiet", ""};
    return "\"" + FileOrMissing(35) + "\"" + PickFrom(kArguments, Pick(kArguments.size()));
}

std::string BenchValueGenerator::CommandLineWithArguments() {
    static constexpr std::array<const char*, 5> kArguments = {
        " -silent", " /log C:\\temp\\log.txt", " /S", " --config default.cfg", " %1"};
    return FileOrMissing(35) + PickFrom(kArguments, Pick(kArguments.size()));
}

std::string BenchValueGenerator::EnvironmentPath() {
    static constexpr std::array<const char*, 14> kPaths = {
        "%SystemRoot%\\system32\\notepad.exe",
        "%SystemRoot%\\system32\\shell32.dll,-154",
        "%SystemRoot%\\system32\\kernel32.dll",
        "%SystemRoot%\\system32\\vbmissing#.dll",
        "%SystemRoot%\\regedit.exe",
        "%SystemRoot%\\Help\\missing#.hlp",
        "%ProgramFiles%\\Internet Explorer\\iexplore.exe",
        "%ProgramFiles%\\Common Files\\System\\missing#.dll",
        "%ProgramFiles%\\Missing Vendor #\\app.exe -start",
        "%windir%\\system32\\rundll32.exe shell32.dll,Control_RunDLL desk.cpl",
        "%USERPROFILE%\\Desktop\\gone#.lnk",
        "%APPDATA%\\Vendor #\\settings.xml",
        "%VANTREL_UNDEFINED%\\tool#.exe",
        "%ComSpec% /c echo #"};
    const std::string pattern = PickFrom(kPaths, Pick(kPaths.size()));
    std::string text;
    const std::string number = std::to_string(Pick(50));
    for (const char c : pattern) {
        if (c == '#')
            text += number;
        else
            text += c;
    }
    return text;
}

std::string BenchValueGenerator::ShortNamePath() {
    const size_t kind = Pick(4);
    if (kind == 0)
        return "C:\\PROGRA~1\\COMMON~1\\System\\old" + std::to_string(Pick(30)) + ".dll";
    if (kind == 1)
        return "C:\\WINDOWS\\SYSTEM32\\SHELL32.DLL";
    if (files_.shortFolders.empty())
        return "C:\\PROGRA~1\\INTERN~1\\iexplore.exe";
    const std::string folder = files_.shortFolders[Pick(files_.shortFolders.size())];
    if (kind == 2)
        return folder + "\\readme.txt";
    return folder + "\\gone" + std::to_string(Pick(100)) + ".exe";
}

std::string BenchValueGenerator::IconPath() {
    return FileOrMissing(30) + (Chance(50) ? ",0" : ",-" + std::to_string(100 + Pick(50)));
}

std::string BenchValueGenerator::OtherDrivePath() {
    static constexpr std::array<const char*, 4> kPaths = {"D:\\Setup\\setup.exe", "A:\\install.exe",
                                                          "\\\\fileserver\\share\\tool.exe",
                                                          "E:\\Games\\game.exe /w"};
    return PickFrom(kPaths, Pick(kPaths.size()));
}

void VisitBenchTree(const BenchTreeShape& shape, BenchValueGenerator& generator,
                    const std::function<void(const BenchKey&)>& visit) {
    if (shape.keys == 0 || shape.fanOut == 0)
        return;
    VisitKey(shape, generator, 0, 0, visit);
}

}  // namespace vantrel::bench
