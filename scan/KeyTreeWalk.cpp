#include "scan/KeyTreeWalk.h"

#include "platform/PathText.h"

namespace vantrel {
namespace {

std::string_view LastSegment(std::string_view path) {
    const size_t separator = path.rfind('\\');
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

class KeyTreeWalk {
  public:
    KeyTreeWalk(ScanContext& context, RootKey root, KeyVisitor& visitor, ProgressLine progress)
        : context_(context), root_(root), visitor_(visitor), progress_(progress) {}

    void Walk(const std::string& path, std::string_view name, bool isStart, size_t depth) {
        if (!visitor_.Enters(path))
            return;
        RegistryAccess& key = AccessorAt(depth);
        if (!key.OpenKey(path))
            return;
        const OpenKeyScope keyScope(key);
        // A link's subtree is another key's: the walk meets that key by its own path, if at all.
        if (!isStart && key.OpenKeyIsLink())
            return;
        if (progress_ == ProgressLine::EveryKey)
            context_.ShowProgressKey(path);
        if (visitor_.Visit(WalkedKey{key, path, name, isStart}) == WalkOn::PastSubkeys)
            return;
        const std::vector<std::string> subkeyNames = key.GetKeyNames();
        for (const std::string& subkeyName : subkeyNames) {
            context_.ThrowIfStopped();
            Walk(JoinKeyPath(path, subkeyName), subkeyName, false, depth + 1);
        }
    }

  private:
    RegistryAccess& AccessorAt(size_t depth) {
        if (depth == accessors_.size()) {
            accessors_.push_back(context_.NewRegistryAccess(root_));
            // The starting key is the one the check names; below it a link is opened itself,
            // never followed.
            if (depth > 0)
                accessors_.back()->SetLinkMode(LinkMode::OpenLinkItself);
        }
        // Closed already by the previous key at this depth; paths are then taken from the root.
        return *accessors_[depth];
    }

    ScanContext& context_;
    RootKey root_;
    KeyVisitor& visitor_;
    ProgressLine progress_;
    std::vector<std::unique_ptr<RegistryAccess>> accessors_;
};

}  // namespace

void WalkKeyTree(ScanContext& context, RootKey root, std::string_view startPath,
                 KeyVisitor& visitor, ProgressLine progress) {
    KeyTreeWalk walk(context, root, visitor, progress);
    walk.Walk(std::string(startPath), LastSegment(startPath), true, 0);
}

}  // namespace vantrel
