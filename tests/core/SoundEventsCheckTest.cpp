// Sound and Appevents (18): event sounds of the schemes whose file is missing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using checktest::CheckCase;
using checktest::CheckFixture;
using checktest::ExpectRows;
using checktest::Row;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kSound = checktest::ProblemOf(checktest::kSoundEvents);
constexpr const char* kAsterisk =
    "HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\.Default\\SystemAsterisk\\";
constexpr RepairKind kDefault = RepairKind::DeleteDefaultValue;

TEST(SoundEventsCheck, JudgesOnlyTheSchemeSoundKeys) {
    ExpectRows(
        checktest::kSoundEvents,
        {
            {"a missing current sound",
             R"([HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\SystemAsterisk\.Current]
@="C:\\Media\\none.wav"
)",
             {Row{kSound, std::string(kAsterisk) + ".Current", "C:\\Media\\none.wav", kDefault}}},
            {"other scheme names are not judged",
             R"([HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\SystemAsterisk\.None]
@="C:\\Media\\none.wav"
[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\SystemAsterisk\Robot0]
@="C:\\Media\\none.wav"
[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\SystemAsterisk\.Current0]
@="C:\\Media\\none.wav"
)",
             {}},
            {"the name test ignores letter case",
             R"([HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\SystemAsterisk\.CURRENT]
@="C:\\Media\\a.wav"
[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\SystemAsterisk\Utopia0]
@="C:\\Media\\b.wav"
[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\SystemAsterisk\.default]
@="C:\\Media\\c.wav"
)",
             {Row{kSound, std::string(kAsterisk) + ".CURRENT", "C:\\Media\\a.wav", kDefault},
              Row{kSound, std::string(kAsterisk) + ".default", "C:\\Media\\c.wav", kDefault},
              Row{kSound, std::string(kAsterisk) + "Utopia0", "C:\\Media\\b.wav", kDefault}}},
            {"a bare file name, an empty sound, a present file, another drive",
             R"([HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\A\.Current]
@="ding.wav"
[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\B\.Current]
@=""
[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\C\.Current]
@="C:\\Lib\\present.dll"
[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\D\.Current]
@="D:\\Media\\gone.wav"
)",
             {}},
            {"the app's own key named like a sound key is judged",
             R"([HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default]
@="C:\\Media\\app.wav"
)",
             {Row{kSound, "HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\.Default",
                  "C:\\Media\\app.wav", kDefault}}},
            {"the starting key is not judged",
             R"([HKEY_CURRENT_USER\AppEvents\Schemes\Apps]
@="C:\\Media\\apps.wav"
)",
             {}},
            {"a number as the sound",
             R"([HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\A\.Current]
@=dword:00000001
)",
             {}},
            {"no scheme tree", "", {}},
        });
}

TEST(SoundEventsCheck, ShowsOnlyJudgedKeysWithAStringSound) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\A\.Current]
@="ding.wav"
[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\A\.None]
@="ding.wav"
[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\B\.Current]
@=dword:00000001
[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\C\.Current]
)");
    fixture.Run(checktest::kSoundEvents);
    EXPECT_EQ(fixture.sink.Events().front(),
              "caption " + checktest::ProgressCaptionOf(checktest::kSoundEvents));
    EXPECT_THAT(fixture.ProgressKeys(),
                ElementsAre("AppEvents\\Schemes\\Apps\\.Default\\A\\.Current"));
}

TEST(SoundEventsCheck, TheSoundsBelowAKeyThatCannotBeOpenedAreNotVisited) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CURRENT_USER\AppEvents\Schemes\Apps\Locked\Event\.Current]
@="C:\\Media\\locked.wav"
[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\Open\Event\.Current]
@="C:\\Media\\open.wav"
)");
    fixture.registry.RefuseOpen(RootKey::CurrentUser, "AppEvents\\Schemes\\Apps\\Locked");
    EXPECT_THAT(fixture.Run(checktest::kSoundEvents),
                ElementsAre(Row{
                    kSound, "HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\Open\\Event\\.Current",
                    "C:\\Media\\open.wav", kDefault}));
}

TEST(SoundEventsCheck, AReadErrorPassesOut) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\A\.Current]
@="C:\\Media\\a.wav"
)");
    fixture.registry.FailRead(RootKey::CurrentUser,
                              "AppEvents\\Schemes\\Apps\\.Default\\A\\.Current", "");
    EXPECT_THROW(fixture.Run(checktest::kSoundEvents), RegistryError);
    EXPECT_THAT(fixture.Rows(), IsEmpty());
}

}  // namespace
}  // namespace vantrel
