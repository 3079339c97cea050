// Runs the engine once on a folder, verified or not, and prints the mean
// write and read rates of its passes (MB/s), the stamp generator's and
// checker's own rates, the bytes checked and the transfers that waited for
// the stamps: what bench/verify-vs-fio.sh compares with fio until
// the runner takes the option itself.
//
// The run goes on a worker thread with its priority raised, as the program
// runs it (the stamp helper inherits that priority).
//
// Usage: verify_bench DIR FILES FILE_KB BUFFER_KB PASSES verify|plain

#include "engine/TestRun.h"
#include "platform/PlatformServices.h"
#include "platform/WorkerThread.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

class RateSink : public kel::PassResultSink {
public:
    void ConfigureRun(int, int, int, int, int) override {}
    void AddPassResults(int, const double*, int, double passRate, int isWrite) override
    {
        (isWrite != 0 ? m_write : m_read) += passRate;
        ++(isWrite != 0 ? m_writes : m_reads);
    }
    double Write() const { return m_writes > 0 ? m_write / m_writes : 0.0; }
    double Read() const { return m_reads > 0 ? m_read / m_reads : 0.0; }

private:
    double m_write = 0.0;
    double m_read = 0.0;
    int m_writes = 0;
    int m_reads = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 7) {
        std::fprintf(stderr, "usage: verify_bench DIR FILES FILE_KB BUFFER_KB PASSES verify|plain\n");
        return 2;
    }
    const auto number = [&](int i) { return static_cast<std::int32_t>(std::atoi(argv[i])); };
    const kel::PlatformServices services = kel::DefaultPlatformServices();
    std::uint64_t frequency = 0;
    if (!services.clock->QueryFrequency(frequency)) {
        std::fprintf(stderr, "no high-resolution clock\n");
        return 1;
    }
    const kel::RunParameters parameters {number(2), number(3), number(4), number(5), number(5), 10, 0, 0, 0};
    RateSink sink;
    std::atomic<std::int32_t> stop {0};
    const kel::RunContext context {parameters,        argv[1], *services.files, kel::RunClock(*services.clock, true,
                                   kel::TicksFromCount(frequency)), *services.messages, &sink, stop,
                                   kel::RunOptions {std::strcmp(argv[6], "verify") == 0}};
    struct Job {
        const kel::RunContext& context;
        kel::RunOutcome outcome;
    } job {context, {}};
    const std::unique_ptr<kel::WorkerThread> worker = services.threads->NewThread();
    if (!worker->Create([](void* argument) {
            auto& run = *static_cast<Job*>(argument);
            run.outcome = kel::TestRun(run.context).Execute();
        }, &job)) {
        std::fprintf(stderr, "no worker thread\n");
        return 1;
    }
    worker->RaisePriority();
    worker->Release();
    worker->Join();
    const kel::RunOutcome& outcome = job.outcome;
    std::printf("%s %.3f %.3f %.1f %.1f %llu %llu\n", kel::RunResultName(outcome.result), sink.Write(), sink.Read(),
                outcome.figures.generatorRate, outcome.figures.checkerRate,
                static_cast<unsigned long long>(outcome.figures.bytesVerified),
                static_cast<unsigned long long>(outcome.figures.transfersWaited));
    return outcome.result == kel::RunResult::Complete ? 0 : 1;
}
