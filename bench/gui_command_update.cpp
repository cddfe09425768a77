// What the main window's command bookkeeping costs: refreshing every action's state (done on a
// timer and on each focus change) and switching the menus between document kinds.

#include "app/EditorApp.h"
#include "app/MainFrame.h"
#include "app/UiHost.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Answers nothing interactively; the benchmark opens only files that exist.
class CSilentHost : public tovin::CUiHost {
public:
    tovin::EMsgAnswer MessageBox(const std::string&, const std::string&, tovin::EMsgButtons,
                                 tovin::EMsgIcon) override {
        return tovin::EMsgAnswer::Cancel;
    }
    std::vector<std::string> FileDialog(const tovin::SFileDialogRequest&) override { return {}; }
    std::string BrowseForFolder(const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> AskArguments(const std::string&) override { return {}; }
    tovin::COpenDocument* OpenDocument(const std::string&) override { return nullptr; }
    void SaveAll() override {}
    void SetProcessCaption(const std::string&) override {}
    void AttachRunner(std::unique_ptr<tovin::CProcessRunner>) override {}
    void ShowOutputWindow() override {}
    void ClearOutput() override {}
    void AppendOutput(const std::string&) override {}
    bool OpenWithDesktop(const std::string&) override { return true; }
    std::string OpenTerminal(const std::string&, const std::string&) override { return {}; }
    void SetWaitCursor(bool) override {}
};

struct SShell {
    QTemporaryDir dir;
    CSilentHost host;
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
