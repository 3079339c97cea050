#pragma once
// The program's own files in a folder held open, reached by name relative to
// the folder's handle (NtCreateFile with a root directory), so that moving or
// replacing the folder cannot redirect them. Only a regular file with one
// link counts as the program's own: a reparse point (symbolic link,
// junction, mount point, socket), a folder, a file with other names, or
// anything that is not a disk file is left alone, and the call fails with
// that kind's code (ForeignNames.h). Reparse points are never followed.

#include <cstdint>

#include <windows.h>

namespace kel {

struct OwnFileAccess {
    ACCESS_MASK access;  // GENERIC_READ, GENERIC_WRITE, DELETE as needed
    bool create;         // make the file when the name is free
    bool unbuffered;     // FILE_FLAG_NO_BUFFERING | FILE_FLAG_WRITE_THROUGH
    bool writeThrough;   // FILE_FLAG_WRITE_THROUGH alone
};

// Opens name in folder, not shared with anyone. Returns the handle, or
// INVALID_HANDLE_VALUE with the thread's last error set.
HANDLE OpenOwnFile(HANDLE folder, const char* name, const OwnFileAccess& how);

// Deletes the file behind a handle opened with DELETE access.
bool DeleteOpenFile(HANDLE file);

// Deletes name in folder when it holds a file of the program's own that
// nobody holds open (ERROR_SHARING_VIOLATION then).
bool RemoveOwnFile(HANDLE folder, const char* name);

// Opens a folder to hold it for a run: it cannot be renamed or deleted while
// held, and others may still list it and use its files.
HANDLE OpenFolderHandle(const char* path);

}  // namespace kel
