// vantrel-test-editor.exe (a helper of the window tests, not shipped): stands in for the
// registry editor where the real one cannot show what a test needs.
//   /e FILE   writes "decoy export" into FILE and ends: copied beside a test as regedit.exe,
//             it shows whether the window started this copy instead of the system's editor
//   /s FILE   waits a minute and ends: a merge that takes long enough to be stopped
// Exit code 0; 2 for other arguments.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "/e") == 0) {
        std::FILE* file = std::fopen(argv[2], "wb");
        if (file == nullptr)
            return 1;
        std::fputs("decoy export\r\n", file);
        std::fclose(file);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "/s") == 0) {
        ::Sleep(60000);
        return 0;
    }
    return 2;
}
