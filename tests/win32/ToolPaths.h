#pragma once

#include <string>

#include "platform/win32/ExecutableFolder.h"

namespace vantrel::test {

// A program of the build's bin folder (the test program itself lives in its tests folder).
inline std::string BuildProgramPath(const std::string& name) {
    std::string build = ExecutableFolder();  // ...\tests
    build.resize(build.find_last_of('\\') + 1);
    return build + "bin\\" + name;
}

// Stands in for the registry editor: "/s FILE" waits a minute, "/e FILE" writes a decoy export.
inline std::string TestEditorPath() {
    return BuildProgramPath("vantrel-test-editor.exe");
}

}  // namespace vantrel::test
