#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

// The benchmark's data, which the tests also read: a folder of real files on C: and the keys and
// string values of a tree that point at them (and at things that are not there) in the shapes
// real registries hold. Everything is drawn from one fixed seed, so every run sees the same tree.
// bench/BenchRegistryData.h writes the tree into the registry.
namespace vantrel::bench {

constexpr uint32_t kBenchSeed = 20240601;
constexpr const char* kBenchFolder = "C:\\vantrel-bench";

// The real files and folders the values point at, as ANSI paths.
struct BenchFiles {
    std::string root;
    std::vector<std::string> folders;  // every folder below the root, without a closing backslash
    std::vector<std::string> files;
    // The system's short (8.3) forms of the folders whose names need one.
    std::vector<std::string> shortFolders;
};

// Creates the folder tree under root (existing entries are kept) and lists what it holds.
// Raises std::runtime_error when a folder or file cannot be made.
BenchFiles CreateBenchFiles(const std::string& root = kBenchFolder);
// Deletes what CreateBenchFiles made; entries that are already gone are no error.
void RemoveBenchFiles(const BenchFiles& files);

struct BenchValue {
    std::string name;  // "" is the key's default value
    std::string text;
    bool expandable = false;  // REG_EXPAND_SZ rather than REG_SZ
};

// Draws value texts and key names from the seed, in the mix a scan meets: plain text,
// existing and missing files and folders, quoted and unquoted command lines, environment
// references, short names, icon indexes, other drives.
class BenchValueGenerator {
  public:
    explicit BenchValueGenerator(const BenchFiles& files, uint32_t seed = kBenchSeed);

    std::vector<BenchValue> ValuesOfKey(size_t valueCount);
    // A name unique among its siblings (the index is part of it).
    std::string KeyName(size_t childIndex);

  private:
    size_t Pick(size_t count) { return static_cast<size_t>(rng_() % count); }
    bool Chance(unsigned percent) { return rng_() % 100 < percent; }
    std::string ValueText(bool& expandable);

    std::string ExistingFile() { return files_.files[Pick(files_.files.size())]; }
    std::string ExistingFolder() { return files_.folders[Pick(files_.folders.size())]; }
    std::string FileOrMissing(unsigned missingPercent);
    std::string MissingFileInFolder();
    std::string MissingFolderPath();
    std::string PlainText();
    std::string QuotedCommandLine();
    std::string CommandLineWithArguments();
    std::string EnvironmentPath();
    std::string ShortNamePath();
    std::string IconPath();
    std::string OtherDrivePath();

    const BenchFiles& files_;
    std::mt19937 rng_;
};

struct BenchTreeShape {
    size_t keys = 50000;  // the top key included
    size_t valuesPerKey = 5;
    size_t fanOut = 8;
};

// Keys of the tree in depth-first order (each key before its subkeys): depth 0 is the top
// key, whose name is "".
struct BenchKey {
    size_t depth = 0;
    std::string name;
    std::vector<BenchValue> values;
};

// Visits the keys of the tree in depth-first order; both the writer and the listing use it, so
// they see the same tree. Keys are numbered like a heap (the children of key k are
// k * fanOut + 1 .. k * fanOut + fanOut), which keeps the tree balanced for any key count.
void VisitBenchTree(const BenchTreeShape& shape, BenchValueGenerator& generator,
                    const std::function<void(const BenchKey&)>& visit);

// Widens ASCII text (all the generator writes) to UTF-16.
std::wstring Widen(const std::string& text);

}  // namespace vantrel::bench
