// Measures the restore dialog listing a backup of 10,000 values in 1,000 keys: the file read,
// every entry compared with the registry and the list filled, from the selection of the backup's
// row to the return of that selection. Half the keys exist in the registry, so every state of an
// entry shows.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "dialogs/RestoreDialog.h"
#include "platform/win32/Win32BackupFile.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "ui/ListViewItems.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kBenchKey = "Software\\VantrelBench\\Restore";
constexpr int kKeys = 1000;
constexpr int kValuesPerKey = 10;

std::string ValueText(int key, int value) {
    return "C:\\Program Files\\Gone\\k" + std::to_string(key) + "\\file" + std::to_string(value) +
           ".dll";
}

// The backup file, and every second key of it in the registry.
void WriteBackupAndRegistry(const std::string& file) {
    std::ofstream out(file, std::ios::binary);
    out << "REGEDIT4\r\n";
    for (int key = 0; key < kKeys; ++key) {
        const std::string path = std::string(kBenchKey) + "\\Key" + std::to_string(key);
        out << "\r\n[HKEY_CURRENT_USER\\" << path << "]\r\n";
        HKEY created = nullptr;
        if (key % 2 == 0)
            ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &created, nullptr);
        for (int value = 0; value < kValuesPerKey; ++value) {
            std::string text = ValueText(key, value);
            std::string escaped;
            for (const char c : text)
                escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
            out << "\"V" << value << "\"=\"" << escaped << "\"\r\n";
            if (created != nullptr && value % 3 != 0)
                ::RegSetValueExA(created, ("V" + std::to_string(value)).c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>(text.size() + 1));
        }
        if (created != nullptr)
            ::RegCloseKey(created);
    }
}

double g_seconds = 0;
int g_rows = 0;

// Runs in the dialog's modal loop: selects the backup, times the listing, closes the dialog.
void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            if (::GetDlgItem(window, vantrel::TfrmRestore::kEntries) == nullptr)
                return TRUE;
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr)
        return;
    ::KillTimer(nullptr, timer);
    const Clock::time_point start = Clock::now();
    vantrel::SelectListRow(::GetDlgItem(dialog, vantrel::TfrmRestore::kFiles), 0);
    g_seconds = std::chrono::duration<double>(Clock::now() - start).count();
    g_rows = vantrel::ListRowCount(::GetDlgItem(dialog, vantrel::TfrmRestore::kEntries));
    ::EndDialog(dialog, IDCANCEL);
}

}  // namespace

int main() {
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "vantrel-bench-restore";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string file = folder + "\\Backup20261209120000.reg";
    WriteBackupAndRegistry(file);

    vantrel::OptionsSetting options;
    options.OutputDirectory = folder;
    vantrel::Win32FileSystem files;
    vantrel::Win32Registry registry;
    vantrel::Win32BackupFile backups;
    vantrel::TfrmRestore dialog({nullptr, options, files, registry, backups, "", nullptr, nullptr});
    ::SetTimer(nullptr, 0, 50, &OnTimer);
    dialog.ShowModal();

    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VantrelBench\\Restore");
    ::DeleteFileA(file.c_str());
    ::RemoveDirectoryA(folder.c_str());
    std::printf("restore dialog, a backup of %d keys and %d values: %d rows listed in %.3f s\n",
                kKeys, kKeys * kValuesPerKey, g_rows, g_seconds);
    std::printf("@ restore_s %.6g\n", g_seconds);
    return g_rows == kKeys * (kValuesPerKey + 1) ? 0 : 1;
}
