#include "ui/HelpFile.h"

#include "platform/PathText.h"
#include "platform/win32/ExecutableFolder.h"

namespace vantrel {

std::string HelpPageArgument(std::string_view folder, std::string_view page) {
    return JoinFilePath(folder, kHelpFileName) + "::/" + std::string(page);
}

void OpenHelpPage(ShellOpener& shell, std::string_view page) {
    shell.Open(kHelpViewer, HelpPageArgument(ExecutableFolder(), page));
}

}  // namespace vantrel
