#pragma once

#include <string_view>

#include "platform/memory/MemoryRegistry.h"
#include "repair/RegFileReader.h"

namespace vantrel::test {

// Loads REGEDIT4 text into the memory registry through the program's own reader, so fixtures
// are written as registration files. All of the text is read before the registry changes, so
// text the reader refuses (RegFileError) changes nothing.
inline void LoadRegText(MemoryRegistry& registry, std::string_view text) {
    for (const RegFileBlock& block : ReadRegFile(text)) {
        if (block.removesKey) {
            registry.RemoveKey(block.root, block.path);
            continue;
        }
        registry.AddKey(block.root, block.path);
        for (const RegFileValue& value : block.values) {
            if (value.removes)
                registry.RemoveValue(block.root, block.path, value.name);
            else
                registry.SetValue(block.root, block.path, value.name, value.type, value.data);
        }
    }
}

}  // namespace vantrel::test
