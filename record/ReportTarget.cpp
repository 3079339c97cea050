#include "record/ReportTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace kel {

namespace {

const QString kStandardOutput = QStringLiteral("-");

struct StreamCloser {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};

bool WrittenDirectly(const QString& target)
{
    const QFileInfo info(target);
    // /dev/stdout, /dev/fd/N and /proc/self/fd/N lead to a descriptor the
    // process already holds, even when that is a regular file.
    const QString absolute = info.absoluteFilePath();
    if (info.isSymLink() && (absolute.startsWith("/dev/") || absolute.startsWith("/proc/"))) {
        return true;
    }
    return info.exists() && !info.isFile() && !info.isDir();
}

std::optional<QString> CheckCanCreateIn(const QString& folder)
{
    QTemporaryFile probe(folder + "/.keltally-XXXXXX");
    if (!probe.open()) {
        return "cannot write in the folder \"" + folder + "\": " + probe.errorString();
    }
    return std::nullopt;
}

std::optional<ReportFailure> Failure(const QString& where)
{
    const int code = errno != 0 ? errno : EIO;
    return ReportFailure {where + ": " + QString::fromLocal8Bit(std::strerror(code)), code};
}

bool WriteAll(std::FILE* stream, const QByteArray& bytes)
{
    const std::size_t size = static_cast<std::size_t>(bytes.size());
    return std::fwrite(bytes.constData(), 1, size, stream) == size && std::fflush(stream) == 0;
}

std::optional<ReportFailure> WriteStandardOutput(const QByteArray& bytes)
{
    errno = 0;
    return WriteAll(stdout, bytes) ? std::nullopt : Failure("standard output");
}

std::optional<ReportFailure> WriteDirectly(const QString& target, const QByteArray& bytes)
{
    // Appending keeps what a file behind /dev/stdout already holds; a device
    // or FIFO does not mind.
    errno = 0;
    std::unique_ptr<std::FILE, StreamCloser> stream(std::fopen(QFile::encodeName(target).constData(), "ab"));
    if (!stream) {
        return Failure("\"" + target + "\"");
    }
    const bool written = WriteAll(stream.get(), bytes);
    const int writeError = errno;
    const bool closed = std::fclose(stream.release()) == 0;
    if (!written || !closed) {
        errno = written ? errno : writeError;
        return Failure("\"" + target + "\"");
    }
    return std::nullopt;
}

std::optional<ReportFailure> ReplaceAtomically(const QString& target, const QByteArray& bytes)
{
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return ReportFailure {"\"" + target + "\": " + file.errorString(), 0};
    }
    return std::nullopt;
}

}  // namespace

std::optional<QString> CheckReportTarget(const QString& target)
{
    if (target == kStandardOutput) {
        return std::nullopt;
    }
    const QFileInfo info(target);
    if (info.isDir()) {
        return "\"" + target + "\" is a folder";
    }
    if (WrittenDirectly(target)) {
        if (!info.exists()) {
            return "\"" + target + "\" does not exist";
        }
        if (!info.isWritable()) {
            return "\"" + target + "\" cannot be written";
        }
        return std::nullopt;
    }
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir()) {
        return "the folder \"" + folder + "\" does not exist";
    }
    // Names there stand for devices and descriptors: a missing one is a
    // mistyped name, not a file to make.
    if (!info.exists() && (folder == "/dev" || folder == "/proc" || folder.startsWith("/proc/"))) {
        return "there is no device \"" + target + "\"";
    }
    if (info.exists() && !info.isWritable()) {
        return "\"" + target + "\" is write-protected";
    }
    return CheckCanCreateIn(folder);
}

std::optional<QString> PrepareReportFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        return "\"" + folder + "\" is not a folder";
    }
    if (!QDir().mkpath(folder)) {
        return "cannot make the folder \"" + folder + "\"";
    }
    return CheckCanCreateIn(info.absoluteFilePath());
}

std::optional<ReportFailure> WriteReport(const QString& target, const QByteArray& bytes)
{
    if (target == kStandardOutput) {
        return WriteStandardOutput(bytes);
    }
    return WrittenDirectly(target) ? WriteDirectly(target, bytes) : ReplaceAtomically(target, bytes);
}

}  // namespace kel
