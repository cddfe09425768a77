#pragma once
// What the source windows show beside their text: line numbers, the compiler's messages of the
// last compile as marks in the margin, and the pair of a brace next to the caret.
//
// CViewAids belongs to one view. Its margins are sized only when the number of digits of the
// line count changes or marks come and go, and everything it does per key or caret move takes
// the same time whatever the file's size: it reads the line count and the marks of the caret's
// line, and matches a brace only when the caret stands next to one, looking no further than a
// megabyte for its partner (FindBracePartner: braces of code only).
//
// CEditorAids is the application's: View > Line Numbers for every window, and the messages of
// the last run of the compiler. A run of the compiler clears the marks as it starts; when it
// has ended, each "file:line: error:" or "file:line: warning:" line of its output marks that
// line in the file's open windows, and in windows opened later until the next run. The marks
// are Scintilla markers, so they move with their lines as the text is edited.
//
// The language server's diagnostics of a document show with the same markers, and a wavy
// underline (a Scintilla indicator, which moves with the text too) over the range they name.
// A run of the compiler removes them: from then on its own marks say what is wrong, until the
// server next reports on the text.

#include "core/project/ErrorNavigation.h"
#include "language/DiagnosticsModel.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace tovin {

class CProcessRunner;
class CProcessWindow;
class CSourceDocument;
class CSourceView;

// A compiler message marked in a text: its Scintilla marker and what it says.
struct SCompilerMark {
    int handle = -1;
    QString text;
};

class CViewAids : public QObject {
    Q_OBJECT
public:
    // The marker numbers of an error and a warning.
    static constexpr int kErrorMarker = 0;
    static constexpr int kWarningMarker = 1;
    // The indicators of the diagnostics' ranges (the first of those free for containers).
    static constexpr int kErrorIndicator = 8;
    static constexpr int kWarningIndicator = 9;

    explicit CViewAids(CSourceView& view);

    void ShowLineNumbers(bool shown);
    // Sizes the margins and styles the braces again after the font changed.
    void Restyle();
    // The marks of the view's text came or went.
    void UpdateMarkMargin();
    // The compiler's and the server's messages marked on a line (zero-based), one per line of
    // the text.
    QString MessagesOnLine(int line) const;
    // The marks changed under the caret: the status bar shows the caret line's messages anew.
    void RefreshCaretLineMessages();

    // The highlighted pair of braces (-1, -1 when none), and a brace without a partner (-1).
    int BraceAt() const { return m_brace; }
    int BracePartner() const { return m_partner; }
    int UnmatchedBrace() const { return m_unmatched; }

signals:
    // The caret entered a line with compiler messages (their text), or left it (empty).
    void StatusMessage(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnUpdateUi(int updated);
    void FitLineNumberWidth(bool force);
    void MatchBrace();
    void ShowCaretLineMessages();
    bool IsCodeBrace(long position) const;

    CSourceView& m_view;
    QWidget* m_viewport = nullptr;
    bool m_lineNumbers = true;
    int m_digits = 0;
    int m_caretLine = -1;
    bool m_onMarkedLine = false;
    int m_brace = -1;
    int m_partner = -1;
    int m_unmatched = -1;
};

class CEditorAids : public QObject {
    Q_OBJECT
public:
    explicit CEditorAids(bool lineNumbers, QObject* parent = nullptr);

    bool LineNumbers() const { return m_lineNumbers; }
    void SetLineNumbers(bool shown);

    // A view after its first display: it shows the line numbers as set and the marks of its
    // file.
    void AddView(CSourceView& view);

    // The messages of the last compile; each open window of a file they name is marked again.
    void SetCompilerMessages(std::vector<SCompilerMessage> messages);

    // The language server's diagnostics of the document replace those marked before.
    void ShowDiagnostics(CSourceDocument& document, const QList<SDiagnostic>& diagnostics);

    // Watches the runs of the Process Window: those for which isCompiler says yes clear the
    // marks, and their messages are marked when they have ended.
    void FollowCompiles(CProcessWindow& window,
                        std::function<bool(const CProcessRunner&)> isCompiler);

private:
    void MarkDocument(CSourceDocument& document);
    std::vector<CSourceView*> Views();

    bool m_lineNumbers;
    std::vector<QPointer<CSourceView>> m_views;
    std::vector<SCompilerMessage> m_messages;
    // The messages' paths as the file system knows them, in the same order.
    std::vector<QString> m_messagePaths;
    bool m_followingCompile = false;
    std::string m_compileFolder;
};

} // namespace tovin
