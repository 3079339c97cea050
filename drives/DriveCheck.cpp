#include "drives/DriveCheck.h"

#include "platform/ForeignNames.h"
#include "platform/VolumeInfo.h"

#include <cstdio>

namespace kel {

namespace {

char ShownLetter(int letter)
{
    return (letter > 0x20 && letter < 0x7F) ? static_cast<char>(letter) : '?';
}

std::string Format(const char* format, char letter)
{
    char text[160];
    std::snprintf(text, sizeof text, format, letter);
    return text;
}

int Refuse(MessageSink& messages, const std::string& text)
{
    messages.ShowMessageBox(text, kPlainBox, nullptr);
    return 0;
}

}  // namespace

double RequiredBytes(std::int32_t numFiles, std::int32_t fileSizeKB, bool simultaneous)
{
    const double files = static_cast<double>(numFiles) + (simultaneous ? 1.0 : 0.0);
    const double need = files * (static_cast<double>(fileSizeKB) * 1024.0);
    return need + need * 0.2;
}

std::optional<std::string> SpaceShortfallMessage(char shownLetter, double requiredBytes, std::uint64_t freeBytes)
{
    const double freeAsDouble = static_cast<double>(freeBytes);
    if (freeAsDouble >= requiredBytes) {
        return std::nullopt;
    }
    const double extraMB = (requiredBytes - freeAsDouble + 99999) * 0.000001;
    char text[200];
    std::snprintf(text, sizeof text,
                  "There is not enough space on drive %c: to perform\nthe tests.  (An extra %.1lf MB is required.)",
                  shownLetter, extraMB);
    return std::string(text);
}

int CheckDrive(int letter, const DriveTable& drives, std::int32_t numFiles, std::int32_t fileSizeKB,
               bool simultaneous, MessageSink& messages)
{
    const char shown = ShownLetter(letter);
    const DriveEntry* drive = drives.Find(letter);
    // Free space is taken before the probe file exists.
    const std::optional<std::uint64_t> freeBytes =
        drive != nullptr ? FreeBytesForUser(drive->rootPath) : std::nullopt;
    if (!freeBytes) {
        return Refuse(messages, Format("Unable to access drive %c.", shown));
    }
    const int probeError = CreateAndDeleteProbe(drive->rootPath, kProbeFileName);
    if (probeError != 0) {
        const char* reason = ForeignNameReason(probeError);
        if (reason == nullptr) {
            return Refuse(messages, Format("Unable to write to drive %c.  (You must have\n"
                                           "write access to perform the tests.)",
                                           shown));
        }
        // Something the program leaves alone holds the probe's name: say what and where.
        const bool endsInSlash = !drive->rootPath.empty() && drive->rootPath.back() == '/';
        const std::string probePath = drive->rootPath + (endsInSlash ? "" : "/") + kProbeFileName;
        return Refuse(messages, Format("Unable to write to drive %c.", shown) + "  (\"" + probePath + "\":\n" +
                                    reason + ".)");
    }
    if (auto shortfall = SpaceShortfallMessage(shown, RequiredBytes(numFiles, fileSizeKB, simultaneous), *freeBytes)) {
        return Refuse(messages, *shortfall);
    }
    return 1;
}

}  // namespace kel
