#pragma once
// The language server's help in one Java window: completion, parameter hints, documentation
// under the mouse or the caret, and the requests for a declaration or for usages, whose answers
// the application takes (SAssistHooks).
//
// The editor keeps the keyboard focus throughout; nothing here waits for the server:
// - Completion is asked for after a typed '.' and by Complete. The list shows once answered and
//   filters as the word before the caret grows or shrinks, asking again only when the server
//   said its list was incomplete. Up, Down, Page Up and Page Down move in it, Enter and Tab
//   insert the item (its edit, the caret where its snippet's $0 is, and its other edits such
//   as an import), Escape closes it, as does the caret leaving the word. A ')' typed just
//   before the parenthesis an inserted call closes with steps over it.
// - A request whose text has moved on is cancelled: keys typed while it is computed show at
//   once, and an edit before the word, or the caret leaving it, drops the request, so its
//   answer is never shown.
// - Parameter hints follow a typed '(' or ',' (and ')' while they show) and ParameterInfo: a
//   call tip with the overloads, the current one first with its current parameter marked.
// - Resting the mouse on a name shows its declaration and documentation in a tool tip, as
//   ShowDocumentation does for the name at the caret.

#include "language/AssistMessages.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QKeyEvent;
class QLabel;

namespace tovin {

class CCompletionPopup;
class CLanguageClient;
class CSourceView;

struct SAssistHooks {
    // The client that has the view's document with its current text (sent now if it had not
    // been), or null when the engine is not up for it.
    std::function<CLanguageClient*()> client;
    // Whether the engine is up for the view (the commands' enabling; sends nothing).
    std::function<bool()> engineUp;
    // Pane 0 of the status bar.
    std::function<void(const QString&)> status;
    // The answers the window cannot show itself: a declaration to open, usages to list.
    std::function<void(const SLocation&)> openLocation;
    std::function<void(const QString& name, const QList<SLocation>&)> showUsages;
};

class CCodeAssist : public QObject {
    Q_OBJECT
public:
    // How long the mouse rests before its name's documentation is asked for.
    static constexpr int kDwellMs = 600;

    // A child of the view.
    CCodeAssist(CSourceView& view, SAssistHooks hooks);
    ~CCodeAssist() override;

    // ---- commands
    void Complete();
    void ParameterInfo();
    void ShowDocumentation();
    void GoToDefinition();
    void FindUsages();
    bool EngineUp() const { return m_hooks.engineUp && m_hooks.engineUp(); }

    // The view's byte position of a protocol position (clamped to the text).
    static int BytePosition(const CSourceView& view, int line, int character);

    // ---- state, for the window's tests
    CCompletionPopup& Popup() const { return *m_popup; }
    bool PopupShown() const;
    bool CompletionPending() const { return m_completion.requestId >= 0; }
    // The text of the last call tip or documentation tip shown (plain text).
    const QString& LastTip() const { return m_lastTip; }
    // The documentation tip, while it shows.
    bool DocumentationShown() const;

signals:
    // The completion list was shown (also again after filtering), with its labels.
    void CompletionShown(const QStringList& labels);
    // A documentation or call tip was shown.
    void TipShown(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SCompletionSession {
        QPointer<CLanguageClient> client;
        int requestId = -1;
        bool active = false;
        int anchor = 0;          // byte position where the word being completed starts
        QString askedPrefix;     // the word when the list was asked for
        bool incomplete = false; // the server's list was cut short
        bool answered = false;
    };

    void RequestCompletion(const QString& trigger, bool explicitly);
    void OnCompletionAnswer(const QJsonValue& result, const QJsonObject& error, bool explicitly);
    void RefreshCompletion();
    void CloseCompletion();
    void AcceptCompletion();
    void RequestSignatureHelp(bool explicitly);
    void ShowSignatureHelp(const SSignatureHelp& help);
    void RequestHover(int position, const QPoint& global, bool explicitly);
    void CancelHover();
    void ShowDocumentationTip(const SHover& hover, const QPoint& global);
    void HideDocumentationTip();
    void OnKeyHandled(char typed);
    void OnTextModified(int position, int type, int length);
    bool OnKeyPress(QKeyEvent& key);

    // The word before the caret starts here.
    int WordStart(int position) const;
    // The position of the name at or just before the caret.
    int NamePosition() const;
    QString NameAt(int position) const;
    bool InCommentOrString(int position) const;
    // Protocol positions and the view's byte positions.
    QPair<int, int> LspPosition(int position) const;
    int BytePosition(int line, int character) const {
        return BytePosition(m_view, line, character);
    }
    void ApplyEdits(const SCompletionItem& item);
    QPoint GlobalPointOf(int position, bool below) const;
    void Status(const QString& text) const;

    CSourceView& m_view;
    SAssistHooks m_hooks;
    CCompletionPopup* m_popup;
    SCompletionSession m_completion;
    QPointer<CLanguageClient> m_signatureClient;
    int m_signatureId = -1;
    QPointer<CLanguageClient> m_hoverClient;
    int m_hoverId = -1;
    QString m_lastTip;
    // Not a QToolTip: that one goes with the release of the key that asked for it, which may
    // come after the answer.
    QLabel* m_docTip;
    bool m_tipByMouse = false; // the tip goes when the mouse moves on
    // The ')' the last completion wrote after the caret, while it is there; else -1.
    int m_closer = -1;
};

} // namespace tovin
