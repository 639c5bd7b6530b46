#pragma once

#include <string>

namespace vantrel {

// The folder of this program's executable, without a trailing backslash ("." when the system
// cannot say). The settings file and the default backup folder live there.
std::string ExecutableFolder();

}  // namespace vantrel
