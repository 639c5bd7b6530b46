#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RootKey.h"

// A registry of the shape of a Windows 11 machine with an office suite and a few dozen programs:
// the large class lists (CLSID, Interface, TypeLib), file types, uninstall entries, services,
// Windows Installer's products and components, MRU and history lists, the vendors' own keys,
// a second user's hive and links, with stale entries in every category of the scan. Drawn from
// a fixed rule, so every run of one size writes the same registry. Portable: it writes through
// GeneratedRegistryTarget, which bench/ implements over the Windows registry and the tests over
// the memory registry.
namespace vantrel::bench {

// The second user's hive, under HKEY_USERS.
constexpr std::string_view kOtherUserSid = "S-1-5-21-1004336348-1177238915-682003330-1099";
// Where the healthy entries' programs and files are, on drive C:.
constexpr std::string_view kGeneratedFilesFolder = "C:\\VantrelBench";

// Where the generator writes. Keys come one after the other: values go into the last key named
// (created with its missing parents).
class GeneratedRegistryTarget {
  public:
    virtual ~GeneratedRegistryTarget() = default;

    virtual void Key(RootKey root, std::string_view path) = 0;
    virtual void String(std::string_view name, std::string_view text) = 0;
    virtual void Dword(std::string_view name, uint32_t number) = 0;
    virtual void Binary(std::string_view name, size_t bytes) = 0;
    // A link key at path to the key at targetPath below targetRoot (which exists by then).
    virtual void Link(RootKey root, std::string_view path, RootKey targetRoot,
                      std::string_view targetPath) = 0;

    // Files and folders (their missing parents made), and shortcut files.
    virtual void File(std::string_view path) = 0;
    virtual void Folder(std::string_view path) = 0;
    virtual void Shortcut(std::string_view link, std::string_view target) = 0;
    // The path of a special folder (FileSystem's specialfolder numbers).
    virtual std::string SpecialFolder(int folder) = 0;
};

struct GeneratedSize {
    double scale = 1.0;       // 1: a full machine; every list and tree shrinks with it
    size_t staleEvery = 200;  // one entry in this many is stale, in every list
};

// One list of the registry and how many entries it got, how many of them stale.
struct GeneratedList {
    std::string name;
    size_t entries = 0;
    size_t stale = 0;
};

struct GeneratedCount {
    size_t keys = 0;  // keys named to the target (their parents not counted again)
    size_t values = 0;
    size_t links = 0;
    size_t files = 0;
    std::vector<GeneratedList> lists;
};

// The links the generator makes (through GeneratedRegistryTarget::Link), last of all.
struct GeneratedLink {
    RootKey root;
    std::string path;
    RootKey targetRoot;
    std::string targetPath;
};
std::vector<GeneratedLink> GeneratedLinks();

GeneratedCount GenerateWindows11Registry(const GeneratedSize& size,
                                         GeneratedRegistryTarget& target);

}  // namespace vantrel::bench
