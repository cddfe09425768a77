#include "gui/app/AppCodeAssist.h"

#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/process/ProcessRunner.h"
#include "gui/app/EditorApp.h"
#include "gui/app/JavaChecks.h"
#include "gui/app/MainFrame.h"
#include "gui/editor/CodeAssist.h"
#include "gui/editor/EditorDocument.h"
#include "gui/editor/SourceDocument.h"
#include "gui/editor/SourceView.h"
#include "gui/process/ProcessWindow.h"

#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>

namespace tovin {

namespace {

void Say(CEditorApp& app, const QString& text) {
    if (CMainFrame* frame = app.MainFrame()) {
        frame->SetPaneText(0, text);
    }
}

// The lines of a file as the engine saw them: an open window's text, else the file's.
QStringList LinesOf(CEditorApp& app, const QString& path) {
    std::string text;
    auto* open =
        dynamic_cast<CEditorDocument*>(app.Templates().FindOpenDocument(path.toStdString()));
    if (open) {
        text = open->Source().Text();
    } else {
        text = ReadWholeFile(path.toStdString()).value_or(std::string());
    }
    QString decoded = QString::fromStdString(text);
    decoded.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    decoded.replace('\r', '\n');
    return decoded.split('\n');
}

void ShowUsages(CEditorApp& app, const QString& name, const QList<SLocation>& locations) {
    CProcessWindow* window = app.ProcessWindow();
    if (window->IsRunning()) {
        Say(app, QObject::tr("The usages are listed once the tool in the Process Window has "
                             "ended."));
        return;
    }
    window->Attach(nullptr, QObject::tr("Usages of \"%1\"").arg(name));
    app.MainFrame()->ProcessDock()->show();
    QString lines;
    QString cachedPath;
    QStringList cachedLines;
    for (const SLocation& location : locations) {
        if (location.path != cachedPath) {
            cachedPath = location.path;
            cachedLines = LinesOf(app, location.path);
        }
        const QString source = location.range.line < cachedLines.size()
                                   ? cachedLines[location.range.line].trimmed()
                                   : QString();
        lines += QStringLiteral("%1:%2: %3\r\n")
                     .arg(location.path)
                     .arg(location.range.line + 1)
                     .arg(source);
    }
    lines += locations.size() == 1
                 ? QObject::tr("1 usage of \"%1\"\r\n").arg(name)
                 : QObject::tr("%1 usages of \"%2\"\r\n").arg(locations.size()).arg(name);
    window->AppendLine(lines.toStdString());
    Say(app, locations.size() == 1
                 ? QObject::tr("1 usage of \"%1\"").arg(name)
                 : QObject::tr("%1 usages of \"%2\"").arg(locations.size()).arg(name));
}

bool Below(const QString& path, const QString& folder) {
    const QString root = QDir::cleanPath(folder) + '/';
    return !folder.isEmpty() && QDir::cleanPath(path).startsWith(root);
}

} // namespace

bool IsJdkSourceFile(const std::string& path) {
    const QString file = QString::fromStdString(path);
    const QString user = qEnvironmentVariable("USER");
    return Below(file, QString::fromStdString(CacheFolder()) + "/jdk-source") ||
           Below(file, QDir::tempPath() + "/tovin-jdk-source-" + user);
}

void OpenLocation(CEditorApp& app, const SLocation& location) {
    const std::string path = location.path.toStdString();
    const bool jdk = IsJdkSourceFile(path);
    if (jdk) {
        // Read-only on disk too, so no save, reload or second window makes it writable.
        QFile::setPermissions(location.path, QFile::permissions(location.path) &
                                                 ~(QFile::WriteOwner | QFile::WriteUser |
                                                   QFile::WriteGroup | QFile::WriteOther));
    }
    auto* document = dynamic_cast<CEditorDocument*>(app.OpenDocumentFile(path));
    if (!document) {
        Say(app, QObject::tr("Cannot open %1").arg(location.path));
        return;
    }
    if (jdk) {
        document->SetTitleNote(QObject::tr(" (JDK source, read-only)"));
    }
    CSourceView* view = document->Source().FirstView();
    if (!view) {
        return;
    }
    view->GoToLine(location.range.line);
    const int at = CCodeAssist::BytePosition(*view, location.range.line, location.range.character);
    view->SetSel(at, at);
    view->UpdateCaretStatus();
}

void AttachCodeAssist(CEditorApp& app, CSourceView& view) {
    SAssistHooks hooks;
    CSourceDocument& document = view.Document();
    hooks.client = [&app, &document] { return app.JavaChecks().ClientWithText(document); };
    hooks.engineUp = [&app, &document] { return app.JavaChecks().EngineUp(document); };
    hooks.status = [&app](const QString& text) {
        Say(app, text.isEmpty() ? QString(CMainFrame::kReadyText) : text);
    };
    hooks.openLocation = [&app](const SLocation& location) { OpenLocation(app, location); };
    hooks.showUsages = [&app](const QString& name, const QList<SLocation>& locations) {
        ShowUsages(app, name, locations);
    };
    auto* assist = new CCodeAssist(view, std::move(hooks));
    CCommandMap& map = view.CommandMap();
    const std::pair<ECommand, void (CCodeAssist::*)()> commands[] = {
        {ECommand::Complete, &CCodeAssist::Complete},
        {ECommand::ParameterInfo, &CCodeAssist::ParameterInfo},
        {ECommand::ShowDocumentation, &CCodeAssist::ShowDocumentation},
        {ECommand::GoToDefinition, &CCodeAssist::GoToDefinition},
        {ECommand::FindUsages, &CCodeAssist::FindUsages},
    };
    for (const auto& [id, handler] : commands) {
        map.OnCommand(id, [assist, handler = handler] { (assist->*handler)(); });
        map.OnEnable(id, [assist] { return assist->EngineUp(); });
    }
}

} // namespace tovin
