#pragma once
// Asking the system something that may never answer: a stalled network or
// FUSE mount keeps a statfs or stat in the kernel for as long as its server
// is away, and no signal gets the caller out. The question goes to a thread of
// its own; the caller waits a short while and goes on without an answer.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace kel {

// How long a mount is given to answer before it counts as not answering.
constexpr std::chrono::milliseconds kMountAnswerTime {2000};

// The query's answer, or nothing when it has not come within limit. A thread
// that has not answered is left to finish on its own: it keeps its share of
// what it writes, so nothing it touches goes away before it does. Where no
// thread can be started the query runs on the caller's.
template <class T>
std::optional<T> AnswerWithin(std::chrono::milliseconds limit, std::function<T()> query)
{
    struct Shared {
        std::mutex mutex;
        std::condition_variable answered;
        std::optional<T> answer;
    };
    auto shared = std::make_shared<Shared>();
    try {
        std::thread([shared, query] {
            T answer = query();
            const std::lock_guard lock(shared->mutex);
            shared->answer = std::move(answer);
            shared->answered.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return query();
    }
    std::unique_lock lock(shared->mutex);
    shared->answered.wait_for(lock, limit, [&shared] { return shared->answer.has_value(); });
    return shared->answer;
}

}  // namespace kel
