// What the Process Window adds to a tool that prints 50 MB.
//
// The runner alone: from the start of the tool until the runner has its final report. The
// window: the same tool attached to a Process Window (offscreen), from the start until the
// window says "External process complete" with the report shown at the end of its output.
// The window should add less than half of the runner's time (counter added_pct).

#include "gui/process/ProcessOutput.h"
#include "gui/process/ProcessWindow.h"

#include "core/app/Settings.h"
#include "core/app/SettingsStore.h"
#include "core/process/ProcessRunner.h"
#include "core/process/SilentUiHost.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

using namespace tovin;

namespace {

constexpr long long kStreamBytes = 50'000'000;

std::string Generator() {
    return "sh -c \"yes " + std::string(79, 'x') + " | head -c " + std::to_string(kStreamBytes) +
           "\"";
}

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Milliseconds from the start until the runner has its report; negative when it failed.
double RunRunnerAlone() {
    const Clock::time_point start = Clock::now();
    auto runner = std::make_unique<CProcessRunner>();
    if (!runner->Start("/bin/sh", Generator(), "")) {
        return -1;
    }
    while (!runner->IsFinished()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const double elapsed = MillisecondsSince(start);
    return runner->GetOutputFrom(runner->GetOutputSize() - 9) == "No Errors" ? elapsed : -1;
}

// Milliseconds from the start until the window says the run is complete, with the report
// shown at the end of its output; negative when it failed.
double RunInWindow(CProcessWindow& window) {
    QEventLoop loop;
    QObject::connect(&window, &CProcessWindow::statusTextChanged, &loop,
                     [&loop](const QString& text) {
                         if (text == QStringLiteral("External process complete")) {
                             loop.quit();
                         }
                     });
    QTimer::singleShot(120000, &loop, [&loop] { loop.exit(1); });
    const Clock::time_point start = Clock::now();
    auto runner = std::make_unique<CProcessRunner>();
    if (!runner->Start("/bin/sh", Generator(), "")) {
        return -1;
    }
    window.Attach(std::move(runner), QStringLiteral("Printing"));
    if (loop.exec() != 0) {
        return -1;
    }
    const double elapsed = MillisecondsSince(start);
    const bool reportShown =
        window.Output()->toPlainText().endsWith(QStringLiteral("Exit code: 0\nNo Errors"));
    window.ClearOutput();
    return reportShown ? elapsed : -1;
}

// The two runs alternate, so both see the same load of the machine. The iteration time is the
// window's; the counters give both means and what the window adds.
void WindowBesideRunner(benchmark::State& state) {
    CSettings settings;
    CMemorySettingsStore store;
    tovin::CSilentUiHost host;
    CProcessWindow window(settings, store, host);
    window.resize(900, 300);
    window.show();
    double runnerTotal = 0;
    double windowTotal = 0;
    for (auto _ : state) {
        const double alone = RunRunnerAlone();
        const double withWindow = RunInWindow(window);
        if (alone < 0 || withWindow < 0) {
            state.SkipWithError("a run failed or its report is missing");
            return;
        }
        runnerTotal += alone;
        windowTotal += withWindow;
        state.SetIterationTime(withWindow / 1000);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["runner_ms"] = runnerTotal / runs;
    state.counters["window_ms"] = windowTotal / runs;
    state.counters["added_pct"] = 100 * (windowTotal - runnerTotal) / runnerTotal;
    state.SetBytesProcessed(state.iterations() * kStreamBytes);
}

} // namespace

BENCHMARK(WindowBesideRunner)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
