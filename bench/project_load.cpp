// Loading a project file at the capacity of the model: 255 files of 255 classes each.

#include "core/project/JavaProjectDoc.h"

#include "core/app/Settings.h"
#include "core/platform/Files.h"
#include "core/process/SilentUiHost.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <unistd.h>

namespace {

using namespace tovin;

std::string FullProjectBytes() {
    SProjectContents contents;
    for (int f = 0; f < kJavaListCapacity; ++f) {
        auto file = std::make_unique<CJavaFile>();
        file->SetPath("/home/user/projects/big/src/com/example/module" + std::to_string(f) +
                      "/Source" + std::to_string(f) + ".java");
        file->SetProjectPath("/home/user/projects/big/big.jpr");
        file->SetPackage("com.example.module" + std::to_string(f));
        for (int c = 0; c < kJavaListCapacity; ++c) {
            file->AddClass("GeneratedClassNumber" + std::to_string(c), c);
        }
        contents.javaFiles.Add(std::move(file));
    }
    contents.mainFile = "Source0.java";
    contents.classPath = "/usr/share/java/junit4.jar";
    return WriteProjectBytes(contents);
}

void BM_LoadFullProject(benchmark::State& state) {
    char folder[] = "/tmp/tovin-bench-XXXXXX";
    if (!::mkdtemp(folder)) {
        state.SkipWithError("cannot create a temporary folder");
        return;
    }
    const std::string path = std::string(folder) + "/big.jpr";
    const std::string bytes = FullProjectBytes();
    if (!WriteFileAtomic(path, bytes).empty()) {
        state.SkipWithError("cannot write the project file");
        return;
    }
    CSettings settings;
    tovin::CSilentUiHost host;
    for (auto _ : state) {
        CJavaProjectDoc doc(settings, host);
        std::string error = doc.Load(path);
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(doc.JavaFiles().GetCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    std::remove(path.c_str());
    ::rmdir(folder);
}
BENCHMARK(BM_LoadFullProject)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
