#pragma once
// Names the program leaves alone. The test files and the drive check's probe
// have fixed, public names in folders that others share, so such a name may
// hold something that is not a file of the program's: a file that also has
// other names (hard links), a symbolic link, a folder, a FIFO, a device or a
// socket. The program never writes, truncates, deletes or waits on such a
// name; the operation fails with a code of the system's that fits the kind.
// An operation on a bare name in a folder held open meets these codes for
// nothing else, so a report can show a clearer text of the program's own in
// place of the system's text for the code (whose words, such as "Illegal
// seek" for a FIFO, would not tell the user what is in the way).

namespace kel {

// The codes on Linux; each back-end's SystemError file holds its system's.
enum class ForeignName {
    HardLinked,    // EMLINK: a regular file with more than one link
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

}  // namespace kel
