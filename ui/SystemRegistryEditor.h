#pragma once

#include <string>

namespace vantrel {

// The editor of this system: regedit.exe in the Windows folder ("" when the system does not
// name its Windows folder, which no editor can then be started from).
std::string SystemRegistryEditorPath();

}  // namespace vantrel
