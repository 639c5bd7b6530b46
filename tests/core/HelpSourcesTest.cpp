// The help's pages against the check table: every category has its page, listed in the help
// project and in its contents. Read from the source tree, so natively only.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "scan/CheckTable.h"
#include "tests/support/TextFiles.h"

namespace vantrel {
namespace {

std::string ReadHelpSource(const std::string& name) {
    return test::ReadFile(std::string(VANTREL_SOURCE_DIR) + "/help/" + name);
}

std::string CategoryPageName(CheckId id) {
    char name[32];
    std::snprintf(name, sizeof name, "category-%02d.html", id.Number());
    return name;
}

TEST(HelpSources, EveryCategoryHasItsPageInTheProjectAndTheContents) {
    const std::string project = ReadHelpSource("Vantrel.hhp");
    const std::string contents = ReadHelpSource("Vantrel.hhc");
    ASSERT_FALSE(project.empty());
    ASSERT_FALSE(contents.empty());
    for (const CategoryNode* check : ChecksInIdOrder()) {
        SCOPED_TRACE(check->treeCaption);
        const std::string name = CategoryPageName(check->Id());
        const std::string page = ReadHelpSource(name);
        ASSERT_FALSE(page.empty()) << name << " is missing";
        // The page says which category it is, by the name the tree shows.
        EXPECT_NE(page.find(std::string("<h1>") + check->treeCaption), std::string::npos);
        EXPECT_NE(project.find(name + "\r\n"), std::string::npos) << "not compiled into the help";
        EXPECT_NE(contents.find("\"" + name + "\""), std::string::npos) << "not in the contents";
    }
}

}  // namespace
}  // namespace vantrel

#endif
