#pragma once
// Names the program leaves alone. The test files and the drive check's probe
// have fixed, public names in folders that others share, so such a name may
// hold something that is not a file of the program's: a file that also has
// other names (hard links), another user's file, a symbolic link, a folder, a
// FIFO, a device or a socket. The program never writes, truncates, deletes or waits on such a
// name; the operation fails with a code of the system's that fits the kind.
// An operation on a bare name in a folder held open meets these codes for
// nothing else, so a report can show a clearer text of the program's own in
// place of the system's text for the code (whose words, such as "Illegal
// seek" for a FIFO, would not tell the user what is in the way).

namespace kel {

// The codes on Linux; each back-end's SystemError file holds its system's.
enum class ForeignName {
    HardLinked,    // EMLINK: a regular file with more than one link
    OtherOwner,    // EOWNERDEAD: a regular file that another user owns
    Held,          // ETXTBSY: a file another program holds locked (another run's, say)
    SymbolicLink,  // ELOOP: what opening it without following it answers
    Folder,        // EISDIR
    Fifo,          // ESPIPE: the code for what a pipe cannot do
    Device,        // ENODEV: character and block devices
    Socket,        // ENXIO: what opening a socket answers
};

int ForeignNameCode(ForeignName kind);

// The program's text for a code of ForeignNameCode, naming the kind; null for
// any other code.
const char* ForeignNameReason(int code);

// A transfer that moved fewer bytes than asked fails with a code no file
// operation otherwise gives, so that its report says what happened rather
// than the system's text for that code.
enum class ShortTransfer {
    Write,  // ENOMSG: the system took fewer bytes than asked, and no reason
    Read,   // ENODATA: the file ended early
};

int ShortTransferCode(ShortTransfer kind);

// The program's text for a code of ShortTransferCode; null for any other code.
const char* ShortTransferReason(int code);

}  // namespace kel
