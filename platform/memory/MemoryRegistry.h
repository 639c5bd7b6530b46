#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryAccess.h"

namespace vantrel {

// The kinds of registry call an accessor makes, as fault injection and call observers name them.
enum class RegistryCall {
    OpenForRead,   // OpenKey with read-only access
    OpenForWrite,  // OpenKey with full access
    KeyName,       // OpenKeyName
    KeyExists,
    ValueExists,
    ListNames,  // GetKeyNames, GetValueNames
    ReadType,   // GetDataType
    ReadData,   // ReadString, ReadInteger, ReadRawValue
    DeleteKey,
    DeleteValue,
    WriteValue,
};

// An in-memory registry for tests: key and value names compared without regard to the case
// of a to z, subkeys enumerated in name order and values in the order they were added, every
// value type with its raw bytes, and faults that can be injected. Accessors made by NewAccess
// follow the same rules as the Win32 adapter's (tests/contract runs the same cases against
// both). Safe to use from a scan thread while the test thread waits.
//
// Like a 64-bit Windows it has links between keys, the 32-bit view (any key with a subkey
// "Wow6432Node" sends the 32-bit view's paths through it, as Wine does) and the system's own
// key names. HKEY_CURRENT_USER is the hive HKEY_USERS lists under the running user's SID. The
// classes root is kept apart from HKEY_LOCAL_MACHINE and its keys have no system names.
class MemoryRegistry : public RegistrySource {
  public:
    static constexpr std::string_view kDefaultUserSid =
        "S-1-5-21-1004336348-1177238915-682003330-1001";

    explicit MemoryRegistry(std::string_view currentUserSid = kDefaultUserSid);
    ~MemoryRegistry() override;
    MemoryRegistry(const MemoryRegistry&) = delete;
    MemoryRegistry& operator=(const MemoryRegistry&) = delete;

    std::unique_ptr<RegistryAccess> NewAccess() override;

    // Building. Paths are below the root, without a leading backslash; missing parents are
    // created. A value's name "" is the default value.
    void AddKey(RootKey root, std::string_view path);
    void SetValue(RootKey root, std::string_view path, std::string_view name, uint32_t type,
                  std::vector<uint8_t> data);
    // A string value stored with its terminating zero (type kString or kExpandString).
    void SetString(RootKey root, std::string_view path, std::string_view name,
                   std::string_view text, uint32_t type = regtype::kString);
    void SetDword(RootKey root, std::string_view path, std::string_view name, uint32_t number);
    // A link at path (its parent keys are created) to the key at targetPath below targetRoot,
    // which need not exist yet: HKEY_LOCAL_MACHINE, HKEY_USERS or HKEY_CURRENT_USER. The link
    // holds the value "SymbolicLinkValue" (REG_LINK) naming its target, and nothing below it.
    void AddLink(RootKey root, std::string_view path, RootKey targetRoot,
                 std::string_view targetPath);
    // Removal, fault marks ignored; nothing happens when the key or value is missing.
    void RemoveKey(RootKey root, std::string_view path);
    void RemoveValue(RootKey root, std::string_view path, std::string_view name);

    // Inspection.
    bool HasKey(RootKey root, std::string_view path) const;
    bool HasValue(RootKey root, std::string_view path, std::string_view name) const;
    std::optional<RawValue> GetValue(RootKey root, std::string_view path,
                                     std::string_view name) const;
    std::vector<std::string> SubkeyNames(RootKey root, std::string_view path) const;
    std::vector<std::string> ValueNames(RootKey root, std::string_view path) const;

    // Fault injection. Marks on keys create the key; marks on values may precede them.
    // Opening this key with any rights fails and KeyExists says false, as for a key whose
    // rights are all denied. Its parent still lists it, and the keys below it open by their
    // own paths (the registry checks no rights on the keys a path passes through).
    void RefuseOpen(RootKey root, std::string_view path);
    // The key's rights allow reading only: it opens read-only and KeyExists says true, but an
    // open with full access fails, and neither it nor anything in it can be deleted.
    void RefuseWriteAccess(RootKey root, std::string_view path);
    // The key's rights refuse change notification: KeyExists (query, enumerate, read control)
    // says true, but no open succeeds, since KEY_READ asks for notification too.
    void RefuseNotify(RootKey root, std::string_view path);
    // Reads of this value raise RegistryError whatever its type.
    void FailRead(RootKey root, std::string_view path, std::string_view name);
    // Deleting this key, or any value in it, is refused although the key opens with full
    // access: a refusal its rights do not explain.
    void RefuseDelete(RootKey root, std::string_view path);
    // This key's name (valueName nullopt) or this value's name ("" is the default value) is not
    // representable in the ANSI code page: listings report LastNamesExact false, and the name
    // as listed reaches nothing, since it is not the name the registry holds.
    void MarkInexactName(RootKey root, std::string_view path, std::optional<std::string> valueName);
    // This value's text is not representable in the ANSI code page: raw reads give exact false.
    void MarkInexactText(RootKey root, std::string_view path, std::string_view valueName);

    // The nth call of this kind from now on (1: the next one) fails the way the system refuses
    // it: an open, KeyExists, ValueExists or a deletion answers false, a listing lists nothing
    // and reports LastNamesExact false (a listing the registry broke off), a type reads as
    // Unknown, a read or a write raises RegistryError. Each mark fails one call; several may
    // stand.
    void FailCall(RegistryCall call, size_t nth);
    // Called before every registry call made through an accessor, on the calling thread and
    // outside the registry's lock, so it may inspect or change the registry (or ask a scan to
    // stop). An empty function removes it.
    void SetCallObserver(std::function<void(RegistryCall)> observer);

    // Registry calls made through accessors so far (opens, listings, reads, deletes).
    size_t CallCount() const;

    struct Store;

  private:
    std::shared_ptr<Store> store_;
};

}  // namespace vantrel
