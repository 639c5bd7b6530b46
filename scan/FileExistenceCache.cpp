#include "scan/FileExistenceCache.h"

#include "platform/TextCase.h"
#include "scan/ListablePath.h"

namespace vantrel {

namespace {

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
// The key is written into a buffer that the caller reuses: a known answer costs no allocation.
void MakeCacheKey(std::string_view path, std::string& key) {
    key.assign(path);
    if (!IsPlainAscii(path))
        return;
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
}

}  // namespace

FileExistenceCache::FileExistenceCache(FileSystem& files) : ForwardingFileSystem(files) {}

bool FileExistenceCache::FileExists(std::string_view path) {
    return Exists(Kind::File, path);
}

bool FileExistenceCache::DirectoryExists(std::string_view path) {
    return Exists(Kind::Directory, path);
}

std::optional<bool>& FileExistenceCache::Answer::Of(Kind kind) {
    return kind == Kind::File ? file : directory;
}

bool FileExistenceCache::Exists(Kind kind, std::string_view path) {
    MakeCacheKey(path, key_);
    Answer answer;
    const auto known = answers_.find(key_);
    if (known != answers_.end()) {
        if (const std::optional<bool> exists = known->second.Of(kind))
            return *exists;
        answer = known->second;
    }
    // The questions below reuse the buffer.
    std::string key = key_;
    if (ParentIsMissing(path)) {
        answer.file = false;
        answer.directory = false;
    } else {
        AddListedAnswer(path, answer);
        if (!answer.Of(kind))
            answer.Of(kind) = AskFileSystem(kind, path);
    }
    const bool exists = *answer.Of(kind);
    answers_.insert_or_assign(std::move(key), answer);
    return exists;
}

bool FileExistenceCache::ParentIsMissing(std::string_view path) {
    const std::optional<std::string_view> parent = ParentFolderOf(path);
    return parent && !DirectoryExists(*parent);
}

// One listing answers both questions about an entry, as far as it tells the system's answers.
void FileExistenceCache::AddListedAnswer(std::string_view path, Answer& answer) {
    const std::optional<ListablePath> split = SplitListablePath(path);
    if (!split)
        return;
    const FolderListing* listing = ListingFor(split->folder);
    if (!listing)
        return;
    switch (listing->Find(split->name)) {
        case FolderListing::Entry::Missing:
            answer.file = false;
            answer.directory = false;
            break;
        case FolderListing::Entry::Directory:
            answer.file = false;
            answer.directory = true;
            break;
        case FolderListing::Entry::File:
            answer.directory = false;
            // Whether a file named with a closing backslash is found is the system's own rule.
            if (!split->trailingSeparator)
                answer.file = true;
            break;
        case FolderListing::Entry::Unknown:
            break;
    }
}

const FolderListing* FileExistenceCache::ListingFor(std::string_view folder) {
    MakeCacheKey(folder, key_);
    auto known = folders_.find(key_);
    if (known == folders_.end())
        known = folders_.emplace(key_, Folder{}).first;
    Folder& state = known->second;
    if (!state.listed) {
        if (++state.questions < kQuestionsBeforeListing)
            return nullptr;
        state.listed = true;
        ++listings_;
        const std::vector<FolderEntry> entries = Inner().ListFolder(folder);
        // The folder is known to exist (its parent rule ran first), so an empty listing means
        // it could not be read, or is an empty drive root: its entries are asked for directly.
        if (!entries.empty())
            state.listing.emplace(entries);
    }
    return state.listing ? &*state.listing : nullptr;
}

bool FileExistenceCache::AskFileSystem(Kind kind, std::string_view path) {
    ++existenceQueries_;
    return kind == Kind::File ? Inner().FileExists(path) : Inner().DirectoryExists(path);
}

uint32_t FileExistenceCache::DriveType(std::string_view rootFolder) {
    MakeCacheKey(rootFolder, key_);
    const auto known = driveTypes_.find(key_);
    if (known != driveTypes_.end())
        return known->second;
    std::string key = key_;
    ++driveTypeQueries_;
    const uint32_t type = Inner().DriveType(rootFolder);
    driveTypes_.emplace(std::move(key), type);
    return type;
}

}  // namespace vantrel
