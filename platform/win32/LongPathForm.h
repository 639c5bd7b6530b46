#pragma once

#include <string>

namespace vantrel {

// A path of MAX_PATH characters or more in its "\\?\" form (full, with "." and ".." resolved),
// which every Windows opens whatever its long-path setting: in the plain form such a path fails
// to open on most machines and would look missing. Shorter paths, and paths already in a "\\?\"
// or "\\.\" form, are given back as they are.
std::wstring LongPathForm(const std::wstring& path);

}  // namespace vantrel
