#include "scan/checks/CommandSearch.h"

#include <exception>
#include <memory>
#include <optional>

#include "platform/PathText.h"
#include "scan/KeyTreeWalk.h"
#include "scan/checks/CheckSupport.h"

namespace vantrel {

namespace {

class CommandSearch : public KeyVisitor {
  public:
    CommandSearch(ScanContext& context, RootKey root, std::string_view subkeyName,
                  std::string_view valueName, const CommandFound& found)
        : commandKey_(context.NewRegistryAccess(root)),
          subkeyName_(subkeyName),
          valueName_(valueName),
          found_(found) {
        // A command key that is a link holds another key's command, found under its own path.
        commandKey_->SetLinkMode(LinkMode::OpenLinkItself);
    }

    WalkOn Visit(const WalkedKey& key) override {
        std::optional<std::string> text;
        try {
            text = ReadCommandText(key.path);
        } catch (const std::exception&) {
            // An unreadable part of the tree holds no command.
            return WalkOn::PastSubkeys;
        }
        if (text)
            found_(key.path, *text);
        return WalkOn::IntoSubkeys;
    }

  private:
    // The non-empty text of the command below the key at keyPath, if it holds a string there.
    std::optional<std::string> ReadCommandText(const std::string& keyPath) {
        if (!commandKey_->OpenKey(JoinKeyPath(keyPath, subkeyName_)))
            return std::nullopt;
        const OpenKeyScope keyScope(*commandKey_);
        if (!commandKey_->ValueExists(valueName_) ||
            !IsStringValueType(commandKey_->GetDataType(valueName_)))
            return std::nullopt;
        std::string text = commandKey_->ReadString(valueName_);
        if (text.empty())
            return std::nullopt;
        return text;
    }

    // No key stays open between reads, so each path is taken from the root.
    std::unique_ptr<RegistryAccess> commandKey_;
    std::string_view subkeyName_;
    std::string_view valueName_;
    const CommandFound& found_;
};

}  // namespace

void ForEachCommand(ScanContext& context, RootKey root, std::string_view startPath,
                    std::string_view subkeyName, std::string_view valueName,
                    const CommandFound& found) {
    CommandSearch search(context, root, subkeyName, valueName, found);
    WalkKeyTree(context, root, startPath, search, ProgressLine::ByVisitor);
}

}  // namespace vantrel
