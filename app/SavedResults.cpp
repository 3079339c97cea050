#include "app/SavedResults.h"

#include "record/RecordJson.h"
#include "record/ReportTarget.h"
#include "view/ResultImages.h"

#include <QFile>

namespace kel {

namespace {

QString BesideRecord(const QString& recordPath, const QString& suffix)
{
    const QString base = recordPath.endsWith(".json", Qt::CaseInsensitive) ? recordPath.chopped(5) : recordPath;
    return base + suffix;
}

// Writes bytes to the file the user chose, named in the system's encoding.
std::optional<QString> Save(const QString& path, std::string_view bytes)
{
    if (const auto failure = WriteReport(QFile::encodeName(path).toStdString(), bytes)) {
        return QString::fromStdString(failure->text);
    }
    return std::nullopt;
}

std::optional<QString> SavePicture(const QString& path, const QImage& image)
{
    const std::optional<QByteArray> png = PngBytes(image);
    if (!png) {
        return QStringLiteral("The picture \"%1\" could not be drawn.").arg(path);
    }
    return Save(path, std::string_view(png->constData(), static_cast<std::size_t>(png->size())));
}

}  // namespace

QString GraphPicturePath(const QString& recordPath)
{
    return BesideRecord(recordPath, QString::fromStdString(GraphPictureName("-")));
}

QString TextPicturePath(const QString& recordPath)
{
    return BesideRecord(recordPath, QString::fromStdString(TextPictureName("-")));
}

std::optional<QString> SaveRunResults(const QString& recordPath, const RunRecord& record, const QImage& graph,
                                      const QImage& text)
{
    if (const auto failure = Save(recordPath, RecordJson(record))) {
        return failure;
    }
    if (const auto failure = SavePicture(GraphPicturePath(recordPath), graph)) {
        return failure;
    }
    return SavePicture(TextPicturePath(recordPath), text);
}

}  // namespace kel
