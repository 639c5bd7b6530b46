#include "scan/FolderListing.h"

#include "platform/TextCase.h"

namespace vantrel {

namespace {

bool IsPlainAsciiWithoutTilde(std::string_view name) {
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7f || c == '~')
            return false;
    }
    return true;
}

}  // namespace

FolderListing::FolderListing(const std::vector<FolderEntry>& entries) {
    for (const FolderEntry& entry : entries) {
        if (!IsPlainAsciiWithoutTilde(entry.name))
            absenceIsExact_ = false;
        // Whether the system sees through a link, and what it finds there, is its own affair.
        const Entry kind = entry.IsReparsePoint() ? Entry::Unknown
                           : entry.IsDirectory()  ? Entry::Directory
                                                  : Entry::File;
        const auto [known, added] = entries_.emplace(LowerAscii(entry.name), kind);
        // A case-sensitive folder may hold "a" and "A"; which one the system picks is its own.
        if (!added && known->second != kind)
            known->second = Entry::Unknown;
    }
}

FolderListing::Entry FolderListing::Find(std::string_view name) const {
    key_.assign(name);
    for (char& c : key_)
        c = LowerAscii(c);
    const auto found = entries_.find(key_);
    if (found != entries_.end())
        return found->second;
    return absenceIsExact_ ? Entry::Missing : Entry::Unknown;
}

}  // namespace vantrel
