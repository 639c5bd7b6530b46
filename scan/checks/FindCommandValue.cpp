#include "scan/checks/FindCommandValue.h"

#include <exception>
#include <optional>
#include <vector>

#include "scan/checks/CheckSupport.h"

namespace vantrel {

namespace {

// The non-empty text of valueName in the key at path, if it holds a string there.
std::optional<std::string> ReadCommandText(ScanContext& context, RootKey root,
                                           const std::string& path, std::string_view valueName) {
    auto key = context.NewRegistryAccess();
    key->SetRootKey(root);
    if (!key->OpenKey(path))
        return std::nullopt;
    OpenKeyScope keyScope(*key);
    if (!key->ValueExists(valueName) || !IsStringValueType(key->GetDataType(valueName)))
        return std::nullopt;
    std::string text = key->ReadString(valueName);
    if (text.empty())
        return std::nullopt;
    return text;
}

}  // namespace

std::string FindCommandValue(ScanContext& context, RootKey root, std::string& foundKey,
                             std::string_view startPath, std::string_view subkeyName,
                             std::string_view valueName) {
    try {
        auto key = context.NewRegistryAccess();
        key->SetRootKey(root);
        const std::string path(startPath);
        if (!key->OpenKey(path))
            return {};
        OpenKeyScope keyScope(*key);
        const std::optional<std::string> text =
            ReadCommandText(context, root, path + '\\' + std::string(subkeyName), valueName);
        if (text) {
            if (foundKey.empty()) {
                foundKey = path;
                return *text;
            }
            // The previous find: everything after it, its own subtree first, is new.
            if (foundKey == path)
                foundKey.clear();
        }
        const std::vector<std::string> subkeyNames = key->GetKeyNames();
        for (const std::string& name : subkeyNames) {
            context.ThrowIfStopped();
            std::string found = FindCommandValue(context, root, foundKey, path + '\\' + name,
                                                 subkeyName, valueName);
            if (!found.empty())
                return found;
        }
    } catch (const std::exception&) {
        // An unreadable part of the tree holds no command.
    }
    return {};
}

}  // namespace vantrel
