#include "record/RecordFiguresJson.h"

#include "engine/PassWatch.h"
#include "record/RecordJson.h"

namespace kel {

namespace {

using Json = nlohmann::json;

constexpr const char* kMismatchNames[] = {"none", "other data", "other place", "changed bits"};

template <typename T>
void Take(const Json& object, const char* key, T& into)
{
    const auto found = object.find(key);
    if (found != object.end() && found->is_number()) {
        into = found->get<T>();
    }
}

const Json* Object(const Json& parent, const char* key)
{
    const auto found = parent.find(key);
    return found != parent.end() && found->is_object() ? &*found : nullptr;
}

Json StallObject(const StallFigure& stall)
{
    return {{"seconds", stall.seconds}, {"at", stall.atSeconds}, {"bytesBefore", stall.bytesBefore}};
}

Json CliffObject(const CliffFigure& cliff)
{
    return {{"fastRate", cliff.fastRate}, {"slowRate", cliff.slowRate}, {"at", cliff.atSeconds},
            {"atBytes", cliff.atBytes}};
}

void ReadStall(const Json& object, StallFigure& stall)
{
    Take(object, "seconds", stall.seconds);
    Take(object, "at", stall.atSeconds);
    Take(object, "bytesBefore", stall.bytesBefore);
}

void ReadCliff(const Json& object, CliffFigure& cliff)
{
    Take(object, "fastRate", cliff.fastRate);
    Take(object, "slowRate", cliff.slowRate);
    Take(object, "at", cliff.atSeconds);
    Take(object, "atBytes", cliff.atBytes);
}

void WritePass(const RecordedPass& pass, bool verified, Json& object)
{
    const PassFigures& figures = pass.figures;
    object["rateDecimal"] = DecimalRate(pass.rate);
    object["stall"] = StallObject(figures.stall);
    if (figures.stream.judged) {
        object["stream"] = {{"rate", figures.stream.rate},
                            {"bufferBytes", figures.stream.bufferBytes},
                            {"fallsBehind", figures.stream.fallsBehind},
                            {"verdict", StreamVerdictText(figures.stream)}};
        if (figures.stream.fallsBehind) {
            object["stream"]["behindAfterBytes"] = figures.stream.behindAfterBytes;
        }
    }
    if (pass.isWrite) {
        Json cliff = figures.cliff.found ? CliffObject(figures.cliff) : Json::object();
        cliff["found"] = figures.cliff.found;
        object["cliff"] = cliff;
    } else if (verified) {
        object["bytesVerified"] = figures.bytesVerified;
    }
}

}  // namespace

void ReadPassFigures(const Json& object, RecordedPass& pass)
{
    const Json* stall = Object(object, "stall");
    if (stall == nullptr) {
        return;
    }
    PassFigures& figures = pass.figures;
    pass.hasFigures = true;
    figures.passNumber = pass.number;
    figures.isWrite = pass.isWrite ? 1 : 0;
    ReadStall(*stall, figures.stall);
    if (const Json* stream = Object(object, "stream")) {
        figures.stream.judged = true;
        Take(*stream, "rate", figures.stream.rate);
        Take(*stream, "bufferBytes", figures.stream.bufferBytes);
        figures.stream.fallsBehind = stream->value("fallsBehind", false);
        Take(*stream, "behindAfterBytes", figures.stream.behindAfterBytes);
    }
    if (const Json* cliff = Object(object, "cliff")) {
        figures.cliff.found = cliff->value("found", false);
        ReadCliff(*cliff, figures.cliff);
    }
    Take(object, "bytesVerified", figures.bytesVerified);
}

namespace {

void WriteSummary(const KindSummary& summary, Json& object)
{
    object["minDecimal"] = DecimalRate(summary.minRate);
    object["maxDecimal"] = DecimalRate(summary.maxRate);
    object["averageDecimal"] = DecimalRate(summary.averageRate);
    const KindFigures& figures = summary.figures;
    Json stall = StallObject(figures.stall);
    stall["pass"] = figures.stallPass;
    object["longestStall"] = stall;
    if (figures.stream.judged) {
        object["stream"] = {{"pass", figures.streamPass},
                            {"verdict", StreamVerdictText(figures.stream)},
                            {"bufferBytes", figures.stream.bufferBytes},
                            {"fallsBehind", figures.stream.fallsBehind}};
    }
    if (figures.cliffPass != 0) {
        Json cliff = CliffObject(figures.cliff);
        cliff["pass"] = figures.cliffPass;
        object["cliff"] = cliff;
    }
}

Json MismatchObject(const DataMismatch& mismatch)
{
    Json object = {{"kind", kMismatchNames[static_cast<int>(mismatch.kind)]},
                   {"file", mismatch.fileIndex},
                   {"offset", mismatch.offset}};
    if (mismatch.kind == MismatchKind::OtherPlace) {
        object["belongsToFile"] = mismatch.foundFileIndex;
        object["belongsAtOffset"] = mismatch.foundOffset;
    }
    if (mismatch.kind == MismatchKind::ChangedBits) {
        object["changedBits"] = mismatch.changedBits;
    }
    return object;
}

void ReadMismatch(const Json& object, DataMismatch& mismatch)
{
    const auto kind = object.find("kind");
    for (int i = 1; kind != object.end() && kind->is_string() && i < 4; ++i) {
        if (*kind == kMismatchNames[i]) {
            mismatch.kind = static_cast<MismatchKind>(i);
        }
    }
    Take(object, "file", mismatch.fileIndex);
    Take(object, "offset", mismatch.offset);
    Take(object, "belongsToFile", mismatch.foundFileIndex);
    Take(object, "belongsAtOffset", mismatch.foundOffset);
    Take(object, "changedBits", mismatch.changedBits);
}

}  // namespace

void WriteRunFigures(const RunRecord& record, Json& root)
{
    if (!record.hasFigures) {
        return;
    }
    const bool verified = record.options.verify;
    Json& passes = root["passes"];
    for (std::size_t i = 0; i < record.passes.size() && i < passes.size(); ++i) {
        if (record.passes[i].hasFigures) {
            WritePass(record.passes[i], verified, passes[i]);
        }
    }
    for (const auto& [summary, isWrite] : {std::pair {&record.record, true}, {&record.play, false}}) {
        const auto kind = root["summary"].find(PassKindName(isWrite));
        if (summary->figures.any && kind != root["summary"].end()) {
            WriteSummary(*summary, *kind);
        }
    }
    root["verified"] = verified;
    root["decimalUnitBytes"] = static_cast<std::int64_t>(kBytesPerDecimalMB);
    const RunFigures& figures = record.outcome.figures;
    if (verified) {
        root["bytesVerified"] = figures.bytesVerified;
        root["generatorRate"] = figures.generatorRate;
        root["checkerRate"] = figures.checkerRate;
        root["transfersWaited"] = figures.transfersWaited;
    }
    if (figures.firstMismatch.kind != MismatchKind::None) {
        root["firstMismatch"] = MismatchObject(figures.firstMismatch);
    }
    if (record.interfaceLink) {
        const double rate = record.interfaceLink->bytesPerSecond / kBytesPerMB;
        root["interface"] = {{"name", record.interfaceLink->name}, {"rate", rate}, {"rateDecimal", DecimalRate(rate)}};
    }
}

void ReadRunFigures(const Json& root, RunRecord& record)
{
    const auto verified = root.find("verified");
    if (verified == root.end() || !verified->is_boolean()) {
        return;
    }
    record.hasFigures = true;
    record.options.verify = verified->get<bool>();
    RunFigures& figures = record.outcome.figures;
    Take(root, "bytesVerified", figures.bytesVerified);
    Take(root, "generatorRate", figures.generatorRate);
    Take(root, "checkerRate", figures.checkerRate);
    Take(root, "transfersWaited", figures.transfersWaited);
    if (const Json* mismatch = Object(root, "firstMismatch")) {
        ReadMismatch(*mismatch, figures.firstMismatch);
    }
    if (const Json* link = Object(root, "interface")) {
        InterfaceLink read {link->value("name", std::string()), 0.0};
        double rate = 0.0;
        Take(*link, "rate", rate);
        read.bytesPerSecond = rate * kBytesPerMB;
        record.interfaceLink = read;
    }
}

}  // namespace kel
