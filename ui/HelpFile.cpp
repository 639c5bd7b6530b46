#include "ui/HelpFile.h"

#include "platform/PathText.h"

namespace vantrel {

std::string HelpPageArgument(std::string_view folder, std::string_view page) {
    return JoinFilePath(folder, kHelpFileName) + "::/" + std::string(page);
}

}  // namespace vantrel
