// Find in files over 255 real Java sources (the JDK's java.util sources, extracted from Debian's
// openjdk-17-source at start), beside `grep -F -n` on the same files in the same run. Both report
// bytes per second over the files' total size, in real time; grep's time includes starting the
// process, which is what a user waiting for either would see.

#include "core/project/FindInFiles.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <spawn.h>
#include <string>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr const char* kSourceZip = "/usr/lib/jvm/openjdk-17/lib/src.zip";
constexpr size_t kFileCount = 255;

// Runs a program with its output going to the file descriptor (its errors thrown away); its
// exit status, or -1 when it did not start. Output to /dev/null would not do for grep, which
// notices it and stops at each file's first match.
int RunQuietly(const std::vector<std::string>& arguments, int outputFd = -1) {
    std::vector<char*> argv;
    for (const auto& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outputFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, outputFd, 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) {
        return -1;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class CJavaSources {
public:
    CJavaSources() {
        std::string tmpl = (fs::temp_directory_path() / "tovin-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) {
            return;
        }
        m_folder = tmpl;
        RunQuietly({"unzip", "-q", "-o", kSourceZip, "java.base/java/util/*.java", "-d", m_folder});
        for (const auto& entry : fs::recursive_directory_iterator(m_folder)) {
            if (entry.is_regular_file() && entry.path().extension() == ".java") {
                m_paths.push_back(entry.path().string());
            }
        }
        std::sort(m_paths.begin(), m_paths.end());
        if (m_paths.size() > kFileCount) {
            m_paths.resize(kFileCount);
        }
        for (const auto& path : m_paths) {
            m_bytes += static_cast<int64_t>(fs::file_size(path));
        }
    }
    ~CJavaSources() {
        std::error_code ignored;
        if (!m_folder.empty()) {
            fs::remove_all(m_folder, ignored);
        }
    }

    bool Ready() const { return m_paths.size() == kFileCount; }
    const std::vector<std::string>& Paths() const { return m_paths; }
    int64_t Bytes() const { return m_bytes; }

private:
    std::string m_folder;
    std::vector<std::string> m_paths;
    int64_t m_bytes = 0;
};

const CJavaSources& Sources() {
    static CJavaSources sources;
    return sources;
}

bool CheckSources(benchmark::State& state) {
    if (!Sources().Ready()) {
        state.SkipWithError("cannot extract 255 Java files from the JDK source archive");
        return false;
    }
    return true;
}

void FindInFilesBench(benchmark::State& state, const char* text, bool wholeWord,
                      bool caseSensitive) {
    if (!CheckSources(state)) {
        return;
    }
    int matches = 0;
    for (auto _ : state) {
        auto result = tovin::FindInPaths(Sources().Paths(), {text, wholeWord, caseSensitive});
        matches = result.matchCount;
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * Sources().Bytes());
    state.counters["matches"] = matches;
}

void GrepBench(benchmark::State& state, const char* text, bool caseSensitive) {
    if (!CheckSources(state)) {
        return;
    }
    std::vector<std::string> arguments{"grep", "-F", "-n"};
    if (!caseSensitive) {
        arguments.push_back("-i");
    }
    arguments.push_back("-e");
    arguments.push_back(text);
    arguments.insert(arguments.end(), Sources().Paths().begin(), Sources().Paths().end());
    // grep writes its lines into memory, as the search builds its result text in memory.
    int output = ::memfd_create("grep-output", MFD_CLOEXEC);
    for (auto _ : state) {
        if (::ftruncate(output, 0) != 0 || ::lseek(output, 0, SEEK_SET) != 0 ||
            RunQuietly(arguments, output) < 0) {
            state.SkipWithError("grep did not run");
            break;
        }
    }
    ::close(output);
    state.SetBytesProcessed(state.iterations() * Sources().Bytes());
}

// A common word (many matches), a rare one, and one that occurs nowhere.
BENCHMARK_CAPTURE(FindInFilesBench, common, "return", false, true)->UseRealTime();
BENCHMARK_CAPTURE(GrepBench, common, "return", true)->UseRealTime();
BENCHMARK_CAPTURE(FindInFilesBench, rare, "ConcurrentModificationException", false, true)
    ->UseRealTime();
BENCHMARK_CAPTURE(GrepBench, rare, "ConcurrentModificationException", true)->UseRealTime();
BENCHMARK_CAPTURE(FindInFilesBench, absent, "NoSuchIdentifierAnywhere", false, true)->UseRealTime();
BENCHMARK_CAPTURE(GrepBench, absent, "NoSuchIdentifierAnywhere", true)->UseRealTime();
BENCHMARK_CAPTURE(FindInFilesBench, common_nocase, "Return", false, false)->UseRealTime();
BENCHMARK_CAPTURE(GrepBench, common_nocase, "Return", false)->UseRealTime();
BENCHMARK_CAPTURE(FindInFilesBench, common_word, "return", true, true)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
