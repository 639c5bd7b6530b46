// The path tests over any text, against a memory file system that the same input builds. The
// per-scan existence cache must give the path tests exactly the answers the file system gives.
//
// Input, one command per line (other lines are ignored):
//   f PATH          a file            d PATH         a folder
//   e NAME=VALUE    an environment variable
//   m TEXT          IsMissingFilePath(TEXT)
//   a TEXT          IsMissingFilePath(TEXT, "", allowDirectory)
//   n NAME|TEXT     IsMissingFilePath(TEXT, NAME)
//   x TEXT          ExpandEnvironmentPath(TEXT)
// The file system is built from every f, d and e line before the first question is asked.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/memory/MemoryFileSystem.h"
#include "scan/FileExistenceCache.h"
#include "scan/PathTests.h"
#include "tests/fuzz/FuzzSupport.h"

namespace vantrel {
namespace {

void Build(MemoryFileSystem& files, char command, std::string_view argument) {
    try {
        if (command == 'f') {
            files.AddFile(argument);
        } else if (command == 'd') {
            files.AddDirectory(argument);
        } else if (command == 'e') {
            const auto equals = argument.find('=');
            if (equals != std::string_view::npos)
                files.SetEnvironment(argument.substr(0, equals), argument.substr(equals + 1));
        }
    } catch (const std::invalid_argument&) {
        // A path the file system cannot hold (no such drive, a file in the way): not built.
    }
}

void Ask(const PathTests& plain, const PathTests& cached, char command, std::string_view argument) {
    if (command == 'x') {
        const std::string expected = plain.ExpandEnvironmentPath(argument);
        const std::string actual = cached.ExpandEnvironmentPath(argument);
        if (expected != actual) {
            fuzz::Fail("ExpandEnvironmentPath(" + fuzz::Quoted(argument) +
                       "): " + fuzz::Quoted(expected) + " from the file system, " +
                       fuzz::Quoted(actual) + " through the cache");
        }
        return;
    }
    std::string_view fileName;
    std::string_view text = argument;
    if (command == 'n') {
        const auto bar = argument.find('|');
        if (bar == std::string_view::npos)
            return;
        fileName = argument.substr(0, bar);
        text = argument.substr(bar + 1);
    }
    const bool allowDirectory = command == 'a';
    const bool expected = plain.IsMissingFilePath(text, fileName, allowDirectory);
    const bool actual = cached.IsMissingFilePath(text, fileName, allowDirectory);
    if (expected != actual) {
        fuzz::Fail("IsMissingFilePath(" + fuzz::Quoted(text) + ", " + fuzz::Quoted(fileName) +
                   (allowDirectory ? ", allowing folders" : "") +
                   "): " + (expected ? "true" : "false") + " from the file system, " +
                   (actual ? "true" : "false") + " through the cache");
    }
}

bool IsQuestion(char command) {
    return command == 'm' || command == 'a' || command == 'n' || command == 'x';
}

}  // namespace
}  // namespace vantrel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    const auto lines = fuzz::Lines(fuzz::AsText(data, size));
    MemoryFileSystem files;
    files.AddDrive('c', drivetype::kFixed);
    files.AddDrive('d', drivetype::kCdRom);
    files.AddDrive('e', drivetype::kFixed);
    for (const std::string_view line : lines) {
        if (line.size() >= 2 && line[1] == ' ')
            Build(files, line[0], line.substr(2));
    }
    const PathTests plain(files, ComputeFixedDriveLetters(files));
    FileExistenceCache cache(files);
    const PathTests cached(cache, ComputeFixedDriveLetters(cache));
    for (const std::string_view line : lines) {
        if (line.size() >= 2 && line[1] == ' ' && IsQuestion(line[0]))
            Ask(plain, cached, line[0], line.substr(2));
    }
    return 0;
}
