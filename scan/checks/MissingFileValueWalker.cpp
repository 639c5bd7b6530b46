#include "scan/checks/MissingFileValueWalker.h"

#include <memory>
#include <string>
#include <utility>

#include "platform/TextCase.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

const SkipKeyList& LocalMachineSkipKeys() {
    static const SkipKeyList kKeys = {
        "SOFTWARE\\Classes\\CLSID",
        "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls",
        "SOFTWARE\\Classes\\TypeLib",
        "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths",
        "Software\\Microsoft\\Windows\\Help",
        "Software\\Microsoft\\Windows\\Html Help",
        "Software\\Classes\\Applications",
        "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
        "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders",
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache",
    };
    return kKeys;
}

const SkipKeyList& CurrentUserSkipKeys() {
    static const SkipKeyList kKeys = {
        "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
        "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
        "AppEvents\\Schemes\\Apps",
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU",
    };
    return kKeys;
}

const SkipKeyList& NoSkipKeys() {
    static const SkipKeyList kKeys;
    return kKeys;
}

bool IsSkippedKey(const SkipKeyList& skipKeys, std::string_view keyPath) {
    for (std::string_view skipped : skipKeys) {
        if (EqualsIgnoreCase(skipped, keyPath))
            return true;
    }
    return false;
}

namespace {

// One walk. Each depth of the recursion has its own accessor, reused for every key at that
// depth, so a key stays open while its subkeys are walked and no accessor is made per key.
class MissingFileValueWalk {
  public:
    MissingFileValueWalk(ScanContext& context, RootKey root, std::string rootName,
                         std::string_view fileName, std::string_view problemCaption,
                         const SkipKeyList& skipKeys)
        : context_(context),
          root_(root),
          rootName_(std::move(rootName)),
          fileName_(fileName),
          problemCaption_(problemCaption),
          skipKeys_(skipKeys) {}

    void Walk(const std::string& keyPath, size_t depth) {
        if (IsSkippedKey(skipKeys_, keyPath))
            return;
        RegistryAccess& key = AccessorAt(depth);
        if (!key.OpenKey(keyPath))
            return;
        OpenKeyScope keyScope(key);
        context_.ShowProgressKey(keyPath);
        ReportMissingFileValues(key, keyPath);
        const std::vector<std::string> subkeyNames = key.GetKeyNames();
        for (const std::string& name : subkeyNames) {
            context_.ThrowIfStopped();
            Walk(keyPath.empty() ? name : keyPath + '\\' + name, depth + 1);
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

    void ReportMissingFileValues(RegistryAccess& key, const std::string& keyPath) {
        const std::vector<std::string> valueNames = key.GetValueNames();
        for (const std::string& name : valueNames) {
            context_.ThrowIfStopped();
            if (!IsStringValueType(key.GetDataType(name)))
                continue;
            const std::string text = key.ReadString(name);
            if (!context_.Paths().IsMissingFilePath(text, fileName_, true))
                continue;
            context_.AddScanIssue(problemCaption_, JoinKeyText(rootName_, keyPath, name), text,
                                  RepairKind::DeleteValueInKey);
        }
    }

    ScanContext& context_;
    RootKey root_;
    std::string rootName_;
    std::string_view fileName_;
    std::string_view problemCaption_;
    const SkipKeyList& skipKeys_;
    std::vector<std::unique_ptr<RegistryAccess>> accessors_;
};

}  // namespace

void WalkMissingFileValues(ScanContext& context, std::string_view rootName,
                           std::string_view keyPath, std::string_view fileName,
                           std::string_view problemCaption, const SkipKeyList& skipKeys) {
    const RootKey root = RootKeyFromName(rootName);
    if (root == RootKey::None)
        return;
    MissingFileValueWalk walk(context, root, RootKeyName(root), fileName, problemCaption, skipKeys);
    walk.Walk(std::string(keyPath), 0);
}

}  // namespace vantrel
