#include "record/RecordJson.h"

#include "platform/TextRules.h"
#include "record/RecordFiguresJson.h"

#include <nlohmann/json.hpp>

namespace kel {

namespace {

using Json = nlohmann::json;

Json ParameterObject(const RunRecord& record)
{
    Json parameters = {{"directory", EscapeInvalidUtf8(record.directory)}};
    for (const ParameterSpec& spec : kRunParameterTable) {
        const std::int32_t value = record.parameters.*spec.field;
        const std::string key(spec.recordKey);
        parameters[key] = spec.kind == ParameterKind::Flag ? Json(value != 0) : Json(value);
    }
    return parameters;
}

Json PassArray(const std::vector<RecordedPass>& passes)
{
    Json array = Json::array();
    for (const RecordedPass& pass : passes) {
        array.push_back(Json {{"kind", PassKindName(pass.isWrite)},
                              {"number", pass.number},
                              {"rate", pass.rate},
                              {"samples", pass.samples}});
    }
    return array;
}

Json SummaryObject(const KindSummary& summary, double minimum)
{
    Json object = {{"passes", summary.passes},
                   {"min", summary.minRate},
                   {"max", summary.maxRate},
                   {"average", summary.averageRate},
                   {"samples", summary.samples},
                   {"samplesBelowMinimum", summary.samplesBelowMinimum}};
    if (minimum > 0.0) {
        object["minimum"] = minimum;
    }
    return object;
}

}  // namespace

const char* PassKindName(bool isWrite)
{
    return isWrite ? "Record" : "Play";
}

std::string RecordJson(const RunRecord& record)
{
    Json summary = Json::object();
    if (record.record.passes > 0) {
        summary[PassKindName(true)] = SummaryObject(record.record, MinimumRate(record.parameters, true));
    }
    if (record.play.passes > 0) {
        summary[PassKindName(false)] = SummaryObject(record.play, MinimumRate(record.parameters, false));
    }
    Json undeleted = Json::array();
    for (const std::string& name : record.outcome.undeletedFiles) {
        undeleted.push_back(EscapeInvalidUtf8(name));
    }
    const FileSystemInfo& fileSystem = record.fileSystem;
    Json root = {
        {"schema", kRecordSchema},
        {"program", EscapeInvalidUtf8(record.program)},
        {"version", EscapeInvalidUtf8(record.version)},
        {"start", RecordTimeText(record.start)},
        {"finish", RecordTimeText(record.finish)},
        {"parameters", ParameterObject(record)},
        {"writePasses", record.parameters.WritePasses()},
        {"fileAccess", FileAccessName(record.outcome.fileAccess)},
        {"fileSystem", {{"type", EscapeInvalidUtf8(fileSystem.type)},
                        {"mountPoint", EscapeInvalidUtf8(fileSystem.mountPoint)},
                        {"device", EscapeInvalidUtf8(fileSystem.device)},
                        {"label", EscapeInvalidUtf8(fileSystem.label)}}},
        {"unit", "MB/s"},
        {"unitBytes", static_cast<std::int64_t>(kBytesPerMB)},
        {"passes", PassArray(record.passes)},
        {"summary", summary},
        {"result", RunResultName(record.outcome.result)},
        {"undeletedFiles", undeleted},
    };
    if (record.outcome.result == RunResult::Failed) {
        root["error"] = EscapeInvalidUtf8(record.outcome.errorText);
        root["errorCode"] = record.outcome.errorCode;
        if (record.outcome.failureKind != FailureKind::None) {
            root["failureKind"] = FailureKindName(record.outcome.failureKind);
        }
    }
    WriteRunFigures(record, root);
    return root.dump(4) + "\n";
}

}  // namespace kel
