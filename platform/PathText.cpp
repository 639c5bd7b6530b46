#include "platform/PathText.h"

namespace vantrel {

std::string_view WithoutTrailingBackslash(std::string_view path) {
    if (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    return path;
}

std::string WithTrailingBackslash(std::string_view folder) {
    std::string result(folder);
    if (result.empty() || result.back() != '\\')
        result += '\\';
    return result;
}

}  // namespace vantrel
