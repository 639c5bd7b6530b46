#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "tests/support/win32/BenchData.h"

// The benchmark's tree of tests/support/win32/BenchData.h written into the registry.
namespace vantrel::bench {

struct BenchTreeCount {
    size_t keys = 0;
    size_t values = 0;
};

// Writes the tree under root\path (an old tree there is deleted first). Raises
// std::runtime_error when a key or value cannot be written.
BenchTreeCount WriteBenchTree(HKEY root, const std::wstring& path, const BenchTreeShape& shape,
                              BenchValueGenerator& generator);
// Deletes root\path with its subtree; true when it is gone afterwards.
bool DeleteBenchTree(HKEY root, const std::wstring& path);

// Enables a privilege of the process (loading and saving hives needs the backup and restore
// privileges). Raises std::runtime_error when it cannot.
void EnablePrivilege(const wchar_t* name);
// The current user's key by its system name: "\REGISTRY\USER\S-1-5-...".
std::wstring CurrentUserKeyName();
// A link key at path below root to the key of that system name. Raises std::runtime_error.
void CreateLink(HKEY root, const std::wstring& path, const std::wstring& target);
// Deletes a link key itself (a deletion by path would reach through it).
void DeleteLink(HKEY root, const std::wstring& path);
// Saves the current user's key at sourcePath into hiveFile (a second user's hive made from it)
// and deletes that key; a hive of that user loaded before is unloaded first. Raises
// std::runtime_error.
void SaveAsHive(const std::wstring& sourcePath, const std::wstring& hiveFile,
                const std::wstring& user);
// Loads hiveFile as HKEY_USERS\user (unloading one loaded before). Raises std::runtime_error.
void LoadHive(const std::wstring& hiveFile, const std::wstring& user);

}  // namespace vantrel::bench
