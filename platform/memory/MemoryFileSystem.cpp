#include "platform/memory/MemoryFileSystem.h"

#include <algorithm>
#include <stdexcept>

#include "platform/TextCase.h"
#include "platform/memory/WindowsPath.h"

namespace vantrel {

namespace {
constexpr uint32_t kAttributeArchive = 0x20;  // what a plain file reports
// Links that lead on to links are followed this deep; a loop of links names nothing.
constexpr int kMaxLinkDepth = 16;
}  // namespace

struct MemoryFileSystem::Node {
    std::string name;
    std::string shortName;  // "" when the file has none
    bool directory = true;
    std::vector<std::shared_ptr<Node>> children;  // insertion order is listing order
    std::optional<std::string> shortcutTarget;
    std::optional<std::string> folderLinkTarget;  // a junction's target folder

    bool IsNamed(std::string_view text) const {
        return EqualsIgnoreCase(name, text) ||
               (!shortName.empty() && EqualsIgnoreCase(shortName, text));
    }

    Node* Child(std::string_view text) const {
        for (const auto& child : children) {
            if (child->IsNamed(text))
                return child.get();
        }
        return nullptr;
    }

    // The node the names lead to from here, links not followed; null where one is missing or
    // a file is in the way.
    Node* Walk(const std::vector<std::string>& names, size_t count) {
        Node* node = this;
        for (size_t i = 0; i < count && node; ++i) {
            node = node->directory ? node->Child(names[i]) : nullptr;
        }
        return node;
    }
};

namespace {

WindowsPath ParseOrThrow(std::string_view path) {
    auto parsed = ParseWindowsPath(path);
    if (!parsed) {
        throw std::invalid_argument("MemoryFileSystem: not a drive path: " + std::string(path));
    }
    return std::move(*parsed);
}

std::invalid_argument PathError(std::string_view reason, std::string_view path) {
    return std::invalid_argument("MemoryFileSystem: " + std::string(reason) + ": " +
                                 std::string(path));
}

}  // namespace

MemoryFileSystem::MemoryFileSystem() = default;

MemoryFileSystem::Node* MemoryFileSystem::DriveRoot(char lowerLetter) const {
    const auto found = drives_.find(lowerLetter);
    return found == drives_.end() ? nullptr : found->second.root.get();
}

MemoryFileSystem::Node* MemoryFileSystem::Find(std::string_view path, bool followLastLink,
                                               int linkDepth) const {
    const auto parsed = ParseWindowsPath(path);
    if (!parsed)
        return nullptr;
    Node* node = DriveRoot(parsed->drive);
    const auto& names = parsed->components;
    for (size_t i = 0; i < names.size() && node; ++i) {
        node = node->directory ? node->Child(names[i]) : nullptr;
        if (node && (i + 1 < names.size() || followLastLink))
            node = Follow(node, linkDepth);
    }
    if (node && parsed->trailingSeparator && !node->directory)
        return nullptr;
    return node;
}

MemoryFileSystem::Node* MemoryFileSystem::Follow(Node* node, int linkDepth) const {
    if (!node->folderLinkTarget)
        return node;
    if (linkDepth >= kMaxLinkDepth)
        return nullptr;
    return Find(*node->folderLinkTarget, true, linkDepth + 1);
}

MemoryFileSystem::Node* MemoryFileSystem::AddNode(std::string_view path, bool directory) {
    const WindowsPath parsed = ParseOrThrow(path);
    Node* node = DriveRoot(parsed.drive);
    if (!node)
        throw PathError("no such drive", path);
    if (parsed.components.empty()) {
        if (directory)
            return node;
        throw PathError("a drive's root is not a file", path);
    }
    if (!directory && parsed.trailingSeparator)
        throw PathError("a file name ends with \\", path);
    for (size_t i = 0; i < parsed.components.size(); ++i) {
        const bool last = i + 1 == parsed.components.size();
        const bool wantDirectory = !last || directory;
        if (node->folderLinkTarget)
            throw PathError("a folder link holds nothing of its own", path);
        Node* child = node->Child(parsed.components[i]);
        if (!child) {
            auto added = std::make_shared<Node>();
            added->name = parsed.components[i];
            added->directory = wantDirectory;
            node->children.push_back(added);
            child = added.get();
        } else if (child->directory != wantDirectory) {
            throw PathError(child->directory ? "a folder is in the way" : "a file is in the way",
                            path);
        }
        node = child;
    }
    return node;
}

void MemoryFileSystem::AddDrive(char letter, uint32_t driveType) {
    const char lower = LowerAscii(letter);
    if (lower < 'a' || lower > 'z') {
        throw std::invalid_argument("MemoryFileSystem: not a drive letter: " +
                                    std::string(1, letter));
    }
    std::lock_guard<std::mutex> lock(mutex_);
    Drive& drive = drives_[lower];
    drive.type = driveType;
    if (!drive.root)
        drive.root = std::make_shared<Node>();
}

void MemoryFileSystem::AddFile(std::string_view path) {
    std::lock_guard<std::mutex> lock(mutex_);
    AddNode(path, false);
}

void MemoryFileSystem::AddDirectory(std::string_view path) {
    std::lock_guard<std::mutex> lock(mutex_);
    AddNode(path, true);
}

void MemoryFileSystem::Remove(std::string_view path) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto parsed = ParseWindowsPath(path);
    if (!parsed || parsed->components.empty())
        return;
    Node* root = DriveRoot(parsed->drive);
    Node* parent = root ? root->Walk(parsed->components, parsed->components.size() - 1) : nullptr;
    if (!parent || !parent->directory)
        return;
    auto& siblings = parent->children;
    const auto found = std::find_if(siblings.begin(), siblings.end(), [&](const auto& child) {
        return child->IsNamed(parsed->components.back()) &&
               !(parsed->trailingSeparator && !child->directory);
    });
    if (found != siblings.end())
        siblings.erase(found);
}

void MemoryFileSystem::AddShortName(std::string_view longPath, std::string_view shortPath) {
    std::lock_guard<std::mutex> lock(mutex_);
    const WindowsPath longParsed = ParseOrThrow(longPath);
    const WindowsPath shortParsed = ParseOrThrow(shortPath);
    Node* root = DriveRoot(longParsed.drive);
    if (!root || longParsed.components.empty() || shortParsed.components.empty() ||
        shortParsed.drive != longParsed.drive) {
        throw PathError("a short name needs a file or folder on an added drive", longPath);
    }
    Node* parent = root->Walk(longParsed.components, longParsed.components.size() - 1);
    Node* node = parent ? parent->Child(longParsed.components.back()) : nullptr;
    if (!node)
        throw PathError("no such file or folder", longPath);
    if (root->Walk(shortParsed.components, shortParsed.components.size() - 1) != parent) {
        throw PathError("the short name is not in the same folder", shortPath);
    }
    const std::string& shortName = shortParsed.components.back();
    Node* holder = parent->Child(shortName);
    if (holder && holder != node)
        throw PathError("the short name is already taken", shortPath);
    node->shortName = shortName;
}

void MemoryFileSystem::SetEnvironment(std::string_view name, std::string_view value) {
    std::lock_guard<std::mutex> lock(mutex_);
    environment_[UpperAscii(name)] = std::string(value);
}

void MemoryFileSystem::SetSpecialFolder(int folder, std::string_view path) {
    std::lock_guard<std::mutex> lock(mutex_);
    specialFolders_[folder] = std::string(path);
}

void MemoryFileSystem::SetShortcutTarget(std::string_view linkPath, std::string_view targetPath) {
    std::lock_guard<std::mutex> lock(mutex_);
    AddNode(linkPath, false)->shortcutTarget = std::string(targetPath);
}

void MemoryFileSystem::AddFolderLink(std::string_view linkPath, std::string_view targetPath) {
    std::lock_guard<std::mutex> lock(mutex_);
    Node* link = AddNode(linkPath, true);
    if (!link->children.empty())
        throw PathError("a folder link replaces no folder", linkPath);
    link->folderLinkTarget = std::string(targetPath);
}

void MemoryFileSystem::SetSystemFolders(std::string_view systemFolder,
                                        std::string_view systemWow64Folder) {
    std::lock_guard<std::mutex> lock(mutex_);
    systemFolder_ = std::string(systemFolder);
    systemWow64Folder_ = std::string(systemWow64Folder);
}

size_t MemoryFileSystem::ExistenceQueries() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return existenceQueries_;
}

bool MemoryFileSystem::FileExists(std::string_view path) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++existenceQueries_;
    const Node* node = Find(path);
    return node && !node->directory;
}

bool MemoryFileSystem::DirectoryExists(std::string_view path) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++existenceQueries_;
    const Node* node = Find(path);
    return node && node->directory;
}

uint32_t MemoryFileSystem::DriveType(std::string_view rootFolder) {
    std::lock_guard<std::mutex> lock(mutex_);
    const bool rootForm =
        (rootFolder.size() == 2 ||
         (rootFolder.size() == 3 && (rootFolder[2] == '\\' || rootFolder[2] == '/'))) &&
        rootFolder[1] == ':';
    if (!rootForm)
        return drivetype::kNoRootDir;
    const auto found = drives_.find(LowerAscii(rootFolder[0]));
    return found == drives_.end() ? drivetype::kNoRootDir : found->second.type;
}

std::vector<FolderEntry> MemoryFileSystem::ListFolder(std::string_view folder) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<FolderEntry> entries;
    const Node* node = Find(folder, true);
    if (!node || !node->directory)
        return entries;
    // The system lists "." and ".." in every folder but a drive's root.
    const auto parsed = ParseWindowsPath(folder);
    if (!parsed->components.empty()) {
        entries.push_back(FolderEntry{".", kAttributeDirectory});
        entries.push_back(FolderEntry{"..", kAttributeDirectory});
    }
    for (const auto& child : node->children) {
        uint32_t attributes = child->directory ? kAttributeDirectory : kAttributeArchive;
        if (child->folderLinkTarget)
            attributes |= kAttributeReparsePoint;
        entries.push_back(FolderEntry{child->name, attributes});
    }
    return entries;
}

std::optional<std::string> MemoryFileSystem::ExpandEnvironmentStrings(std::string_view text,
                                                                      size_t bufferChars) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string out;
    size_t pos = 0;
    while (pos < text.size()) {
        const auto open = text.find('%', pos);
        const auto close = open == std::string_view::npos ? open : text.find('%', open + 1);
        if (close == std::string_view::npos) {
            // No complete reference left: the rest is copied as it is.
            out += text.substr(pos);
            break;
        }
        out += text.substr(pos, open - pos);
        const auto value = environment_.find(UpperAscii(text.substr(open + 1, close - open - 1)));
        // An undefined reference stays, both percent signs included, and scanning goes on after it.
        if (close > open + 1 && value != environment_.end()) {
            out += value->second;
        } else {
            out += text.substr(open, close - open + 1);
        }
        pos = close + 1;
    }
    if (out.size() + 1 > bufferChars)
        return std::nullopt;
    return out;
}

std::optional<std::string> MemoryFileSystem::EnvironmentVariable(std::string_view name) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = environment_.find(UpperAscii(name));
    if (found == environment_.end())
        return std::nullopt;
    return found->second;
}

std::string MemoryFileSystem::SystemFolder() {
    std::lock_guard<std::mutex> lock(mutex_);
    return systemFolder_;
}

std::string MemoryFileSystem::SystemWow64Folder() {
    std::lock_guard<std::mutex> lock(mutex_);
    return systemWow64Folder_;
}

std::string MemoryFileSystem::SpecialFolderPath(int folder) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = specialFolders_.find(folder);
    return found == specialFolders_.end() ? std::string() : found->second;
}

std::optional<std::string> MemoryFileSystem::ResolveShortcutTarget(std::string_view linkPath) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Node* node = Find(linkPath);
    if (!node || node->directory)
        return std::nullopt;
    return node->shortcutTarget;
}

}  // namespace vantrel
