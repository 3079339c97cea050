#include "cli/CliPresets.h"

#include "platform/TextRules.h"
#include "settings/PresetTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace kel {

namespace {

void ApplyPresetAt(const PresetTable& presets, int index, CliOptions& options)
{
    const RunParameters fromPreset = ParametersOf(presets.At(index));
    for (std::size_t i = 0; i < kRunParameterTable.size(); ++i) {
        if (!options.setOnCommandLine[i]) {
            options.parameters.*kRunParameterTable[i].field = fromPreset.*kRunParameterTable[i].field;
        }
    }
}

}  // namespace

std::optional<QString> ApplyPreset(const PresetTable& presets, CliOptions& options)
{
    if (options.presetName.isEmpty()) {
        // A full table may lack "(Default)"; the built-in values stand for it.
        const int index = presets.FindPreset(kDefaultPresetName);
        if (index >= 0) {
            ApplyPresetAt(presets, index, options);
        }
        return std::nullopt;
    }
    const int index = presets.FindPreset(options.presetName.toStdString());
    if (index < 0) {
        return QString("there is no preset named \"%1\" (see --list-presets)").arg(options.presetName);
    }
    ApplyPresetAt(presets, index, options);
    return std::nullopt;
}

QString FormatPresetList(const PresetTable& presets, bool json)
{
    if (json) {
        QJsonArray list;
        for (int i = 0; i < presets.Count(); ++i) {
            const Preset& p = presets.At(i);
            list.append(QJsonObject {{"name", QString::fromStdString(p.name)},
                                     {"numFiles", p.numFiles},
                                     {"fileSize", p.fileSize},
                                     {"bufSize", p.bufSize},
                                     {"readReps", p.readReps},
                                     {"writeReps", p.writeReps},
                                     {"sampsSec", p.sampsSec},
                                     {"minRead", p.minRead},
                                     {"minWrite", p.minWrite}});
        }
        return QString::fromUtf8(QJsonDocument(list).toJson());
    }
    QString text = QString("%1 %2 %3 %4 %5 %6 %7 %8 %9\n")
                       .arg("Name", -38)
                       .arg("Files", 5)
                       .arg("FileKB", 7)
                       .arg("BufKB", 5)
                       .arg("Reads", 5)
                       .arg("Writes", 6)
                       .arg("Res", 4)
                       .arg("MinRead", 8)
                       .arg("MinWrite", 8);
    for (int i = 0; i < presets.Count(); ++i) {
        const Preset& p = presets.At(i);
        text += QString("%1 %2 %3 %4 %5 %6 %7 %8 %9\n")
                    .arg(QString::fromStdString(PrintableText(p.name)), -38)
                    .arg(p.numFiles, 5)
                    .arg(p.fileSize, 7)
                    .arg(p.bufSize, 5)
                    .arg(p.readReps, 5)
                    .arg(p.writeReps, 6)
                    .arg(p.sampsSec, 4)
                    .arg(p.minRead, 8)
                    .arg(p.minWrite, 8);
    }
    return text;
}

}  // namespace kel
