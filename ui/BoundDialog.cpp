#include "ui/BoundDialog.h"

#include "platform/win32/ExecutableFolder.h"
#include "ui/HelpFile.h"

namespace vantrel {

void BoundDialog::OpenHelpPage(const char* page) {
    shell_.Get().Open(kHelpViewer, HelpPageArgument(ExecutableFolder(), page));
}

}  // namespace vantrel
