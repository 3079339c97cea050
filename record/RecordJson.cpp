#include "record/RecordJson.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace kel {

namespace {

QString Key(std::string_view key)
{
    return QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()));
}

QString TimeText(const QDateTime& time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QJsonObject ParameterObject(const RunRecord& record)
{
    QJsonObject parameters {{"directory", record.directory}};
    for (const ParameterSpec& spec : kRunParameterTable) {
        const std::int32_t value = record.parameters.*spec.field;
        parameters.insert(Key(spec.recordKey),
                          spec.kind == ParameterKind::Flag ? QJsonValue(value != 0) : QJsonValue(value));
    }
    return parameters;
}

QJsonArray PassArray(const std::vector<RecordedPass>& passes)
{
    QJsonArray array;
    for (const RecordedPass& pass : passes) {
        QJsonArray samples;
        for (const double sample : pass.samples) {
            samples.append(sample);
        }
        array.append(QJsonObject {{"kind", PassKindName(pass.isWrite)},
                                  {"number", pass.number},
                                  {"rate", pass.rate},
                                  {"samples", samples}});
    }
    return array;
}

QJsonObject SummaryObject(const KindSummary& summary, double minimum)
{
    QJsonObject object {{"passes", summary.passes},
                        {"min", summary.minRate},
                        {"max", summary.maxRate},
                        {"average", summary.averageRate},
                        {"samples", static_cast<qint64>(summary.samples)},
                        {"samplesBelowMinimum", static_cast<qint64>(summary.samplesBelowMinimum)}};
    if (minimum > 0.0) {
        object.insert("minimum", minimum);
    }
    return object;
}

}  // namespace

QString PassKindName(bool isWrite)
{
    return isWrite ? QStringLiteral("Record") : QStringLiteral("Play");
}

QJsonObject RecordObject(const RunRecord& record)
{
    QJsonObject summary;
    if (record.record.passes > 0) {
        summary.insert(PassKindName(true), SummaryObject(record.record, MinimumRate(record.parameters, true)));
    }
    if (record.play.passes > 0) {
        summary.insert(PassKindName(false), SummaryObject(record.play, MinimumRate(record.parameters, false)));
    }
    QJsonArray undeleted;
    for (const std::string& name : record.outcome.undeletedFiles) {
        undeleted.append(QString::fromStdString(name));
    }
    QJsonObject root {
        {"schema", kRecordSchema},
        {"program", record.program},
        {"version", record.version},
        {"start", TimeText(record.start)},
        {"finish", TimeText(record.finish)},
        {"parameters", ParameterObject(record)},
        {"writePasses", record.parameters.WritePasses()},
        {"fileAccess", QString::fromLatin1(FileAccessName(record.outcome.fileAccess))},
        {"fileSystem", QJsonObject {{"type", record.fileSystem.type},
                                    {"mountPoint", record.fileSystem.mountPoint},
                                    {"device", record.fileSystem.device},
                                    {"label", record.fileSystem.label}}},
        {"unit", "MB/s"},
        {"unitBytes", kBytesPerMB},
        {"passes", PassArray(record.passes)},
        {"summary", summary},
        {"result", QString::fromLatin1(RunResultName(record.outcome.result))},
        {"undeletedFiles", undeleted},
    };
    if (record.outcome.result == RunResult::Failed) {
        root.insert("error", QString::fromStdString(record.outcome.errorText));
        root.insert("errorCode", record.outcome.errorCode);
    }
    return root;
}

QByteArray RecordJson(const RunRecord& record)
{
    return QJsonDocument(RecordObject(record)).toJson();
}

}  // namespace kel
