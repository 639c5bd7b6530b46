#include "platform/BackupFile.h"

namespace vantrel {
namespace {

std::string BackupFileMessage(std::string_view action, std::string_view path,
                              std::string_view reason) {
    std::string message(action);
    message += " \"";
    message += path;
    message += "\": ";
    message += reason;
    return message;
}

}  // namespace

BackupFileError::BackupFileError(std::string_view action, std::string_view path,
                                 std::string_view reason)
    : std::runtime_error(BackupFileMessage(action, path, reason)) {}

}  // namespace vantrel
