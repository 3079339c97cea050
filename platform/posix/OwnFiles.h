#pragma once
// The program's own files in a folder held open, reached by name relative to
// the folder's descriptor. Only a regular file with one link counts as the
// program's own; anything else under the name is left alone and the call
// fails with that kind's code (ForeignNames.h). No open can block: a FIFO,
// device or socket is recognised before anything opens it, and should the
// name change hands in between, the open does not wait and the descriptor is
// checked again before it is used.

#include <cstdint>

namespace kel {

// Opens name in folder with flags: the access mode and any of O_CREAT (make
// the file when the name is free), O_DIRECT and O_DSYNC; O_CLOEXEC and
// O_NOFOLLOW are added. A file of the program's own is a regular file with
// one link that this user owns. Returns a blocking descriptor, or -1 with
// errno set; a failed call leaves no file that it made. created, when given,
// tells whether this call made the file.
int OpenOwnFile(int folder, const char* name, int flags, bool* created = nullptr);

// The bytes on the device that name in folder holds when it is a file of the
// program's own, else 0. Opens nothing.
std::uint64_t OwnFileBytes(int folder, const char* name);

// Deletes a file that this process has just made, keeping errno: for an
// open that fails after making its file.
void DeleteMadeFile(int folder, const char* name);

// Deletes name in folder when it holds a file of the program's own that no
// other holder keeps locked (EBUSY then). False with errno set otherwise.
bool RemoveOwnFile(int folder, const char* name);

}  // namespace kel
