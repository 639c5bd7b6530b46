// The contract suite against the Win32 adapter over Wine's real registry.
//
// Faults are access lists on the scratch keys: a deny entry for Everyone placed before an
// entry that allows everything. Wine checks a key's access list whenever a key is opened with
// any right beyond the standard ones (DELETE, READ_CONTROL, WRITE_DAC, WRITE_OWNER), so each
// fault leaves WRITE_DAC alone and the original list can be put back before the scratch key is
// deleted.
#include <windows.h>

#include <sddl.h>

#include "platform/win32/AnsiText.h"
#include "platform/win32/Win32Registry.h"
#include "tests/contract/RegistryContract.h"
#include "tests/win32/ScratchArea.h"

namespace vantrel::test {
namespace {

constexpr DWORD kEveryRight = KEY_ALL_ACCESS & ~WRITE_DAC;
// What a key whose users may only read refuses: every change to it, deletion included.
constexpr DWORD kWriteRights =
    KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE | WRITE_OWNER;
// A character the ANSI code pages of western Windows lack.
constexpr wchar_t kOutsideCodePage = L'\u65E5';

bool IsTextType(uint32_t type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ || type == REG_LINK;
}

std::vector<uint8_t> StoredForm(uint32_t type, const std::vector<uint8_t>& data) {
    if (!IsTextType(type))
        return data;
    return WideBytes(
        ToWide(std::string_view(reinterpret_cast<const char*>(data.data()), data.size())));
}

std::string Narrow(std::wstring_view wide) {
    return ToAnsi(wide).text;
}

using NtDeleteKeyFunction = LONG(WINAPI*)(HANDLE);

// The system's name of HKEY_CURRENT_USER: the running user's hive below \REGISTRY\USER.
std::wstring CurrentUserKeyName() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return L"";
    std::vector<uint8_t> user(256);
    DWORD size = 0;
    const bool read = ::GetTokenInformation(token, TokenUser, user.data(),
                                            static_cast<DWORD>(user.size()), &size) != FALSE;
    ::CloseHandle(token);
    wchar_t* sid = nullptr;
    if (!read ||
        !::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &sid)) {
        return L"";
    }
    std::wstring name = L"\\REGISTRY\\USER\\" + std::wstring(sid);
    ::LocalFree(sid);
    return name;
}

// A link key at path below root, leading to the key of that system name.
void CreateLink(HKEY root, const std::wstring& path, const std::wstring& target) {
    unique_hkey link;
    ASSERT_EQ(::RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                                KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, link.put(), nullptr),
              ERROR_SUCCESS);
    // The system keeps the target without a terminator.
    ASSERT_EQ(::RegSetValueExW(link.get(), L"SymbolicLinkValue", 0, REG_LINK,
                               reinterpret_cast<const BYTE*>(target.c_str()),
                               static_cast<DWORD>(target.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

// Deletes a link key itself: RegDeleteKey and RegDeleteTree would reach through it.
void DeleteLink(HKEY root, const std::wstring& path) {
    static const auto deleteKey = reinterpret_cast<NtDeleteKeyFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey")));
    unique_hkey link;
    if (deleteKey == nullptr || ::RegOpenKeyExW(root, path.c_str(), REG_OPTION_OPEN_LINK, DELETE,
                                                link.put()) != ERROR_SUCCESS) {
        return;
    }
    deleteKey(link.get());
}

// A key's access list replaced for a test, and what it was before.
struct GuardedKey {
    std::wstring path;
    DWORD deniedRights = 0;
    std::vector<uint8_t> original;
};

class Win32RegistryUnderTest final : public RegistryUnderTest {
  public:
    Win32RegistryUnderTest() : machineBase_(L"VantrelTest\\Contract\\" + CurrentTestName()) {
        DeleteMachineKeys();
    }
    // The scratch key can only be deleted once every key in it allows it again, and once the
    // links in it are gone (a deletion would reach through them).
    ~Win32RegistryUnderTest() override {
        Restore();
        for (const auto& [root, path] : links_)
            DeleteLink(root, path);
        DeleteMachineKeys();
    }
    Win32RegistryUnderTest(const Win32RegistryUnderTest&) = delete;
    Win32RegistryUnderTest& operator=(const Win32RegistryUnderTest&) = delete;

    RegistrySource& Source() override { return registry_; }
    std::string Base() const override { return scratch_.Path(); }

    void AddKey(std::string_view below) override {
        if (!below.empty())
            scratch_.CreateKey(ToWide(below));
    }
    void SetValue(std::string_view below, std::string_view name, uint32_t type,
                  const std::vector<uint8_t>& data) override {
        // The system adds the terminator that text leaves out whenever a zero happens to
        // follow it in memory; a character after the data keeps it exactly as given.
        std::vector<uint8_t> stored = StoredForm(type, data);
        const auto bytes = static_cast<DWORD>(stored.size());
        stored.insert(stored.end(), {0xFF, 0xFF});
        const std::wstring subPath = ToWide(below);
        ASSERT_EQ(::RegSetKeyValueW(scratch_.get(), subPath.empty() ? nullptr : subPath.c_str(),
                                    ToWide(name).c_str(), type, stored.data(), bytes),
                  ERROR_SUCCESS);
    }

    void AddLink(std::string_view below, std::string_view targetBelow) override {
        const std::wstring path = ToWide(Path(below));
        CreateLink(HKEY_CURRENT_USER, path,
                   CurrentUserKeyName() + L"\\" + ToWide(Path(targetBelow)));
        links_.emplace_back(HKEY_CURRENT_USER, path);
    }

    std::string MachineBase() const override { return Narrow(machineBase_); }
    void AddMachineKey(std::string_view below, RegistryView view) override {
        unique_hkey created;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, MachinePath(below, view).c_str(), 0,
                                    nullptr, 0, KEY_ALL_ACCESS, nullptr, created.put(), nullptr),
                  ERROR_SUCCESS);
    }
    void ShareMachineKey(std::string_view below) override {
        const std::wstring path = MachinePath(below, RegistryView::ThirtyTwoBit);
        CreateLink(HKEY_LOCAL_MACHINE, path,
                   L"\\REGISTRY\\MACHINE\\" + MachinePath(below, RegistryView::Native));
        links_.emplace_back(HKEY_LOCAL_MACHINE, path);
    }

    bool HasKey(std::string_view below) override {
        SetAside setAside(*this);
        unique_hkey key;
        return Open(below, KEY_READ, key) == ERROR_SUCCESS;
    }
    bool HasValue(std::string_view below, std::string_view name) override {
        return GetValue(below, name).has_value();
    }
    std::optional<RawValue> GetValue(std::string_view below, std::string_view name) override {
        SetAside setAside(*this);
        unique_hkey key;
        if (Open(below, KEY_READ, key) != ERROR_SUCCESS)
            return std::nullopt;
        const std::wstring wideName = ToWide(name);
        DWORD type = REG_NONE;
        DWORD size = 0;
        if (::RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::vector<uint8_t> data(size);
        ::RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type, data.data(), &size);
        data.resize(size);
        RawValue value;
        value.type = type;
        if (!IsTextType(type)) {
            value.data = std::move(data);
            return value;
        }
        const AnsiText text = ToAnsi(std::wstring_view(
            reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t)));
        value.data.assign(text.text.begin(), text.text.end());
        value.exact = text.exact;
        return value;
    }
    std::vector<std::string> SubkeyNames(std::string_view below) override {
        return Names(below, [](HKEY key, DWORD index, wchar_t* name, DWORD* chars) {
            return ::RegEnumKeyExW(key, index, name, chars, nullptr, nullptr, nullptr, nullptr);
        });
    }
    std::vector<std::string> ValueNames(std::string_view below) override {
        return Names(below, [](HKEY key, DWORD index, wchar_t* name, DWORD* chars) {
            return ::RegEnumValueW(key, index, name, chars, nullptr, nullptr, nullptr, nullptr);
        });
    }

    void RefuseOpen(std::string_view below) override { Deny(below, kEveryRight); }
    void RefuseWriteAccess(std::string_view below) override { Deny(below, kWriteRights); }
    void RefuseNotify(std::string_view below) override { Deny(below, KEY_NOTIFY); }
    void RefuseDelete(std::string_view below) override { Deny(below, DELETE); }
    std::optional<std::string> FailRead(std::string_view, std::string_view) override {
        return "Wine's registry has no value that a key opened for reading lists but cannot "
               "read: the rights to read values are the key's, for all its values at once";
    }

    std::optional<std::string> CannotLoseCharacters() const override {
        if (ToAnsi(std::wstring(1, kOutsideCodePage)).exact)
            return "the ANSI code page " + std::to_string(::GetACP()) + " holds U+65E5";
        return std::nullopt;
    }
    void AddKeyNamedOutsideCodePage(std::string_view parent, std::string_view stem) override {
        std::wstring path = ToWide(parent);
        if (!path.empty())
            path += L"\\";
        scratch_.CreateKey(path + ToWide(stem) + kOutsideCodePage);
    }
    void SetValueNamedOutsideCodePage(std::string_view below, std::string_view stem) override {
        scratch_.SetValue(ToWide(stem) + kOutsideCodePage, REG_SZ,
                          WideBytes(std::wstring_view(L"v", 2)), ToWide(below));
    }
    void SetStringOutsideCodePage(std::string_view below, std::string_view name,
                                  std::string_view stem) override {
        const std::wstring text = ToWide(stem) + kOutsideCodePage;
        scratch_.SetValue(ToWide(name), REG_SZ,
                          WideBytes(std::wstring_view(text.c_str(), text.size() + 1)),
                          ToWide(below));
    }

  private:
    std::wstring MachinePath(std::string_view below, RegistryView view) const {
        const wchar_t* software =
            view == RegistryView::ThirtyTwoBit ? L"Software\\Wow6432Node\\" : L"Software\\";
        std::wstring path = software + machineBase_;
        if (!below.empty())
            path += L"\\" + ToWide(below);
        return path;
    }

    // Both views' scratch trees, and the parents they leave empty.
    void DeleteMachineKeys() {
        for (const RegistryView view : {RegistryView::ThirtyTwoBit, RegistryView::Native}) {
            std::wstring path = MachinePath({}, view);
            ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str());
            ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
            for (int parent = 0; parent < 3; ++parent) {
                path.resize(path.rfind(L'\\'));
                ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
            }
        }
    }

    // Puts the original access lists back for its lifetime, and the faults again after.
    class SetAside {
      public:
        explicit SetAside(Win32RegistryUnderTest& registry) : registry_(registry) {
            registry_.Restore();
        }
        ~SetAside() { registry_.Reapply(); }
        SetAside(const SetAside&) = delete;
        SetAside& operator=(const SetAside&) = delete;

      private:
        Win32RegistryUnderTest& registry_;
    };

    LONG Open(std::string_view below, REGSAM rights, unique_hkey& key) const {
        const std::wstring path = ToWide(Path(below));
        return ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, rights, key.put());
    }

    template <typename Enumerate>
    std::vector<std::string> Names(std::string_view below, Enumerate enumerate) {
        SetAside setAside(*this);
        std::vector<std::string> names;
        unique_hkey key;
        if (Open(below, KEY_READ, key) != ERROR_SUCCESS)
            return names;
        std::vector<wchar_t> name(16384);
        for (DWORD index = 0;; ++index) {
            DWORD chars = static_cast<DWORD>(name.size());
            if (enumerate(key.get(), index, name.data(), &chars) != ERROR_SUCCESS)
                break;
            names.push_back(Narrow(std::wstring_view(name.data(), chars)));
        }
        return names;
    }

    void Deny(std::string_view below, DWORD rights) {
        GuardedKey guarded{ToWide(Path(below)), rights, {}};
        unique_hkey key;
        ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, guarded.path.c_str(), 0,
                                  READ_CONTROL | WRITE_DAC, key.put()),
                  ERROR_SUCCESS)
            << "no key " << Path(below) << " to guard";
        DWORD size = 0;
        ::RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
        guarded.original.resize(size);
        ASSERT_EQ(::RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, guarded.original.data(),
                                      &size),
                  ERROR_SUCCESS);
        guarded_.push_back(std::move(guarded));
        ApplyDenial(guarded_.back());
    }

    static void ApplyDenial(const GuardedKey& guarded) {
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        ASSERT_TRUE(::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0,
                                               &everyone));
        const DWORD aceBytes = sizeof(ACCESS_ALLOWED_ACE) + ::GetLengthSid(everyone);
        std::vector<uint8_t> aclBytes(sizeof(ACL) + 2 * aceBytes);
        auto* acl = reinterpret_cast<ACL*>(aclBytes.data());
        const bool built =
            ::InitializeAcl(acl, static_cast<DWORD>(aclBytes.size()), ACL_REVISION) &&
            ::AddAccessDeniedAce(acl, ACL_REVISION, guarded.deniedRights, everyone) &&
            ::AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone);
        ::FreeSid(everyone);
        ASSERT_TRUE(built);
        SECURITY_DESCRIPTOR descriptor;
        ASSERT_TRUE(::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
        ASSERT_TRUE(::SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE));
        SetSecurity(guarded.path, &descriptor);
    }

    static void SetSecurity(const std::wstring& path, PSECURITY_DESCRIPTOR descriptor) {
        unique_hkey key;
        // Gone already when a test deleted it, as a faulty adapter might.
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, key.put()) !=
            ERROR_SUCCESS) {
            return;
        }
        EXPECT_EQ(::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor),
                  ERROR_SUCCESS);
    }

    void Restore() {
        for (auto guarded = guarded_.rbegin(); guarded != guarded_.rend(); ++guarded)
            SetSecurity(guarded->path, guarded->original.data());
    }

    void Reapply() {
        for (const GuardedKey& guarded : guarded_)
            ApplyDenial(guarded);
    }

    ScratchKey scratch_;
    Win32Registry registry_;
    std::vector<GuardedKey> guarded_;
    std::wstring machineBase_;
    std::vector<std::pair<HKEY, std::wstring>> links_;
};

std::unique_ptr<RegistryUnderTest> MakeWin32Registry() {
    return std::make_unique<Win32RegistryUnderTest>();
}

INSTANTIATE_TEST_SUITE_P(, RegistryContract,
                         ::testing::Values(RegistryKind{"Win32", MakeWin32Registry}),
                         RegistryKindName);

}  // namespace
}  // namespace vantrel::test
