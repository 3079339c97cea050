#include "app/HelpFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace kel {

QString HelpFileName()
{
    return QStringLiteral("keltally.html");
}

QString HelpFilePath()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    const QStringList candidates {
        appDir + QStringLiteral("/../" KELT_HELP_INSTALL_DIR "/") + HelpFileName(),
        QStringLiteral(KELT_HELP_SOURCE_DIR "/") + HelpFileName(),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate)) {
            return QFileInfo(candidate).canonicalFilePath();
        }
    }
    // The built-in copy: a desktop viewer needs a real file.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty() || !QDir().mkpath(cache)) {
        return {};
    }
    const QString unpacked = cache + QLatin1Char('/') + HelpFileName();
    QFile::remove(unpacked);
    if (!QFile::copy(QStringLiteral(":/help/") + HelpFileName(), unpacked)) {
        return {};
    }
    return unpacked;
}

}  // namespace kel
