// The reader on any bytes, in both of its formats: REGEDIT4 text as it comes, and the same text
// as the registry editor's Unicode export writes it (the byte order mark, then each byte as a
// UTF-16 unit). Either the text reads or it is refused with RegFileError; nothing else happens.
// Text that reads as REGEDIT4 and holds no text data in hex form (whose bytes the two formats
// write differently) reads as the same blocks in its Unicode form, the header swapped.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "repair/RegFileReader.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/TextFiles.h"

namespace vantrel {
namespace {

std::vector<RegFileBlock> ReadOrNothing(std::string_view text, bool& refused) {
    try {
        refused = false;
        return ReadRegFile(text);
    } catch (const RegFileError&) {
        refused = true;
        return {};
    }
}

bool SameBlocks(const std::vector<RegFileBlock>& a, const std::vector<RegFileBlock>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].root != b[i].root || a[i].path != b[i].path ||
            a[i].removesKey != b[i].removesKey || a[i].values.size() != b[i].values.size())
            return false;
        for (size_t v = 0; v < a[i].values.size(); ++v) {
            const RegFileValue& x = a[i].values[v];
            const RegFileValue& y = b[i].values[v];
            if (x.name != y.name || x.removes != y.removes || x.type != y.type || x.data != y.data)
                return false;
        }
    }
    return true;
}

}  // namespace
}  // namespace vantrel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    const std::string_view text = fuzz::AsText(data, size);
    bool refused = false;
    const std::vector<RegFileBlock> ansi = ReadOrNothing(text, refused);
    bool unicodeRefused = false;
    const std::vector<RegFileBlock> unicode =
        ReadOrNothing(test::AsUnicodeExport(text), unicodeRefused);

    // The Unicode twin of readable ASCII text without a header and without hex(...) data.
    std::string lowered;
    bool ascii = true;
    for (const char c : text) {
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        lowered += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    const bool comparable = !refused && ascii && lowered.find("hex(") == std::string::npos &&
                            lowered.find("regedit4") == std::string::npos;
    if (comparable && (unicodeRefused || !SameBlocks(ansi, unicode)))
        fuzz::Fail("the Unicode export of " + fuzz::Quoted(text) + " reads otherwise");
    return 0;
}
