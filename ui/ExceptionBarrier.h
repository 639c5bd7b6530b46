#pragma once

#include <exception>

#include "platform/Prompts.h"

namespace vantrel {

// Shows an error that reached a window procedure, a subclass procedure or a system callback:
// through `prompts` (the error box, "Vantrel" caption and error icon), or as a plain error box
// when there is no window to ask through. Never throws.
void ReportUnhandledError(Prompts* prompts, const char* text) noexcept;

// Runs `body` and keeps whatever it raises from crossing into Windows: the error is shown with
// ReportUnhandledError and false is returned.
template <typename Body>
bool RunGuarded(Prompts* prompts, Body&& body) noexcept {
    try {
        body();
        return true;
    } catch (const std::exception& error) {
        ReportUnhandledError(prompts, error.what());
    } catch (...) {
        ReportUnhandledError(prompts, "An unexpected error occurred.");
    }
    return false;
}

}  // namespace vantrel
