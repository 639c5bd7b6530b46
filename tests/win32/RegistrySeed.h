#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::test {

// Seeds Wine's real registry and drive C: for one test, and removes everything it made when
// it goes: the values it wrote, the keys it created (deepest first) and the files.
class RegistrySeed {
  public:
    RegistrySeed() = default;
    ~RegistrySeed();
    RegistrySeed(const RegistrySeed&) = delete;
    RegistrySeed& operator=(const RegistrySeed&) = delete;

    void Key(HKEY root, const std::string& path);
    void String(HKEY root, const std::string& path, const std::string& name,
                const std::string& text);
    void Dword(HKEY root, const std::string& path, const std::string& name, uint32_t number);
    void ExpandString(HKEY root, const std::string& path, const std::string& name,
                      const std::string& text);
    void CreateFileAt(const std::string& path);
    // A folder removed (when empty again) after the files.
    void Folder(const std::string& path);
    // A shell shortcut to target saved through the shell link object, removed with the files.
    // COM must be initialised on the calling thread.
    void Shortcut(const std::string& linkPath, const std::string& target);

  private:
    struct Value {
        HKEY root;
        std::string path;
        std::string name;
    };
    struct CreatedKey {
        HKEY root;
        std::string path;
    };
    HKEY OpenOrCreate(HKEY root, const std::string& path);
    void Set(HKEY root, const std::string& path, const std::string& name, DWORD type,
             const void* data, DWORD size);

    std::vector<Value> values_;
    std::vector<CreatedKey> createdKeys_;
    std::vector<std::string> files_;
    std::vector<std::string> folders_;
};

}  // namespace vantrel::test
