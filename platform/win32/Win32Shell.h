#pragma once

#include <windows.h>

#include <string>

namespace vantrel {

// Deletes one file through the shell's file operation, silently and without confirmation, and
// not into the recycle bin; the shell may still show its own error box. True when the shell
// reports success. Refused (false, nothing touched) for an empty name, a name with a wildcard
// ("*" or "?", which the shell would expand to other files) and a folder (which the shell would
// delete with everything in it).
bool ShellDeleteFile(const std::string& fileName);

// Repair's file deletion: ShellDeleteFile, and true when no such file is left afterwards (it was
// deleted, or it was gone already), false when the file is still there.
bool ShellDeletedFile(const std::string& fileName);

// Shows the shell's folder browser, centred on the screen, offering only file-system folders,
// with `prompt` as its instruction. `root`, when not empty, is the top of the browser's tree (the
// desktop otherwise). True when the user chose a folder: `directory` then holds its path; false
// when the user cancelled or the browser cannot be shown, and `directory` is left as it was
// unless it named no existing folder (it is then emptied). While the browser is open the calling
// thread's other windows are disabled and the system's critical-error boxes are suppressed.
// Modal, on a thread that has initialised COM; `owner` is the window that owns the browser.
bool BrowseForDirectory(HWND owner, const std::string& prompt, const std::wstring& root,
                        std::string& directory);

// The browser's callback: on its initialized notification it centres the browser on the screen
// by its client area. Always 0.
int CALLBACK BrowseDialogCallback(HWND window, UINT message, LPARAM parameter, LPARAM data);

// Saves a shell link file `link` that points at `target`; true when it was saved. On a thread
// that has initialised COM. (The demo tool, the tests and the benchmarks make shortcuts.)
bool SaveShortcutFile(const std::wstring& link, const std::wstring& target);

// Creates a folder with all its missing parents; true when the folder exists afterwards.
bool CreateFolderWithParents(const std::string& folder);

}  // namespace vantrel
