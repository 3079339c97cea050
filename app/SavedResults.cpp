#include "app/SavedResults.h"

#include "record/RecordJson.h"
#include "record/ReportTarget.h"
#include "view/PngBytes.h"

namespace kel {

namespace {

QString BesideRecord(const QString& recordPath, const QString& suffix)
{
    const QString base = recordPath.endsWith(".json", Qt::CaseInsensitive) ? recordPath.chopped(5) : recordPath;
    return base + suffix;
}

std::optional<QString> SavePicture(const QString& path, const QImage& image)
{
    const std::optional<QByteArray> png = PngBytes(image);
    if (!png) {
        return QStringLiteral("The picture \"%1\" could not be drawn.").arg(path);
    }
    if (const auto failure = WriteReport(path, *png)) {
        return failure->text;
    }
    return std::nullopt;
}

}  // namespace

QString GraphPicturePath(const QString& recordPath)
{
    return BesideRecord(recordPath, QStringLiteral("-graph.png"));
}

QString TextPicturePath(const QString& recordPath)
{
    return BesideRecord(recordPath, QStringLiteral("-text.png"));
}

std::optional<QString> SaveRunResults(const QString& recordPath, const RunRecord& record, const QImage& graph,
                                      const QImage& text)
{
    if (const auto failure = WriteReport(recordPath, RecordJson(record))) {
        return failure->text;
    }
    if (const auto failure = SavePicture(GraphPicturePath(recordPath), graph)) {
        return failure;
    }
    return SavePicture(TextPicturePath(recordPath), text);
}

}  // namespace kel
