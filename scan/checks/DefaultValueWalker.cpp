#include "scan/checks/DefaultValueWalker.h"

#include <string>
#include <utility>

#include "platform/PathText.h"
#include "scan/KeyTreeWalk.h"
#include "scan/RowReasons.h"
#include "scan/checks/CheckSupport.h"
#include "scan/checks/EntryRules.h"

namespace vantrel {

namespace {

class DefaultValues : public KeyVisitor {
  public:
    DefaultValues(ScanContext& context, std::string rootName, const DefaultValueWalkRules& rules)
        : context_(context), rootName_(std::move(rootName)), rules_(rules) {}

    WalkOn Visit(const WalkedKey& key) override {
        if (JudgesKey(key.name))
            JudgeDefaultValue(key);
        return WalkOn::IntoSubkeys;
    }

  private:
    bool JudgesKey(std::string_view keyName) const {
        return rules_.judgesKeyName == nullptr || rules_.judgesKeyName(keyName);
    }

    // The default (unnamed) value's type is asked directly: a class key's other values are not
    // needed, so they are not listed.
    void JudgeDefaultValue(const WalkedKey& key) {
        if (!IsStringValueType(key.access.GetDataType("")))
            return;
        if (!rules_.showsEveryKey)
            context_.ShowProgressKey(key.path);
        const std::string text = key.access.ReadString("");
        if (!context_.Paths().IsMissingFilePath(text, {}, false))
            return;
        context_.AddScanIssue(KeyText(rootName_, key.path), text, RepairKindFor(key.isStart),
                              ReasonFor(key.path, text), RowRisk::Safe,
                              MissingPathEvidence({}, false));
    }

    std::string ReasonFor(std::string_view keyPath, std::string_view text) const {
        if (rules_.reasonFor != nullptr)
            return rules_.reasonFor(keyPath, text);
        return NamesMissingFileReason(text);
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
    std::string rootName_;
    const DefaultValueWalkRules& rules_;
};

}  // namespace

void WalkDefaultValues(ScanContext& context, RootKey root, std::string_view keyPath,
                       const DefaultValueWalkRules& rules) {
    if (!IsScannedRoot(root))
        return;
    DefaultValues visitor(context, RootKeyName(root), rules);
    WalkKeyTree(context, root, keyPath, visitor,
                rules.showsEveryKey ? ProgressLine::EveryKey : ProgressLine::ByVisitor);
}

}  // namespace vantrel
