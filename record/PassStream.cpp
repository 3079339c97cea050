#include "record/PassStream.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace kel {

namespace {

// Far deeper than a record nests, far shallower than a stack would mind.
constexpr std::size_t kMaxDepth = 64;
// Values kept besides the samples, in the document and in one pass.
constexpr std::size_t kMaxKeptValues = 1 << 16;

const double kNotANumber = std::numeric_limits<double>::quiet_NaN();

}  // namespace

PassStream::PassStream(std::vector<std::string> keptRootKeys, PassStreamEvents events)
    : m_keptRootKeys(std::move(keptRootKeys)), m_events(std::move(events))
{
}

bool PassStream::Fail(std::string problem)
{
    m_problem = std::move(problem);
    return false;
}

bool PassStream::CountKept()
{
    // The frames of a pass's contents lie above the root's and the passes'.
    std::size_t& count = m_frames.size() > 2 && m_frames[2].passElement ? m_passValues : m_keptValues;
    if (++count > kMaxKeptValues) {
        return Fail("not a run record: more than " + std::to_string(kMaxKeptValues) + " values besides the samples");
    }
    return true;
}

bool PassStream::DeliverPass()
{
    if (m_passesWanted) {
        m_passesWanted = m_events.onPass(std::move(m_pass));
    }
    m_pass = StreamedPass {};
    return true;
}

bool PassStream::Value(Json&& value, double sample)
{
    if (m_frames.empty()) {
        return Fail("not a run record: the document is not an object");
    }
    Frame& frame = m_frames.back();
    switch (frame.kind) {
    case FrameKind::Skipped:
        return true;
    case FrameKind::Passes:
        if (m_passesWanted) {
            m_pass.object = std::move(value);
        }
        return DeliverPass();
    case FrameKind::Samples: {
        // After the first sample that is no number, or one too many, the
        // pass is refused: the rest need not be kept.
        const bool refused = m_pass.beyondLimit || m_pass.firstNonNumber != static_cast<std::size_t>(-1);
        if (!value.is_number()) {
            m_pass.firstNonNumber = std::min(m_pass.firstNonNumber, m_pass.samples.size());
        } else if (!refused && m_pass.samples.size() < m_events.sampleLimit()) {
            m_pass.samples.push_back(sample);
        } else if (!refused) {
            m_pass.beyondLimit = true;
        }
        return true;
    }
    case FrameKind::Document:
        break;
    }
    const bool atRoot = AtRoot();
    if (atRoot && std::find(m_keptRootKeys.begin(), m_keptRootKeys.end(), m_key) == m_keptRootKeys.end()) {
        return true;
    }
    if (!CountKept()) {
        return false;
    }
    if (frame.value->is_object()) {
        (*frame.value)[m_key] = std::move(value);
    } else {
        frame.value->push_back(std::move(value));
    }
    if (atRoot && m_events.onRootValue) {
        m_events.onRootValue(m_key);
    }
    return true;
}

bool PassStream::Start(bool isObject)
{
    Json empty = isObject ? Json::object() : Json::array();
    if (m_frames.empty()) {
        if (!isObject) {
            return Fail("not a run record: the document is not an object");
        }
        m_root = std::move(empty);
        m_frames.push_back({FrameKind::Document, &m_root});
        return true;
    }
    if (m_frames.size() >= kMaxDepth) {
        return Fail("not a run record: nested deeper than " + std::to_string(kMaxDepth) + " levels");
    }
    Frame& frame = m_frames.back();
    switch (frame.kind) {
    case FrameKind::Skipped:
        m_frames.push_back({FrameKind::Skipped, nullptr});
        return true;
    case FrameKind::Passes:
        if (!m_passesWanted) {
            m_frames.push_back({FrameKind::Skipped, nullptr, true});
            return true;
        }
        m_passValues = 0;
        m_pass.object = std::move(empty);
        m_frames.push_back({FrameKind::Document, &m_pass.object, true});
        return true;
    case FrameKind::Samples:
        Value(Json(), kNotANumber);
        m_frames.push_back({FrameKind::Skipped, nullptr});
        return true;
    case FrameKind::Document:
        break;
    }
    const bool keyed = frame.value->is_object();
    if (AtRoot()) {
        m_rootKey = m_key;
        if (std::find(m_keptRootKeys.begin(), m_keptRootKeys.end(), m_key) == m_keptRootKeys.end()) {
            m_frames.push_back({FrameKind::Skipped, nullptr});
            return true;
        }
        if (m_key == "passes" && !isObject) {
            m_root["passes"] = Json::array();
            m_frames.push_back({FrameKind::Passes, nullptr});
            return true;
        }
    } else if (frame.passElement && keyed && m_key == "samples" && !isObject) {
        (*frame.value)["samples"] = Json::array();
        m_pass.samplesCollected = true;
        m_pass.samples.clear();
        m_pass.firstNonNumber = static_cast<std::size_t>(-1);
        m_pass.beyondLimit = false;
        m_frames.push_back({FrameKind::Samples, nullptr});
        return true;
    }
    if (!CountKept()) {
        return false;
    }
    Json* child = nullptr;
    if (keyed) {
        child = &((*frame.value)[m_key] = std::move(empty));
    } else {
        frame.value->push_back(std::move(empty));
        child = &frame.value->back();
    }
    m_frames.push_back({FrameKind::Document, child});
    return true;
}

bool PassStream::End()
{
    const Frame done = m_frames.back();
    m_frames.pop_back();
    if (done.passElement) {
        return DeliverPass();
    }
    if (AtRoot() && done.kind == FrameKind::Document && m_events.onRootValue) {
        m_events.onRootValue(m_rootKey);
    }
    return true;
}

bool PassStream::null()
{
    return Value(Json(), kNotANumber);
}

bool PassStream::boolean(bool value)
{
    return Value(Json(value), kNotANumber);
}

bool PassStream::number_integer(number_integer_t value)
{
    return Value(Json(value), static_cast<double>(value));
}

bool PassStream::number_unsigned(number_unsigned_t value)
{
    return Value(Json(value), static_cast<double>(value));
}

bool PassStream::number_float(number_float_t value, const string_t& /*text*/)
{
    return Value(Json(value), value);
}

bool PassStream::string(string_t& value)
{
    return Value(Json(std::move(value)), kNotANumber);
}

bool PassStream::binary(binary_t& /*value*/)
{
    return Value(Json(), kNotANumber);
}

bool PassStream::start_object(std::size_t /*elements*/)
{
    return Start(true);
}

bool PassStream::key(string_t& value)
{
    m_key = std::move(value);
    if (AtRoot()) {
        m_rootKey = m_key;
    }
    return true;
}

bool PassStream::end_object()
{
    return End();
}

bool PassStream::start_array(std::size_t /*elements*/)
{
    return Start(false);
}

bool PassStream::end_array()
{
    return End();
}

bool PassStream::parse_error(std::size_t position, const std::string& /*lastToken*/,
                             const nlohmann::detail::exception& error)
{
    std::string what = error.what();
    const std::size_t reason = what.find(": ");
    if (reason != std::string::npos) {
        what = what.substr(reason + 2);
    }
    return Fail("not JSON: " + what + " at byte " + std::to_string(position));
}

}  // namespace kel
