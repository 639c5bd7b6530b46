#include "ui/SystemRegistryEditor.h"

#include "platform/win32/WindowsFolder.h"
#include "ui/external/ExternalTools.h"

namespace vantrel {

std::string SystemRegistryEditorPath() {
    const std::string windows = WindowsFolder();
    // A bare "regedit.exe" would be looked for in the current folder: better none at all.
    return windows.empty() ? std::string() : RegistryEditorPath(windows);
}

}  // namespace vantrel
