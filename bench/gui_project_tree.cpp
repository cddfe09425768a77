// The project window's tree at the capacity of the model: 255 files of 255 classes each.
//
// Fill: a new tree shows the whole project (target: under 100 ms). Refresh: one file's
// model changes, as after saving it with a method renamed, and the tree is brought up to date
// (target: under 20 ms).

#include "gui/project/ProjectTree.h"

#include "core/app/Settings.h"
#include "core/javamodel/JavaModel.h"
#include "core/process/SilentUiHost.h"
#include "core/project/JavaProjectDoc.h"

#include <QApplication>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <memory>

using namespace tovin;

namespace {

struct CFullProject {
    CSettings settings;
    CSilentUiHost host;
    CJavaProjectDoc project{settings, host};

    CFullProject() {
        for (int f = 0; f < kJavaListCapacity; ++f) {
            project.AddFile("/home/user/projects/big/src/module" + std::to_string(f) + "/Source" +
                            std::to_string(f) + ".java");
            CJavaFile* file = project.JavaFiles().Item(f);
            for (int c = 0; c < kJavaListCapacity; ++c) {
                file->AddClass("GeneratedClassNumber" + std::to_string(c), c * 40);
            }
            file->Classes().Item(0)->AddMethod("run()", 20);
        }
        project.SetMainFile("Source0.java");
    }
};

CFullProject& Project() {
    static CFullProject full;
    return full;
}

void BM_FillTree(benchmark::State& state) {
    CFullProject& full = Project();
    std::unique_ptr<CProjectTree> tree;
    for (auto _ : state) {
        state.PauseTiming(); // making the empty window and destroying the last one
        tree = std::make_unique<CProjectTree>(full.project, nullptr);
        tree->resize(300, 600);
        tree->show();
        state.ResumeTiming();
        tree->Fill();
        QApplication::processEvents(); // the first paint
        benchmark::DoNotOptimize(tree->Tree()->topLevelItemCount());
    }
}
BENCHMARK(BM_FillTree)->Unit(benchmark::kMillisecond);

void BM_RefreshAfterSave(benchmark::State& state) {
    CFullProject& full = Project();
    CProjectTree tree(full.project, nullptr);
    tree.resize(300, 600);
    tree.show();
    tree.Fill();
    tree.Tree()->expandItem(tree.Tree()->topLevelItem(0));
    CJavaFunction* method =
        full.project.JavaFiles().Item(100)->Classes().Item(0)->Methods().Item(0);
    int round = 0;
    for (auto _ : state) {
        method->SetName("run" + std::to_string(++round % 2) + "()");
        tree.Fill();
        QApplication::processEvents(); // the repaint the refresh asks for
    }
}
BENCHMARK(BM_RefreshAfterSave)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
