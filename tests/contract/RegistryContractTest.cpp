// What every RegistryAccess must do, run against each registry the test program can reach (see
// RegistryContract.h): the in-memory stand-in that the core tests use, and the Win32 adapter
// over Wine's registry. The real registry is the reference; a case that only one of them can
// pass is a fault of the stand-in.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/TextCase.h"
#include "platform/memory/MemoryBackupFile.h"
#include "platform/memory/MemoryFileSystem.h"
#include "repair/Repair.h"
#include "tests/contract/RegistryContract.h"
#include "tests/support/RepairSupport.h"

namespace vantrel::test {
namespace {

using Names = std::vector<std::string>;

std::vector<uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

std::vector<uint8_t> Terminated(std::string_view text) {
    std::vector<uint8_t> bytes = Bytes(text);
    bytes.push_back(0);
    return bytes;
}

void SetString(RegistryUnderTest& registry, std::string_view below, std::string_view name,
               std::string_view text) {
    registry.SetValue(below, name, regtype::kString, Terminated(text));
}

// The message of the RegistryError that the call raises; "" when it raises none.
template <typename Call>
std::string RegistryErrorOf(Call call) {
    try {
        call();
    } catch (const RegistryError& error) {
        return error.what();
    }
    return "";
}

TEST_P(RegistryContract, ANewAccessorStartsAtCurrentUserWithFullAccessAndNoKeyOpen) {
    auto access = Registry().Source().NewAccess();
    EXPECT_EQ(access->GetRootKey(), RootKey::CurrentUser);
    EXPECT_FALSE(access->HasOpenKey());
    EXPECT_EQ(access->CurrentPath(), "");
    ASSERT_TRUE(access->OpenKey(Path()));
    EXPECT_NO_THROW(access->WriteString("Written", "x"));
    EXPECT_TRUE(Registry().HasValue("", "Written"));
}

TEST_P(RegistryContract, OpenKeyFollowsThePathRules) {
    Registry().AddKey("Vendor\\App");
    Registry().AddKey("Other");
    const std::string base = Path();
    struct Row {
        const char* name;
        std::optional<std::string> openFirst;  // nullopt: no key open
        std::string path;
        bool opens;
        std::string currentPath;
    };
    const Row rows[] = {
        {"no key open: taken from the root", std::nullopt, base + "\\Vendor", true,
         base + "\\Vendor"},
        {"no key open: leading backslash", std::nullopt, "\\" + base, true, base},
        {"key open: relative below it", base, "Vendor\\App", true, base + "\\Vendor\\App"},
        {"key open: leading backslash from the root", base + "\\Vendor", "\\" + base + "\\Other",
         true, base + "\\Other"},
        {"key open: a root path without backslash is relative", base, base + "\\Other", false, ""},
        {"letter case of names ignored", std::nullopt, UpperAscii(base) + "\\vendor\\aPP", true,
         UpperAscii(base) + "\\vendor\\aPP"},
        {"missing key", std::nullopt, base + "\\Missing", false, ""},
        {"missing key below an open one", base, "Missing", false, ""},
        {"empty path with no key open: the root", std::nullopt, "", true, ""},
        {"lone backslash: the root", base, "\\", true, ""},
        {"empty path with a key open: the same key", base + "\\Vendor", "", true,
         base + "\\Vendor"},
        {"doubled backslash, kept in the path text", std::nullopt, base + "\\\\Vendor", true,
         base + "\\\\Vendor"},
        {"trailing backslash, kept in the path text", std::nullopt, base + "\\Vendor\\", true,
         base + "\\Vendor\\"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto access = NewAccess();
        if (row.openFirst) {
            ASSERT_TRUE(access->OpenKey(*row.openFirst));
        }
        EXPECT_EQ(access->OpenKey(row.path), row.opens);
        EXPECT_EQ(access->HasOpenKey(), row.opens);
        EXPECT_EQ(access->CurrentPath(), row.currentPath);
    }
}

TEST_P(RegistryContract, AFailedOpenLeavesNoKeyOpenSoTheNextPathIsFromTheRoot) {
    Registry().AddKey("Vendor");
    auto access = OpenAt();
    EXPECT_FALSE(access->OpenKey("Missing"));
    EXPECT_FALSE(access->HasOpenKey());
    EXPECT_EQ(access->CurrentPath(), "");
    EXPECT_TRUE(access->OpenKey(Path("Vendor")));
    EXPECT_EQ(access->CurrentPath(), Path("Vendor"));
}

TEST_P(RegistryContract, OpenKeyAndKeyExistsCreateNothing) {
    auto access = OpenAt();
    EXPECT_FALSE(access->OpenKey("New"));
    EXPECT_FALSE(access->KeyExists(Path("New\\Deeper")));
    EXPECT_FALSE(Registry().HasKey("New"));
}

TEST_P(RegistryContract, KeyExistsFollowsThePathRulesAndKeepsTheOpenKey) {
    Registry().AddKey("Vendor\\App");
    auto access = OpenAt();
    EXPECT_TRUE(access->KeyExists("vendor\\APP"));
    EXPECT_FALSE(access->KeyExists(Path("Vendor"))) << "relative to the open key";
    EXPECT_TRUE(access->KeyExists("\\" + Path("Vendor")));
    EXPECT_FALSE(access->KeyExists("Missing"));
    EXPECT_TRUE(access->HasOpenKey());
    EXPECT_EQ(access->CurrentPath(), Path());
}

TEST_P(RegistryContract, SetRootKeyClosesTheOpenKeyAndSwitchesTrees) {
    auto access = OpenAt();
    access->SetRootKey(RootKey::LocalMachine);
    EXPECT_EQ(access->GetRootKey(), RootKey::LocalMachine);
    EXPECT_FALSE(access->HasOpenKey());
    EXPECT_FALSE(access->KeyExists(Path())) << "paths are now below the new root";
    EXPECT_FALSE(access->OpenKey(Path()));
    EXPECT_TRUE(access->OpenKey("Software"));
    access->SetRootKey(RootKey::None);
    EXPECT_FALSE(access->OpenKey(""));
    EXPECT_FALSE(access->KeyExists(""));
    access->SetRootKey(RootKey::CurrentUser);
    EXPECT_TRUE(access->OpenKey(Path()));
}

TEST_P(RegistryContract, AccessorsAreIndependent) {
    Registry().AddKey("One");
    auto first = OpenAt("One");
    auto second = NewAccess();
    second->SetRootKey(RootKey::LocalMachine);
    EXPECT_EQ(first->GetRootKey(), RootKey::CurrentUser);
    EXPECT_EQ(first->CurrentPath(), Path("One"));
    EXPECT_FALSE(second->HasOpenKey());
}

// Subkeys come sorted by name without regard to case, as every registry keeps them. Values
// come in the registry's own order, which differs (Windows keeps the order of creation, Wine
// sorts them): whatever it is, the accessor passes it on. Names between 'Z' and 'a' are left
// out: Windows folds case to capitals to sort, Wine to small letters.
TEST_P(RegistryContract, NamesComeInTheRegistrysOrder) {
    for (const char* name : {"zeta", "Alpha", "mid", "abc", "ab", "B"})
        Registry().AddKey(name);
    Registry().AddKey("ALPHA\\child");  // the same key: no new entry
    for (const char* name : {"zeta", "Alpha", "", "mid", "beta"})
        SetString(Registry(), "", name, name);
    SetString(Registry(), "", "ZETA", "replaced");  // keeps its place and its name

    auto access = OpenAt();
    const Names keys = access->GetKeyNames();
    EXPECT_EQ(keys, (Names{"ab", "abc", "Alpha", "B", "mid", "zeta"}));
    EXPECT_EQ(keys, Registry().SubkeyNames(""));
    EXPECT_TRUE(access->LastNamesExact());
    const Names values = access->GetValueNames();
    EXPECT_EQ(values, Registry().ValueNames(""));
    Names sorted = values;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (Names{"", "Alpha", "beta", "mid", "zeta"}));
    EXPECT_TRUE(access->LastNamesExact());
    EXPECT_EQ(access->ReadString("zeta"), "replaced");
}

TEST_P(RegistryContract, WithNoKeyOpenOrAnEmptyKeyThereIsNothingToListOrRead) {
    auto access = OpenAt();
    EXPECT_TRUE(access->GetValueNames().empty());
    EXPECT_TRUE(access->GetKeyNames().empty());
    access->CloseKey();
    EXPECT_TRUE(access->GetKeyNames().empty());
    EXPECT_TRUE(access->GetValueNames().empty());
    EXPECT_FALSE(access->ValueExists(""));
    EXPECT_EQ(access->GetDataType(""), ValueType::Unknown);
    EXPECT_THROW(access->ReadString(""), RegistryError);
    EXPECT_THROW(access->ReadRawValue(""), RegistryError);
    EXPECT_FALSE(access->DeleteValue(""));
}

// One stored value and what every read of it gives.
struct ValueCase {
    const char* label;
    std::string name;
    uint32_t type;
    std::vector<uint8_t> data;  // text types in the ANSI code page
    ValueType expectedType;
    std::optional<std::string> expectedString;  // nullopt: ReadString raises
    std::optional<int32_t> expectedInteger;     // nullopt: ReadInteger raises
};

std::vector<ValueCase> ValueCases() {
    using regtype::kBinary, regtype::kDword, regtype::kExpandString, regtype::kString;
    constexpr auto kUnknown = ValueType::Unknown;
    constexpr auto kNone = std::nullopt;
    return {
        {"string", "Sz", kString, Terminated("C:\\a.exe"), ValueType::String, "C:\\a.exe", kNone},
        {"expandable string is not expanded", "Expand", kExpandString,
         Terminated("%SystemRoot%\\x"), ValueType::ExpandString, "%SystemRoot%\\x", kNone},
        {"string read up to its first zero", "TwoParts", kString, Terminated({"ab\0cd", 5}),
         ValueType::String, "ab", kNone},
        {"string stored without a terminator", "Unterminated", kString, Bytes("xyz"),
         ValueType::String, "xyz", kNone},
        {"dword", "Number", kDword, {0xFE, 0xFF, 0xFF, 0xFF}, ValueType::Integer, kNone, -2},
        {"dword little endian",
         "Endian",
         kDword,
         {0x78, 0x56, 0x34, 0x12},
         ValueType::Integer,
         kNone,
         0x12345678},
        {"dword of three bytes", "Short", kDword, {1, 0, 0}, ValueType::Integer, kNone, kNone},
        {"binary", "Blob", kBinary, {1, 2, 3}, ValueType::Binary, kNone, kNone},
        {"binary of four bytes is no number",
         "Four",
         kBinary,
         {1, 0, 0, 0},
         ValueType::Binary,
         kNone,
         kNone},
        {"multi-string is unknown", "Multi", regtype::kMultiString, Terminated({"a\0bc\0", 5}),
         kUnknown, kNone, kNone},
        {"link is unknown", "Link", regtype::kLink, Bytes("\\R"), kUnknown, kNone, kNone},
        {"qword is unknown",
         "Wide",
         regtype::kQword,
         {1, 0, 0, 0, 0, 0, 0, 0},
         kUnknown,
         kNone,
         kNone},
        {"big-endian dword is unknown",
         "Big",
         regtype::kDwordBigEndian,
         {0, 0, 0, 1},
         kUnknown,
         kNone,
         kNone},
        {"none type is unknown", "Nothing", regtype::kNone, {7}, kUnknown, kNone, kNone},
        {"odd type number is unknown", "Odd", 0x1234, {1, 2}, kUnknown, kNone, kNone},
        {"zero-length string", "EmptySz", kString, {}, ValueType::String, "", kNone},
        {"zero-length binary reads as empty text",
         "EmptyBin",
         kBinary,
         {},
         ValueType::Binary,
         "",
         kNone},
        {"zero-length dword reads as empty text, not as a number",
         "EmptyDword",
         kDword,
         {},
         ValueType::Integer,
         "",
         kNone},
        {"default value", "", kString, Terminated("dflt"), ValueType::String, "dflt", kNone},
    };
}

// Reads right after a listing and reads of a key not listed take different ways through the
// Win32 adapter (its listing keeps the values): both must agree.
TEST_P(RegistryContract, EveryValueTypeReadsAsItsTypeAllows) {
    const auto cases = ValueCases();
    for (const auto& row : cases)
        Registry().SetValue("", row.name, row.type, row.data);

    for (const bool listedFirst : {false, true}) {
        auto access = OpenAt();
        if (listedFirst)
            access->GetValueNames();
        for (const auto& row : cases) {
            SCOPED_TRACE(std::string(row.label) + (listedFirst ? " (listed)" : " (direct)"));
            EXPECT_TRUE(access->ValueExists(row.name));
            EXPECT_EQ(access->GetDataType(row.name), row.expectedType);
            if (row.expectedString) {
                EXPECT_EQ(access->ReadString(row.name), *row.expectedString);
            } else {
                EXPECT_EQ(RegistryErrorOf([&] { access->ReadString(row.name); }),
                          "Failed to get data for '" + row.name + "'");
            }
            if (row.expectedInteger) {
                EXPECT_EQ(access->ReadInteger(row.name), *row.expectedInteger);
            } else {
                EXPECT_EQ(RegistryErrorOf([&] { access->ReadInteger(row.name); }),
                          "Failed to get data for '" + row.name + "'");
            }
            const RawValue raw = access->ReadRawValue(row.name);
            EXPECT_EQ(raw.type, row.type);
            EXPECT_EQ(raw.data, row.data);
            EXPECT_TRUE(raw.exact);
        }
        EXPECT_FALSE(access->ValueExists("Absent"));
        EXPECT_EQ(access->GetDataType("Absent"), ValueType::Unknown);
        EXPECT_EQ(RegistryErrorOf([&] { access->ReadString("Absent"); }),
                  "Failed to get data for 'Absent'");
        EXPECT_EQ(RegistryErrorOf([&] { access->ReadInteger("Absent"); }),
                  "Failed to get data for 'Absent'");
        EXPECT_EQ(RegistryErrorOf([&] { access->ReadRawValue("Absent"); }),
                  "Failed to get data for 'Absent'");
    }
}

TEST_P(RegistryContract, ValueNamesIgnoreLetterCaseInBothReadPaths) {
    SetString(Registry(), "", "MixedCase", "v");
    for (const bool listedFirst : {false, true}) {
        SCOPED_TRACE(listedFirst ? "listed" : "direct");
        auto access = OpenAt();
        if (listedFirst)
            access->GetValueNames();
        EXPECT_TRUE(access->ValueExists("mixedCASE"));
        EXPECT_EQ(access->ReadString("MIXEDcase"), "v");
    }
}

// A listing is read back mostly in its own order, but checks also jump about, read a value
// twice, or name it in other letter case: each read must still find that value's own data.
TEST_P(RegistryContract, ValuesReadInAnyOrderAfterAListingAreTheirOwn) {
    const Names names{"One", "Two", "Three", "Four", "Five"};
    for (const std::string& name : names)
        SetString(Registry(), "", name, "data of " + name);
    auto access = OpenAt();
    ASSERT_EQ(access->GetValueNames().size(), names.size());
    for (const std::string_view name :
         {"One", "One", "Three", "Two", "FIVE", "four", "One", "Five", "Three"}) {
        SCOPED_TRACE(name);
        std::string expected(name);
        for (const std::string& stored : names) {
            if (EqualsIgnoreCase(stored, name))
                expected = "data of " + stored;
        }
        EXPECT_EQ(access->ReadString(name), expected);
    }
    EXPECT_FALSE(access->ValueExists("Six"));
}

TEST_P(RegistryContract, TextOutsideTheCodePageReadsAsNotExact) {
    if (const auto why = Registry().CannotLoseCharacters())
        GTEST_SKIP() << *why;
    Registry().SetStringOutsideCodePage("", "Lossy", "caf");
    auto access = OpenAt();
    const RawValue raw = access->ReadRawValue("Lossy");
    EXPECT_EQ(raw.type, regtype::kString);
    EXPECT_EQ(raw.data, Terminated("caf?"));
    EXPECT_FALSE(raw.exact);
    EXPECT_EQ(access->ReadString("Lossy"), "caf?");
}

TEST_P(RegistryContract, LastNamesExactReportsTheLastListing) {
    if (const auto why = Registry().CannotLoseCharacters())
        GTEST_SKIP() << *why;
    Registry().AddKey("Plain");
    Registry().AddKeyNamedOutsideCodePage("", "key");
    SetString(Registry(), "", "plain", "x");
    auto access = OpenAt();
    EXPECT_TRUE(access->LastNamesExact()) << "nothing listed yet";
    EXPECT_EQ(access->GetKeyNames(), (Names{"key?", "Plain"}));
    EXPECT_FALSE(access->LastNamesExact());
    EXPECT_EQ(access->GetValueNames(), Names{"plain"});
    EXPECT_TRUE(access->LastNamesExact()) << "each listing reports on itself";

    Registry().SetValueNamedOutsideCodePage("", "val");
    const Names values = access->GetValueNames();
    EXPECT_FALSE(access->LastNamesExact());
    EXPECT_NE(std::find(values.begin(), values.end(), "val?"), values.end());
    // The name as listed is not the registry's name: it reaches nothing.
    EXPECT_FALSE(access->ValueExists("val?"));
    EXPECT_THROW(access->ReadRawValue("val?"), RegistryError);
    EXPECT_FALSE(access->KeyExists("key?"));
    EXPECT_FALSE(access->DeleteKey("key?"));

    ASSERT_TRUE(access->OpenKey("Plain"));
    EXPECT_TRUE(access->GetKeyNames().empty());
    EXPECT_TRUE(access->LastNamesExact());
}

TEST_P(RegistryContract, DeleteKeyRemovesTheSubtreeByThePathRules) {
    Registry().AddKey("Gone\\Deep\\Deeper");
    SetString(Registry(), "Gone\\Deep", "v", "x");
    Registry().AddKey("Kept");
    Registry().AddKey("Also");
    auto access = OpenAt();

    EXPECT_TRUE(access->DeleteKey("GONE"));
    EXPECT_FALSE(Registry().HasKey("Gone"));
    EXPECT_FALSE(Registry().HasKey("Gone\\Deep\\Deeper"));
    EXPECT_TRUE(Registry().HasKey("Kept"));
    EXPECT_FALSE(access->DeleteKey("Gone")) << "a missing key cannot be deleted";
    EXPECT_TRUE(access->DeleteKey("\\" + Path("Kept")));
    EXPECT_FALSE(Registry().HasKey("Kept"));
    EXPECT_EQ(Registry().SubkeyNames(""), Names{"Also"});
    EXPECT_TRUE(access->HasOpenKey());
    EXPECT_EQ(access->CurrentPath(), Path());
}

TEST_P(RegistryContract, DeleteKeyNeverDeletesTheRootNorTheOpenKeyByAnEmptyPath) {
    SetString(Registry(), "", "v", "x");
    auto access = OpenAt();
    EXPECT_FALSE(access->DeleteKey(""));
    EXPECT_FALSE(access->DeleteKey("\\"));
    access->CloseKey();
    EXPECT_FALSE(access->DeleteKey(""));
    EXPECT_TRUE(Registry().HasValue("", "v"));
}

// Each row deletes Row\Vendor, whose subkeys Aa and App enumerate in that order; a refusal
// anywhere leaves the whole subtree, Aa included.
TEST_P(RegistryContract, DeleteKeyRefusalsLeaveTheSubtreeWhole) {
    enum class Fault { RefuseDelete, RefuseWriteAccess, RefuseOpen };
    struct Row {
        const char* name;
        Fault fault;
        const char* faultyKey;  // below Row
        const char* deleted;    // below Row
    };
    const Row rows[] = {
        {"the key refuses deletion", Fault::RefuseDelete, "Vendor", "Vendor"},
        {"a key below refuses deletion", Fault::RefuseDelete, "Vendor\\App", "Vendor"},
        {"the key refuses write access", Fault::RefuseWriteAccess, "Vendor", "Vendor"},
        {"a key below refuses write access", Fault::RefuseWriteAccess, "Vendor\\App", "Vendor"},
        {"a key below cannot be opened", Fault::RefuseOpen, "Vendor\\App", "Vendor"},
        {"the key cannot be opened", Fault::RefuseOpen, "Vendor", "Vendor"},
    };
    int number = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string below = "Row" + std::to_string(++number);
        Registry().AddKey(below + "\\Vendor\\Aa");
        Registry().AddKey(below + "\\Vendor\\App\\Deep");
        SetString(Registry(), below + "\\Vendor\\App", "v", "x");
        const std::string faulty = below + "\\" + row.faultyKey;
        switch (row.fault) {
            case Fault::RefuseDelete:
                Registry().RefuseDelete(faulty);
                break;
            case Fault::RefuseWriteAccess:
                Registry().RefuseWriteAccess(faulty);
                break;
            case Fault::RefuseOpen:
                Registry().RefuseOpen(faulty);
                break;
        }
        EXPECT_FALSE(NewAccess()->DeleteKey(Path(below + "\\" + row.deleted)));
        EXPECT_TRUE(Registry().HasKey(below + "\\Vendor\\Aa"));
        EXPECT_TRUE(Registry().HasKey(below + "\\Vendor\\App\\Deep"));
        EXPECT_TRUE(Registry().HasValue(below + "\\Vendor\\App", "v"));
    }
}

TEST_P(RegistryContract, AnOpenKeyDeletedMeanwhileIsEmpty) {
    SetString(Registry(), "Vendor\\App", "v", "x");
    Registry().AddKey("Vendor\\App\\Sub");
    auto access = OpenAt("Vendor\\App");
    ASSERT_TRUE(NewAccess()->DeleteKey(Path("Vendor")));
    EXPECT_TRUE(access->GetValueNames().empty());
    EXPECT_TRUE(access->GetKeyNames().empty());
    EXPECT_THROW(access->ReadString("v"), RegistryError);
    EXPECT_THROW(access->WriteString("v", "y"), RegistryError);
    SetString(Registry(), "Vendor\\App", "w", "new");  // a new key of the same name
    EXPECT_TRUE(access->GetValueNames().empty());
}

TEST_P(RegistryContract, DeleteValueNeedsTheValue) {
    SetString(Registry(), "", "Old", "1");
    SetString(Registry(), "", "Other", "2");
    auto access = OpenAt();
    access->GetValueNames();
    EXPECT_FALSE(access->DeleteValue("missing"));
    EXPECT_TRUE(access->DeleteValue("OLD"));
    EXPECT_FALSE(Registry().HasValue("", "Old"));
    EXPECT_FALSE(access->ValueExists("Old")) << "a deletion drops what the listing kept";
    EXPECT_FALSE(access->DeleteValue("Old"));
    EXPECT_TRUE(Registry().HasValue("", "Other"));
    access->CloseKey();
    EXPECT_FALSE(access->DeleteValue("Other"));
    EXPECT_TRUE(Registry().HasValue("", "Other"));
}

TEST_P(RegistryContract, ReadOnlyAccessReadsButChangesNothing) {
    SetString(Registry(), "", "Keep", "v");
    Registry().AddKey("Sub");
    auto access = OpenAt("", AccessMode::ReadOnly);
    EXPECT_EQ(access->ReadString("Keep"), "v");
    EXPECT_EQ(access->GetKeyNames(), Names{"Sub"});
    EXPECT_THROW(access->WriteString("Keep", "changed"), RegistryError);
    EXPECT_FALSE(access->DeleteValue("Keep"));
    EXPECT_FALSE(access->DeleteKey("Sub"));
    EXPECT_FALSE(access->DeleteKey("\\" + Path("Sub")));
    EXPECT_TRUE(Registry().HasKey("Sub"));
    EXPECT_EQ(Registry().GetValue("", "Keep")->data, Terminated("v"));
    // The rights are the open key's, set when it was opened.
    access->SetAccess(AccessMode::Full);
    EXPECT_FALSE(access->DeleteValue("Keep"));
    ASSERT_TRUE(access->OpenKey("\\" + Path()));
    EXPECT_TRUE(access->DeleteValue("Keep"));
}

TEST_P(RegistryContract, WriteStringStoresATerminatedString) {
    auto access = NewAccess();
    EXPECT_EQ(RegistryErrorOf([&] { access->WriteString("v", "x"); }),
              "Failed to set data for 'v'");
    ASSERT_TRUE(access->OpenKey(Path()));
    access->WriteString("LastKey", "HKEY_CURRENT_USER\\Software");
    const auto stored = Registry().GetValue("", "lastkey");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->type, regtype::kString);
    EXPECT_EQ(stored->data, Terminated("HKEY_CURRENT_USER\\Software"));

    access->GetValueNames();
    access->WriteString("LASTKEY", "second");
    EXPECT_EQ(access->ReadString("LastKey"), "second") << "a write drops what the listing kept";
    EXPECT_EQ(Registry().ValueNames(""), Names{"LastKey"});
    access->WriteString("", "");
    EXPECT_EQ(Registry().GetValue("", "")->data, Terminated(""));
    EXPECT_EQ(access->ReadString(""), "");
}

TEST_P(RegistryContract, AKeyThatRefusesToOpenCountsAsAbsentButKeepsWhatIsBelowIt) {
    SetString(Registry(), "Locked", "v", "x");
    SetString(Registry(), "Locked\\Child", "c", "below");
    Registry().RefuseOpen("Locked");
    for (const AccessMode mode : {AccessMode::Full, AccessMode::ReadOnly}) {
        SCOPED_TRACE(mode == AccessMode::Full ? "full access" : "read-only");
        auto access = NewAccess(mode);
        EXPECT_FALSE(access->OpenKey(Path("Locked")));
        EXPECT_FALSE(access->HasOpenKey());
        EXPECT_FALSE(access->KeyExists(Path("Locked")));
        ASSERT_TRUE(access->OpenKey(Path()));
        EXPECT_FALSE(access->KeyExists("Locked"));
        EXPECT_EQ(access->GetKeyNames(), Names{"Locked"}) << "its parent still lists it";
        // The keys below it keep their own rights, and a path may pass through it.
        EXPECT_TRUE(access->KeyExists("Locked\\Child"));
        ASSERT_TRUE(access->OpenKey("Locked\\Child"));
        EXPECT_EQ(access->ReadString("c"), "below");
    }
    EXPECT_FALSE(NewAccess()->DeleteKey(Path("Locked")));
    EXPECT_FALSE(NewAccess()->DeleteKey(Path()));
    EXPECT_TRUE(Registry().HasValue("Locked", "v"));
    EXPECT_TRUE(Registry().HasValue("Locked\\Child", "c"));
    EXPECT_TRUE(NewAccess()->DeleteKey(Path("Locked\\Child")));
    EXPECT_FALSE(Registry().HasKey("Locked\\Child"));
    EXPECT_TRUE(Registry().HasKey("Locked"));
}

TEST_P(RegistryContract, AKeyThatRefusesWriteAccessOpensOnlyForReading) {
    SetString(Registry(), "Locked", "v", "x");
    SetString(Registry(), "Locked\\Sub", "s", "y");
    Registry().RefuseWriteAccess("Locked");

    auto full = NewAccess();
    EXPECT_TRUE(full->KeyExists(Path("Locked")));
    EXPECT_FALSE(full->OpenKey(Path("Locked")));
    EXPECT_FALSE(full->HasOpenKey());
    EXPECT_FALSE(full->DeleteKey(Path("Locked")));
    EXPECT_FALSE(full->DeleteKey(Path()));
    // The key below keeps its own rights.
    ASSERT_TRUE(full->OpenKey(Path("Locked\\Sub")));
    EXPECT_NO_THROW(full->WriteString("s", "z"));

    auto reader = OpenAt("Locked", AccessMode::ReadOnly);
    EXPECT_EQ(reader->GetValueNames(), Names{"v"});
    EXPECT_EQ(reader->GetKeyNames(), Names{"Sub"});
    EXPECT_EQ(reader->ReadString("v"), "x");
    EXPECT_FALSE(reader->DeleteValue("v"));
    EXPECT_THROW(reader->WriteString("w", "x"), RegistryError);

    EXPECT_TRUE(Registry().HasValue("Locked", "v"));
    EXPECT_FALSE(Registry().HasValue("Locked", "w"));
    EXPECT_TRUE(Registry().HasKey("Locked\\Sub"));
}

TEST_P(RegistryContract, ARefusedDeletionKeepsTheKeyAndItsValues) {
    SetString(Registry(), "Holder", "h", "1");
    SetString(Registry(), "Holder\\Locked", "v", "2");
    Registry().RefuseDelete("Holder\\Locked");

    EXPECT_FALSE(NewAccess()->DeleteKey(Path("Holder\\Locked")));
    auto holder = OpenAt("Holder");
    EXPECT_FALSE(holder->DeleteKey("Locked"));
    EXPECT_FALSE(NewAccess()->DeleteKey(Path("Holder")));
    // The key above it opens with full access, and its own values go.
    EXPECT_TRUE(holder->DeleteValue("h"));
    auto reader = OpenAt("Holder\\Locked", AccessMode::ReadOnly);
    EXPECT_FALSE(reader->DeleteValue("v"));
    EXPECT_TRUE(Registry().HasValue("Holder\\Locked", "v"));
    EXPECT_FALSE(Registry().HasValue("Holder", "h"));
}

TEST_P(RegistryContract, AValueWhoseReadFailsRaisesErrorsNamingIt) {
    SetString(Registry(), "", "Broken", "text");
    SetString(Registry(), "", "Fine", "text");
    if (const auto why = Registry().FailRead("", "Broken"))
        GTEST_SKIP() << *why;
    for (const bool listedFirst : {false, true}) {
        SCOPED_TRACE(listedFirst ? "listed" : "direct");
        auto access = OpenAt();
        if (listedFirst)
            access->GetValueNames();
        EXPECT_EQ(RegistryErrorOf([&] { access->ReadString("broken"); }),
                  "Failed to get data for 'broken'");
        EXPECT_EQ(RegistryErrorOf([&] { access->ReadInteger("Broken"); }),
                  "Failed to get data for 'Broken'");
        EXPECT_EQ(RegistryErrorOf([&] { access->ReadRawValue("Broken"); }),
                  "Failed to get data for 'Broken'");
        EXPECT_EQ(access->ReadString("Fine"), "text");
    }
}

// The repair of a row whose key cannot be deleted keeps the row, as refused, whatever the
// reason: a refusal must never read as an entry that is gone.
TEST_P(RegistryContract, RepairKeepsTheRowsOfARefusingKeyAsRefused) {
    enum class Fault { RefuseWriteAccess, RefuseDelete };
    struct Row {
        const char* name;
        Fault fault;
    };
    const Row rows[] = {
        {"write access refused", Fault::RefuseWriteAccess},
        {"deletion refused", Fault::RefuseDelete},
    };
    int number = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string below = "Row" + std::to_string(++number);
        SetString(Registry(), below, "", "default");
        SetString(Registry(), below, "v", "x");
        Registry().AddKey(below + "\\Sub");
        if (row.fault == Fault::RefuseWriteAccess) {
            Registry().RefuseWriteAccess(below);
        } else {
            Registry().RefuseDelete(below);
        }
        MemoryBackupFile files;
        MemoryFileSystem fileSystem;
        const RepairContext context{Registry().Source(), fileSystem, files,
                                    "C:\\Backup\\Backup.reg"};
        const std::string keyPath = Path(below);
        for (const RepairRow& repaired : {test::ValueRow("HKEY_CURRENT_USER", keyPath, "v"),
                                          test::ValueRow("HKEY_CURRENT_USER", keyPath, ""),
                                          test::KeyRow("HKEY_CURRENT_USER", keyPath)}) {
            const RepairTally tally = test::RepairOne(context, repaired);
            EXPECT_EQ(tally.notRemoved, std::vector<size_t>{0}) << repaired.issue.valueText;
            EXPECT_TRUE(tally.removed.empty()) << repaired.issue.valueText;
        }
        EXPECT_TRUE(Registry().HasValue(below, "v"));
        EXPECT_TRUE(Registry().HasValue(below, ""));
        EXPECT_TRUE(Registry().HasKey(below + "\\Sub"));
    }
}

// A link and its target below the scratch key: the target holds one subkey and one value.
void AddLinkToTarget(RegistryUnderTest& registry) {
    registry.AddKey("Target\\Inner");
    SetString(registry, "Target", "Kept", "x");
    registry.AddLink("Link", "Target");
}

TEST_P(RegistryContract, ALinkLeadsToItsTargetUnlessItIsOpenedItself) {
    AddLinkToTarget(Registry());
    EXPECT_EQ(Registry().SubkeyNames(""), (Names{"Link", "Target"})) << "the parent lists the link";

    auto followed = OpenAt("Link");
    EXPECT_FALSE(followed->OpenKeyIsLink());
    EXPECT_EQ(followed->GetKeyNames(), Names{"Inner"});
    EXPECT_EQ(followed->ReadString("Kept"), "x");
    EXPECT_TRUE(followed->OpenKey("\\" + Path("Link\\Inner"))) << "a link on the way is followed";
    EXPECT_TRUE(followed->KeyExists("\\" + Path("Link")));

    auto itself = NewAccess(AccessMode::ReadOnly);
    itself->SetLinkMode(LinkMode::OpenLinkItself);
    ASSERT_TRUE(itself->OpenKey(Path("Link")));
    EXPECT_TRUE(itself->OpenKeyIsLink());
    EXPECT_TRUE(itself->GetKeyNames().empty());
    EXPECT_EQ(itself->GetValueNames(), Names{"SymbolicLinkValue"});
    EXPECT_EQ(itself->GetDataType("SymbolicLinkValue"), ValueType::Unknown);
    EXPECT_TRUE(itself->OpenKey("\\" + Path("Link\\Inner"))) << "only the last key is taken itself";
    EXPECT_FALSE(itself->OpenKeyIsLink());
    ASSERT_TRUE(itself->OpenKey("\\" + Path("Target")));
    EXPECT_FALSE(itself->OpenKeyIsLink()) << "an ordinary key opens as always";
    EXPECT_EQ(itself->GetKeyNames(), Names{"Inner"});
}

TEST_P(RegistryContract, OpenKeyNameIsWhereTheKeyReallyLives) {
    AddLinkToTarget(Registry());
    auto access = NewAccess(AccessMode::ReadOnly);
    EXPECT_EQ(access->OpenKeyName(), std::nullopt) << "no key open";
    ASSERT_TRUE(access->OpenKey(Path("Target")));
    const std::optional<std::string> target = access->OpenKeyName();
    ASSERT_TRUE(target.has_value());
    EXPECT_TRUE(StartsWithIgnoreCase(*target, kUsersKeyNamePrefix)) << *target;
    EXPECT_TRUE(EndsWithIgnoreCase(*target, "\\" + Path("Target"))) << *target;
    ASSERT_TRUE(access->OpenKey("\\" + UpperAscii(Path("Link"))));
    EXPECT_EQ(access->OpenKeyName(), target) << "a followed link names its target, as stored";
    access->SetLinkMode(LinkMode::OpenLinkItself);
    ASSERT_TRUE(access->OpenKey("\\" + Path("Link")));
    EXPECT_TRUE(EndsWithIgnoreCase(access->OpenKeyName().value_or(""), "\\" + Path("Link")));

    // The current user's hive is the one HKEY_USERS lists under the user's SID.
    ASSERT_TRUE(access->OpenKey("\\"));
    const std::optional<std::string> hive = access->OpenKeyName();
    ASSERT_TRUE(hive.has_value());
    EXPECT_TRUE(EndsWithIgnoreCase(*target, *hive + "\\" + Path("Target"))) << *hive;
    const std::string sid = hive->substr(hive->rfind('\\') + 1);
    access->SetRootKey(RootKey::Users);
    EXPECT_TRUE(access->KeyExists(sid + "\\" + Path("Target"))) << sid;
    access->SetRootKey(RootKey::LocalMachine);
    ASSERT_TRUE(access->OpenKey("software"));
    EXPECT_TRUE(EqualsIgnoreCase(access->OpenKeyName().value_or(""),
                                 std::string(kMachineKeyNamePrefix) + "\\Software"));
}

TEST_P(RegistryContract, DeleteKeyNeverReachesThroughALink) {
    AddLinkToTarget(Registry());
    Registry().AddKey("Holder\\Own");
    Registry().AddLink("Holder\\Link", "Target");
    auto access = NewAccess();
    EXPECT_FALSE(access->DeleteKey(Path("Link")));
    EXPECT_FALSE(access->DeleteKey(Path("Holder"))) << "a tree that holds a link";
    EXPECT_TRUE(Registry().HasKey("Target\\Inner"));
    EXPECT_TRUE(Registry().HasValue("Target", "Kept"));
    EXPECT_TRUE(Registry().HasKey("Holder\\Own")) << "all or nothing";
    EXPECT_EQ(Registry().SubkeyNames(""), (Names{"Holder", "Link", "Target"}));
}

TEST_P(RegistryContract, TheThirtyTwoBitViewReadsTheWow6432NodeKeys) {
    Registry().AddMachineKey("Own\\Native", RegistryView::Native);
    Registry().AddMachineKey("Own\\ThirtyTwo", RegistryView::ThirtyTwoBit);
    Registry().AddMachineKey("NativeOnly", RegistryView::Native);
    Registry().AddMachineKey("Shared\\Both", RegistryView::Native);
    Registry().ShareMachineKey("Shared");
    const std::string base = "Software\\" + Registry().MachineBase();
    const std::string machine = std::string(kMachineKeyNamePrefix) + "\\";

    auto native = NewAccess(AccessMode::ReadOnly);
    native->SetRootKey(RootKey::LocalMachine);
    ASSERT_TRUE(native->OpenKey(base + "\\Own"));
    EXPECT_EQ(native->GetKeyNames(), Names{"Native"});
    EXPECT_TRUE(EqualsIgnoreCase(native->OpenKeyName().value_or(""), machine + base + "\\Own"));

    auto view = NewAccess(AccessMode::ReadOnly);
    view->SetRootKey(RootKey::LocalMachine);
    view->SetView(RegistryView::ThirtyTwoBit);
    ASSERT_TRUE(view->OpenKey(base + "\\Own"));
    EXPECT_EQ(view->GetKeyNames(), Names{"ThirtyTwo"});
    EXPECT_TRUE(
        EqualsIgnoreCase(view->OpenKeyName().value_or(""),
                         machine + "Software\\Wow6432Node\\" + Registry().MachineBase() + "\\Own"));
    EXPECT_FALSE(view->KeyExists(base + "\\NativeOnly"));
    EXPECT_FALSE(view->OpenKey(base + "\\NativeOnly"));
    ASSERT_TRUE(view->OpenKey(base + "\\Shared"));
    EXPECT_EQ(view->GetKeyNames(), Names{"Both"});
    EXPECT_TRUE(EqualsIgnoreCase(view->OpenKeyName().value_or(""), machine + base + "\\Shared"))
        << "a shared key is the native key itself";

    auto full = NewAccess();
    full->SetRootKey(RootKey::LocalMachine);
    full->SetView(RegistryView::ThirtyTwoBit);
    EXPECT_FALSE(full->DeleteKey(base + "\\Own\\ThirtyTwo")) << "repair names keys by real paths";
    full->SetView(RegistryView::Native);
    ASSERT_TRUE(full->OpenKey("Software\\Wow6432Node\\" + Registry().MachineBase() + "\\Own"));
    EXPECT_EQ(full->GetKeyNames(), Names{"ThirtyTwo"}) << "the real path, with no view set";
}

TEST_P(RegistryContract, AKeyThatRefusesNotificationExistsButDoesNotOpen) {
    Registry().AddKey("Quiet");
    SetString(Registry(), "Quiet", "Kept", "x");
    Registry().RefuseNotify("Quiet");
    auto access = NewAccess(AccessMode::ReadOnly);
    EXPECT_TRUE(access->KeyExists(Path("Quiet")));
    EXPECT_FALSE(access->OpenKey(Path("Quiet"))) << "KEY_READ asks for notification";
    EXPECT_FALSE(NewAccess()->OpenKey(Path("Quiet")));
    EXPECT_TRUE(Registry().HasValue("Quiet", "Kept"));
}

}  // namespace
}  // namespace vantrel::test
