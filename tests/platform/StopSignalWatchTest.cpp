// A stop signal reaches the watch's callback on a thread where it may ask a
// run to stop; a watch that goes away ends its thread.

#include "platform/StopSignals.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>

namespace kel {
namespace {

TEST(StopSignalWatch, CallsBackWithTheSignalAndEndsWithItsScope)
{
    InstallStopSignals();
    std::mutex mutex;
    std::condition_variable heard;
    int signalHeard = 0;
    {
        StopSignalWatch idle([](int) {});
    }
    StopSignalWatch watch([&](int signal) {
        std::lock_guard lock(mutex);
        signalHeard = signal;
        heard.notify_all();
    });
    std::raise(SIGHUP);
    std::unique_lock lock(mutex);
    ASSERT_TRUE(heard.wait_for(lock, std::chrono::seconds(30), [&] { return signalHeard != 0; }));
    EXPECT_EQ(signalHeard, SIGHUP);
}

}  // namespace
}  // namespace kel
