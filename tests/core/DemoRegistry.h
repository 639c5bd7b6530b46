#pragma once

#include <string>
#include <string_view>

#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "tests/DemoData.h"
#include "tests/core/LoadRegText.h"

namespace vantrel::test {

// `text` with every "emo" followed by the copy's number: "Vantrel Demo" becomes "Vantrel Demo7",
// "vdemo-gone.exe" "vdemo7-gone.exe", so the copies of the demo name different keys, values
// and files.
inline std::string DemoCopyText(std::string_view text, int copy) {
    const std::string mark = "emo";
    const std::string numbered = mark + std::to_string(copy);
    std::string out;
    size_t from = 0;
    for (size_t at = text.find(mark); at != std::string_view::npos; at = text.find(mark, from)) {
        out.append(text.substr(from, at - from));
        out += numbered;
        from = at + mark.size();
    }
    out.append(text.substr(from));
    return out;
}

// The demo registry and its healthy files `copies` times over, on a fixed drive C: with the
// fonts folder the demo's fonts live in: a scan of it finds rows in most checks, and the more
// copies the more rows and registry calls.
inline void LoadDemoCopies(MemoryRegistry& registry, MemoryFileSystem& files, int copies) {
    files.AddDrive('c', drivetype::kFixed);
    files.AddDirectory("C:\\windows\\Fonts");
    files.SetSpecialFolder(specialfolder::kFonts, "C:\\windows\\Fonts");
    for (int copy = 1; copy <= copies; ++copy) {
        LoadRegText(registry, DemoCopyText(kDemoRegText, copy));
        const std::string fileList = DemoCopyText(kDemoFilesText, copy);
        size_t start = 0;
        while (start < fileList.size()) {
            size_t end = fileList.find('\n', start);
            if (end == std::string::npos)
                end = fileList.size();
            std::string line = fileList.substr(start, end - start);
            start = end + 1;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.empty() || line.front() == '#')
                continue;
            const std::string path = "C:\\" + line;
            if (line.back() == '\\')
                files.AddDirectory(path);
            else
                files.AddFile(path);
        }
    }
}

}  // namespace vantrel::test
