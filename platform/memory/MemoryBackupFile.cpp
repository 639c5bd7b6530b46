#include "platform/memory/MemoryBackupFile.h"

#include "platform/TextCase.h"

namespace vantrel {
namespace {

constexpr std::string_view kAccessDenied = "Access is denied.";
constexpr std::string_view kDiskFull = "There is not enough space on the disk.";
constexpr std::string_view kDeviceError =
    "The request could not be performed because of an I/O device error.";
constexpr std::string_view kFileExists = "The file exists.";
constexpr std::string_view kFileNotFound = "The system cannot find the file specified.";

}  // namespace

bool MemoryBackupFile::Exists(std::string_view path) {
    return files_.count(UpperAscii(path)) != 0;
}

void MemoryBackupFile::Create(std::string_view path, std::string_view text) {
    if (refuseCreate_)
        throw BackupFileError("Cannot create", path, kAccessDenied);
    if (Exists(path))
        throw BackupFileError("Cannot create", path, kFileExists);
    // A failed write leaves no file behind, as the contract asks.
    SpendOneWrite(path);
    files_[UpperAscii(path)] = File{std::string(text), std::nullopt};
}

void MemoryBackupFile::Append(std::string_view path, std::string_view text) {
    const auto file = files_.find(UpperAscii(path));
    if (file == files_.end())
        throw BackupFileError("Cannot open", path, kFileNotFound);
    // A failed write leaves the file as it was, as the contract asks.
    SpendOneWrite(path);
    file->second.text += text;
}

void MemoryBackupFile::Commit(std::string_view path) {
    const auto file = files_.find(UpperAscii(path));
    if (file == files_.end())
        throw BackupFileError("Cannot open", path, kFileNotFound);
    if (commitsLeft_) {
        if (*commitsLeft_ == 0)
            throw BackupFileError("Cannot write", path, kDeviceError);
        --*commitsLeft_;
    }
    file->second.committed = file->second.text;
    ++commitCount_;
}

std::string MemoryBackupFile::Read(std::string_view path) {
    const auto file = files_.find(UpperAscii(path));
    if (file == files_.end())
        throw BackupFileError("Cannot open", path, kFileNotFound);
    return file->second.text;
}

std::optional<std::string> MemoryBackupFile::Contents(std::string_view path) const {
    const auto file = files_.find(UpperAscii(path));
    if (file == files_.end())
        return std::nullopt;
    return file->second.text;
}

std::optional<std::string> MemoryBackupFile::CommittedContents(std::string_view path) const {
    const auto file = files_.find(UpperAscii(path));
    if (file == files_.end())
        return std::nullopt;
    return file->second.committed;
}

void MemoryBackupFile::SpendOneWrite(std::string_view path) {
    if (writesLeft_) {
        if (*writesLeft_ == 0)
            throw BackupFileError("Cannot write", path, kDiskFull);
        --*writesLeft_;
    }
    ++writeCount_;
}

}  // namespace vantrel
