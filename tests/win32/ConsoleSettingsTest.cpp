// vantrel-scan reads its settings as the window does: the same options.ini beside it gives the
// same record, and without one both start from the same defaults.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "console/ConsoleSettings.h"
#include "tests/support/OptionsRecordText.h"
#include "tests/win32/MainWindowDriver.h"
#include "tests/win32/ScratchArea.h"

namespace vantrel {
namespace {

using test::OptionsRecordText;

TEST(ConsoleSettings, LoadsWhatTheWindowLoads) {
    struct Case {
        const char* name;
        const char* optionsFile;  // nullptr: no options.ini
    };
    const Case cases[] = {
        {"no options.ini", nullptr},
        {"an options.ini",
         "[Options]\r\nOutputDirectory=D:\\Backups\r\nDeleteBackupFile=0\r\n"
         "[TreeViewNodeCheck]\r\n5=0\r\n[IgnoreValue]\r\nCount=1\r\nValue1=HKEY_A\\v\r\n"
         "[IgnoreKey]\r\nCount=1\r\nKey1=HKEY_CURRENT_USER\\Software\\X\r\n[Skin]\r\nIndex=3\r\n"},
    };
    for (const Case& c : cases) {
        test::ScratchFolder folder;
        if (c.optionsFile)
            std::ofstream(folder.Path("options.ini"), std::ios::binary) << c.optionsFile;
        const OptionsSetting console = LoadConsoleSettings(folder.Path());
        test::MainWindowUnderTest main(folder.Path());
        EXPECT_EQ(OptionsRecordText(console), OptionsRecordText(main.Window().Options())) << c.name;
        if (!c.optionsFile) {
            EXPECT_EQ(OptionsRecordText(console), OptionsRecordText(DefaultOptions(folder.Path())))
                << c.name;
        }
    }
}

}  // namespace
}  // namespace vantrel
