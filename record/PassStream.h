#pragma once
// A JSON reader for run records that never holds more than one pass: it
// builds the document's other keys as they come, hands each element of the
// top-level "passes" array over as soon as it is complete and forgets it,
// and collects a pass's "samples" array as plain numbers. Keys the reading
// does not use are skipped unbuilt, and nesting and the size of what is kept
// besides the passes are limited, so hostile input costs bounded memory.

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kel {

// One element of "passes", its "samples" taken out of the object (an empty
// array stands in for them there).
struct StreamedPass {
    nlohmann::json object;
    bool samplesCollected = false;
    std::vector<double> samples;
    std::size_t firstNonNumber = static_cast<std::size_t>(-1);  // index of the first sample that is no number
    bool beyondLimit = false;  // more samples than the limit; those after it are dropped
};

struct PassStreamEvents {
    // A top-level key's value is complete in the document.
    std::function<void(const std::string& key)> onRootValue;
    // A pass is complete; false stops handing over passes (they are skipped).
    std::function<bool(StreamedPass&& pass)> onPass;
    // How many samples one pass may hold, asked as its samples begin.
    std::function<std::size_t()> sampleLimit;
};

class PassStream : public nlohmann::json_sax<nlohmann::json> {
public:
    using Json = nlohmann::json;

    PassStream(std::vector<std::string> keptRootKeys, PassStreamEvents events);

    // The document without its passes; "passes" holds an empty array when
    // it was an array.
    const Json& Document() const { return m_root; }
    // Why reading stopped early; empty when it did not.
    const std::string& Problem() const { return m_problem; }

    bool null() override;
    bool boolean(bool value) override;
    bool number_integer(number_integer_t value) override;
    bool number_unsigned(number_unsigned_t value) override;
    bool number_float(number_float_t value, const string_t& text) override;
    bool string(string_t& value) override;
    bool binary(binary_t& value) override;
    bool start_object(std::size_t elements) override;
    bool key(string_t& value) override;
    bool end_object() override;
    bool start_array(std::size_t elements) override;
    bool end_array() override;
    bool parse_error(std::size_t position, const std::string& lastToken,
                     const nlohmann::detail::exception& error) override;

private:
    enum class FrameKind { Document, Passes, Samples, Skipped };
    struct Frame {
        FrameKind kind;
        Json* value;              // the container being built (Document only)
        bool passElement = false;  // the container is a whole pass
    };

    bool Value(Json&& value, double sample);
    bool Start(bool isObject);
    bool End();
    bool Fail(std::string problem);
    bool DeliverPass();
    bool CountKept();
    // Whether a new value at the top frame is a top-level key's.
    bool AtRoot() const { return m_frames.size() == 1 && m_frames.front().kind == FrameKind::Document; }

    const std::vector<std::string> m_keptRootKeys;
    const PassStreamEvents m_events;
    Json m_root;
    StreamedPass m_pass;
    std::vector<Frame> m_frames;
    std::string m_key;
    std::string m_rootKey;  // the top-level key whose value is being read
    std::size_t m_keptValues = 0;
    std::size_t m_passValues = 0;
    bool m_passesWanted = true;
    std::string m_problem;
};

}  // namespace kel
