// Folders of a process's own under the user's temporary folder, named PREFIX<process id>-<n>:
// made fresh for each use, and removed by a later run when the process that made them ended
// without removing them (killed, crashed).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The user's temporary folder, with its trailing backslash; empty when there is none. Wide: its
// name may hold letters outside the ANSI code page.
std::wstring temporaryFolder();

// Makes PREFIX<this process's id>-<n> under the temporary folder, never a folder that exists
// already: process ids are reused, and a run that was killed leaves its folder behind. Its full
// name, without a trailing backslash; empty when none could be made.
std::wstring makeProcessFolder(std::wstring_view prefix);

// Reads the decimal number at the start of `text` into `value` and drops it from `text`; false
// when there is none or it does not fit.
bool takeNumber(std::wstring_view& text, DWORD& value);
bool takePrefix(std::wstring_view& text, std::wstring_view prefix);

// The entries that `pattern` (a folder and a name with wildcards) finds, "." and ".." aside.
std::vector<WIN32_FIND_DATAW> entriesMatching(const std::wstring& pattern);

// Whether the process still runs; one of another user, which this one may not open, counts as
// running.
bool processRuns(DWORD processId);

// Removes each PREFIX<process id>-<n> folder under the temporary folder whose process is gone,
// but only when it holds nothing but plain files that `isOwnFile` recognises by name: anything
// else in it was not put there by this program, and the folder stays as it is. A running
// process's folder is its own.
void removeLeftProcessFolders(std::wstring_view prefix,
                              const std::function<bool(std::wstring_view)>& isOwnFile);
