#pragma once
// What the run's reports need of the file system: what a path names, a file
// replaced whole or not at all, appending to what may not be replaced,
// folders, and the program's own place and helper processes. Paths are the
// system's bytes on Linux, never re-encoded, and UTF-8 on Windows.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

enum class PathKind {
    Missing,
    RegularFile,
    Folder,
    Other,  // a device, FIFO, socket or terminal
};

struct PathFacts {
    PathKind kind = PathKind::Missing;  // of what the path leads to, links followed
    bool isSymlink = false;             // the name itself is a symbolic link
    bool writable = false;              // this process may write it
    std::uint64_t device = 0;           // with inode, tells whether two names are one file
    std::uint64_t inode = 0;
};

PathFacts FactsOf(const std::string& path);

// Each returns 0 or the system's code of the first failure.
//
// Writes bytes to a temporary file beside target, flushes it to the device,
// checks its size and only then renames it over target (a symbolic link's
// file is the one replaced); on any failure the temporary is removed and
// target is left as it was.
int ReplaceFileWhole(const std::string& target, std::string_view bytes);
// The file that replacing target rewrites: what a symbolic link leads to,
// else (no link, or one that cannot be resolved) target itself.
std::string ReplacedFile(const std::string& target);
// Appends bytes to what target names (a device, FIFO, /dev/stdout...).
int AppendToFile(const std::string& target, std::string_view bytes);
int WriteToStandardOutput(std::string_view bytes);
// Makes and removes a file in folder, to learn whether a report can go there.
int ProbeCreateIn(const std::string& folder);
// Makes the folder and any missing parents.
int MakeFolders(const std::string& folder);

// path made absolute against the current folder without resolving links:
// ".", ".." and repeated slashes cleaned as text. Empty for a relative path
// when the current folder is gone (deleted, or moved out of reach).
std::string AbsolutePath(const std::string& path);
// The folder part of a path ("." when it has none) and its last name.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);
// The path with every link resolved; empty when it cannot be.
std::string ResolvedPath(const std::string& path);

// The folder that holds this program's executable.
std::string ExecutableFolder();
// The file name of a program of this build called name (".exe" on Windows).
std::string ProgramFileName(const std::string& name);
bool IsExecutableFile(const std::string& path);

struct ChildResult {
    int exitCode = -1;   // -1 when it did not start or was ended by a signal
    int startError = 0;  // the system's code when it did not start
};

// Runs program with args (args[0] is its name), standard input fed from
// input, standard output and error shared with this process; waits for it.
ChildResult RunChildProcess(const std::string& program, const std::vector<std::string>& args,
                            std::string_view input);

}  // namespace kel
