#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/Prompts.h"

namespace vantrel {

// Where and how a window runs the registry editor.
struct RegistryEditorRun {
    HWND owner;              // owns the backup progress window
    Prompts& prompts;        // tells the user when the editor cannot be started
    Prompts* injected;       // handed on to the progress window (nullptr: its own boxes)
    std::string editorPath;  // the editor's full path (RegistryEditorPath)
};

// Starts the editor hidden with `commandLine` and shows the backup progress window with `hint`
// until the editor ends. True exactly when the editor ended by itself; false when the user
// stopped it or closed the window. An editor that cannot be started: the notice "Please check
// if Regedit.exe exists." and false. The process and thread handles are closed once the wait
// has ended, whatever its outcome.
bool RunAndWait(const RegistryEditorRun& run, std::string_view commandLine, std::string_view hint);

// The editor of this system: regedit.exe in the Windows folder ("" when the system does not
// name its Windows folder, which no editor can then be started from).
std::string SystemRegistryEditorPath();

}  // namespace vantrel
