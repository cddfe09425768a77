#include "app/TextView.h"

#include "app/DocumentFrame.h"
#include "app/EditorApp.h"
#include "app/MainFrame.h"
#include "app/ProjectDocument.h"
#include "app/TextDocument.h"
#include "javamodel/JavaParser.h"
#include "project/AntCommands.h"
#include "project/JavaProjectDoc.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

namespace tovin {

CTextView::CTextView(CTextDocument& document, QWidget* parent)
    : QPlainTextEdit(parent), m_document(document), m_app(document.App()) {
    setDocument(document.TextDocument());
    setLineWrapMode(QPlainTextEdit::NoWrap);
    const CSettings& settings = m_app.Settings();
    QFont font(QString::fromStdString(settings.fontName));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(settings.fontSize > 0 ? settings.fontSize / 10.0 : 10.0);
    setFont(font);
    setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) *
                       std::max(1, settings.tabWidth));
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &CTextView::UpdateCaretStatus);
    if (CMainFrame* frame = m_app.MainFrame()) {
        connect(frame, &CMainFrame::ActiveFrameChanged, this, [this](CDocumentFrame* active) {
            if (active && active->View() == this) {
                UpdateCaretStatus();
            }
        });
    }
    RegisterCommands();
}

int CTextView::CaretLine() const {
    return textCursor().blockNumber() + 1;
}

int CTextView::CaretColumn() const {
    return textCursor().positionInBlock() + 1;
}

void CTextView::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    UpdateCaretStatus();
}

void CTextView::UpdateCaretStatus() {
    if (CMainFrame* frame = m_app.MainFrame()) {
        frame->SetPaneText(1, QStringLiteral("Line: %1").arg(CaretLine()));
        frame->SetPaneText(2, QStringLiteral("Col: %1").arg(CaretColumn()));
    }
}

void CTextView::RegisterCommands() {
    CCommandMap& map = CommandMap();
    auto hasSelection = [this] { return textCursor().hasSelection(); };
    map.OnCommand(ECommand::Undo, [this] { undo(); });
    map.OnEnable(ECommand::Undo, [this] { return document()->isUndoAvailable(); });
    map.OnCommand(ECommand::Cut, [this] { cut(); });
    map.OnEnable(ECommand::Cut, hasSelection);
    map.OnCommand(ECommand::Copy, [this] { copy(); });
    map.OnEnable(ECommand::Copy, hasSelection);
    map.OnCommand(ECommand::Paste, [this] { paste(); });
    map.OnEnable(ECommand::Paste, [this] { return canPaste(); });
    map.OnCommand(ECommand::SelectAll, [this] { selectAll(); });
    map.OnCommand(ECommand::Print, [this] { PrintDocument(); });
    map.OnCommand(ECommand::PrintPreview, [this] { PreviewDocument(); });
    if (m_document.Kind() == EDocumentKind::JavaSource) {
        // A Java window looks up its selected word; the other windows leave F1 to the
        // application, which opens the documentation's start page.
        map.OnCommand(ECommand::JdkHelp, [this] {
            m_app.OpenJdkHelp(textCursor().selectedText().trimmed().toStdString());
        });
    }
    RegisterProjectCommands();
}

// The project commands a source window hands to the open project (and ignores without one).
void CTextView::RegisterProjectCommands() {
    CCommandMap& map = CommandMap();
    auto forward = [this, &map](ECommand id, void (CProjectDocument::*handler)()) {
        map.OnCommand(id, [this, handler] {
            if (CProjectDocument* project = m_app.CurrentProject()) {
                (project->*handler)();
            }
        });
    };
    const EDocumentKind kind = m_document.Kind();
    forward(ECommand::CreateAntScript, &CProjectDocument::OnCreateAntScript);
    auto withProject = [this] { return m_app.CurrentProject() != nullptr; };
    if (kind == EDocumentKind::JavaSource) {
        map.OnCommand(ECommand::Compile, [this] {
            CProjectDocument* project = m_app.CurrentProject();
            if (project && !m_document.PathName().empty()) {
                project->Project().CompileFile(
                    m_document.PathName(), CJavaParser::FindPackage(toPlainText().toStdString()));
            }
        });
    }
    if (kind == EDocumentKind::Jython) {
        auto runJython = [this](bool console) {
            if (CProjectDocument* project = m_app.CurrentProject()) {
                project->Project().RunJython(m_document.PathName(), console, {});
            }
        };
        map.OnCommand(ECommand::RunJython, [runJython] { runJython(false); });
        map.OnEnable(ECommand::RunJython, withProject);
        map.OnCommand(ECommand::RunJythonWithConsole, [runJython] { runJython(true); });
        map.OnEnable(ECommand::RunJythonWithConsole, withProject);
        map.OnCommand(ECommand::CompileJythonFile, [this] {
            if (CProjectDocument* project = m_app.CurrentProject()) {
                project->Project().CompileJython(m_document.PathName());
            }
        });
        map.OnEnable(ECommand::CompileJythonFile, withProject);
    }
    if (kind == EDocumentKind::JavaSource) {
        forward(ECommand::JavadocProjectFiles, &CProjectDocument::OnJavadocProjectFiles);
        forward(ECommand::JavadocProjectPackages, &CProjectDocument::OnJavadocProjectPackages);
        forward(ECommand::CompileFolder, &CProjectDocument::OnCompileFolder);
        forward(ECommand::JarAnyFolder, &CProjectDocument::OnJarAnyFolder);
        forward(ECommand::CreateShortcut, &CProjectDocument::OnCreateShortcut);
        forward(ECommand::CreateBatchFile, &CProjectDocument::OnCreateBatchFile);
        forward(ECommand::SerialVer, &CProjectDocument::OnSerialVer);
    }
    if (kind == EDocumentKind::Html) {
        forward(ECommand::RunAnt, &CProjectDocument::OnRunAnt);
    }
    if (kind == EDocumentKind::Xml) {
        // An XML window runs Ant on its own file with the build file's default target.
        map.OnCommand(ECommand::RunAnt, [this] {
            if (CProjectDocument* project = m_app.CurrentProject()) {
                RunAnt(project->Project(), m_document.PathName(), {});
            }
        });
    }
    if (kind == EDocumentKind::Html || kind == EDocumentKind::Xml) {
        map.OnCommand(ECommand::OpenInWebBrowser, [this] {
            if (!m_document.PathName().empty()) {
                m_app.Host().OpenWithDesktop(m_document.PathName());
            }
        });
        map.OnCommand(ECommand::RunPageApplet, [this] {
            if (CProjectDocument* project = m_app.CurrentProject()) {
                project->RunApplet(m_document.PathName());
            }
        });
    }
}

void CTextView::PrintDocument() {
    QPrintDialog dialog(&m_app.Printer(), this);
    if (textCursor().hasSelection()) {
        dialog.setOption(QAbstractPrintDialog::PrintSelection);
    }
    if (dialog.exec() == QDialog::Accepted) {
        print(&m_app.Printer());
    }
}

void CTextView::PreviewDocument() {
    QPrintPreviewDialog preview(&m_app.Printer(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { print(printer); });
    preview.exec();
}

} // namespace tovin
