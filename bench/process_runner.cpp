// Capture rate of the process runner against the raw pipe rate of the same stream.
//
// Both benchmarks run the same generator (80-byte lines, 200 MB): RawPipe pipes it through
// `cat` into /dev/null, ProcessRunner captures it through CProcessRunner (2046-byte reads,
// line ends normalised to CR LF). Compare the bytes_per_second of the two in one run.

#include "core/platform/Spawn.h"
#include "core/process/ProcessRunner.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

using namespace tovin;

namespace {

constexpr long long kStreamBytes = 200'000'000;

std::string Generator() {
    return "yes " + std::string(79, 'x') + " | head -c " + std::to_string(kStreamBytes);
}

void RawPipe(benchmark::State& state) {
    for (auto _ : state) {
        CChildProcess child;
        std::string error =
            child.Start("/bin/sh", {"sh", "-c", Generator() + " | cat > /dev/null"}, "");
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            return;
        }
        char buffer[64];
        while (child.ReadOutput(buffer, sizeof buffer) > 0) {
        }
        if (child.Wait().code != 0) {
            state.SkipWithError("the raw pipeline failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * kStreamBytes);
}

void ProcessRunner(benchmark::State& state) {
    // 80-byte lines gain one CR each; the report follows them.
    const std::size_t normalisedBytes = kStreamBytes + kStreamBytes / 80;
    for (auto _ : state) {
        auto runner = std::make_unique<CProcessRunner>();
        if (!runner->Start("/bin/sh", "sh -c \"" + Generator() + "\"", "")) {
            state.SkipWithError("the runner did not start");
            return;
        }
        while (!runner->IsFinished()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        state.PauseTiming();
        std::string report = runner->GetOutputFrom(normalisedBytes);
        runner.reset();
        state.ResumeTiming();
        if (report != "Exit code: 0\r\nNo Errors") {
            state.SkipWithError("output is missing");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * kStreamBytes);
}

} // namespace

BENCHMARK(RawPipe)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(ProcessRunner)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_MAIN();
