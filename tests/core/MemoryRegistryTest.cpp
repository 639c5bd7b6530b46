#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/memory/MemoryRegistry.h"

namespace vantrel {
namespace {

constexpr RootKey kHkcu = RootKey::CurrentUser;
constexpr RootKey kHklm = RootKey::LocalMachine;

std::vector<uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

std::vector<uint8_t> Terminated(std::string_view text) {
    std::vector<uint8_t> bytes = Bytes(text);
    bytes.push_back(0);
    return bytes;
}

class MemoryRegistryTest : public ::testing::Test {
  protected:
    MemoryRegistryTest() {
        registry_.AddKey(kHkcu, "Software\\Vendor\\App");
        registry_.AddKey(kHkcu, "Software\\Other");
        registry_.AddKey(kHklm, "Software\\Machine");
    }

    MemoryRegistry registry_;
    std::unique_ptr<RegistryAccess> access_ = registry_.NewAccess();
};

TEST_F(MemoryRegistryTest, NewAccessorStartsAtCurrentUserWithNoKeyOpen) {
    EXPECT_EQ(access_->GetRootKey(), kHkcu);
    EXPECT_FALSE(access_->HasOpenKey());
    EXPECT_EQ(access_->CurrentPath(), "");
    ASSERT_TRUE(access_->OpenKey("Software"));
    EXPECT_NO_THROW(access_->WriteString("Written", "x"));  // full access by default
}

TEST_F(MemoryRegistryTest, OpenKeyFollowsThePathRules) {
    struct Row {
        const char* name;
        const char* openFirst;  // nullptr: no key open
        const char* path;
        bool opens;
        const char* currentPath;
    };
    const Row rows[] = {
        {"no key open: taken from the root", nullptr, "Software\\Vendor", true, "Software\\Vendor"},
        {"no key open: leading backslash", nullptr, "\\Software", true, "Software"},
        {"key open: relative below it", "Software", "Vendor\\App", true, "Software\\Vendor\\App"},
        {"key open: leading backslash from the root", "Software\\Vendor", "\\Software\\Other", true,
         "Software\\Other"},
        {"key open: a root path without backslash is relative", "Software", "Software\\Other",
         false, ""},
        {"letter case of names ignored", nullptr, "SOFTWARE\\vendor\\aPP", true,
         "SOFTWARE\\vendor\\aPP"},
        {"missing key", nullptr, "Software\\Missing", false, ""},
        {"missing key below an open one", "Software", "Missing", false, ""},
        {"empty path with no key open: the root", nullptr, "", true, ""},
        {"lone backslash: the root", "Software", "\\", true, ""},
        {"empty path with a key open: the same key", "Software\\Vendor", "", true,
         "Software\\Vendor"},
        {"doubled and trailing backslashes kept in the path text", nullptr, "Software\\\\Vendor\\",
         true, "Software\\\\Vendor\\"},
        {"other root's key is not here", nullptr, "Software\\Machine", false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto access = registry_.NewAccess();
        if (row.openFirst) {
            ASSERT_TRUE(access->OpenKey(row.openFirst));
        }
        EXPECT_EQ(access->OpenKey(row.path), row.opens);
        EXPECT_EQ(access->HasOpenKey(), row.opens);
        EXPECT_EQ(access->CurrentPath(), row.currentPath);
    }
}

TEST_F(MemoryRegistryTest, FailedOpenLeavesNoKeyOpenSoTheNextPathIsFromTheRoot) {
    ASSERT_TRUE(access_->OpenKey("Software"));
    EXPECT_FALSE(access_->OpenKey("Missing"));
    EXPECT_FALSE(access_->HasOpenKey());
    EXPECT_TRUE(access_->OpenKey("Software\\Vendor"));
    EXPECT_EQ(access_->CurrentPath(), "Software\\Vendor");
}

TEST_F(MemoryRegistryTest, OpenKeyAndKeyExistsCreateNothing) {
    EXPECT_FALSE(access_->OpenKey("Software\\New"));
    EXPECT_FALSE(access_->KeyExists("Software\\New\\Deeper"));
    EXPECT_FALSE(registry_.HasKey(kHkcu, "Software\\New"));
}

TEST_F(MemoryRegistryTest, KeyExistsUsesThePathRulesAndKeepsTheOpenKey) {
    ASSERT_TRUE(access_->OpenKey("Software"));
    EXPECT_TRUE(access_->KeyExists("vendor\\APP"));
    EXPECT_FALSE(access_->KeyExists("Software\\Vendor"));
    EXPECT_TRUE(access_->KeyExists("\\Software\\Vendor"));
    EXPECT_FALSE(access_->KeyExists("Missing"));
    EXPECT_TRUE(access_->HasOpenKey());
    EXPECT_EQ(access_->CurrentPath(), "Software");
}

TEST_F(MemoryRegistryTest, SetRootKeyClosesTheOpenKeyAndSwitchesTrees) {
    ASSERT_TRUE(access_->OpenKey("Software"));
    access_->SetRootKey(kHklm);
    EXPECT_EQ(access_->GetRootKey(), kHklm);
    EXPECT_FALSE(access_->HasOpenKey());
    EXPECT_TRUE(access_->OpenKey("Software\\Machine"));
    EXPECT_FALSE(access_->KeyExists("\\Software\\Vendor"));
    access_->SetRootKey(RootKey::None);
    EXPECT_FALSE(access_->OpenKey("Software"));
}

TEST_F(MemoryRegistryTest, ListsSubkeysInNameOrderAndValuesInInsertionOrder) {
    registry_.AddKey(kHkcu, "Order\\zeta");
    registry_.AddKey(kHkcu, "Order\\Alpha");
    registry_.AddKey(kHkcu, "Order\\mid");
    registry_.AddKey(kHkcu, "order\\ALPHA\\child");  // same key, no new entry
    registry_.SetString(kHkcu, "Order", "b", "1");
    registry_.SetString(kHkcu, "Order", "", "default");
    registry_.SetString(kHkcu, "Order", "A", "2");
    registry_.SetString(kHkcu, "Order", "B", "3");  // replaces "b" in its place
    ASSERT_TRUE(access_->OpenKey("Order"));
    EXPECT_EQ(access_->GetKeyNames(), (std::vector<std::string>{"Alpha", "mid", "zeta"}));
    EXPECT_EQ(access_->GetValueNames(), (std::vector<std::string>{"b", "", "A"}));
    EXPECT_EQ(access_->ReadString("b"), "3");
    EXPECT_TRUE(access_->ValueExists("a"));
    EXPECT_FALSE(access_->ValueExists("c"));
}

TEST_F(MemoryRegistryTest, WithNoKeyOpenThereIsNothingToListOrRead) {
    EXPECT_TRUE(access_->GetKeyNames().empty());
    EXPECT_TRUE(access_->GetValueNames().empty());
    EXPECT_FALSE(access_->ValueExists(""));
    EXPECT_EQ(access_->GetDataType(""), ValueType::Unknown);
    EXPECT_THROW(access_->ReadString(""), RegistryError);
    EXPECT_FALSE(access_->DeleteValue(""));
}

TEST_F(MemoryRegistryTest, GetDataTypeMapsRegistryTypes) {
    struct Row {
        const char* name;
        uint32_t type;
        ValueType expected;
    };
    const Row rows[] = {
        {"string", regtype::kString, ValueType::String},
        {"expandable", regtype::kExpandString, ValueType::ExpandString},
        {"binary", regtype::kBinary, ValueType::Binary},
        {"dword", regtype::kDword, ValueType::Integer},
        {"none", regtype::kNone, ValueType::Unknown},
        {"big-endian dword", regtype::kDwordBigEndian, ValueType::Unknown},
        {"multi-string", regtype::kMultiString, ValueType::Unknown},
        {"qword", regtype::kQword, ValueType::Unknown},
        {"odd type number", 0x1234, ValueType::Unknown},
    };
    ASSERT_TRUE(access_->OpenKey("Software"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        registry_.SetValue(kHkcu, "Software", row.name, row.type, Bytes("abcd"));
        EXPECT_EQ(access_->GetDataType(row.name), row.expected);
    }
    EXPECT_EQ(access_->GetDataType("missing"), ValueType::Unknown);
}

TEST_F(MemoryRegistryTest, ReadStringAcceptsTextTypesAndEmptyValuesOnly) {
    struct Row {
        const char* name;
        uint32_t type;
        std::vector<uint8_t> data;
        bool reads;
        const char* text;
    };
    const Row rows[] = {
        {"string with its zero", regtype::kString, {'a', 'b', 0}, true, "ab"},
        {"expandable, not expanded", regtype::kExpandString, {'%', 'X', '%', 0}, true, "%X%"},
        {"string without a zero", regtype::kString, {'a', 'b'}, true, "ab"},
        {"text up to the first zero", regtype::kString, {'a', 0, 'b', 0}, true, "a"},
        {"empty string", regtype::kString, {}, true, ""},
        {"empty dword reads empty", regtype::kDword, {}, true, ""},
        {"empty binary reads empty", regtype::kBinary, {}, true, ""},
        {"dword", regtype::kDword, {1, 0, 0, 0}, false, ""},
        {"binary", regtype::kBinary, {'a', 0}, false, ""},
        {"multi-string", regtype::kMultiString, {'a', 0, 0}, false, ""},
    };
    ASSERT_TRUE(access_->OpenKey("Software"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        registry_.SetValue(kHkcu, "Software", row.name, row.type, row.data);
        if (row.reads) {
            EXPECT_EQ(access_->ReadString(row.name), row.text);
        } else {
            EXPECT_THROW(access_->ReadString(row.name), RegistryError);
        }
    }
}

TEST_F(MemoryRegistryTest, ReadErrorsNameTheValue) {
    registry_.SetDword(kHkcu, "Software", "Number", 1);
    ASSERT_TRUE(access_->OpenKey("Software"));
    try {
        access_->ReadString("Number");
        FAIL() << "no error raised";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Failed to get data for 'Number'");
    }
    try {
        access_->ReadInteger("Missing");
        FAIL() << "no error raised";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Failed to get data for 'Missing'");
    }
}

TEST_F(MemoryRegistryTest, ReadIntegerAcceptsFourByteDwordsOnly) {
    struct Row {
        const char* name;
        uint32_t type;
        std::vector<uint8_t> data;
        bool reads;
        int32_t number;
    };
    const Row rows[] = {
        {"ten", regtype::kDword, {10, 0, 0, 0}, true, 10},
        {"little endian", regtype::kDword, {0x78, 0x56, 0x34, 0x12}, true, 0x12345678},
        {"all bits: minus one", regtype::kDword, {0xFF, 0xFF, 0xFF, 0xFF}, true, -1},
        {"short dword", regtype::kDword, {1, 0, 0}, false, 0},
        {"empty dword", regtype::kDword, {}, false, 0},
        {"binary of four bytes", regtype::kBinary, {1, 0, 0, 0}, false, 0},
        {"string", regtype::kString, {'1', 0}, false, 0},
        {"qword", regtype::kQword, {1, 0, 0, 0, 0, 0, 0, 0}, false, 0},
    };
    ASSERT_TRUE(access_->OpenKey("Software"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        registry_.SetValue(kHkcu, "Software", row.name, row.type, row.data);
        if (row.reads) {
            EXPECT_EQ(access_->ReadInteger(row.name), row.number);
        } else {
            EXPECT_THROW(access_->ReadInteger(row.name), RegistryError);
        }
    }
}

TEST_F(MemoryRegistryTest, ReadRawValueGivesTypeBytesAndExactness) {
    registry_.SetValue(kHkcu, "Software", "Multi", regtype::kMultiString, {'a', 0, 0});
    registry_.SetString(kHkcu, "Software", "Lossy", "caf?");
    registry_.MarkInexactText(kHkcu, "Software", "LOSSY");
    ASSERT_TRUE(access_->OpenKey("Software"));
    const RawValue multi = access_->ReadRawValue("multi");
    EXPECT_EQ(multi.type, regtype::kMultiString);
    EXPECT_EQ(multi.data, (std::vector<uint8_t>{'a', 0, 0}));
    EXPECT_TRUE(multi.exact);
    const RawValue lossy = access_->ReadRawValue("Lossy");
    EXPECT_EQ(lossy.data, Terminated("caf?"));
    EXPECT_FALSE(lossy.exact);
    EXPECT_THROW(access_->ReadRawValue("Missing"), RegistryError);
}

TEST_F(MemoryRegistryTest, FailReadBreaksEveryReadButNotTheTypeOrExistence) {
    registry_.SetString(kHkcu, "Software", "Broken", "text");
    registry_.SetValue(kHkcu, "Software", "EmptyBroken", regtype::kString, {});
    registry_.FailRead(kHkcu, "Software", "broken");
    registry_.FailRead(kHkcu, "Software", "EmptyBroken");
    ASSERT_TRUE(access_->OpenKey("Software"));
    EXPECT_TRUE(access_->ValueExists("Broken"));
    EXPECT_EQ(access_->GetDataType("Broken"), ValueType::String);
    EXPECT_THROW(access_->ReadString("Broken"), RegistryError);
    EXPECT_THROW(access_->ReadString("EmptyBroken"), RegistryError);
    EXPECT_THROW(access_->ReadRawValue("Broken"), RegistryError);
    EXPECT_THROW(access_->ReadInteger("Broken"), RegistryError);
}

TEST_F(MemoryRegistryTest, RefusedKeysCannotBeOpenedButTheKeysBelowThemCan) {
    registry_.RefuseOpen(kHkcu, "Software\\Vendor");
    EXPECT_FALSE(access_->OpenKey("Software\\Vendor"));
    EXPECT_FALSE(access_->KeyExists("Software\\Vendor"));
    EXPECT_TRUE(access_->OpenKey("Software\\Vendor\\App"));
    ASSERT_TRUE(access_->OpenKey("\\Software"));
    EXPECT_TRUE(access_->KeyExists("Vendor\\App"));
    // Still listed by its parent, as a key without read rights is.
    EXPECT_EQ(access_->GetKeyNames(), (std::vector<std::string>{"Other", "Vendor"}));
    EXPECT_TRUE(registry_.HasKey(kHkcu, "Software\\Vendor\\App"));
}

TEST_F(MemoryRegistryTest, LastNamesExactReportsTheLastListing) {
    registry_.AddKey(kHkcu, "Names\\Plain");
    registry_.AddKey(kHkcu, "Names\\Caf?");
    registry_.MarkInexactName(kHkcu, "Names\\Caf?", std::nullopt);
    registry_.SetString(kHkcu, "Names", "plain", "x");
    ASSERT_TRUE(access_->OpenKey("Names"));
    EXPECT_TRUE(access_->LastNamesExact());
    access_->GetKeyNames();
    EXPECT_FALSE(access_->LastNamesExact());
    access_->GetValueNames();
    EXPECT_TRUE(access_->LastNamesExact());
    registry_.SetString(kHkcu, "Names", "Val?", "x");
    registry_.MarkInexactName(kHkcu, "Names", std::string("Val?"));
    access_->GetValueNames();
    EXPECT_FALSE(access_->LastNamesExact());
    ASSERT_TRUE(access_->OpenKey("Plain"));
    access_->GetKeyNames();
    EXPECT_TRUE(access_->LastNamesExact());
}

TEST_F(MemoryRegistryTest, DeleteKeyRemovesTheSubtreeByThePathRules) {
    registry_.SetString(kHkcu, "Software\\Vendor\\App", "v", "x");
    ASSERT_TRUE(access_->OpenKey("Software"));
    EXPECT_TRUE(access_->DeleteKey("VENDOR"));
    EXPECT_FALSE(registry_.HasKey(kHkcu, "Software\\Vendor"));
    EXPECT_FALSE(registry_.HasKey(kHkcu, "Software\\Vendor\\App"));
    EXPECT_FALSE(access_->DeleteKey("Vendor"));
    EXPECT_TRUE(access_->DeleteKey("\\Software\\Other"));
    EXPECT_EQ(registry_.SubkeyNames(kHkcu, "Software"), std::vector<std::string>{});
    EXPECT_TRUE(access_->HasOpenKey());
}

TEST_F(MemoryRegistryTest, DeleteKeyRefusalsLeaveTheSubtreeWhole) {
    struct Row {
        const char* name;
        const char* refuseDelete;
        const char* refuseOpen;
        const char* path;
    };
    const Row rows[] = {
        {"the key refuses", "Software\\Vendor", nullptr, "Software\\Vendor"},
        {"a key below refuses", "Software\\Vendor\\App", nullptr, "Software\\Vendor"},
        {"a key below cannot be opened", nullptr, "Software\\Vendor\\App", "Software\\Vendor"},
        {"the root itself", nullptr, nullptr, ""},
        {"the root by backslash", nullptr, nullptr, "\\"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MemoryRegistry registry;
        registry.AddKey(kHkcu, "Software\\Vendor\\App");
        if (row.refuseDelete)
            registry.RefuseDelete(kHkcu, row.refuseDelete);
        if (row.refuseOpen)
            registry.RefuseOpen(kHkcu, row.refuseOpen);
        auto access = registry.NewAccess();
        EXPECT_FALSE(access->DeleteKey(row.path));
        EXPECT_TRUE(registry.HasKey(kHkcu, "Software\\Vendor\\App"));
    }
}

TEST_F(MemoryRegistryTest, AnOpenKeyDeletedMeanwhileIsEmpty) {
    registry_.SetString(kHkcu, "Software\\Vendor\\App", "v", "x");
    auto other = registry_.NewAccess();
    ASSERT_TRUE(access_->OpenKey("Software\\Vendor\\App"));
    ASSERT_TRUE(other->DeleteKey("Software\\Vendor"));
    EXPECT_TRUE(access_->GetValueNames().empty());
    EXPECT_THROW(access_->ReadString("v"), RegistryError);
    EXPECT_THROW(access_->WriteString("v", "y"), RegistryError);
    registry_.AddKey(kHkcu, "Software\\Vendor\\App");  // a new key of the same name
    EXPECT_TRUE(access_->GetValueNames().empty());
}

TEST_F(MemoryRegistryTest, DeleteValueNeedsTheValueAndTheRight) {
    registry_.SetString(kHkcu, "Software\\Vendor", "v", "x");
    registry_.SetString(kHkcu, "Software\\Other", "v", "x");
    registry_.RefuseDelete(kHkcu, "Software\\Other");
    ASSERT_TRUE(access_->OpenKey("Software\\Other"));
    EXPECT_FALSE(access_->DeleteValue("v"));
    ASSERT_TRUE(access_->OpenKey("\\Software\\Vendor"));
    EXPECT_FALSE(access_->DeleteValue("missing"));
    EXPECT_TRUE(access_->DeleteValue("V"));
    EXPECT_FALSE(registry_.HasValue(kHkcu, "Software\\Vendor", "v"));
    EXPECT_TRUE(registry_.HasValue(kHkcu, "Software\\Other", "v"));
}

TEST_F(MemoryRegistryTest, ReadOnlyKeysRefuseChangesToTheirValues) {
    registry_.SetString(kHkcu, "Software", "v", "x");
    access_->SetAccess(AccessMode::ReadOnly);
    ASSERT_TRUE(access_->OpenKey("Software"));
    EXPECT_EQ(access_->ReadString("v"), "x");
    EXPECT_FALSE(access_->DeleteValue("v"));
    EXPECT_THROW(access_->WriteString("w", "y"), RegistryError);
    // The rights are the open key's: set at its opening.
    access_->SetAccess(AccessMode::Full);
    EXPECT_FALSE(access_->DeleteValue("v"));
    ASSERT_TRUE(access_->OpenKey("\\Software"));
    EXPECT_TRUE(access_->DeleteValue("v"));
}

TEST_F(MemoryRegistryTest, WriteStringStoresATerminatedString) {
    EXPECT_THROW(access_->WriteString("v", "x"), RegistryError);
    ASSERT_TRUE(access_->OpenKey("Software"));
    access_->WriteString("LastKey", "HKEY_CURRENT_USER\\Software");
    const auto stored = registry_.GetValue(kHkcu, "Software", "lastkey");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->type, regtype::kString);
    EXPECT_EQ(stored->data, Terminated("HKEY_CURRENT_USER\\Software"));
    access_->WriteString("LASTKEY", "");
    EXPECT_EQ(registry_.ValueNames(kHkcu, "Software"), std::vector<std::string>{"LastKey"});
    EXPECT_EQ(registry_.GetValue(kHkcu, "Software", "LastKey")->data, std::vector<uint8_t>{0});
}

TEST_F(MemoryRegistryTest, CountsCallsMadeThroughAccessors) {
    const size_t before = registry_.CallCount();
    access_->OpenKey("Software");         // 1
    access_->GetKeyNames();               // 2
    access_->KeyExists("Vendor");         // 3
    access_->GetDataType("x");            // 4
    access_->HasOpenKey();                // not a registry call
    access_->CurrentPath();               // not a registry call
    registry_.HasKey(kHkcu, "Software");  // inspection is not counted
    EXPECT_EQ(registry_.CallCount() - before, 4u);
}

TEST_F(MemoryRegistryTest, AccessorsOutliveTheRegistryObject) {
    auto registry = std::make_unique<MemoryRegistry>();
    registry->SetString(kHkcu, "Kept", "v", "x");
    auto access = registry->NewAccess();
    registry.reset();
    ASSERT_TRUE(access->OpenKey("Kept"));
    EXPECT_EQ(access->ReadString("v"), "x");
}

TEST_F(MemoryRegistryTest, AScanThreadAndTheTestThreadShareTheStore) {
    std::atomic<bool> done{false};
    std::thread scanner([&] {
        auto access = registry_.NewAccess();
        while (!done.load()) {
            if (access->OpenKey("Software\\Busy"))
                access->GetValueNames();
            access->KeyExists("Software\\Busy\\Sub");
        }
    });
    for (int i = 0; i < 300; ++i) {
        registry_.SetDword(kHkcu, "Software\\Busy", "n" + std::to_string(i % 7),
                           static_cast<uint32_t>(i));
        if (i % 50 == 0)
            registry_.RemoveKey(kHkcu, "Software\\Busy");
    }
    done = true;
    scanner.join();
    EXPECT_EQ(registry_.ValueNames(kHkcu, "Software\\Busy").size(), 7u);
}

TEST(MemoryRegistryBuilding, RemovesKeysAndValuesAndRejectsNoRoot) {
    MemoryRegistry registry;
    registry.SetString(kHkcu, "A\\B", "v", "x");
    registry.RemoveValue(kHkcu, "a\\b", "V");
    EXPECT_FALSE(registry.HasValue(kHkcu, "A\\B", "v"));
    registry.RemoveKey(kHkcu, "a");
    EXPECT_FALSE(registry.HasKey(kHkcu, "A"));
    registry.RemoveKey(kHkcu, "Missing\\Key");  // nothing to do
    EXPECT_TRUE(registry.HasKey(kHkcu, ""));
    EXPECT_THROW(registry.AddKey(RootKey::None, "A"), std::invalid_argument);
    EXPECT_FALSE(registry.GetValue(kHkcu, "A\\B", "v").has_value());
}

}  // namespace
}  // namespace vantrel
