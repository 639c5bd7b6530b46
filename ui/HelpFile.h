#pragma once

#include <string>
#include <string_view>

#include "platform/ShellOpener.h"

namespace vantrel {

// The help file beside the program.
constexpr const char* kHelpFileName = "Vantrel.chm";
// The program that shows one page of it (a compiled help file opens at its start page only).
constexpr const char* kHelpViewer = "hh.exe";

// The viewer's argument that opens `page` of the help file in `folder`.
std::string HelpPageArgument(std::string_view folder, std::string_view page);
// F1 in a dialog or the scan window: `page` of the help file beside the program, in the viewer.
void OpenHelpPage(ShellOpener& shell, std::string_view page);

}  // namespace vantrel
