#include "record/RecordReading.h"

#include "record/PassStream.h"
#include "record/RecordFiguresJson.h"
#include "record/RecordJson.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <vector>

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

// Checks one pass and, when it keeps the rules, moves it into recorded.
void ReadPass(RecordReader& reader, StreamedPass& streamed, const std::string& where,
              const RunParameters& parameters, std::size_t sampleLimit, RecordedPass& recorded)
{
    const Json& pass = reader.Object(&streamed.object, where);
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
    reader.Array(reader.Member(pass, where, "samples"), where + ".samples");
    if (reader.Failed()) {
        return;
    }
    const std::size_t noIndex = static_cast<std::size_t>(-1);
    const KindRule rule = RuleFor(parameters, isWrite);
    if (rule.count == 0) {
        reader.Fail(where, "a " + kindText + " pass, but " + rule.announcedBy + " announces none");
    } else if (number > rule.count) {
        reader.Fail(where + ".number", std::to_string(number) + " is beyond the " + std::to_string(rule.count) + " " +
                                           kindText + " passes of " + rule.announcedBy);
    } else if (streamed.samples.empty() && streamed.firstNonNumber == noIndex && !streamed.beyondLimit) {
        reader.Fail(where + ".samples", "empty; a pass has at least one sample");
    } else if (streamed.firstNonNumber != noIndex) {
        reader.Fail(where + ".samples[" + std::to_string(streamed.firstNonNumber) + "]", "not a number");
    } else if (streamed.beyondLimit) {
        reader.Fail(where + ".samples", "more than the " + std::to_string(sampleLimit) +
                                            " samples that parameters.numFiles, fileSize and bufSize allow");
    }
    recorded = RecordedPass {isWrite, number, rate->get<double>(), std::move(streamed.samples), false, {}};
    ReadPassFigures(pass, recorded);
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

// The parameters the passes are checked against; what the reader failed
// on when they break a rule.
RunParameters ReadParameters(RecordReader& reader, const Json& root)
{
    // Records written before the schema was numbered have no "schema".
    if (root.contains("schema") && *root.find("schema") != Json(kRecordSchema)) {
        reader.Fail("schema", "this program reads schema " + std::to_string(kRecordSchema) + " only");
    }
    const Json& parameters = reader.Object(reader.Member(root, "record", "parameters"), "parameters");
    RunParameters p;
    if (!reader.Failed()) {
        p.readReps = reader.Integer(parameters, "parameters", "readReps", 0);
        p.writeReps = reader.Integer(parameters, "parameters", "writeReps", 0);
        p.minRead = reader.Integer(parameters, "parameters", "minRead", std::numeric_limits<std::int32_t>::min());
        p.minWrite = reader.Integer(parameters, "parameters", "minWrite", std::numeric_limits<std::int32_t>::min());
        p.simultaneous = reader.Boolean(parameters, "parameters", "simultaneous") ? 1 : 0;
    }
    return p;
}

// The most samples one pass of the run can hold: one per transfer, as the
// run itself keeps room for. Records without the sizes have the format's
// limit only.
std::size_t SampleLimit(const Json& parameters)
{
    constexpr std::int64_t kFormatLimit = std::numeric_limits<std::int32_t>::max();
    std::int64_t sizes[3] = {0, 0, 0};
    const char* const keys[3] = {"numFiles", "fileSize", "bufSize"};
    for (int i = 0; i < 3; ++i) {
        const auto found = parameters.find(keys[i]);
        if (found == parameters.end() || !found->is_number_integer() || found->get<std::int64_t>() < 1 ||
            found->get<std::int64_t>() > kFormatLimit) {
            return kFormatLimit;
        }
        sizes[i] = found->get<std::int64_t>();
    }
    const std::int64_t blocksPerFile = (sizes[1] - 1) / sizes[2] + 1;
    return static_cast<std::size_t>(std::min<std::int64_t>(sizes[0] * blocksPerFile + 1, kFormatLimit));
}

const std::vector<std::string> kReadRootKeys {
    "schema", "program", "version", "start", "finish", "parameters", "fileSystem", "passes",
    "summary", "result", "fileAccess", "failureKind", "error", "errorCode", "undeletedFiles",
    "verified", "decimalUnitBytes", "bytesVerified", "generatorRate", "checkerRate", "transfersWaited",
    "firstMismatch", "interface"};

// Reads a record through PassStream: the passes are checked as they come
// (those before the parameters wait for them) and handed on at once; the
// rest is checked at the end, in the order of the rules, so the first
// problem named is the same whatever the order of the keys.
class StreamingReader {
public:
    explicit StreamingReader(const RecordPassReceiver& receiver) : m_receiver(receiver) {}

    template <typename Input>
    std::optional<RunRecord> Read(Input&& input, std::string& problem)
    {
        PassStream stream(kReadRootKeys, {[this](const std::string& key) { OnRootValue(key); },
                                          [this](StreamedPass&& pass) { return OnPass(std::move(pass)); },
                                          [this] { return m_sampleLimit; }});
        m_stream = &stream;
        try {
            Json::sax_parse(std::forward<Input>(input), &stream);
        } catch (const std::bad_alloc&) {
            problem = "cannot be read: it needs more memory than there is";
            return std::nullopt;
        } catch (const std::exception& error) {
            problem = std::string("cannot be read: ") + error.what();
            return std::nullopt;
        }
        if (!stream.Problem().empty()) {
            problem = stream.Problem();
            return std::nullopt;
        }
        const Json& root = stream.Document();
        RecordReader reader;
        RunRecord record;
        record.parameters = ReadParameters(reader, root);
        reader.Array(reader.Member(root, "record", "passes"), "passes");
        if (!reader.Failed() && !m_passProblem.empty()) {
            problem = m_passProblem;
            return std::nullopt;
        }
        if (reader.Failed()) {
            problem = reader.Problem();
            return std::nullopt;
        }
        TakeTheRest(root, record);
        ReadRunFigures(root, record);
        return record;
    }

private:
    void OnRootValue(const std::string& key)
    {
        if (key != "parameters" || m_parametersRead) {
            return;
        }
        m_parametersRead = true;
        // A wrong schema or parameters are named at the end; the passes wait no longer.
        RecordReader reader;
        const Json& root = m_stream->Document();
        m_parameters = ReadParameters(reader, root);
        m_parametersGood = !reader.Failed();
        if (!m_parametersGood) {
            m_waiting.clear();
            return;
        }
        m_sampleLimit = SampleLimit(*root.find("parameters"));
        if (m_receiver.onParameters) {
            m_receiver.onParameters(m_parameters);
        }
        std::vector<StreamedPass> waiting = std::move(m_waiting);
        for (StreamedPass& pass : waiting) {
            if (!OnPass(std::move(pass))) {
                break;
            }
        }
    }

    bool OnPass(StreamedPass&& pass)
    {
        if (!m_parametersRead) {
            m_waiting.push_back(std::move(pass));
            return true;
        }
        if (!m_parametersGood) {
            return false;
        }
        RecordReader reader;
        RecordedPass recorded;
        ReadPass(reader, pass, "passes[" + std::to_string(m_passIndex++) + "]", m_parameters, m_sampleLimit,
                 recorded);
        if (reader.Failed()) {
            m_passProblem = reader.Problem();
            return false;
        }
        m_receiver.onPass(std::move(recorded));
        return true;
    }

    const RecordPassReceiver& m_receiver;
    const PassStream* m_stream = nullptr;
    bool m_parametersRead = false;
    bool m_parametersGood = false;
    RunParameters m_parameters;
    std::size_t m_sampleLimit = std::numeric_limits<std::int32_t>::max();
    std::vector<StreamedPass> m_waiting;
    std::size_t m_passIndex = 0;
    std::string m_passProblem;
};

}  // namespace

std::optional<RunRecord> ParseRunRecord(std::string_view json, std::string& problem)
{
    std::vector<RecordedPass> passes;
    const RecordPassReceiver keep {{}, [&passes](RecordedPass&& pass) { passes.push_back(std::move(pass)); }};
    auto record = StreamingReader(keep).Read(json, problem);
    if (record) {
        record->passes = std::move(passes);
        SummarizeFigures(record->passes, true, record->record);
        SummarizeFigures(record->passes, false, record->play);
    }
    return record;
}

std::optional<RunRecord> ReadRunRecord(std::FILE* stream, std::string& problem)
{
    std::vector<RecordedPass> passes;
    const RecordPassReceiver keep {{}, [&passes](RecordedPass&& pass) { passes.push_back(std::move(pass)); }};
    auto record = StreamingReader(keep).Read(stream, problem);
    if (record) {
        record->passes = std::move(passes);
        SummarizeFigures(record->passes, true, record->record);
        SummarizeFigures(record->passes, false, record->play);
    }
    return record;
}

std::optional<RunRecord> StreamRunRecord(std::FILE* stream, const RecordPassReceiver& receiver, std::string& problem)
{
    return StreamingReader(receiver).Read(stream, problem);
}

}  // namespace kel
