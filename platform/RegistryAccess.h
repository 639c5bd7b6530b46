#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RootKey.h"

namespace vantrel {

// The data types the checks distinguish; every other registry type reads as Unknown.
enum class ValueType : int { Unknown = 0, String = 1, ExpandString = 2, Integer = 3, Binary = 4 };

// Registry type numbers as the system stores them (used where the exact type matters: backups).
namespace regtype {
constexpr uint32_t kNone = 0;
constexpr uint32_t kString = 1;
constexpr uint32_t kExpandString = 2;
constexpr uint32_t kBinary = 3;
constexpr uint32_t kDword = 4;
constexpr uint32_t kDwordBigEndian = 5;
constexpr uint32_t kLink = 6;
constexpr uint32_t kMultiString = 7;
constexpr uint32_t kQword = 11;
}  // namespace regtype

// ValueType of a stored registry type number.
ValueType ValueTypeOf(uint32_t registryType);

// A value exactly as stored: its registry type number and its bytes. Text types hold the
// ANSI form of their characters (terminating zeros included, as stored); `exact` is false
// when the ANSI code page could not hold every character, so the bytes are not a faithful copy.
struct RawValue {
    uint32_t type = regtype::kNone;
    std::vector<uint8_t> data;
    bool exact = true;
};

// Raised by reads of a missing value or of a value of another type; the message names the value
// as "Failed to get data for '%s'".
class RegistryError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

RegistryError DataReadError(std::string_view valueName);

enum class AccessMode { Full, ReadOnly };

// Which view of the registry later opens see. 64-bit Windows shows 32-bit programs a view of
// their own: HKEY_LOCAL_MACHINE\Software reads as Software\Wow6432Node there, and some keys
// of the two views are one and the same (shared). Without a 32-bit view both are the same.
enum class RegistryView { Native, ThirtyTwoBit };

// What an open does when the last key of its path is a link (Windows links some keys to others,
// for example the shared keys of the two views): Follow opens the key it links to, as programs
// normally do; OpenLinkItself opens the link key itself (REG_OPTION_OPEN_LINK), which holds no
// subkeys, so a walk never reaches another key's tree through it.
enum class LinkMode { Follow, OpenLinkItself };

// Prefixes of the system's own key names (the names OpenKeyName gives), letter case aside.
constexpr std::string_view kMachineKeyNamePrefix = "\\REGISTRY\\MACHINE";
constexpr std::string_view kUsersKeyNamePrefix = "\\REGISTRY\\USER";

// One accessor onto the registry: a root key, at most one open key, and the operations the
// checks and the repair need. Accessors are used by one thread at a time and never shared.
//
// Paths: a path beginning with a backslash, or any path while no key is open, is taken from the
// root; otherwise below the open key. Nothing is ever created by OpenKey or KeyExists.
class RegistryAccess {
  public:
    virtual ~RegistryAccess() = default;

    // A new accessor starts at HKEY_CURRENT_USER with full access. Setting the root closes
    // the open key.
    virtual void SetRootKey(RootKey root) = 0;
    virtual RootKey GetRootKey() const = 0;
    // Full access (the default) or KEY_READ for every later open.
    virtual void SetAccess(AccessMode mode) = 0;
    // The native view (the default) or the 32-bit programs' view for every later open and
    // existence test. DeleteKey refuses while the 32-bit view is set: repair names every key
    // by its real path.
    virtual void SetView(RegistryView view) = 0;
    // Follow (the default) or OpenLinkItself for every later OpenKey.
    virtual void SetLinkMode(LinkMode mode) = 0;

    // Opens an existing key and makes it the open key; false (and no key open) when it cannot.
    virtual bool OpenKey(std::string_view path) = 0;
    virtual void CloseKey() = 0;
    virtual bool HasOpenKey() const = 0;
    // Path of the open key below the root, without a leading backslash.
    virtual std::string CurrentPath() const = 0;

    // True when the open key is itself a link (it was opened with LinkMode::OpenLinkItself):
    // its subtree is another key's, reached by that key's own path.
    virtual bool OpenKeyIsLink() = 0;
    // The system's own name of the open key, where it really lives once links are followed and
    // the 32-bit view is redirected: "\REGISTRY\MACHINE\SOFTWARE\Wow6432Node\..." for a key of
    // HKEY_LOCAL_MACHINE, "\REGISTRY\USER\S-1-5-21-...\..." for the current user's. Letter case
    // is the registry's. nullopt when no key is open or the system names none.
    virtual std::optional<std::string> OpenKeyName() = 0;

    // Asks only for query, enumerate and read-control access.
    virtual bool KeyExists(std::string_view path) = 0;
    virtual bool ValueExists(std::string_view name) = 0;

    // Names in the registry's enumeration order; the default value's name is "".
    virtual std::vector<std::string> GetKeyNames() = 0;
    virtual std::vector<std::string> GetValueNames() = 0;
    // False when the last GetKeyNames or GetValueNames may not have listed every name exactly:
    // a name that the ANSI code page could not hold (it reads with '?' in place of the lost
    // characters), or a listing that the registry broke off with an error.
    virtual bool LastNamesExact() const = 0;

    virtual ValueType GetDataType(std::string_view name) = 0;
    // String or expandable string, not expanded, up to its first zero; a value of zero length
    // reads as "" whatever its type; anything else raises RegistryError.
    virtual std::string ReadString(std::string_view name) = 0;
    // A 32-bit number; anything else raises RegistryError.
    virtual int32_t ReadInteger(std::string_view name) = 0;
    // The value as stored; raises RegistryError when it cannot be read.
    virtual RawValue ReadRawValue(std::string_view name) = 0;

    // Deletes a key with its whole subtree; the same path rules as OpenKey.
    virtual bool DeleteKey(std::string_view path) = 0;
    virtual bool DeleteValue(std::string_view name) = 0;
    // Writes a string value into the open key; raises RegistryError when it cannot.
    virtual void WriteString(std::string_view name, std::string_view value) = 0;
};

// Keeps an accessor's open key for the length of a scope and closes it at the end, also when an
// error passes through.
class OpenKeyScope {
  public:
    explicit OpenKeyScope(RegistryAccess& access) : access_(access) {}
    ~OpenKeyScope() { access_.CloseKey(); }
    OpenKeyScope(const OpenKeyScope&) = delete;
    OpenKeyScope& operator=(const OpenKeyScope&) = delete;

  private:
    RegistryAccess& access_;
};

// Makes accessors: every check and every repair step makes its own.
class RegistrySource {
  public:
    virtual ~RegistrySource() = default;
    virtual std::unique_ptr<RegistryAccess> NewAccess() = 0;
};

}  // namespace vantrel
