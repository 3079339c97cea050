#include "record/RecordReading.h"

#include "record/RecordFiguresJson.h"
#include "record/RecordJson.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>

namespace kel {

namespace {

using Json = nlohmann::json;

// Walks the document, keeping the first problem met.
class RecordReader {
public:
    bool Failed() const { return !m_problem.empty(); }
    const std::string& Problem() const { return m_problem; }

    void Fail(const std::string& where, const std::string& what)
    {
        if (!Failed()) {
            m_problem = where + ": " + what;
        }
    }

    const Json* Member(const Json& object, const std::string& where, const char* key)
    {
        const auto found = object.is_object() ? object.find(key) : object.end();
        if (found == object.end()) {
            Fail(where, std::string("the key \"") + key + "\" is missing");
            return nullptr;
        }
        return &*found;
    }

    int Integer(const Json& object, const std::string& where, const char* key, int low)
    {
        const Json* value = Member(object, where, key);
        const double number = value != nullptr && value->is_number() ? value->get<double>() : 0.5;
        const bool whole = std::floor(number) == number && number >= std::numeric_limits<std::int32_t>::min() &&
                           number <= std::numeric_limits<std::int32_t>::max();
        if (value != nullptr && !whole) {
            Fail(where + "." + key, "not a whole number");
        } else if (whole && number < low) {
            Fail(where + "." + key, std::to_string(static_cast<std::int64_t>(number)) + " is below " +
                                        std::to_string(low));
        }
        return whole ? static_cast<int>(number) : 0;
    }

    bool Boolean(const Json& object, const std::string& where, const char* key)
    {
        const Json* value = Member(object, where, key);
        if (value != nullptr && !value->is_boolean()) {
            Fail(where + "." + key, "not true or false");
        }
        return value != nullptr && value->is_boolean() && value->get<bool>();
    }

    const Json& Object(const Json* value, const std::string& where)
    {
        if (value != nullptr && !value->is_object()) {
            Fail(where, "not an object");
        }
        return value != nullptr && value->is_object() ? *value : m_empty;
    }

    const Json& Array(const Json* value, const std::string& where)
    {
        if (value != nullptr && !value->is_array()) {
            Fail(where, "not an array");
        }
        return value != nullptr && value->is_array() ? *value : m_empty;
    }

private:
    std::string m_problem;
    const Json m_empty;
};

struct KindRule {
    int count;
    const char* announcedBy;  // what sets the count
};

KindRule RuleFor(const RunParameters& parameters, bool isWrite)
{
    if (!isWrite) {
        return {parameters.readReps, "parameters.readReps"};
    }
    if (parameters.simultaneous != 0) {
        return {0, "parameters.simultaneous (its one write pass is not drawn)"};
    }
    return {parameters.writeReps, "parameters.writeReps"};
}

void ReadPass(RecordReader& reader, const Json& value, const std::string& where, const RunParameters& parameters,
              RunRecord& record)
{
    const Json& pass = reader.Object(&value, where);
    const Json* kind = reader.Member(pass, where, "kind");
    const std::string kindText = kind != nullptr && kind->is_string() ? kind->get<std::string>() : std::string();
    const bool isWrite = kindText == PassKindName(true);
    if (kind != nullptr && !isWrite && kindText != PassKindName(false)) {
        reader.Fail(where + ".kind", "neither \"Record\" nor \"Play\"");
    }
    const int number = reader.Integer(pass, where, "number", 1);
    const Json* rate = reader.Member(pass, where, "rate");
    if (rate != nullptr && !rate->is_number()) {
        reader.Fail(where + ".rate", "not a number");
    }
    const Json& samples = reader.Array(reader.Member(pass, where, "samples"), where + ".samples");
    if (reader.Failed()) {
        return;
    }
    const KindRule rule = RuleFor(parameters, isWrite);
    if (rule.count == 0) {
        reader.Fail(where, "a " + kindText + " pass, but " + rule.announcedBy + " announces none");
    } else if (number > rule.count) {
        reader.Fail(where + ".number", std::to_string(number) + " is beyond the " + std::to_string(rule.count) + " " +
                                           kindText + " passes of " + rule.announcedBy);
    } else if (samples.empty()) {
        reader.Fail(where + ".samples", "empty; a pass has at least one sample");
    }
    RecordedPass recorded {isWrite, number, rate->get<double>(), {}, false, {}};
    recorded.samples.reserve(samples.size());
    for (std::size_t i = 0; i < samples.size() && !reader.Failed(); ++i) {
        if (!samples[i].is_number()) {
            reader.Fail(where + ".samples[" + std::to_string(i) + "]", "not a number");
        } else {
            recorded.samples.push_back(samples[i].get<double>());
        }
    }
    record.passes.push_back(std::move(recorded));
}

// The optional keys: taken when present and of their type.
template <typename T>
void Take(const Json& object, const char* key, T& into)
{
    const auto found = object.is_object() ? object.find(key) : object.end();
    if (found == object.end()) {
        return;
    }
    if constexpr (std::is_same_v<T, std::string>) {
        if (found->is_string()) {
            into = found->get<std::string>();
        }
    } else if (found->is_number()) {
        into = found->get<T>();
    }
}

template <typename Enum, typename Name>
void TakeName(const Json& object, const char* key, Enum last, Name name, Enum& into)
{
    std::string text;
    Take(object, key, text);
    for (int i = 0; i <= static_cast<int>(last); ++i) {
        if (text == name(static_cast<Enum>(i))) {
            into = static_cast<Enum>(i);
        }
    }
}

void TakeTime(const Json& object, const char* key, std::chrono::system_clock::time_point& into)
{
    std::string text;
    Take(object, key, text);
    if (const auto time = ParseRecordTime(text)) {
        into = *time;
    }
}

void TakeSummary(const Json& summaries, const char* kind, KindSummary& into)
{
    const auto found = summaries.is_object() ? summaries.find(kind) : summaries.end();
    if (found == summaries.end()) {
        return;
    }
    Take(*found, "passes", into.passes);
    Take(*found, "min", into.minRate);
    Take(*found, "max", into.maxRate);
    Take(*found, "average", into.averageRate);
    Take(*found, "samples", into.samples);
    Take(*found, "samplesBelowMinimum", into.samplesBelowMinimum);
}

void TakeTheRest(const Json& root, RunRecord& record)
{
    Take(root, "program", record.program);
    Take(root, "version", record.version);
    TakeTime(root, "start", record.start);
    TakeTime(root, "finish", record.finish);
    const Json& parameters = *root.find("parameters");
    Take(parameters, "directory", record.directory);
    for (const ParameterSpec& spec : kRunParameterTable) {
        if (spec.kind != ParameterKind::Flag) {
            Take(parameters, std::string(spec.recordKey).c_str(), record.parameters.*spec.field);
        }
    }
    if (const auto fileSystem = root.find("fileSystem"); fileSystem != root.end()) {
        Take(*fileSystem, "type", record.fileSystem.type);
        Take(*fileSystem, "mountPoint", record.fileSystem.mountPoint);
        Take(*fileSystem, "device", record.fileSystem.device);
        Take(*fileSystem, "label", record.fileSystem.label);
    }
    if (const auto summary = root.find("summary"); summary != root.end()) {
        TakeSummary(*summary, PassKindName(true), record.record);
        TakeSummary(*summary, PassKindName(false), record.play);
    }
    RunOutcome& outcome = record.outcome;
    TakeName(root, "result", RunResult::Failed, RunResultName, outcome.result);
    TakeName(root, "fileAccess", FileAccess::Mixed, FileAccessName, outcome.fileAccess);
    TakeName(root, "failureKind", FailureKind::Verify, FailureKindName, outcome.failureKind);
    Take(root, "error", outcome.errorText);
    Take(root, "errorCode", outcome.errorCode);
    if (const auto undeleted = root.find("undeletedFiles"); undeleted != root.end() && undeleted->is_array()) {
        for (const Json& name : *undeleted) {
            if (name.is_string()) {
                outcome.undeletedFiles.push_back(name.get<std::string>());
            }
        }
    }
}

std::optional<RunRecord> ReadDocument(const Json& root, std::string& problem)
{
    if (!root.is_object()) {
        problem = "not a run record: the document is not an object";
        return std::nullopt;
    }
    RecordReader reader;
    // Records written before the schema was numbered have no "schema".
    if (root.contains("schema") && *root.find("schema") != Json(kRecordSchema)) {
        reader.Fail("schema", "this program reads schema " + std::to_string(kRecordSchema) + " only");
    }
    const Json& parameters = reader.Object(reader.Member(root, "record", "parameters"), "parameters");
    RunRecord record;
    RunParameters& p = record.parameters;
    if (!reader.Failed()) {
        p.readReps = reader.Integer(parameters, "parameters", "readReps", 0);
        p.writeReps = reader.Integer(parameters, "parameters", "writeReps", 0);
        p.minRead = reader.Integer(parameters, "parameters", "minRead", std::numeric_limits<std::int32_t>::min());
        p.minWrite = reader.Integer(parameters, "parameters", "minWrite", std::numeric_limits<std::int32_t>::min());
        p.simultaneous = reader.Boolean(parameters, "parameters", "simultaneous") ? 1 : 0;
    }
    const Json& passes = reader.Array(reader.Member(root, "record", "passes"), "passes");
    for (std::size_t i = 0; i < passes.size() && !reader.Failed(); ++i) {
        ReadPass(reader, passes[i], "passes[" + std::to_string(i) + "]", p, record);
    }
    if (reader.Failed()) {
        problem = reader.Problem();
        return std::nullopt;
    }
    TakeTheRest(root, record);
    ReadRunFigures(root, record);
    return record;
}

// "not JSON: <what the parser says> at byte N".
std::string ParseProblem(const nlohmann::json::parse_error& error)
{
    std::string what = error.what();
    const std::size_t reason = what.find(": ");
    if (reason != std::string::npos) {
        what = what.substr(reason + 2);
    }
    return "not JSON: " + what + " at byte " + std::to_string(error.byte);
}

template <typename Input>
std::optional<RunRecord> ParseInput(Input&& input, std::string& problem)
{
    try {
        return ReadDocument(Json::parse(std::forward<Input>(input)), problem);
    } catch (const nlohmann::json::parse_error& error) {
        problem = ParseProblem(error);
    } catch (const std::exception& error) {
        problem = std::string("cannot be read: ") + error.what();
    }
    return std::nullopt;
}

}  // namespace

std::optional<RunRecord> ParseRunRecord(std::string_view json, std::string& problem)
{
    return ParseInput(json, problem);
}

std::optional<RunRecord> ReadRunRecord(std::FILE* stream, std::string& problem)
{
    return ParseInput(stream, problem);
}

}  // namespace kel
