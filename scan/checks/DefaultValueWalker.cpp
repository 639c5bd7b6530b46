#include "scan/checks/DefaultValueWalker.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/TextCase.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

namespace {

// The default (unnamed) value's type is asked directly: a class key's other values are not
// needed, so they are not listed.
bool HasDefaultString(RegistryAccess& key) {
    return IsStringValueType(key.GetDataType(""));
}

// One walk. Each depth of the recursion has its own accessor, reused for every key at that
// depth, so a key stays open while its subtree is walked and no accessor is made per key
// (a class tree holds tens of thousands of keys).
class DefaultValueWalk {
  public:
    DefaultValueWalk(ScanContext& context, RootKey root, std::string rootName,
                     const DefaultValueWalkRules& rules)
        : context_(context), root_(root), rootName_(std::move(rootName)), rules_(rules) {}

    void Walk(const std::string& keyPath, bool isStartingKey, std::string_view keyName,
              size_t depth) {
        RegistryAccess& key = AccessorAt(depth);
        if (!key.OpenKey(keyPath))
            return;
        OpenKeyScope keyScope(key);
        if (rules_.showsEveryKey)
            context_.ShowProgressKey(keyPath);
        if (JudgesKey(keyName))
            JudgeDefaultValue(key, keyPath, isStartingKey);
        const std::vector<std::string> subkeyNames = key.GetKeyNames();
        const std::string childParent = keyPath.empty() ? keyPath : keyPath + '\\';
        for (const std::string& name : subkeyNames) {
            context_.ThrowIfStopped();
            Walk(childParent + name, false, name, depth + 1);
        }
    }

  private:
    RegistryAccess& AccessorAt(size_t depth) {
        if (depth == accessors_.size()) {
            accessors_.push_back(context_.NewRegistryAccess());
            accessors_.back()->SetRootKey(root_);
        }
        // Closed already by the previous key at this depth; paths are then taken from the root.
        return *accessors_[depth];
    }

    bool JudgesKey(std::string_view keyName) const {
        return rules_.judgesKeyName == nullptr || rules_.judgesKeyName(keyName);
    }

    void JudgeDefaultValue(RegistryAccess& key, const std::string& keyPath, bool isStartingKey) {
        if (!HasDefaultString(key))
            return;
        if (!rules_.showsEveryKey)
            context_.ShowProgressKey(keyPath);
        const std::string text = key.ReadString("");
        if (!context_.Paths().IsMissingFilePath(text, {}, false))
            return;
        context_.AddScanIssue(rules_.problemCaption, rootName_ + '\\' + keyPath, text,
                              RepairKindFor(isStartingKey));
    }

    // Deleting the starting key would take the whole tree this walk examines with it (every
    // class registration of the system, for the class tree); its row removes only the default
    // value that names the missing file.
    RepairKind RepairKindFor(bool isStartingKey) const {
        if (isStartingKey && rules_.repairKind == RepairKind::DeleteKey)
            return RepairKind::DeleteDefaultValue;
        return rules_.repairKind;
    }

    ScanContext& context_;
    RootKey root_;
    std::string rootName_;
    const DefaultValueWalkRules& rules_;
    std::vector<std::unique_ptr<RegistryAccess>> accessors_;
};

}  // namespace

void WalkDefaultValues(ScanContext& context, std::string_view rootName, std::string_view parentPath,
                       std::string_view keyName, const DefaultValueWalkRules& rules) {
    const RootKey root = RootKeyFromName(rootName);
    if (root == RootKey::None)
        return;
    DefaultValueWalk walk(context, root, RootKeyName(root), rules);
    walk.Walk(std::string(parentPath) + std::string(keyName), true, keyName, 0);
}

}  // namespace vantrel
