#include "app/cli/RunRecord.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace kel {

std::optional<RunRecord> ReadRunRecord(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        error = parseError.error != QJsonParseError::NoError ? parseError.errorString() : "not a run record";
        return std::nullopt;
    }
    const QJsonObject parameters = document["parameters"].toObject();
    RunRecord record;
    record.readReps = parameters["readReps"].toInt();
    record.writeReps = parameters["writeReps"].toInt();
    record.simultaneous = parameters["simultaneous"].toBool() ? 1 : 0;
    record.minRead = parameters["minRead"].toInt();
    record.minWrite = parameters["minWrite"].toInt();
    for (const QJsonValue& value : document["passes"].toArray()) {
        const QJsonObject pass = value.toObject();
        ReportedPass reported {pass["kind"].toString() == "Record", pass["number"].toInt(), pass["rate"].toDouble(), {}};
        for (const QJsonValue& sample : pass["samples"].toArray()) {
            reported.samples.push_back(sample.toDouble());
        }
        record.passes.push_back(std::move(reported));
    }
    return record;
}

}  // namespace kel
