#pragma once

// The registry contract suite: the same cases against every implementation of RegistryAccess.
// The cases live in RegistryContractTest.cpp; each test program instantiates them for the
// registries it can reach:
//   INSTANTIATE_TEST_SUITE_P(, RegistryContract, ::testing::Values(RegistryKind{...}),
//                            RegistryKindName);
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "tests/contract/RegistryUnderTest.h"

namespace vantrel::test {

// One registry of an instantiation: its name in the test names, and how to make one per test.
struct RegistryKind {
    const char* name;
    std::unique_ptr<RegistryUnderTest> (*make)();
};

inline void PrintTo(const RegistryKind& kind, std::ostream* out) {
    *out << kind.name;
}

inline std::string RegistryKindName(const ::testing::TestParamInfo<RegistryKind>& info) {
    return info.param.name;
}

class RegistryContract : public ::testing::TestWithParam<RegistryKind> {
  protected:
    RegistryContract() : registry_(GetParam().make()) {}

    RegistryUnderTest& Registry() { return *registry_; }
    std::string Path(std::string_view below = {}) const { return registry_->Path(below); }

    std::unique_ptr<RegistryAccess> NewAccess(AccessMode mode = AccessMode::Full) {
        auto access = registry_->Source().NewAccess();
        access->SetAccess(mode);
        return access;
    }
    // An accessor with the key below the scratch key open.
    std::unique_ptr<RegistryAccess> OpenAt(std::string_view below = {},
                                           AccessMode mode = AccessMode::Full) {
        auto access = NewAccess(mode);
        EXPECT_TRUE(access->OpenKey(Path(below))) << "cannot open " << Path(below);
        return access;
    }

  private:
    std::unique_ptr<RegistryUnderTest> registry_;
};

}  // namespace vantrel::test
