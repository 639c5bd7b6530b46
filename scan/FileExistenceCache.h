#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/ForwardingFileSystem.h"
#include "scan/FolderListing.h"

namespace vantrel {

// The file system as one scan sees it: existence answers are remembered for the scan's length,
// nothing is looked for inside a folder already known to be missing, and a folder asked about
// repeatedly is listed once so that later questions about plain names in it are answered from
// the listing. Every answer equals the wrapped file system's own. Used from one thread at a
// time, like the file system it wraps.
class FileExistenceCache : public ForwardingFileSystem {
  public:
    // A folder is listed on its second question: a folder asked about once costs one query, not
    // a listing of, say, the whole system folder, and from the second question on a listing
    // (one search, answered from one directory read) costs about what a query does.
    static constexpr size_t kQuestionsBeforeListing = 2;

    explicit FileExistenceCache(FileSystem& files);
    FileExistenceCache(const FileExistenceCache&) = delete;
    FileExistenceCache& operator=(const FileExistenceCache&) = delete;

    bool FileExists(std::string_view path) override;
    bool DirectoryExists(std::string_view path) override;
    uint32_t DriveType(std::string_view rootFolder) override;

    // Everything the cache passed on to the wrapped file system to answer existence and drive
    // type questions: direct queries and folder listings.
    size_t RealQueries() const { return DirectQueries() + listings_; }
    // FileExists, DirectoryExists and DriveType questions passed on.
    size_t DirectQueries() const { return existenceQueries_ + driveTypeQueries_; }
    size_t ExistenceQueries() const { return existenceQueries_; }
    size_t DriveTypeQueries() const { return driveTypeQueries_; }
    // Folders listed to answer existence questions (each at most once).
    size_t ListingCount() const { return listings_; }

  private:
    enum class Kind { File, Directory };

    // What is known of one path: each question is answered once, and a listing answers both.
    struct Answer {
        std::optional<bool> file;
        std::optional<bool> directory;
        std::optional<bool>& Of(Kind kind);
    };

    struct Folder {
        size_t questions = 0;
        // Set once listed; empty when the listing cannot stand in for the system's answers.
        std::optional<FolderListing> listing;
        bool listed = false;
    };

    bool Exists(Kind kind, std::string_view path);
    bool AskFileSystem(Kind kind, std::string_view path);
    bool ParentIsMissing(std::string_view path);
    // Adds to answer what the folder's listing tells of the path, if anything.
    void AddListedAnswer(std::string_view path, Answer& answer);
    const FolderListing* ListingFor(std::string_view folder);

    std::unordered_map<std::string, Answer> answers_;  // by MakeCacheKey's key
    std::unordered_map<std::string, uint32_t> driveTypes_;
    std::unordered_map<std::string, Folder> folders_;  // keyed by lower-case folder path
    // Where each question's key is made, so that a known answer is found without allocating.
    std::string key_;
    size_t existenceQueries_ = 0;
    size_t driveTypeQueries_ = 0;
    size_t listings_ = 0;
};

}  // namespace vantrel
