// The default-value walk and the File Extensions and Services checks against Wine's registry
// and files, through the real adapters.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "scan/CheckTable.h"
#include "scan/ScanContext.h"
#include "scan/checks/DefaultValueWalker.h"
#include "tests/core/RecordingSink.h"
#include "tests/win32/ScratchArea.h"

namespace vantrel {
namespace {

using ::testing::ElementsAre;
using ::testing::Field;

class DefaultValueWalkerWineTest : public ::testing::Test {
  protected:
    // Rows of the walk alone carry the problem "Caption".
    ScanContext MakeContext() {
        ScanContext context(registry_, files_, ComputeFixedDriveLetters(files_),
                            WindowsVersion::Nt52OrLater, sink_, stop_);
        context.BeginCheck(walkerCheck_);
        return context;
    }
    std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

    const CategoryNode walkerCheck_{0, 1, "Walker", nullptr, "Caption", nullptr, {}};
    Win32Registry registry_;
    Win32FileSystem files_;
    test::RecordingSink sink_;
    std::atomic<bool> stop_{false};
    test::ScratchKey scratch_;
    test::ScratchFolder folder_;
};

TEST_F(DefaultValueWalkerWineTest, JudgesDefaultStringsOfTheRealRegistry) {
    folder_.CreateFile(L"present.dll");
    scratch_.CreateKey(L"CLSID\\{A}\\InprocServer32");
    scratch_.CreateKey(L"CLSID\\{B}\\InprocServer32");
    scratch_.CreateKey(L"CLSID\\{C}\\LocalServer32");
    const std::wstring present = Wide(folder_.Path("present.dll"));
    const std::wstring missing = Wide(folder_.Path("gone.dll"));
    auto setDefault = [&](const std::wstring& key, const std::wstring& text, DWORD type) {
        const std::wstring stored = text;
        scratch_.SetValue(
            L"", type, test::WideBytes(std::wstring_view(stored.c_str(), stored.size() + 1)), key);
    };
    setDefault(L"CLSID\\{A}\\InprocServer32", present, REG_SZ);
    setDefault(L"CLSID\\{B}\\InprocServer32", missing, REG_EXPAND_SZ);
    scratch_.SetValue(L"", REG_DWORD, {1, 0, 0, 0}, L"CLSID\\{C}\\LocalServer32");

    ScanContext context = MakeContext();
    const DefaultValueWalkRules rules{RepairKind::DeleteKey, nullptr, true};
    WalkDefaultValues(context, RootKey::CurrentUser, scratch_.Path("CLSID"), rules);
    EXPECT_THAT(sink_.Issues(),
                ElementsAre(ScanIssue{
                    "Caption", "HKEY_CURRENT_USER\\" + scratch_.Path("CLSID\\{B}\\InprocServer32"),
                    folder_.Path("gone.dll"), RepairKind::DeleteKey}));
}

// The prefix's own services, extensions and sound schemes hold every kind of value; the type
// tests keep each of them from ending the check with a read error.
TEST_F(DefaultValueWalkerWineTest, TheRealClassAndServiceTreesScanWithoutError) {
    ScanContext context = MakeContext();
    for (const int check : {15, 12, 18}) {
        SCOPED_TRACE(check);
        EXPECT_NO_THROW(RunCheck(CheckId(check), context));
    }
}

}  // namespace
}  // namespace vantrel
