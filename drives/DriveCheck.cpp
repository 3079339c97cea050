#include "drives/DriveCheck.h"

#include "platform/DecimalText.h"
#include "platform/ForeignNames.h"
#include "platform/SystemError.h"
#include "platform/VolumeInfo.h"

#include <cerrno>
#include <vector>

namespace kel {

namespace {

char ShownLetter(int letter)
{
    return (letter > 0x20 && letter < 0x7F) ? static_cast<char>(letter) : '?';
}

// How a message names the place checked: the drive's letter, or the folder
// the user named instead of one.
std::string Place(char shownLetter, std::string_view folder, const char* afterLetter)
{
    if (!folder.empty()) {
        return "folder \"" + std::string(folder) + "\"";
    }
    return std::string("drive ") + shownLetter + afterLetter;
}

int Refuse(MessageSink& messages, const std::string& text)
{
    messages.ShowMessageBox(text, kPlainBox, nullptr);
    return 0;
}

// Why the probe could not be made, or deleted, in the words the user needs.
std::string ProbeFailureReason(const ProbeResult& probe, const std::string& probePath)
{
    if (probe.left) {
        return "The check's file \"" + probePath + "\" could not be deleted:\n" + SystemErrorText(probe.error) +
               "; it is still there.";
    }
    if (const char* reason = ForeignNameReason(probe.error)) {
        // Something the program leaves alone holds the probe's name: say what and where.
        return "\"" + probePath + "\":\n" + reason + ".";
    }
    switch (probe.error) {
    case EACCES:
        return "You must have\nwrite access to perform the tests.";
    case EROFS:
        return "The file system is mounted read-only.";
    case EMFILE:
    case ENFILE:
        return "Too many files are open at the moment.";
    case EPERM:
        return "The system does not permit changes here;\nthe folder may be marked immutable.";
    default:
        return SystemErrorText(probe.error) + ".";
    }
}

// The names a run of that many files empties and replaces.
std::vector<std::string> RunFileNames(std::int32_t numFiles, bool simultaneous)
{
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < numFiles && i < 100; ++i) {
        names.push_back("~kelt" + std::string(1, static_cast<char>('0' + i / 10)) +
                        static_cast<char>('0' + i % 10) + "x.tmp");
    }
    if (simultaneous) {
        names.push_back("~keltwwx.tmp");
    }
    return names;
}

}  // namespace

double RequiredBytes(std::int32_t numFiles, std::int32_t fileSizeKB, bool simultaneous)
{
    const double files = static_cast<double>(numFiles) + (simultaneous ? 1.0 : 0.0);
    const double need = files * (static_cast<double>(fileSizeKB) * 1024.0);
    return need + need * 0.2;
}

std::optional<std::string> SpaceShortfallMessage(char shownLetter, double requiredBytes, std::uint64_t freeBytes,
                                                 std::string_view folder)
{
    const double freeAsDouble = static_cast<double>(freeBytes);
    if (freeAsDouble >= requiredBytes) {
        return std::nullopt;
    }
    const double extraMB = (requiredBytes - freeAsDouble + 99999) * 0.000001;
    return std::string("There is not enough space ") + (folder.empty() ? "on " : "in ") +
           Place(shownLetter, folder, ":") + " to perform\nthe tests.  (An extra " + FixedText(extraMB, 1) +
           " MB is required.)";
}

int CheckDrive(int letter, const DriveTable& drives, std::int32_t numFiles, std::int32_t fileSizeKB,
               bool simultaneous, MessageSink& messages, std::string_view folder)
{
    const char shown = ShownLetter(letter);
    const DriveEntry* drive = drives.Find(letter);
    // Free space is taken before the probe file exists.
    const std::optional<std::uint64_t> freeBytes =
        drive != nullptr ? FreeBytesForUser(drive->rootPath) : std::nullopt;
    if (!freeBytes) {
        return Refuse(messages, "Unable to access " + Place(shown, folder, "") + ".");
    }
    const ProbeResult probe = CreateAndDeleteProbe(drive->rootPath, kProbeFileName);
    if (probe.error != 0) {
        const bool endsInSlash = !drive->rootPath.empty() && drive->rootPath.back() == '/';
        const std::string probePath = drive->rootPath + (endsInSlash ? "" : "/") + kProbeFileName;
        return Refuse(messages, "Unable to write to " + Place(shown, folder, "") + ".  (" +
                                    ProbeFailureReason(probe, probePath) + ")");
    }
    // The program's own files left from an earlier run are emptied and
    // replaced by this one: their space is the run's to use.
    const std::uint64_t usable = *freeBytes + OwnFileBytes(drive->rootPath, RunFileNames(numFiles, simultaneous));
    if (auto shortfall = SpaceShortfallMessage(shown, RequiredBytes(numFiles, fileSizeKB, simultaneous), usable,
                                                folder)) {
        return Refuse(messages, *shortfall);
    }
    return 1;
}

}  // namespace kel
