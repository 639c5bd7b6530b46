#include <gtest/gtest.h>

#include <string>

#include "platform/memory/MemoryRegistry.h"
#include "scan/PathTests.h"

namespace vantrel {
namespace {

constexpr const char* kTestKey = "Software\\Test";
constexpr RootKey kRoot = RootKey::LocalMachine;

std::string Below(const char* subPath) {
    return std::string(kTestKey) + "\\" + subPath;
}

struct CountCase {
    const char* name;
    void (*build)(MemoryRegistry&);  // the tree below HKEY_LOCAL_MACHINE\Software\Test
    int limit;
    bool countSubkeys;
    bool countEmptyDefault;
    int expected;
};

// Every caller passes Limit 1 with CountSubkeys set; other settings show the steps apart.
const CountCase kCountCases[] = {
    {"EmptyDefaultWithoutCountingIt",
     [](MemoryRegistry& r) { r.SetString(kRoot, kTestKey, "", ""); }, 1, true, false, 0},
    {"EmptyDefaultCounted", [](MemoryRegistry& r) { r.SetString(kRoot, kTestKey, "", ""); }, 1,
     true, true, 1},
    {"EmptyExpandableDefault",
     [](MemoryRegistry& r) { r.SetString(kRoot, kTestKey, "", "", regtype::kExpandString); }, 1,
     true, false, 0},
    {"EmptyDefaultWithoutTerminatingZero",
     [](MemoryRegistry& r) { r.SetValue(kRoot, kTestKey, "", regtype::kString, {}); }, 1, true,
     false, 0},
    {"DefaultHoldingText", [](MemoryRegistry& r) { r.SetString(kRoot, kTestKey, "", "x"); }, 1,
     true, false, 1},
    {"EmptyDefaultOfAnotherType",
     [](MemoryRegistry& r) { r.SetValue(kRoot, kTestKey, "", regtype::kBinary, {}); }, 1, true,
     false, 1},
    {"EmptyNamedString", [](MemoryRegistry& r) { r.SetString(kRoot, kTestKey, "name", ""); }, 1,
     true, false, 1},
    {"EmptyDefaultBesideAnotherValue",
     [](MemoryRegistry& r) {
         r.SetString(kRoot, kTestKey, "", "");
         r.SetString(kRoot, kTestKey, "name", "x");
     },
     0, true, false, 2},
    {"NoValuesNoSubkeys", [](MemoryRegistry& r) { r.AddKey(kRoot, kTestKey); }, 1, true, false, 0},
    {"OneSubkeyWithOneValue", [](MemoryRegistry& r) { r.SetString(kRoot, Below("Sub"), "v", "1"); },
     1, true, false, 1},
    {"OneEmptySubkey", [](MemoryRegistry& r) { r.SetString(kRoot, Below("Sub"), "", ""); }, 1, true,
     false, 0},
    {"EmptyChainDownTheTree", [](MemoryRegistry& r) { r.AddKey(kRoot, Below("A\\B\\C\\D")); }, 1,
     true, false, 0},
    {"ValueAtTheBottomOfAChain",
     [](MemoryRegistry& r) { r.SetDword(kRoot, Below("A\\B\\C\\D"), "v", 1); }, 1, true, false, 1},
    {"TwoEmptySubkeysAreNotEmpty",
     [](MemoryRegistry& r) {
         r.AddKey(kRoot, Below("A"));
         r.AddKey(kRoot, Below("B"));
     },
     1, true, false, 2},
    {"TwoEmptySubkeysWithoutCountingSubkeys",
     [](MemoryRegistry& r) {
         r.AddKey(kRoot, Below("A"));
         r.AddKey(kRoot, Below("B"));
     },
     1, false, false, 0},
    {"LimitReachedByValuesReturnsAllValues",
     [](MemoryRegistry& r) {
         for (const char* name : {"a", "b", "c"})
             r.SetString(kRoot, kTestKey, name, "1");
     },
     1, true, false, 3},
    {"SubkeysUpToTheLimitAreVisited",
     [](MemoryRegistry& r) {
         r.AddKey(kRoot, Below("A"));
         r.AddKey(kRoot, Below("B"));
     },
     2, true, false, 0},
    {"StopsAtTheFirstSubkeyReachingTheLimit",
     [](MemoryRegistry& r) {
         r.SetString(kRoot, Below("A"), "a", "1");
         r.SetString(kRoot, Below("A"), "b", "2");
         r.SetString(kRoot, Below("B"), "c", "3");
     },
     2, false, false, 2},
    {"WithoutLimitCountsTheWholeTree",
     [](MemoryRegistry& r) {
         r.SetString(kRoot, kTestKey, "r", "1");
         r.SetString(kRoot, Below("A"), "a", "1");
         r.SetString(kRoot, Below("A"), "b", "2");
         r.SetString(kRoot, Below("A\\X"), "", "");
         r.SetString(kRoot, Below("B"), "c", "3");
     },
     0, true, true, 5},
    // Gone between the listing and the count: not known to be empty either.
    {"MissingKey", [](MemoryRegistry& r) { r.SetString(kRoot, "Software\\Other", "v", "1"); }, 1,
     true, false, 1},
    {"UnopenableSubkeyDeepDown",
     [](MemoryRegistry& r) {
         r.AddKey(kRoot, Below("A\\B\\C"));
         r.RefuseOpen(kRoot, Below("A\\B\\C"));
     },
     1, true, false, 1},
    // KEY_READ asks for notification: the count cannot read such a key, however KeyExists sees it.
    {"SubkeyRefusingNotification",
     [](MemoryRegistry& r) {
         r.AddKey(kRoot, Below("A"));
         r.RefuseNotify(kRoot, Below("A"));
     },
     1, true, true, 1},
};

TEST(CountKeyEntries, Cases) {
    for (const CountCase& row : kCountCases) {
        MemoryRegistry registry;
        row.build(registry);
        EXPECT_EQ(CountKeyEntries(registry, kRoot, kTestKey, row.limit, row.countSubkeys,
                                  row.countEmptyDefault),
                  row.expected)
            << row.name;
    }
}

// What the scan cannot read is not known to be empty, so it is never offered for deletion.
TEST(CountKeyEntries, UnopenableKeyCountsAsOneEntry) {
    MemoryRegistry registry;
    registry.AddKey(RootKey::LocalMachine, kTestKey);
    registry.RefuseOpen(RootKey::LocalMachine, kTestKey);
    EXPECT_EQ(CountKeyEntries(registry, RootKey::LocalMachine, kTestKey, 1, true, false), 1);
    EXPECT_EQ(CountKeyEntries(registry, RootKey::LocalMachine, kTestKey, 0, false, true), 1);
}

TEST(CountKeyEntries, DoesNotDescendIntoKeysWithMoreSubkeysThanTheLimit) {
    MemoryRegistry alone;
    alone.AddKey(RootKey::LocalMachine, kTestKey);
    CountKeyEntries(alone, RootKey::LocalMachine, kTestKey, 1, true, false);
    const size_t callsForTheKeyAlone = alone.CallCount();

    MemoryRegistry wide;
    for (const char* name : {"A", "B", "C"}) {
        wide.SetString(RootKey::LocalMachine, std::string(kTestKey) + "\\" + name, "v", "1");
    }
    EXPECT_EQ(CountKeyEntries(wide, RootKey::LocalMachine, kTestKey, 1, true, false), 3);
    EXPECT_EQ(wide.CallCount(), callsForTheKeyAlone);
}

TEST(CountKeyEntries, UnreadableEmptyDefaultIsNotTakenForEmpty) {
    MemoryRegistry registry;
    registry.SetString(RootKey::LocalMachine, kTestKey, "", "");
    registry.FailRead(RootKey::LocalMachine, kTestKey, "");
    EXPECT_EQ(CountKeyEntries(registry, RootKey::LocalMachine, kTestKey, 1, true, false), 1);
}

TEST(CountKeyEntries, SubkeyWithUnrepresentableNameIsNotTakenForEmpty) {
    MemoryRegistry registry;
    const std::string sub = std::string(kTestKey) + "\\Sub";
    registry.AddKey(RootKey::LocalMachine, sub);
    registry.MarkInexactName(RootKey::LocalMachine, sub, std::nullopt);
    EXPECT_EQ(CountKeyEntries(registry, RootKey::LocalMachine, kTestKey, 1, true, false), 1);
}

TEST(CountKeyEntries, ChangesNothing) {
    MemoryRegistry registry;
    registry.SetString(kRoot, Below("A"), "", "");
    CountKeyEntries(registry, RootKey::LocalMachine, "Software\\Test\\Gone", 1, true, false);
    CountKeyEntries(registry, RootKey::LocalMachine, kTestKey, 0, true, false);
    EXPECT_FALSE(registry.HasKey(RootKey::LocalMachine, "Software\\Test\\Gone"));
    EXPECT_TRUE(registry.HasValue(RootKey::LocalMachine, "Software\\Test\\A", ""));
}

}  // namespace
}  // namespace vantrel
