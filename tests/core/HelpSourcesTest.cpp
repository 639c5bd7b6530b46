// The help's pages against the check table: every category has its page, listed in the help
// project and in its contents, and every problem caption of the list leads there from the index
// and from the table of captions; every page is compiled and in the contents. Read from the
// source tree, so natively only.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "scan/CheckTable.h"
#include "tests/support/TextFiles.h"

namespace vantrel {
namespace {

const std::string kHelpFolder = std::string(VANTREL_SOURCE_DIR) + "/help/";

std::string ReadHelpSource(const std::string& name) {
    return test::ReadFile(kHelpFolder + name);
}

// An entry of the index: the keyword and the page it opens, as Vantrel.hhk writes them.
std::string IndexEntry(const std::string& keyword, const std::string& page) {
    return "<param name=\"Name\" value=\"" + keyword + "\">\r\n<param name=\"Local\" value=\"" +
           page + "\">";
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

TEST(HelpSources, EveryProblemCaptionLeadsToItsCategoryPage) {
    const std::string index = ReadHelpSource("Vantrel.hhk");
    const std::string captions = ReadHelpSource("problems.html");
    ASSERT_FALSE(index.empty());
    ASSERT_FALSE(captions.empty());
    for (const CategoryNode* check : ChecksInIdOrder()) {
        SCOPED_TRACE(check->problemCaption);
        const std::string page = CategoryPageName(check->Id());
        // The index finds the caption as the list's first column shows it.
        EXPECT_NE(index.find(IndexEntry(check->problemCaption, page)), std::string::npos);
        // The table of captions gives it a row of its own, with a link to the page.
        const size_t row = captions.find(std::string("<tr><td>") + check->problemCaption + "</td>");
        ASSERT_NE(row, std::string::npos) << "not in the table of captions";
        const std::string rowText = captions.substr(row, captions.find("</tr>", row) - row);
        EXPECT_NE(rowText.find("href=\"" + page + "\""), std::string::npos) << rowText;
    }
}

TEST(HelpSources, EveryPageIsCompiledAndInTheContents) {
    const std::string project = ReadHelpSource("Vantrel.hhp");
    const std::string contents = ReadHelpSource("Vantrel.hhc");
    std::vector<std::string> pages;
    for (const auto& file : std::filesystem::directory_iterator(kHelpFolder)) {
        if (file.path().extension() == ".html")
            pages.push_back(file.path().filename().string());
    }
    ASSERT_FALSE(pages.empty());
    for (const std::string& name : pages) {
        SCOPED_TRACE(name);
        EXPECT_NE(project.find("\r\n" + name + "\r\n"), std::string::npos) << "not compiled";
        EXPECT_NE(contents.find("\"" + name + "\""), std::string::npos) << "not in the contents";
    }
}

}  // namespace
}  // namespace vantrel

#endif
