// What only the in-memory registry does: building, inspection, call counting, threads, and its
// choices where registries differ. What every registry does is in tests/contract.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/memory/MemoryRegistry.h"

namespace vantrel {
namespace {

constexpr RootKey kHkcu = RootKey::CurrentUser;

class MemoryRegistryTest : public ::testing::Test {
  protected:
    MemoryRegistryTest() {
        registry_.AddKey(kHkcu, "Software\\Vendor\\App");
        registry_.AddKey(kHkcu, "Software\\Other");
    }

    MemoryRegistry registry_;
    std::unique_ptr<RegistryAccess> access_ = registry_.NewAccess();
};

// Wine lists values in name order; this stand-in keeps the order of creation, as Windows does.
TEST_F(MemoryRegistryTest, ValuesKeepTheOrderTheyWereAddedAndAReplacedValueItsPlace) {
    registry_.SetString(kHkcu, "Order", "b", "1");
    registry_.SetString(kHkcu, "Order", "", "default");
    registry_.SetString(kHkcu, "Order", "A", "2");
    registry_.SetString(kHkcu, "Order", "B", "3");
    ASSERT_TRUE(access_->OpenKey("Order"));
    EXPECT_EQ(access_->GetValueNames(), (std::vector<std::string>{"b", "", "A"}));
    EXPECT_EQ(access_->ReadString("b"), "3");
}

// A refusal that the key's rights do not explain: the key opens with full access all the same.
TEST_F(MemoryRegistryTest, RefuseDeleteRefusesValuesOfAKeyOpenWithFullAccess) {
    registry_.SetString(kHkcu, "Software\\Other", "v", "x");
    registry_.RefuseDelete(kHkcu, "Software\\Other");
    ASSERT_TRUE(access_->OpenKey("Software\\Other"));
    EXPECT_FALSE(access_->DeleteValue("v"));
    EXPECT_NO_THROW(access_->WriteString("w", "y"));
    EXPECT_TRUE(registry_.HasValue(kHkcu, "Software\\Other", "v"));
}

TEST_F(MemoryRegistryTest, InspectionSeesPastTheFaultMarks) {
    registry_.SetString(kHkcu, "Software\\Vendor", "v?", "x");
    registry_.MarkInexactName(kHkcu, "Software\\Vendor", std::string("v?"));
    registry_.RefuseOpen(kHkcu, "Software\\Vendor");
    registry_.AddKey(kHkcu, "Software\\Lost?");
    registry_.MarkInexactName(kHkcu, "Software\\Lost?", std::nullopt);
    EXPECT_TRUE(registry_.HasKey(kHkcu, "Software\\Vendor"));
    EXPECT_TRUE(registry_.HasKey(kHkcu, "Software\\Lost?"));
    EXPECT_TRUE(registry_.HasValue(kHkcu, "Software\\Vendor", "v?"));
    EXPECT_EQ(registry_.ValueNames(kHkcu, "Software\\Vendor"), std::vector<std::string>{"v?"});
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

TEST_F(MemoryRegistryTest, FailCallFailsOnlyTheNthCallOfItsKind) {
    registry_.SetString(kHkcu, "Software\\Other", "v", "x");
    auto reader = registry_.NewAccess();
    reader->SetAccess(AccessMode::ReadOnly);
    registry_.FailCall(RegistryCall::OpenForWrite, 2);
    EXPECT_TRUE(access_->OpenKey("Software\\Other")) << "first open for writing";
    EXPECT_TRUE(reader->OpenKey("Software\\Other")) << "opens for reading are not counted";
    EXPECT_FALSE(access_->OpenKey("Software\\Other")) << "second open for writing";
    EXPECT_FALSE(access_->HasOpenKey());
    EXPECT_TRUE(access_->OpenKey("Software\\Other")) << "third open for writing";

    registry_.FailCall(RegistryCall::ReadData, 1);
    registry_.FailCall(RegistryCall::DeleteValue, 1);
    EXPECT_THROW(access_->ReadRawValue("v"), RegistryError);
    EXPECT_EQ(access_->ReadString("v"), "x");
    EXPECT_FALSE(access_->DeleteValue("v"));
    EXPECT_TRUE(registry_.HasValue(kHkcu, "Software\\Other", "v"));
    EXPECT_TRUE(access_->DeleteValue("v"));

    registry_.FailCall(RegistryCall::DeleteKey, 1);
    EXPECT_FALSE(access_->DeleteKey("\\Software\\Vendor"));
    EXPECT_TRUE(registry_.HasKey(kHkcu, "Software\\Vendor"));
    EXPECT_THROW(registry_.FailCall(RegistryCall::KeyExists, 0), std::invalid_argument);
}

// The observer runs outside the lock: it may look at and change the registry it observes.
TEST_F(MemoryRegistryTest, TheObserverSeesEveryCallBeforeItAndMayChangeTheRegistry) {
    std::vector<RegistryCall> seen;
    registry_.SetCallObserver([&](RegistryCall call) {
        seen.push_back(call);
        if (call == RegistryCall::KeyExists)
            registry_.RemoveKey(kHkcu, "Software\\Other");
    });
    access_->SetAccess(AccessMode::ReadOnly);
    EXPECT_TRUE(access_->OpenKey("Software"));
    EXPECT_FALSE(access_->KeyExists("Other")) << "removed by the observer before the call";
    access_->GetValueNames();
    registry_.SetCallObserver(nullptr);
    access_->GetKeyNames();
    EXPECT_EQ(seen, (std::vector<RegistryCall>{RegistryCall::OpenForRead, RegistryCall::KeyExists,
                                               RegistryCall::ListNames}));
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
