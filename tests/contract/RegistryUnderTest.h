#pragma once

// A registry that the contract cases of RegistryContractTest.cpp run against: the source of the
// accessors under test, and the means to seed keys and values and to inject faults, all below
// one scratch key of HKEY_CURRENT_USER.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryAccess.h"

namespace vantrel::test {

class RegistryUnderTest {
  public:
    virtual ~RegistryUnderTest() = default;

    virtual RegistrySource& Source() = 0;

    // The scratch key's path below HKEY_CURRENT_USER (plain ASCII), or that of a key below it.
    virtual std::string Base() const = 0;
    std::string Path(std::string_view below = {}) const {
        return below.empty() ? Base() : Base() + "\\" + std::string(below);
    }

    // Seeding. Paths are below the scratch key ("" is the scratch key); the missing keys on the
    // way are created. Text types (string, expandable string, multi-string, link) take their
    // characters as the accessors read them, in the ANSI code page; other types take their
    // bytes as stored.
    virtual void AddKey(std::string_view below) = 0;
    virtual void SetValue(std::string_view below, std::string_view name, uint32_t type,
                          const std::vector<uint8_t>& data) = 0;

    // Inspection through the registry's own means, with every injected fault set aside.
    virtual bool HasKey(std::string_view below) = 0;
    virtual bool HasValue(std::string_view below, std::string_view name) = 0;
    // A value as stored, its text in the ANSI code page; nullopt when missing.
    virtual std::optional<RawValue> GetValue(std::string_view below, std::string_view name) = 0;
    virtual std::vector<std::string> SubkeyNames(std::string_view below) = 0;
    virtual std::vector<std::string> ValueNames(std::string_view below) = 0;

    // A link at below (its parent keys are created) to the key at targetBelow, both below the
    // scratch key.
    virtual void AddLink(std::string_view below, std::string_view targetBelow) = 0;

    // A scratch place for the registry's two views, below HKEY_LOCAL_MACHINE\Software: its
    // path below Software (plain ASCII), and keys below it written in either view, as
    // "Software\<base>\below" or "Software\Wow6432Node\<base>\below".
    virtual std::string MachineBase() const = 0;
    virtual void AddMachineKey(std::string_view below, RegistryView view) = 0;
    // Makes the 32-bit view's key at below a link to the native one: a shared key.
    virtual void ShareMachineKey(std::string_view below) = 0;

    // Faults, on keys that exist already.
    // Every right on the key is refused: no open succeeds and KeyExists says false.
    virtual void RefuseOpen(std::string_view below) = 0;
    // The key opens read-only but not with full access; it and its values cannot be deleted.
    virtual void RefuseWriteAccess(std::string_view below) = 0;
    // The key refuses change notification: it exists to KeyExists, but no open succeeds, since
    // KEY_READ asks for notification.
    virtual void RefuseNotify(std::string_view below) = 0;
    // Deleting the key, or a value in it, is refused. Whether the key still opens with full
    // access is left open: the real registry refuses it (DELETE is part of full access), the
    // stand-in allows it (it stands for a refusal that the key's rights do not explain).
    virtual void RefuseDelete(std::string_view below) = 0;
    // Makes every read of the value fail. Returns why this registry cannot, or nullopt.
    virtual std::optional<std::string> FailRead(std::string_view below, std::string_view name) = 0;

    // Names and text that the ANSI code page cannot hold: each is the stem followed by a
    // character the code page lacks, and reads as the stem followed by '?'. Returns why this
    // registry cannot make them (its code page holds every character), or nullopt.
    virtual std::optional<std::string> CannotLoseCharacters() const = 0;
    virtual void AddKeyNamedOutsideCodePage(std::string_view parent, std::string_view stem) = 0;
    virtual void SetValueNamedOutsideCodePage(std::string_view below, std::string_view stem) = 0;
    virtual void SetStringOutsideCodePage(std::string_view below, std::string_view name,
                                          std::string_view stem) = 0;
};

}  // namespace vantrel::test
