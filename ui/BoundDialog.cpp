#include "ui/BoundDialog.h"

#include "ui/HelpFile.h"

namespace vantrel {

void BoundDialog::OpenHelpPage(const char* page) {
    vantrel::OpenHelpPage(shell_.Get(), page);
}

}  // namespace vantrel
