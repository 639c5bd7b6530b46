// The per-scan existence cache against the uncached file system on Wine's real drive C:: every
// answer must be the same, whatever order the questions come in. The paths are the questions
// the path tests ask for the benchmark's registry values, plus spellings that Windows resolves
// in ways a cache could get wrong.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/ForwardingFileSystem.h"
#include "platform/TextCase.h"
#include "platform/win32/Win32FileSystem.h"
#include "scan/FileExistenceCache.h"
#include "scan/PathTests.h"
#include "tests/support/win32/BenchData.h"

// <windows.h> maps this name to its ANSI function; here it is the FileSystem method.
#undef ExpandEnvironmentStrings

namespace vantrel {
namespace {

// Each test makes its own copy of the benchmark's folder below this one: CTest runs the tests
// of a suite in parallel processes.
constexpr const char* kTestParent = "C:\\vantrel-test\\ExistenceCacheDifferential";

enum class Kind { File, Directory };

struct Question {
    Kind kind;
    std::string path;
};

const char* KindName(Kind kind) {
    return kind == Kind::File ? "FileExists" : "DirectoryExists";
}

bool Ask(FileSystem& files, const Question& question) {
    return question.kind == Kind::File ? files.FileExists(question.path)
                                       : files.DirectoryExists(question.path);
}

// Writes down every existence question on its way to the wrapped file system.
class RecordingFileSystem : public ForwardingFileSystem {
  public:
    using ForwardingFileSystem::ForwardingFileSystem;

    bool FileExists(std::string_view path) override {
        questions_.push_back({Kind::File, std::string(path)});
        return Inner().FileExists(path);
    }
    bool DirectoryExists(std::string_view path) override {
        questions_.push_back({Kind::Directory, std::string(path)});
        return Inner().DirectoryExists(path);
    }

    const std::vector<Question>& Questions() const { return questions_; }

  private:
    std::vector<Question> questions_;
};

std::string Replaced(const std::string& text, std::string_view from, std::string_view to) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, from.size(), from) == 0) {
            out += to;
            i += from.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::string ShortForm(const std::string& path) {
    const std::wstring wide = bench::Widen(path);
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetShortPathNameW(wide.c_str(), buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH)
        return path;
    return std::string(buffer, buffer + length);
}

// Spellings that name real entries (or deliberately do not) in ways that lexical shortcuts, a
// case-folded key or a "the folder is missing, so is everything in it" rule could misjudge.
std::vector<std::string> TrickyPaths(const bench::BenchFiles& files) {
    const std::string root = files.root;
    const std::string folder = root + "\\Contoso Office";
    const std::string file = folder + "\\readme.txt";
    const std::string sibling = root + "\\Fabrikam";
    const std::string gone = root + "\\Gone";
    std::vector<std::string> paths = {
        // Short names of real folders and files, and of a missing entry inside one.
        ShortForm(folder), ShortForm(file), ShortForm(root), ShortForm(folder + "\\Data Files"),
        ShortForm(folder) + "\\readme.txt", ShortForm(folder) + "\\missing.exe",
        ShortForm(root) + "\\Contoso Office\\bin", ShortForm(folder) + "\\",
        // "." and ".." components, also below missing folders and files.
        root + "\\.\\Contoso Office", folder + "\\..\\Fabrikam\\readme.txt",
        gone + "\\..\\Contoso Office\\readme.txt",
        gone + "\\..\\..\\" + root.substr(root.find_last_of('\\') + 1), file + "\\..\\bin",
        file + "\\..", gone + "\\..", gone + "\\.\\..", gone + "\\sub\\..\\..",
        folder + "\\bin\\..\\..\\Fabrikam", "C:\\..\\..\\vantrel-test", root + "\\..",
        gone + "\\.. \\Contoso Office", gone + "\\...\\Contoso Office", folder + "\\. \\readme.txt",
        folder + "\\.", folder + "\\.\\", gone + "\\.",
        // Trailing dots and blanks, on the last component and on a folder inside the path.
        folder + ".", folder + " ", folder + ". .", file + ".", file + "  ", file + ". ",
        folder + ".\\readme.txt", folder + " \\readme.txt", folder + "...\\bin", gone + ".\\x",
        gone + " \\..\\Fabrikam", root + "\\ Contoso Office",
        // Letter case.
        UpperAscii(file), LowerAscii(file), UpperAscii(folder) + "\\BIN", "c:" + file.substr(2),
        LowerAscii(gone) + "\\README.TXT",
        // Repeated and trailing separators, forward slashes.
        Replaced(folder, "\\", "\\\\"), root + "\\\\Contoso Office\\\\\\readme.txt",
        gone + "\\\\readme.txt", folder + "\\", folder + "\\\\", file + "\\", gone + "\\",
        folder + "\\bin\\", Replaced(file, "\\", "/"), Replaced(gone + "\\..\\Fabrikam", "\\", "/"),
        // Paths the system takes literally, without folding "." and "..".
        "\\\\?\\" + gone + "\\..\\Contoso Office", "\\\\?\\" + file, "\\\\?\\" + folder + "\\",
        "\\\\.\\" + file,
        // Device names, which exist in any folder.
        gone + "\\NUL", gone + "\\nul.txt", folder + "\\NUL", folder + "\\nul.txt", gone + "\\CON",
        folder + "\\COM1", gone + "\\COM1.log", gone + "\\LPT9", gone + "\\CONIN$", gone + "\\COM0",
        gone + "\\AUX .txt", gone + "\\PRN:",
        // Wildcards and streams.
        folder + "\\*.txt", folder + "\\readme.tx?", gone + "\\*\\x", file + "::$DATA",
        file + ":alt", gone + "\\x::$DATA",
        // A file used as a folder.
        file + "\\x", file + "\\x\\..\\..\\bin",
        // Drive-relative, relative and bare roots.
        "", "C:", "C:\\", "c:\\\\", "\\", ".", "..", "C:vantrel-test", "vantrel-test",
        // Names beyond the classic length limit.
        root + "\\" + std::string(300, 'a'), gone + "\\" + std::string(300, 'a') + "\\x",
        // Bytes outside ASCII.
        root + "\\Caf\xe9\\menu.txt", folder + "\\\xe9t\xe9.txt"};
    for (const std::string& shortFolder : files.shortFolders)
        paths.push_back(shortFolder);
    return paths;
}

// The questions the path tests ask while judging every value of a small benchmark tree,
// in the order they ask them.
std::vector<Question> ScanQuestions(const bench::BenchFiles& files) {
    bench::BenchTreeShape shape;
    shape.keys = 500;
    bench::BenchValueGenerator generator(files);
    Win32FileSystem system;
    FileExistenceCache cache(system);
    RecordingFileSystem recorder(cache);
    PathTests paths(recorder, ComputeFixedDriveLetters(system));
    bench::VisitBenchTree(shape, generator, [&](const bench::BenchKey& key) {
        for (const bench::BenchValue& value : key.values) {
            paths.IsMissingFilePath(value.text, "", true);
            paths.IsMissingFilePath(value.text, ".exe", true);
        }
    });
    return recorder.Questions();
}

std::vector<Question> BothKinds(const std::vector<std::string>& paths) {
    std::vector<Question> questions;
    for (const std::string& path : paths) {
        questions.push_back({Kind::File, path});
        questions.push_back({Kind::Directory, path});
    }
    return questions;
}

std::vector<Question> Distinct(const std::vector<Question>& questions) {
    std::vector<Question> distinct;
    std::unordered_set<std::string> seen;
    for (const Question& question : questions) {
        if (seen.insert(KindName(question.kind) + std::string(":") + question.path).second) {
            distinct.push_back(question);
        }
    }
    return distinct;
}

struct QuestionOrder {
    const char* name;
    std::vector<Question> questions;
};

std::vector<QuestionOrder> Orders(const std::vector<Question>& scanStream,
                                  const std::vector<Question>& distinct) {
    std::vector<QuestionOrder> orders;
    orders.push_back({"as the scan asks them", scanStream});
    orders.push_back({"as listed", distinct});
    orders.push_back({"reversed: entries before their folders", distinct});
    std::reverse(orders.back().questions.begin(), orders.back().questions.end());
    for (const Kind first : {Kind::Directory, Kind::File}) {
        QuestionOrder order{
            first == Kind::Directory ? "every folder question first" : "every file question first",
            distinct};
        std::stable_partition(order.questions.begin(), order.questions.end(),
                              [first](const Question& q) { return q.kind == first; });
        orders.push_back(std::move(order));
    }
    for (const uint32_t seed : {1u, 2u}) {
        QuestionOrder order{seed == 1 ? "shuffled, seed 1" : "shuffled, seed 2", distinct};
        std::shuffle(order.questions.begin(), order.questions.end(), std::mt19937(seed));
        orders.push_back(std::move(order));
    }
    return orders;
}

class ExistenceCacheDifferentialTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::CreateDirectoryW(L"C:\\vantrel-test", nullptr);
        ::CreateDirectoryW(bench::Widen(kTestParent).c_str(), nullptr);
        const std::string root = std::string(kTestParent) + "\\" +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        files_ = bench::CreateBenchFiles(root);
    }
    void TearDown() override {
        bench::RemoveBenchFiles(files_);
        ::RemoveDirectoryW(bench::Widen(kTestParent).c_str());
    }

    bench::BenchFiles files_;
};

TEST_F(ExistenceCacheDifferentialTest, AnswersAsTheUncachedFileSystemInEveryOrder) {
    std::vector<Question> scanStream = ScanQuestions(files_);
    ASSERT_GT(scanStream.size(), 1000u) << "the benchmark values should keep the path tests busy";
    std::vector<Question> all = BothKinds(TrickyPaths(files_));
    all.insert(all.end(), scanStream.begin(), scanStream.end());
    const std::vector<Question> distinct = Distinct(all);

    // The truth: every distinct question asked once of the file system itself.
    Win32FileSystem system;
    std::unordered_map<std::string, bool> truthByQuestion;
    for (const Question& question : distinct) {
        truthByQuestion[KindName(question.kind) + std::string(":") + question.path] =
            Ask(system, question);
    }

    size_t existing = 0;
    for (const auto& entry : truthByQuestion)
        existing += entry.second ? 1 : 0;
    ASSERT_GT(existing, 50u) << "the questions should find real files and folders too";

    for (const QuestionOrder& order : Orders(scanStream, distinct)) {
        Win32FileSystem uncached;
        FileExistenceCache cache(uncached);
        std::vector<std::string> mismatches;
        for (const Question& question : order.questions) {
            const bool expected =
                truthByQuestion.at(KindName(question.kind) + std::string(":") + question.path);
            if (Ask(cache, question) != expected) {
                mismatches.push_back(std::string(KindName(question.kind)) + "(\"" + question.path +
                                     "\") should be " + (expected ? "true" : "false"));
            }
        }
        std::string shown;
        for (size_t i = 0; i < std::min<size_t>(mismatches.size(), 20); ++i) {
            shown += "\n  " + mismatches[i];
        }
        EXPECT_TRUE(mismatches.empty()) << "order \"" << order.name << "\": " << mismatches.size()
                                        << " answers differ" << shown;
    }
}

// Spellings whose answer only a walk that resolves "." and ".." as the system does gets right;
// if the system stopped answering so, the comparison above would prove less.
TEST_F(ExistenceCacheDifferentialTest, TrickySpellingsNameRealEntries) {
    const std::string root = files_.root;
    struct Row {
        const char* label;
        Question question;
    };
    const Row rows[] = {
        {"a missing folder left again by ..",
         {Kind::File, root + "\\Gone\\..\\Contoso Office\\readme.txt"}},
        {"a file taken as a folder and left again",
         {Kind::Directory, root + "\\Contoso Office\\readme.txt\\x\\..\\..\\bin"}},
        {"a missing folder with a trailing blank, then ..",
         {Kind::Directory, root + "\\Gone \\..\\Fabrikam"}},
        {"a short name", {Kind::File, ShortForm(root + "\\Contoso Office") + "\\readme.txt"}},
    };
    Win32FileSystem system;
    for (const Row& row : rows) {
        EXPECT_TRUE(Ask(system, row.question)) << row.label << ": " << row.question.path;
    }
}

// The benchmark and this test rely on the generator giving the same tree every time.
TEST(BenchData, SameSeedGivesTheSameBalancedTree) {
    bench::BenchFiles files;
    files.root = "C:\\x";
    files.folders = {"C:\\x\\a", "C:\\x\\b"};
    files.files = {"C:\\x\\a\\f.exe", "C:\\x\\b\\g.dll"};
    bench::BenchTreeShape shape;
    shape.keys = 700;
    const auto describe = [&] {
        bench::BenchValueGenerator generator(files);
        std::string text;
        size_t keys = 0;
        size_t deepest = 0;
        bench::VisitBenchTree(shape, generator, [&](const bench::BenchKey& key) {
            ++keys;
            deepest = std::max(deepest, key.depth);
            text += std::to_string(key.depth) + key.name + "|";
            for (const bench::BenchValue& value : key.values)
                text += value.name + "=" + value.text + ";";
        });
        return std::make_tuple(keys, deepest, text);
    };
    const auto first = describe();
    EXPECT_EQ(std::get<0>(first), 700u);
    // 1 + 8 + 64 + 512 keys fill three levels below the top key; the rest make a fourth.
    EXPECT_EQ(std::get<1>(first), 4u);
    EXPECT_EQ(first, describe());
}

}  // namespace
}  // namespace vantrel
