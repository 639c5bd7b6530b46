#pragma once

// A registry subtree read through the native wide-character API, for comparing a subtree
// before a repair with the same subtree after its backup was merged back; and the system
// registry editor run as a child process.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vantrel::test {

struct SnapshotValue {
    DWORD type = REG_NONE;
    std::vector<uint8_t> data;
    bool operator==(const SnapshotValue& other) const {
        return type == other.type && data == other.data;
    }
};

// Keys by their path below the subtree's top ("" for the top itself), each with its values by
// exact name ("" for the default value). Names keep their letter case, so a restore that
// changed one shows up.
using KeySnapshot = std::map<std::wstring, SnapshotValue>;
using SubtreeSnapshot = std::map<std::wstring, KeySnapshot>;

// The subtree below root\path; empty when the key does not exist.
SubtreeSnapshot SnapshotSubtree(HKEY root, const std::wstring& path);

// Every difference, one line each (key, value, what differs), in UTF-8 for the test's output;
// empty when the two are the same byte for byte.
std::vector<std::string> SnapshotDifferences(const SubtreeSnapshot& expected,
                                             const SubtreeSnapshot& actual);

size_t ValueCount(const SubtreeSnapshot& snapshot);

// Runs "regedit.exe /s "<regFile>"" hidden and waits for it; its exit code, or nullopt-like
// 0xFFFFFFFF when it could not be started.
DWORD MergeWithRegedit(const std::string& regFile);

// Text for the test's output.
std::string Utf8(std::wstring_view wide);

}  // namespace vantrel::test
