#pragma once
// The program's own files in a folder held open, reached by name relative to
// the folder's descriptor. Only a regular file with one link counts as the
// program's own; anything else under the name is left alone and the call
// fails with that kind's code (ForeignNames.h). No open can block: a FIFO,
// device or socket is recognised before anything opens it, and should the
// name change hands in between, the open does not wait and the descriptor is
// checked again before it is used.

namespace kel {

// Opens name in folder with flags: the access mode and any of O_CREAT (make
// the file when the name is free), O_DIRECT and O_DSYNC; O_CLOEXEC and
// O_NOFOLLOW are added. Returns a blocking descriptor, or -1 with errno set.
int OpenOwnFile(int folder, const char* name, int flags);

// Deletes name in folder when it holds a file of the program's own that no
// other holder keeps locked (EBUSY then). False with errno set otherwise.
bool RemoveOwnFile(int folder, const char* name);

}  // namespace kel
