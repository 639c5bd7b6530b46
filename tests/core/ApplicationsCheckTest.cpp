// Applications: each shell command of an "Open with" registration, judged by the application's
// name.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/checks/CommandSearch.h"
#include "tests/core/CheckTestFixture.h"

namespace vantrel {
namespace {

using checktest::CheckFixture;
using checktest::ExpectRows;
using checktest::Row;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kIssue = checktest::ProblemOf(checktest::kApplications);
constexpr RepairKind kDefault = RepairKind::DeleteDefaultValue;
const std::string kApps = "HKEY_LOCAL_MACHINE\\Software\\Classes\\Applications";

TEST(ApplicationsCheck, ReportsCommandsWhoseApplicationFileIsGone) {
    ExpectRows(
        checktest::kApplications,
        {
            {"two verbs naming the missing program give two rows, in the registry's order",
             R"([HKEY_LOCAL_MACHINE\Software\Classes\Applications\old.exe\shell\open\command]
@="C:\\Old\\old.exe %1"
[HKEY_LOCAL_MACHINE\Software\Classes\Applications\old.exe\shell\edit\command]
@="\"C:\\OLD\\OLD.EXE\" /edit \"%1\""
)",
             {{kIssue, kApps + "\\old.exe\\shell\\edit\\command",
               "\"C:\\OLD\\OLD.EXE\" /edit \"%1\"", kDefault},
              {kIssue, kApps + "\\old.exe\\shell\\open\\command", "C:\\Old\\old.exe %1",
               kDefault}}},
            {"a command naming another program, an existing program, a non-fixed drive",
             R"([HKEY_LOCAL_MACHINE\Software\Classes\Applications\wordpad.exe\shell\open\command]
@="C:\\Windows\\notepad.exe %1"
[HKEY_LOCAL_MACHINE\Software\Classes\Applications\app.exe\shell\open\command]
@="\"C:\\Program Files\\App\\app.exe\" \"%1\""
[HKEY_LOCAL_MACHINE\Software\Classes\Applications\tool.exe\shell\open\command]
@="D:\\Tools\\tool.exe %1"
)",
             {}},
            {"empty, missing, named-only or non-string command values are passed over",
             R"([HKEY_LOCAL_MACHINE\Software\Classes\Applications\old.exe\shell\empty\command]
@=""
[HKEY_LOCAL_MACHINE\Software\Classes\Applications\old.exe\shell\named\command]
"Other"="C:\\Old\\old.exe"
[HKEY_LOCAL_MACHINE\Software\Classes\Applications\old.exe\shell\number\command]
@=dword:00000001
[HKEY_LOCAL_MACHINE\Software\Classes\Applications\old.exe\shell\binary\command]
@=hex:43,3a,5c
)",
             {}},
            {"a key holding a command is searched further down once passed",
             R"([HKEY_LOCAL_MACHINE\Software\Classes\Applications\old.exe\shell\open\command]
@="C:\\Old\\old.exe"
[HKEY_LOCAL_MACHINE\Software\Classes\Applications\old.exe\shell\open\inner\command]
@="C:\\Old\\old.exe /inner"
[HKEY_LOCAL_MACHINE\Software\Classes\Applications\old.exe\shell\print\command]
@="C:\\Old\\old.exe /p"
[HKEY_LOCAL_MACHINE\Software\Classes\Applications\gone.exe\command]
@="C:\\Gone\\gone.exe"
)",
             {{kIssue, kApps + "\\gone.exe\\command", "C:\\Gone\\gone.exe", kDefault},
              {kIssue, kApps + "\\old.exe\\shell\\open\\command", "C:\\Old\\old.exe", kDefault},
              {kIssue, kApps + "\\old.exe\\shell\\open\\inner\\command", "C:\\Old\\old.exe /inner",
               kDefault},
              {kIssue, kApps + "\\old.exe\\shell\\print\\command", "C:\\Old\\old.exe /p",
               kDefault}}},
        });
}

TEST(ApplicationsCheck, SetsNoCaptionAndShowsEachApplicationsKey) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Classes\Applications\a.exe]
[HKEY_LOCAL_MACHINE\Software\Classes\Applications\b.exe\shell]
)");
    EXPECT_THAT(fixture.Run(checktest::kApplications), IsEmpty());
    EXPECT_THAT(fixture.sink.Events(), ElementsAre("key Software\\Classes\\Applications\\a.exe",
                                                   "key Software\\Classes\\Applications\\b.exe"));
}

TEST(ApplicationsCheck, AnUnreadableCommandIsPassedOverAndTheCheckGoesOn) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Classes\Applications\a.exe\shell\open\command]
@="C:\\Old\\a.exe"
[HKEY_LOCAL_MACHINE\Software\Classes\Applications\a.exe\shell\edit\command]
@="C:\\Old\\a.exe /e"
[HKEY_LOCAL_MACHINE\Software\Classes\Applications\b.exe\shell\open\command]
@="C:\\Old\\b.exe"
)");
    fixture.registry.FailRead(RootKey::LocalMachine,
                              "Software\\Classes\\Applications\\a.exe\\shell\\open\\command", "");
    EXPECT_THAT(
        fixture.Run(checktest::kApplications),
        ElementsAre(
            Row{kIssue, kApps + "\\a.exe\\shell\\edit\\command", "C:\\Old\\a.exe /e", kDefault},
            Row{kIssue, kApps + "\\b.exe\\shell\\open\\command", "C:\\Old\\b.exe", kDefault}));
}

TEST(ApplicationsCheck, AMissingApplicationsKeyGivesNoRowsAndAStopIsNotSwallowed) {
    CheckFixture missing;
    EXPECT_THAT(missing.Run(checktest::kApplications), IsEmpty());

    CheckFixture stopped;
    stopped.Load(R"([HKEY_LOCAL_MACHINE\Software\Classes\Applications\a.exe\shell\open\command]
@="C:\\Old\\a.exe"
[HKEY_LOCAL_MACHINE\Software\Classes\Applications\b.exe\shell\open\command]
@="C:\\Old\\b.exe"
)");
    stopped.sink.onIssue = [&](const ScanIssue&) { stopped.stop = true; };
    EXPECT_THROW(stopped.Run(checktest::kApplications), ScanStopped);
    EXPECT_EQ(stopped.Rows().size(), 1u);
}

TEST(CommandSearch, FindsTheCommandsInWalkOrderNestedOnesIncluded) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Classes\Applications\x.exe\shell\open\command]
@="open text"
[HKEY_LOCAL_MACHINE\Software\Classes\Applications\x.exe\shell\open\command\command]
@="nested text"
[HKEY_LOCAL_MACHINE\Software\Classes\Applications\x.exe\shell\print\command]
@="print text"
)");
    ScanContext context = fixture.WalkerContext();
    const std::string start = "Software\\Classes\\Applications\\x.exe";
    std::vector<std::pair<std::string, std::string>> found;
    const auto collect = [&](const std::string& keyPath, const std::string& text) {
        found.emplace_back(keyPath, text);
    };
    ForEachCommand(context, RootKey::LocalMachine, start, "command", "", collect);
    EXPECT_THAT(
        found,
        ElementsAre(
            std::pair<std::string, std::string>(start + "\\shell\\open", "open text"),
            std::pair<std::string, std::string>(start + "\\shell\\open\\command", "nested text"),
            std::pair<std::string, std::string>(start + "\\shell\\print", "print text")));
    // A start path that does not exist finds nothing.
    found.clear();
    ForEachCommand(context, RootKey::LocalMachine, start + "\\none", "command", "", collect);
    EXPECT_TRUE(found.empty());
}

// A link holds another key's contents, met by that key's own path: neither a link below an
// application nor a command key that is a link gives a row under the link's path.
TEST(CommandSearch, NeverReadsACommandThroughALink) {
    CheckFixture fixture;
    fixture.Load(R"([HKEY_LOCAL_MACHINE\Software\Vendor\shell\open\command]
@="C:\\Old\\x.exe"
[HKEY_LOCAL_MACHINE\Software\Vendor\command]
@="C:\\Old\\x.exe"
[HKEY_LOCAL_MACHINE\Software\Classes\Applications\x.exe\shell\edit]
)");
    const std::string app = "Software\\Classes\\Applications\\x.exe";
    fixture.registry.AddLink(RootKey::LocalMachine, app + "\\Linked", RootKey::LocalMachine,
                             "Software\\Vendor");
    fixture.registry.AddLink(RootKey::LocalMachine, app + "\\shell\\edit\\command",
                             RootKey::LocalMachine, "Software\\Vendor\\command");
    EXPECT_THAT(fixture.Run(checktest::kApplications), IsEmpty());
}

}  // namespace
}  // namespace vantrel
