#pragma once

#include "settings/OptionsSetting.h"

namespace vantrel {

// The console companion's settings: those of the options.ini beside the executable when that
// file exists, the defaults otherwise (backup folder "backup" beside the executable, no ignore
// entries). Read only: the console never writes the file.
OptionsSetting LoadConsoleSettings();

}  // namespace vantrel
