// What the main window's command bookkeeping costs: refreshing every action's state (done on a
// timer and on each focus change) and switching the menus between document kinds.

#include "core/process/SilentUiHost.h"
#include "gui/app/EditorApp.h"
#include "gui/app/MainFrame.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct SShell {
    QTemporaryDir dir;
    tovin::CSilentUiHost host;
    tovin::CEditorApp app{dir.filePath("Tovin.conf").toStdString(), &host};

    explicit SShell(int windows) {
        app.Start({});
        const char* extensions[] = {".java", ".html", ".xml", ".py"};
        for (int i = 0; i < windows; ++i) {
            QString path = dir.filePath(QStringLiteral("File%1%2").arg(i).arg(extensions[i % 4]));
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write("text\n");
            file.close();
            app.OpenDocumentFile(path.toStdString());
        }
    }
};

void UpdateCommandUi(benchmark::State& state) {
    SShell shell(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        shell.app.MainFrame()->UpdateCommandUi();
    }
}
BENCHMARK(UpdateCommandUi)->Arg(1)->Arg(40)->Unit(benchmark::kMicrosecond);

void SwitchMenus(benchmark::State& state) {
    SShell shell(0);
    tovin::CMainFrame& frame = *shell.app.MainFrame();
    for (auto _ : state) {
        frame.ShowMenusFor(tovin::EMenuKind::JavaSource);
        frame.ShowMenusFor(tovin::EMenuKind::Html);
    }
}
BENCHMARK(SwitchMenus)->Unit(benchmark::kMicrosecond);

void RefreshSameMenus(benchmark::State& state) {
    SShell shell(0);
    tovin::CMainFrame& frame = *shell.app.MainFrame();
    for (auto _ : state) {
        frame.ShowMenusFor(tovin::EMenuKind::JavaSource);
    }
}
BENCHMARK(RefreshSameMenus)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
