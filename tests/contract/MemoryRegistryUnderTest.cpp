// The contract suite against the in-memory registry (core tests: natively and under Wine).
#include "platform/memory/MemoryRegistry.h"
#include "tests/contract/RegistryContract.h"

namespace vantrel::test {
namespace {

constexpr RootKey kUser = RootKey::CurrentUser;

class MemoryRegistryUnderTest final : public RegistryUnderTest {
  public:
    MemoryRegistryUnderTest() {
        registry_.AddKey(kUser, Base());
        // Every Windows has one; the cases switch to it. A 64-bit one has the 32-bit view's too.
        registry_.AddKey(RootKey::LocalMachine, "Software\\Wow6432Node");
    }

    RegistrySource& Source() override { return registry_; }
    std::string Base() const override { return "Software\\VantrelTest\\Contract"; }

    void AddKey(std::string_view below) override { registry_.AddKey(kUser, Path(below)); }
    void SetValue(std::string_view below, std::string_view name, uint32_t type,
                  const std::vector<uint8_t>& data) override {
        registry_.SetValue(kUser, Path(below), name, type, data);
    }

    void AddLink(std::string_view below, std::string_view targetBelow) override {
        registry_.AddLink(kUser, Path(below), kUser, Path(targetBelow));
    }

    std::string MachineBase() const override { return "VantrelTest\\Contract"; }
    void AddMachineKey(std::string_view below, RegistryView view) override {
        registry_.AddKey(RootKey::LocalMachine, MachinePath(below, view));
    }
    void ShareMachineKey(std::string_view below) override {
        registry_.AddLink(RootKey::LocalMachine, MachinePath(below, RegistryView::ThirtyTwoBit),
                          RootKey::LocalMachine, MachinePath(below, RegistryView::Native));
    }

    bool HasKey(std::string_view below) override { return registry_.HasKey(kUser, Path(below)); }
    bool HasValue(std::string_view below, std::string_view name) override {
        return registry_.HasValue(kUser, Path(below), name);
    }
    std::optional<RawValue> GetValue(std::string_view below, std::string_view name) override {
        return registry_.GetValue(kUser, Path(below), name);
    }
    std::vector<std::string> SubkeyNames(std::string_view below) override {
        return registry_.SubkeyNames(kUser, Path(below));
    }
    std::vector<std::string> ValueNames(std::string_view below) override {
        return registry_.ValueNames(kUser, Path(below));
    }

    void RefuseOpen(std::string_view below) override { registry_.RefuseOpen(kUser, Path(below)); }
    void RefuseWriteAccess(std::string_view below) override {
        registry_.RefuseWriteAccess(kUser, Path(below));
    }
    void RefuseNotify(std::string_view below) override {
        registry_.RefuseNotify(kUser, Path(below));
    }
    void RefuseDelete(std::string_view below) override {
        registry_.RefuseDelete(kUser, Path(below));
    }
    std::optional<std::string> FailRead(std::string_view below, std::string_view name) override {
        registry_.FailRead(kUser, Path(below), name);
        return std::nullopt;
    }

    std::optional<std::string> CannotLoseCharacters() const override { return std::nullopt; }
    void AddKeyNamedOutsideCodePage(std::string_view parent, std::string_view stem) override {
        const std::string path = Path(parent) + "\\" + std::string(stem) + "?";
        registry_.AddKey(kUser, path);
        registry_.MarkInexactName(kUser, path, std::nullopt);
    }
    void SetValueNamedOutsideCodePage(std::string_view below, std::string_view stem) override {
        const std::string name = std::string(stem) + "?";
        registry_.SetString(kUser, Path(below), name, "v");
        registry_.MarkInexactName(kUser, Path(below), name);
    }
    void SetStringOutsideCodePage(std::string_view below, std::string_view name,
                                  std::string_view stem) override {
        registry_.SetString(kUser, Path(below), name, std::string(stem) + "?");
        registry_.MarkInexactText(kUser, Path(below), name);
    }

  private:
    std::string MachinePath(std::string_view below, RegistryView view) const {
        const char* software =
            view == RegistryView::ThirtyTwoBit ? "Software\\Wow6432Node\\" : "Software\\";
        return software + MachineBase() + "\\" + std::string(below);
    }

    MemoryRegistry registry_;
};

std::unique_ptr<RegistryUnderTest> MakeMemoryRegistry() {
    return std::make_unique<MemoryRegistryUnderTest>();
}

INSTANTIATE_TEST_SUITE_P(, RegistryContract,
                         ::testing::Values(RegistryKind{"Memory", MakeMemoryRegistry}),
                         RegistryKindName);

}  // namespace
}  // namespace vantrel::test
