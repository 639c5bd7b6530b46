#include "platform/PathText.h"

#include "platform/TextCase.h"

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

std::string JoinKeyPath(std::string_view parentPath, std::string_view name) {
    std::string path;
    path.reserve(parentPath.size() + 1 + name.size());
    if (!parentPath.empty()) {
        path += parentPath;
        path += '\\';
    }
    path += name;
    return path;
}

std::vector<std::string_view> SplitKeyPath(std::string_view path) {
    std::vector<std::string_view> segments;
    while (!path.empty()) {
        const size_t end = path.find('\\');
        const std::string_view segment = path.substr(0, end);
        if (!segment.empty())
            segments.push_back(segment);
        if (end == std::string_view::npos)
            break;
        path.remove_prefix(end + 1);
    }
    return segments;
}

std::string JoinKeySegments(const std::vector<std::string_view>& segments) {
    std::string path;
    for (std::string_view segment : segments)
        path = JoinKeyPath(path, segment);
    return path;
}

std::string KeyText(std::string_view rootName, std::string_view keyPath) {
    std::string text;
    text.reserve(rootName.size() + 1 + keyPath.size());
    text += rootName;
    text += '\\';
    text += keyPath;
    return text;
}

std::string ValueKeyText(std::string_view rootName, std::string_view keyPath,
                         std::string_view valueName) {
    return KeyText(rootName, JoinKeyPath(keyPath, valueName));
}

bool HasExtension(std::string_view name, std::string_view extension) {
    const auto dot = name.rfind('.');
    return dot != std::string_view::npos && EqualsIgnoreCase(name.substr(dot), extension);
}

std::string WithExtension(std::string_view name, std::string_view extension) {
    std::string result(name);
    if (!HasExtension(name, extension))
        result += extension;
    return result;
}

std::string JoinFilePath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    path += name;
    return path;
}

}  // namespace vantrel
