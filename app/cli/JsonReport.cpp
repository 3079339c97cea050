#include "app/cli/JsonReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace kel {

bool WriteJsonReport(const QString& path, const CliOptions& options, const QString& directory,
                     const std::vector<ReportedPass>& passes, const QString& result, const QString& failure,
                     QString& error)
{
    QJsonObject parameters {
        {"directory", directory},          {"files", options.numFiles},         {"fileSizeKB", options.fileSizeKB},
        {"bufSizeKB", options.bufSizeKB},  {"readReps", options.readReps},      {"writeReps", options.writeReps},
        {"sampsSec", options.sampsSec},    {"minRead", options.minRead},        {"minWrite", options.minWrite},
        {"simultaneous", options.simultaneous},
    };
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
    QJsonObject root {{"parameters", parameters}, {"passes", passArray}, {"result", result}};
    if (result == "failed") {
        root.insert("error", failure);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson()) < 0 || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace kel
