#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "bench/BenchRegistryData.h"

// The data of the class-tree and shortcut benchmarks: a tree of class registrations shaped like
// HKEY_CLASSES_ROOT\CLSID and a folder of real shortcut files, both in private places, both
// pointing at the benchmark's files (and at things that are not there). Drawn from a fixed seed.
namespace vantrel::bench {

constexpr const char* kBenchLinksFolder = "C:\\vantrel-bench-links";

struct ClassTreeCount {
    size_t classes = 0;
    size_t keys = 0;  // the top key included
    size_t values = 0;
};

// Writes `classes` class keys under root\path (an old tree there is deleted first): each has a
// description, a server key (in-process or local) with a path, a ProgID and, for some, an icon
// key and a category key. Raises std::runtime_error when a key or value cannot be written.
ClassTreeCount WriteClassTree(HKEY root, const std::wstring& path, size_t classes,
                              const BenchFiles& files);

struct ShortcutFolderCount {
    size_t shortcuts = 0;
    size_t folders = 0;  // the top folder included
    size_t missingTargets = 0;
};

// Creates `shortcuts` shortcut files in subfolders of folder (removed first if present), aimed
// at existing files, existing folders and missing files. Uses the shell link object: COM must
// be initialised on the calling thread. Raises std::runtime_error on failure.
ShortcutFolderCount CreateShortcutFolder(const std::string& folder, size_t shortcuts,
                                         const BenchFiles& files);
// Deletes the folder with everything in it; a folder that is already gone is no error.
void RemoveShortcutFolder(const std::string& folder);

}  // namespace vantrel::bench
