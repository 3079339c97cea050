#include "app/cli/JsonReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace kel {

namespace {

QString Key(std::string_view key)
{
    return QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()));
}

}  // namespace

bool WriteJsonReport(const QString& path, const RunParameters& parameters, const QString& directory,
                     const std::vector<ReportedPass>& passes, const RunOutcome& outcome, QString& error)
{
    QJsonObject parameterObject {{"directory", directory}};
    for (const ParameterSpec& spec : kRunParameterTable) {
        const std::int32_t value = parameters.*spec.field;
        parameterObject.insert(Key(spec.recordKey),
                               spec.kind == ParameterKind::Flag ? QJsonValue(value != 0) : QJsonValue(value));
    }
    QJsonArray passArray;
    for (const ReportedPass& pass : passes) {
        QJsonArray samples;
        for (const double sample : pass.samples) {
            samples.append(sample);
        }
        passArray.append(QJsonObject {{"kind", pass.isWrite ? "Record" : "Play"},
                                      {"number", pass.number},
                                      {"rate", pass.rate},
                                      {"samples", samples}});
    }
    QJsonObject root {{"parameters", parameterObject},
                      {"passes", passArray},
                      {"result", QString::fromLatin1(RunResultName(outcome.result))}};
    if (outcome.result == RunResult::Failed) {
        root.insert("error", QString::fromStdString(outcome.errorText));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson()) < 0 || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace kel
