// The REGEDIT4 round trip: any key tree (key and value names of any bytes but zero, key names
// without "\", values of every type with any data) that the writer exports reads back through
// the reader as the same tree, key for key and value for value, type and bytes. An export the
// writer refuses names a reason the tree holds (a line break in a name, a symbolic link) and
// writes nothing; a tree without such a reason is never refused.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/PathText.h"
#include "platform/memory/MemoryBackupFile.h"
#include "platform/memory/MemoryRegistry.h"
#include "repair/RegFileReader.h"
#include "repair/RegFileWriter.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/RepairSupport.h"

namespace vantrel {
namespace {

constexpr RootKey kRoot = RootKey::CurrentUser;
constexpr const char* kTop = "Fuzz";
constexpr const char* kBackup = "C:\\Backup\\Backup20261206210507.reg";
constexpr uint32_t kTypes[] = {regtype::kNone,   regtype::kString,      regtype::kExpandString,
                               regtype::kBinary, regtype::kDword,       regtype::kDwordBigEndian,
                               regtype::kLink,   regtype::kMultiString, regtype::kQword};

std::string WithoutBytes(std::string text, std::string_view bytes) {
    std::string out;
    for (const char c : text) {
        if (bytes.find(c) == std::string_view::npos)
            out += c;
    }
    return out;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// The tree below the top key as the registry holds it, depth first, parents before children:
// what the reader must give back.
void ExpectedBlocks(const MemoryRegistry& registry, const std::string& path,
                    std::vector<RegFileBlock>& blocks, bool& refusable) {
    RegFileBlock block{kRoot, path, false, {}};
    refusable = refusable || HasLineBreak(path);
    for (const std::string& name : registry.ValueNames(kRoot, path)) {
        const RawValue value = *registry.GetValue(kRoot, path, name);
        refusable = refusable || HasLineBreak(name) || value.type == regtype::kLink;
        block.values.push_back(RegFileValue{name, false, value.type, value.data});
    }
    blocks.push_back(std::move(block));
    for (const std::string& subkey : registry.SubkeyNames(kRoot, path))
        ExpectedBlocks(registry, JoinKeyPath(path, subkey), blocks, refusable);
}

std::string Describe(const RegFileValue& value) {
    std::string bytes;
    for (const uint8_t byte : value.data)
        bytes += std::to_string(byte) + ",";
    return fuzz::Quoted(value.name) + " type " + std::to_string(value.type) + " data " + bytes;
}

void Compare(const std::vector<RegFileBlock>& expected, const std::vector<RegFileBlock>& actual,
             const std::string& text) {
    if (expected.size() != actual.size()) {
        fuzz::Fail(std::to_string(expected.size()) + " blocks written, " +
                   std::to_string(actual.size()) + " read back from " + fuzz::Quoted(text));
    }
    for (size_t i = 0; i < expected.size(); ++i) {
        const RegFileBlock& want = expected[i];
        const RegFileBlock& got = actual[i];
        if (got.root != want.root || got.path != want.path || got.removesKey) {
            fuzz::Fail("key " + fuzz::Quoted(want.path) + " read back as " +
                       fuzz::Quoted(got.path) + " from " + fuzz::Quoted(text));
        }
        if (got.values.size() != want.values.size()) {
            fuzz::Fail("key " + fuzz::Quoted(want.path) + ": " +
                       std::to_string(want.values.size()) + " values written, " +
                       std::to_string(got.values.size()) + " read back from " + fuzz::Quoted(text));
        }
        for (size_t v = 0; v < want.values.size(); ++v) {
            const RegFileValue& wantValue = want.values[v];
            const RegFileValue& gotValue = got.values[v];
            if (gotValue.name != wantValue.name || gotValue.removes ||
                gotValue.type != wantValue.type || gotValue.data != wantValue.data) {
                fuzz::Fail("value " + Describe(wantValue) + " read back as " + Describe(gotValue) +
                           " from " + fuzz::Quoted(text));
            }
        }
    }
}

// Exports, then reads back and compares, or checks the refusal.
void RoundTrip(MemoryRegistry& registry, const std::string& keyPath, const std::string& valueName,
               ExportScope scope, const std::vector<RegFileBlock>& expected, bool refusable) {
    MemoryBackupFile files;
    const ExportResult result =
        test::ExportToFile(registry, files, kBackup, kRoot, keyPath, valueName, scope);
    if (result != ExportResult::Written) {
        if (result != ExportResult::RefusedInexactText || !refusable)
            fuzz::Fail("export of " + fuzz::Quoted(keyPath) + " refused without a reason");
        if (files.FileCount() != 0)
            fuzz::Fail("a refused export wrote a file");
        return;
    }
    if (refusable)
        fuzz::Fail("export of " + fuzz::Quoted(keyPath) + " written although it cannot be exact");
    const std::string text = *files.Contents(kBackup);
    std::vector<RegFileBlock> actual;
    try {
        actual = ReadRegFile(text);
    } catch (const RegFileError& error) {
        fuzz::Fail(std::string("the reader refuses what the writer wrote: ") + error.what());
    }
    Compare(expected, actual, text);
}

}  // namespace
}  // namespace vantrel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    FuzzedDataProvider input(data, size);
    MemoryRegistry registry;
    registry.AddKey(kRoot, kTop);
    std::vector<std::string> keys{kTop};
    const size_t keyCount = input.ConsumeIntegralInRange<size_t>(0, 8);
    for (size_t i = 0; i < keyCount; ++i) {
        const std::string& parent = keys[input.ConsumeIntegralInRange<size_t>(0, keys.size() - 1)];
        const std::string name =
            WithoutBytes(input.ConsumeRandomLengthString(24), std::string("\0\\", 2));
        if (name.empty())
            continue;
        const std::string path = JoinKeyPath(parent, name);
        registry.AddKey(kRoot, path);
        keys.push_back(path);
    }
    const size_t valueCount = input.ConsumeIntegralInRange<size_t>(0, 12);
    for (size_t i = 0; i < valueCount; ++i) {
        const std::string& key = keys[input.ConsumeIntegralInRange<size_t>(0, keys.size() - 1)];
        const std::string name =
            WithoutBytes(input.ConsumeRandomLengthString(24), std::string("\0", 1));
        const uint32_t type = input.ConsumeBool() ? input.PickValueInArray(kTypes)
                                                  : input.ConsumeIntegral<uint32_t>();
        const std::string bytes = input.ConsumeRandomLengthString(80);
        registry.SetValue(kRoot, key, name, type, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    }

    // The whole tree.
    std::vector<RegFileBlock> tree;
    bool refusable = false;
    ExpectedBlocks(registry, kTop, tree, refusable);
    RoundTrip(registry, kTop, {}, ExportScope::WholeKey, tree, refusable);

    // Each value alone.
    for (const RegFileBlock& block : tree) {
        for (const RegFileValue& value : block.values) {
            const bool valueRefusable = HasLineBreak(block.path) || HasLineBreak(value.name) ||
                                        value.type == regtype::kLink;
            RoundTrip(registry, block.path, value.name, ExportScope::SingleValue,
                      {RegFileBlock{kRoot, block.path, false, {value}}}, valueRefusable);
        }
    }
    return 0;
}
