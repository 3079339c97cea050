#include "record/RunRecord.h"

namespace kel {

double MinimumRate(const RunParameters& parameters, bool isWrite)
{
    const std::int32_t thousandths = isWrite ? parameters.minWrite : parameters.minRead;
    return thousandths > 0 ? thousandths * 0.001 : 0.0;
}

FileSystemInfo FileSystemOf(const DriveEntry& drive)
{
    return FileSystemInfo {QString::fromStdString(drive.fileSystem), QString::fromStdString(drive.mountPoint),
                           QString::fromStdString(drive.device), QString::fromStdString(drive.label)};
}

}  // namespace kel
