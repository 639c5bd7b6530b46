#include "scan/FileExistenceCache.h"

#include "platform/TextCase.h"
#include "scan/ListablePath.h"

namespace vantrel {

namespace {

constexpr std::string_view kSeparators = "\\/";

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsPlainAscii(std::string_view path) {
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0 || byte >= 0x80)
            return false;
    }
    return true;
}

// Letter case of a to z does not matter to Windows file names. Outside plain ASCII a byte in
// that range may be the second half of a double-byte character, so such paths keep their case.
std::string CacheKey(std::string_view path) {
    return IsPlainAscii(path) ? LowerAscii(path) : std::string(path);
}

bool IsOnlyDotsAndBlanks(std::string_view name) {
    return name.find_first_not_of(". ") == std::string_view::npos;
}

// The folder, with its closing separator, in which path names an entry; nullopt when the path
// does not plainly name an entry inside a folder (a drive root, ".", "..", a device, a network or
// device path, or text whose bytes could be read otherwise in a double-byte code page).
std::optional<std::string_view> ParentFolderOf(std::string_view path) {
    if (!IsPlainAscii(path))
        return std::nullopt;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]))
        return std::nullopt;
    std::string_view trimmed = path;
    while (!trimmed.empty() && IsSeparator(trimmed.back()))
        trimmed.remove_suffix(1);
    const size_t separator = trimmed.find_last_of(kSeparators);
    if (separator == std::string_view::npos)
        return std::nullopt;
    const std::string_view name = trimmed.substr(separator + 1);
    if (IsOnlyDotsAndBlanks(name) || IsDeviceName(name))
        return std::nullopt;
    return trimmed.substr(0, separator + 1);
}

}  // namespace

FileExistenceCache::FileExistenceCache(FileSystem& files) : files_(files) {}

bool FileExistenceCache::FileExists(std::string_view path) {
    return Exists(Kind::File, path);
}

bool FileExistenceCache::DirectoryExists(std::string_view path) {
    return Exists(Kind::Directory, path);
}

bool FileExistenceCache::Exists(Kind kind, std::string_view path) {
    Answers& answers = kind == Kind::File ? fileAnswers_ : directoryAnswers_;
    std::string key = CacheKey(path);
    const auto known = answers.find(key);
    if (known != answers.end())
        return known->second;
    bool exists = false;
    if (!ParentIsMissing(path)) {
        const std::optional<bool> listed = AnswerFromListing(kind, path);
        exists = listed ? *listed : AskFileSystem(kind, path);
    }
    answers.emplace(std::move(key), exists);
    return exists;
}

bool FileExistenceCache::ParentIsMissing(std::string_view path) {
    const std::optional<std::string_view> parent = ParentFolderOf(path);
    return parent && !DirectoryExists(*parent);
}

std::optional<bool> FileExistenceCache::AnswerFromListing(Kind kind, std::string_view path) {
    const std::optional<ListablePath> split = SplitListablePath(path);
    if (!split)
        return std::nullopt;
    const FolderListing* listing = ListingFor(split->folder);
    if (!listing)
        return std::nullopt;
    switch (listing->Find(split->name)) {
        case FolderListing::Entry::Missing:
            return false;
        case FolderListing::Entry::Directory:
            return kind == Kind::Directory;
        case FolderListing::Entry::File:
            // Whether a file named with a closing backslash is found is the system's own rule.
            if (kind == Kind::File && split->trailingSeparator)
                return std::nullopt;
            return kind == Kind::File;
        case FolderListing::Entry::Unknown:
            break;
    }
    return std::nullopt;
}

const FolderListing* FileExistenceCache::ListingFor(std::string_view folder) {
    Folder& state = folders_[LowerAscii(folder)];
    if (!state.listed) {
        if (++state.questions < kQuestionsBeforeListing)
            return nullptr;
        state.listed = true;
        ++listings_;
        const std::vector<FolderEntry> entries = files_.ListFolder(folder);
        // The folder is known to exist (its parent rule ran first), so an empty listing means
        // it could not be read, or is an empty drive root: its entries are asked for directly.
        if (!entries.empty())
            state.listing.emplace(entries);
    }
    return state.listing ? &*state.listing : nullptr;
}

bool FileExistenceCache::AskFileSystem(Kind kind, std::string_view path) {
    ++existenceQueries_;
    return kind == Kind::File ? files_.FileExists(path) : files_.DirectoryExists(path);
}

uint32_t FileExistenceCache::DriveType(std::string_view rootFolder) {
    std::string key = CacheKey(rootFolder);
    const auto known = driveTypes_.find(key);
    if (known != driveTypes_.end())
        return known->second;
    ++driveTypeQueries_;
    const uint32_t type = files_.DriveType(rootFolder);
    driveTypes_.emplace(std::move(key), type);
    return type;
}

std::vector<FolderEntry> FileExistenceCache::ListFolder(std::string_view folder) {
    return files_.ListFolder(folder);
}

std::optional<std::string> FileExistenceCache::ExpandEnvironmentStrings(std::string_view text,
                                                                        size_t bufferChars) {
    return files_.ExpandEnvironmentStrings(text, bufferChars);
}

std::optional<std::string> FileExistenceCache::EnvironmentVariable(std::string_view name) {
    return files_.EnvironmentVariable(name);
}

std::string FileExistenceCache::SpecialFolderPath(int folder) {
    return files_.SpecialFolderPath(folder);
}

std::string FileExistenceCache::SystemFolder() {
    return files_.SystemFolder();
}

std::string FileExistenceCache::SystemWow64Folder() {
    return files_.SystemWow64Folder();
}

std::optional<std::string> FileExistenceCache::ResolveShortcutTarget(std::string_view linkPath) {
    return files_.ResolveShortcutTarget(linkPath);
}

}  // namespace vantrel
