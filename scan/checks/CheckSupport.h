#pragma once

#include <string>
#include <string_view>

#include "platform/RegistryAccess.h"

namespace vantrel {

// The checks judge only text values; every other type is passed over before it is read.
inline bool IsStringValueType(ValueType type) {
    return type == ValueType::String || type == ValueType::ExpandString;
}

// "ROOT\path\last": the key text of a row; an empty path gives "ROOT\last".
inline std::string JoinKeyText(std::string_view rootName, std::string_view path,
                               std::string_view last) {
    std::string text(rootName);
    text += '\\';
    if (!path.empty()) {
        text += path;
        text += '\\';
    }
    text += last;
    return text;
}

// Keeps one key open for the length of a scope, also when an error passes through.
class OpenKeyScope {
  public:
    explicit OpenKeyScope(RegistryAccess& access) : access_(access) {}
    ~OpenKeyScope() { access_.CloseKey(); }
    OpenKeyScope(const OpenKeyScope&) = delete;
    OpenKeyScope& operator=(const OpenKeyScope&) = delete;

  private:
    RegistryAccess& access_;
};

}  // namespace vantrel
