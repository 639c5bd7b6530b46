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
constexpr std::string_view kNotEmpty = "The directory is not empty.";

std::string UpperFolder(std::string_view path) {
    while (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    return UpperAscii(path);
}

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

void MemoryBackupFile::CreateFolder(std::string_view path) {
    if (refuseCreate_)
        throw BackupFileError("Cannot create", path, kAccessDenied);
    std::string folder = UpperFolder(path);
    if (files_.count(folder) != 0)
        throw BackupFileError("Cannot create", path, kFileExists);
    // The folder and each of its parents, up to the drive ("C:").
    while (folder.size() > 2) {
        folders_.insert(folder);
        const auto slash = folder.find_last_of('\\');
        if (slash == std::string::npos)
            break;
        folder.resize(slash);
    }
}

void MemoryBackupFile::Remove(std::string_view path) {
    if (folders_.count(UpperFolder(path)) != 0)
        throw BackupFileError("Cannot delete", path, kAccessDenied);
    files_.erase(UpperAscii(path));
}

void MemoryBackupFile::RemoveFolder(std::string_view path) {
    const std::string folder = UpperFolder(path);
    if (files_.count(folder) != 0 || HoldsAnything(folder))
        throw BackupFileError("Cannot delete", path,
                              files_.count(folder) != 0 ? kAccessDenied : kNotEmpty);
    folders_.erase(folder);
}

bool MemoryBackupFile::FolderExists(std::string_view path) const {
    return folders_.count(UpperFolder(path)) != 0;
}

bool MemoryBackupFile::HoldsAnything(const std::string& upperFolder) const {
    const std::string prefix = upperFolder + "\\";
    const auto below = [&](const std::string& path) { return path.rfind(prefix, 0) == 0; };
    const auto file = files_.lower_bound(prefix);
    if (file != files_.end() && below(file->first))
        return true;
    const auto folder = folders_.lower_bound(prefix);
    return folder != folders_.end() && below(*folder);
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
