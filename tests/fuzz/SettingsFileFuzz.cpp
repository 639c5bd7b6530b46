// Any bytes as "options.ini": the load neither crashes nor grows without bound (libFuzzer's
// memory limit; the ignore lists stop at their limit), and a load, a save into the same file
// and a second load give the same record and put the main window in the same place.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/memory/MemoryIniFile.h"
#include "settings/OptionsSetting.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/FakeOptionsWindow.h"
#include "tests/support/OptionsRecordText.h"

namespace vantrel {
namespace {

constexpr std::string_view kExeFolder = "C:\\Tools\\";
constexpr size_t kRoundTripEntries = 300;

// The record as one text, escaped to be readable, and where the window stands.
std::string Describe(const OptionsSetting& options, const WindowRect& bounds) {
    return fuzz::Quoted(test::OptionsRecordText(options)) + ", window " +
           std::to_string(bounds.left) + "," + std::to_string(bounds.top) + " " +
           std::to_string(bounds.width) + "x" + std::to_string(bounds.height);
}

// The tree shows the ticks the load gave it, and the system reports the show state the load
// asked for.
void ShowAsLoaded(const OptionsSetting& options, test::FakeOptionsWindow& window) {
    window.treeTicks = options.CategoryTicks;
    window.showCommand = options.WindowState == WindowShowState::Maximized ? showcommand::kMaximized
                                                                           : showcommand::kNormal;
}

}  // namespace
}  // namespace vantrel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    MemoryIniFile file = MemoryIniFile::WithText(fuzz::AsText(data, size));

    OptionsSetting first;
    test::FakeOptionsWindow firstWindow;
    LoadOptions(file, kExeFolder, firstWindow, first);
    if (first.IgnoreValueList.size() > static_cast<size_t>(kMaxIgnoreEntries) ||
        first.IgnoreKeyList.size() > static_cast<size_t>(kMaxIgnoreEntries)) {
        fuzz::Fail("an ignore list longer than its limit");
    }

    // The memory file writes a key in time proportional to its lines, so a save of lists near
    // their limit takes minutes here; the round trip is checked for the lists of a user.
    if (first.IgnoreValueList.size() + first.IgnoreKeyList.size() > kRoundTripEntries)
        return 0;
    ShowAsLoaded(first, firstWindow);
    SaveOptions(file, firstWindow, first);
    OptionsSetting second;
    test::FakeOptionsWindow secondWindow;
    LoadOptions(file, kExeFolder, secondWindow, second);
    if (test::OptionsRecordText(first) != test::OptionsRecordText(second) ||
        !(firstWindow.bounds == secondWindow.bounds)) {
        fuzz::Fail("loaded " + Describe(first, firstWindow.bounds) + "; saved and loaded again " +
                   Describe(second, secondWindow.bounds));
    }
    return 0;
}
