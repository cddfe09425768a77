// Parsing speed of CJavaParser over every .java file of the JDK's java.base sources, beside
// Universal Ctags on the same files in the same run.
//
// The sources come from the JDK's src.zip (TOVIN_JDK_SRC_ZIP, else the Debian location); they
// are extracted once per run into a temporary folder that is removed at exit. Without the zip,
// unzip or ctags the affected benchmarks are skipped with a message.
//   ParseFiles   reads each file from disk and parses it, as the project does (file bytes/s)
//   ParseTexts   parses the texts already in memory, as the editor does
//   Ctags        `ctags --languages=Java -f - -L LIST > /dev/null` (the file list is passed in
//                a file because the command line would be too long), wall time

#include "core/javamodel/JavaParser.h"
#include "core/platform/Files.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace tovin;
namespace fs = std::filesystem;

namespace {

struct SCorpus {
    std::string skipReason; // empty when the corpus is there
    fs::path folder;
    fs::path listFile;
    std::vector<std::string> paths;
    std::vector<std::string> texts; // as the parser sees them (CR LF lines)
    long long fileBytes = 0;
    long long textBytes = 0;

    ~SCorpus() {
        if (!folder.empty()) {
            std::error_code ignored;
            fs::remove_all(folder, ignored);
        }
    }
};

std::string SourceZip() {
    const char* path = std::getenv("TOVIN_JDK_SRC_ZIP");
    return path && *path ? path : "/usr/lib/jvm/openjdk-17/lib/src.zip";
}

void Extract(SCorpus& corpus) {
    std::string zip = SourceZip();
    if (!fs::exists(zip)) {
        corpus.skipReason = "no JDK sources at " + zip + " (install openjdk-17-source)";
        return;
    }
    char pattern[] = "/tmp/tovin-bench-parser-XXXXXX";
    if (!mkdtemp(pattern)) {
        corpus.skipReason = "cannot create a temporary folder";
        return;
    }
    corpus.folder = pattern;
    std::string command =
        "unzip -q '" + zip + "' 'java.base/*' -d '" + corpus.folder.string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        corpus.skipReason = "unzip could not extract java.base from " + zip;
        return;
    }
    for (const auto& entry : fs::recursive_directory_iterator(corpus.folder / "java.base")) {
        if (entry.is_regular_file() && entry.path().extension() == ".java") {
            corpus.paths.push_back(entry.path().string());
        }
    }
    corpus.listFile = corpus.folder / "files.txt";
    std::ofstream list(corpus.listFile);
    for (const auto& path : corpus.paths) {
        auto bytes = ReadWholeFile(path);
        if (!bytes) {
            corpus.skipReason = "cannot read " + path;
            return;
        }
        corpus.fileBytes += static_cast<long long>(bytes->size());
        corpus.texts.push_back(CJavaParser::SourceTextOf(*bytes));
        corpus.textBytes += static_cast<long long>(corpus.texts.back().size());
        list << path << '\n';
    }
}

const SCorpus& Corpus() {
    static SCorpus corpus = [] {
        SCorpus c;
        Extract(c);
        return c;
    }();
    return corpus;
}

bool Ready(benchmark::State& state) {
    const SCorpus& corpus = Corpus();
    if (!corpus.skipReason.empty()) {
        state.SkipWithError(corpus.skipReason.c_str());
        return false;
    }
    state.counters["files"] = static_cast<double>(corpus.paths.size());
    return true;
}

void ParseFiles(benchmark::State& state) {
    if (!Ready(state)) {
        return;
    }
    const SCorpus& corpus = Corpus();
    for (auto _ : state) {
        for (const auto& path : corpus.paths) {
            CJavaFile file;
            file.SetPath(path);
            benchmark::DoNotOptimize(CJavaParser(file).ParseFile());
        }
    }
    state.SetBytesProcessed(state.iterations() * corpus.fileBytes);
}

void ParseTexts(benchmark::State& state) {
    if (!Ready(state)) {
        return;
    }
    const SCorpus& corpus = Corpus();
    for (auto _ : state) {
        for (const auto& text : corpus.texts) {
            CJavaFile file;
            CJavaParser(file).ParseText(text);
            benchmark::DoNotOptimize(file.Classes().GetCount());
        }
    }
    state.SetBytesProcessed(state.iterations() * corpus.textBytes);
}

void Ctags(benchmark::State& state) {
    if (!Ready(state)) {
        return;
    }
    const SCorpus& corpus = Corpus();
    std::string command =
        "ctags --languages=Java -f - -L '" + corpus.listFile.string() + "' >/dev/null 2>&1";
    if (std::system("ctags --version >/dev/null 2>&1") != 0) {
        state.SkipWithError("ctags is not installed (universal-ctags)");
        return;
    }
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("ctags failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * corpus.fileBytes);
}

} // namespace

BENCHMARK(ParseFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ParseTexts)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Ctags)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
