#include "ui/ExceptionBarrier.h"

#include <windows.h>

#include "platform/ProductVersion.h"

namespace vantrel {

void ReportUnhandledError(Prompts* prompts, const char* text) noexcept {
    if (prompts != nullptr) {
        try {
            prompts->ShowError(text);
            return;
        } catch (...) {
            // The prompts themselves failed: the plain box below still tells the user.
        }
    }
    ::MessageBoxA(nullptr, text, kProductName, MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace vantrel
