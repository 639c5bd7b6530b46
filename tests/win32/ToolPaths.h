#pragma once

#include <optional>
#include <string>

#include "platform/win32/ChildProcess.h"
#include "platform/win32/ExecutableFolder.h"
#include "ui/external/ExternalTools.h"

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

// The stand-in editor, started as a merge that waits a minute.
inline std::optional<ChildProcess> StartSlowEditor() {
    return ChildProcess::StartHidden(TestEditorPath(), MergeCommandLine(TestEditorPath(), "x.reg"));
}

}  // namespace vantrel::test
