#pragma once

#include <string_view>

#include "settings/OptionsSetting.h"

namespace vantrel {

// The console companion's settings: those of the options.ini in the executable's folder, loaded
// as the window loads them (DefaultOptions without the file). Read only: the console never writes
// the file.
OptionsSetting LoadConsoleSettings(std::string_view executableFolder);

}  // namespace vantrel
