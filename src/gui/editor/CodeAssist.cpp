#include "gui/editor/CodeAssist.h"

#include "gui/editor/CompletionPopup.h"
#include "gui/editor/SourceDocument.h"
#include "gui/editor/SourceView.h"
#include "language/LanguageClient.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

#include <algorithm>
#include <utility>

namespace tovin {

namespace {

using Sci = QsciScintillaBase;

constexpr int kMaxCallTipSignatures = 8;

bool IsNameByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return std::isalnum(byte) || c == '_' || c == '$' || byte >= 0x80;
}

QString LfToCrLf(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace('\n', QLatin1String("\r\n"));
    return text;
}

QPalette QToolTipPalette() {
    QPalette palette = QGuiApplication::palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::WindowText, palette.color(QPalette::ToolTipText));
    return palette;
}

QString TipHtml(const SHover& hover) {
    QString html;
    if (!hover.declaration.isEmpty()) {
        html += "<pre style=\"margin:0\">" + hover.declaration.toHtmlEscaped() + "</pre>";
    }
    if (!hover.documentation.isEmpty()) {
        QString text = hover.documentation.toHtmlEscaped();
        text.replace(QLatin1String("\n\n"), QLatin1String("<br><br>"));
        html += "<p style=\"margin-top:6px; white-space:pre-wrap\">" + text + "</p>";
    }
    return html;
}

} // namespace

CCodeAssist::CCodeAssist(CSourceView& view, SAssistHooks hooks)
    : QObject(&view), m_view(view), m_hooks(std::move(hooks)), m_popup(new CCompletionPopup(&view)),
      m_docTip(new QLabel(&view, Qt::ToolTip)) {
    m_docTip->setForegroundRole(QPalette::ToolTipText);
    m_docTip->setBackgroundRole(QPalette::ToolTipBase);
    m_docTip->setPalette(QToolTipPalette());
    m_docTip->setAutoFillBackground(true);
    m_docTip->setFrameShape(QFrame::Box);
    m_docTip->setMargin(6);
    m_docTip->setWordWrap(true);
    m_docTip->setTextFormat(Qt::RichText);
    m_docTip->setAttribute(Qt::WA_ShowWithoutActivating);
    m_docTip->setFocusPolicy(Qt::NoFocus);
    m_view.installEventFilter(this);
    m_view.viewport()->installEventFilter(this);
    connect(&m_view, &CSourceView::KeyHandled, this, &CCodeAssist::OnKeyHandled);
    connect(&m_view, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
                OnTextModified(position, type, length);
            });
    connect(&m_view, &QsciScintilla::cursorPositionChanged, this, [this] {
        if (m_completion.active) {
            RefreshCompletion();
        }
    });
    connect(m_popup, &CCompletionPopup::Activated, this, &CCodeAssist::AcceptCompletion);
    m_view.Send(Sci::SCI_SETMOUSEDWELLTIME, kDwellMs);
    connect(&m_view, &QsciScintillaBase::SCN_DWELLSTART, this, [this](int position, int x, int y) {
        if (position >= 0 && !m_popup->isVisible()) {
            // Below the line under the pointer, so the name stays in sight.
            const QPoint below = GlobalPointOf(position, true);
            RequestHover(position,
                         QPoint(m_view.viewport()->mapToGlobal(QPoint(x, y)).x(), below.y() + 2),
                         false);
        }
    });
    connect(&m_view, &QsciScintillaBase::SCN_DWELLEND, this, [this] {
        CancelHover();
        if (m_tipByMouse) {
            HideDocumentationTip();
        }
    });
}

CCodeAssist::~CCodeAssist() {
    CloseCompletion();
    CancelHover();
    if (m_signatureClient && m_signatureId >= 0) {
        m_signatureClient->Cancel(m_signatureId);
    }
}

bool CCodeAssist::PopupShown() const {
    return m_popup->isVisible();
}

void CCodeAssist::Status(const QString& text) const {
    if (m_hooks.status) {
        m_hooks.status(text);
    }
}

// ---- positions

int CCodeAssist::WordStart(int position) const {
    const int lineStart = m_view.LineIndex(m_view.LineFromChar(position));
    const std::string before = m_view.GetTextRange(lineStart, position);
    int start = position;
    for (auto it = before.rbegin(); it != before.rend() && IsNameByte(*it); ++it) {
        --start;
    }
    return start;
}

int CCodeAssist::NamePosition() const {
    int start = 0, end = 0;
    m_view.GetSel(start, end);
    const std::string here = m_view.GetTextRange(end, end + 1);
    if ((here.empty() || !IsNameByte(here[0])) && end > 0) {
        const std::string before = m_view.GetTextRange(end - 1, end);
        if (!before.empty() && IsNameByte(before[0])) {
            return end - 1;
        }
    }
    return end;
}

QString CCodeAssist::NameAt(int position) const {
    const int start = WordStart(position);
    int end = position;
    const int length = m_view.GetLength();
    while (end < length && IsNameByte(m_view.GetTextRange(end, end + 1)[0])) {
        ++end;
    }
    return QString::fromStdString(m_view.GetTextRange(start, end));
}

bool CCodeAssist::InCommentOrString(int position) const {
    const ETokenClass cls = m_view.GetClassAt(position);
    return cls == ETokenClass::Comment || cls == ETokenClass::String;
}

QPair<int, int> CCodeAssist::LspPosition(int position) const {
    const int line = m_view.LineFromChar(position);
    const int lineStart = m_view.LineIndex(line);
    return {line, static_cast<int>(
                      QString::fromStdString(m_view.GetTextRange(lineStart, position)).size())};
}

int CCodeAssist::BytePosition(const CSourceView& view, int line, int character) {
    const int lineStart = view.LineIndex(line);
    if (lineStart < 0) {
        return view.GetLength();
    }
    const int next = view.LineIndex(line + 1);
    std::string text = view.GetTextRange(lineStart, next < 0 ? view.GetLength() : next);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    const QString decoded = QString::fromStdString(text);
    return lineStart + static_cast<int>(decoded.left(character).toUtf8().size());
}

QPoint CCodeAssist::GlobalPointOf(int position, bool below) const {
    const int x = static_cast<int>(m_view.Send(Sci::SCI_POINTXFROMPOSITION, 0, position));
    int y = static_cast<int>(m_view.Send(Sci::SCI_POINTYFROMPOSITION, 0, position));
    if (below) {
        y += static_cast<int>(m_view.Send(Sci::SCI_TEXTHEIGHT, m_view.LineFromChar(position)));
    }
    return m_view.viewport()->mapToGlobal(QPoint(x, y));
}

// ---- keys and edits

bool CCodeAssist::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        if (watched == &m_view) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key < Qt::Key_Shift || key > Qt::Key_ScrollLock) {
                HideDocumentationTip();
            }
            return OnKeyPress(*static_cast<QKeyEvent*>(event));
        }
        break;
    case QEvent::FocusOut:
        if (watched == &m_view) {
            CloseCompletion();
            HideDocumentationTip();
        }
        break;
    case QEvent::Wheel:
        // The text moves away from under the list and the tip.
        CloseCompletion();
        HideDocumentationTip();
        break;
    case QEvent::MouseButtonPress:
        if (watched == m_view.viewport()) {
            CloseCompletion();
            HideDocumentationTip();
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier) &&
                EngineUp()) {
                // Ctrl+click goes to the declaration of the name clicked.
                const QPoint at = mouse->position().toPoint();
                const long position = m_view.Send(Sci::SCI_POSITIONFROMPOINTCLOSE, at.x(), at.y());
                if (position >= 0) {
                    m_view.SetSel(static_cast<int>(position), static_cast<int>(position));
                    m_view.setFocus();
                    GoToDefinition();
                    return true;
                }
            }
        }
        break;
    default:
        break;
    }
    return false;
}

bool CCodeAssist::OnKeyPress(QKeyEvent& key) {
    // A ')' typed just before the one a completion wrote steps over it rather than doubling it.
    if (key.text() == QLatin1String(")") && m_closer >= 0 && !m_view.IsReadOnly()) {
        int start = 0, caret = 0;
        m_view.GetSel(start, caret);
        const int closer = std::exchange(m_closer, -1);
        if (start == caret && caret == closer && m_view.GetTextRange(caret, caret + 1) == ")") {
            CloseCompletion();
            m_view.Send(Sci::SCI_CALLTIPCANCEL);
            m_view.SetSel(caret + 1, caret + 1);
            m_view.UpdateCaretStatus();
            return true;
        }
    }
    if (!m_popup->isVisible()) {
        // Escape before the answer: the list is not wanted when it comes.
        if (key.key() == Qt::Key_Escape && m_completion.active) {
            CloseCompletion();
        }
        return false;
    }
    const bool plain = (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier |
                                           Qt::MetaModifier | Qt::ShiftModifier)) == 0;
    if (!plain) {
        return false;
    }
    switch (key.key()) {
    case Qt::Key_Up:
        m_popup->MoveSelection(-1);
        return true;
    case Qt::Key_Down:
        m_popup->MoveSelection(1);
        return true;
    case Qt::Key_PageUp:
        m_popup->MoveSelection(-m_popup->PageRows());
        return true;
    case Qt::Key_PageDown:
        m_popup->MoveSelection(m_popup->PageRows());
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
        AcceptCompletion();
        return true;
    case Qt::Key_Escape:
        CloseCompletion();
        return true;
    default:
        return false;
    }
}

void CCodeAssist::OnKeyHandled(char typed) {
    int start = 0, caret = 0;
    m_view.GetSel(start, caret);
    if (m_view.IsReadOnly() || !EngineUp()) {
        return;
    }
    if (typed == '.' && caret > 0 && !InCommentOrString(caret - 1)) {
        RequestCompletion(QStringLiteral("."), false);
        return;
    }
    if ((typed == '(' || typed == ',') && caret > 0 && !InCommentOrString(caret - 1)) {
        RequestSignatureHelp(false);
    } else if (typed == ')' && m_view.Send(Sci::SCI_CALLTIPACTIVE)) {
        RequestSignatureHelp(false);
    }
    if (m_completion.active) {
        RefreshCompletion();
    }
}

// An edit before the word being completed makes the question stale.
void CCodeAssist::OnTextModified(int position, int type, int length) {
    constexpr int kChanges = Sci::SC_MOD_BEFOREINSERT | Sci::SC_MOD_BEFOREDELETE;
    if (m_completion.active && (type & kChanges) && position < m_completion.anchor) {
        CloseCompletion();
    }
    // The closing parenthesis a completion wrote moves with the text before it.
    if (m_closer >= 0 && (type & Sci::SC_MOD_BEFOREINSERT) && position <= m_closer) {
        m_closer += length;
    } else if (m_closer >= 0 && (type & Sci::SC_MOD_BEFOREDELETE) && position <= m_closer) {
        m_closer = position + length <= m_closer ? m_closer - length : -1;
    }
}

// ---- completion

void CCodeAssist::Complete() {
    RequestCompletion(QString(), true);
}

void CCodeAssist::RequestCompletion(const QString& trigger, bool explicitly) {
    CloseCompletion();
    CLanguageClient* client = m_hooks.client ? m_hooks.client() : nullptr;
    if (!client) {
        if (explicitly) {
            Status(tr("Completion needs the Java engine, which is not running."));
        }
        return;
    }
    int start = 0, caret = 0;
    m_view.GetSel(start, caret);
    m_completion.active = true;
    m_completion.client = client;
    m_completion.anchor = WordStart(caret);
    m_completion.askedPrefix =
        QString::fromStdString(m_view.GetTextRange(m_completion.anchor, caret));
    const auto [line, character] = LspPosition(caret);
    const QString path =
        CLanguageClient::NormalPath(QString::fromStdString(m_view.Document().PathName()));
    m_completion.requestId =
        client->Request(kCompletionMethod, CompletionParams(path, line, character, trigger),
                        [this, explicitly](const QJsonValue& result, const QJsonObject& error) {
                            OnCompletionAnswer(result, error, explicitly);
                        });
}

void CCodeAssist::OnCompletionAnswer(const QJsonValue& result, const QJsonObject& error,
                                     bool explicitly) {
    m_completion.requestId = -1;
    if (!m_completion.active) {
        return;
    }
    if (!error.isEmpty()) {
        CloseCompletion();
        if (explicitly) {
            Status(tr("No completions: %1").arg(error.value("message").toString()));
        }
        return;
    }
    const SCompletionList list = ParseCompletion(result);
    m_completion.answered = true;
    m_completion.incomplete = list.incomplete;
    m_popup->SetItems(list.items);
    if (list.items.isEmpty()) {
        CloseCompletion();
        if (explicitly) {
            Status(tr("No completions"));
        }
        return;
    }
    RefreshCompletion();
}

// The caret moved or the word changed: filter, ask again, or close.
void CCodeAssist::RefreshCompletion() {
    if (!m_completion.active) {
        return;
    }
    int start = 0, caret = 0;
    m_view.GetSel(start, caret);
    const std::string word = m_view.GetTextRange(m_completion.anchor, caret);
    const bool inWord = start == caret && caret >= m_completion.anchor &&
                        m_view.LineFromChar(caret) == m_view.LineFromChar(m_completion.anchor) &&
                        std::all_of(word.begin(), word.end(), IsNameByte);
    if (!inWord) {
        CloseCompletion();
        return;
    }
    if (!m_completion.answered) {
        return; // the answer filters with the word as it is then
    }
    const QString prefix = QString::fromStdString(word);
    if (m_completion.incomplete && prefix != m_completion.askedPrefix) {
        // The server left items out: what fits the longer word may be among them.
        RequestCompletion(QString(), false);
        return;
    }
    if (m_popup->Filter(prefix) == 0) {
        m_popup->hide();
        return;
    }
    m_popup->ShowAt(GlobalPointOf(m_completion.anchor, true),
                    GlobalPointOf(m_completion.anchor, false));
    emit CompletionShown(m_popup->Labels());
}

void CCodeAssist::CloseCompletion() {
    if (m_completion.client && m_completion.requestId >= 0) {
        m_completion.client->Cancel(m_completion.requestId);
    }
    m_completion = SCompletionSession();
    m_popup->hide();
}

void CCodeAssist::AcceptCompletion() {
    const SCompletionItem* current = m_popup->Current();
    if (!current || m_view.IsReadOnly()) {
        CloseCompletion();
        return;
    }
    const SCompletionItem item = *current;
    CloseCompletion();
    ApplyEdits(item);
}

// The item's own edit replaces the word up to the caret; its other edits (an import) are
// made too, all as one undo step, and the caret goes where the snippet says.
void CCodeAssist::ApplyEdits(const SCompletionItem& item) {
    int start = 0, caret = 0;
    m_view.GetSel(start, caret);
    const SInsertion insertion =
        InsertionOf(item.edit ? item.edit->newText : item.insertText, item.snippet);
    const int from =
        item.edit ? std::min(caret, BytePosition(item.edit->range.line, item.edit->range.character))
                  : WordStart(caret);
    struct SByteEdit {
        int start;
        int end;
        QByteArray text;
    };
    std::vector<SByteEdit> others;
    for (const STextEdit& edit : item.additionalEdits) {
        const int editStart = BytePosition(edit.range.line, edit.range.character);
        const int editEnd =
            std::max(editStart, BytePosition(edit.range.endLine, edit.range.endCharacter));
        // An edit that overlaps the completed word is not the server's to make.
        if (editEnd <= from || editStart >= caret) {
            others.push_back({editStart, editEnd, LfToCrLf(edit.newText).toUtf8()});
        }
    }
    std::sort(others.begin(), others.end(),
              [](const SByteEdit& a, const SByteEdit& b) { return a.start > b.start; });

    const QByteArray text = LfToCrLf(insertion.text).toUtf8();
    int newCaret =
        from + static_cast<int>(LfToCrLf(insertion.text.left(insertion.caret)).toUtf8().size());
    m_view.BeginUndoAction();
    m_view.SetSel(from, caret);
    m_view.ReplaceSel(text.toStdString());
    for (const SByteEdit& edit : others) {
        m_view.SetSel(edit.start, edit.end);
        m_view.ReplaceSel(edit.text.toStdString());
        if (edit.start <= from) {
            newCaret += static_cast<int>(edit.text.size()) - (edit.end - edit.start);
        }
    }
    m_view.EndUndoAction();
    m_view.SetSel(newCaret, newCaret);
    m_closer = m_view.GetTextRange(newCaret, newCaret + 1) == ")" ? newCaret : -1;
    m_view.OnSyntaxColourUpdate();
    m_view.ensureCursorVisible();
    // A method's parentheses are open: its parameters are what comes next.
    if (item.kind == kKindMethod || item.kind == kKindConstructor) {
        const std::string before = m_view.GetTextRange(newCaret - 1, newCaret);
        if (before == "(") {
            RequestSignatureHelp(false);
        }
    }
}

// ---- parameter hints

void CCodeAssist::ParameterInfo() {
    RequestSignatureHelp(true);
}

void CCodeAssist::RequestSignatureHelp(bool explicitly) {
    if (m_signatureClient && m_signatureId >= 0) {
        m_signatureClient->Cancel(m_signatureId);
        m_signatureId = -1;
    }
    CLanguageClient* client = m_hooks.client ? m_hooks.client() : nullptr;
    if (!client) {
        if (explicitly) {
            Status(tr("Parameter information needs the Java engine, which is not running."));
        }
        return;
    }
    int start = 0, caret = 0;
    m_view.GetSel(start, caret);
    const auto [line, character] = LspPosition(caret);
    const QString path =
        CLanguageClient::NormalPath(QString::fromStdString(m_view.Document().PathName()));
    m_signatureClient = client;
    m_signatureId =
        client->Request(kSignatureHelpMethod, PositionParams(path, line, character),
                        [this, explicitly, caret](const QJsonValue& result, const QJsonObject&) {
                            m_signatureId = -1;
                            int nowStart = 0, now = 0;
                            m_view.GetSel(nowStart, now);
                            if (now != caret) {
                                return; // the caret has moved on; the next key asks again
                            }
                            const SSignatureHelp help = ParseSignatureHelp(result);
                            if (help.signatures.isEmpty()) {
                                m_view.Send(Sci::SCI_CALLTIPCANCEL);
                                if (explicitly) {
                                    Status(tr("No parameter information"));
                                }
                                return;
                            }
                            ShowSignatureHelp(help);
                        });
}

void CCodeAssist::ShowSignatureHelp(const SSignatureHelp& help) {
    const SSignature& active = help.signatures[help.activeSignature];
    QString tip = active.label;
    int shown = 1;
    for (qsizetype i = 0; i < help.signatures.size() && shown < kMaxCallTipSignatures; ++i) {
        if (i != help.activeSignature) {
            tip += "\n" + help.signatures[i].label;
            ++shown;
        }
    }
    if (help.signatures.size() > shown) {
        tip += "\n" + tr("(%1 more)").arg(help.signatures.size() - shown);
    }
    int start = 0, caret = 0;
    m_view.GetSel(start, caret);
    const QByteArray bytes = tip.toUtf8();
    m_view.SendScintilla(Sci::SCI_CALLTIPSHOW, static_cast<unsigned long>(caret),
                         bytes.constData());
    if (help.activeParameter >= 0 && help.activeParameter < active.parameters.size()) {
        const auto [from, to] = active.parameters[help.activeParameter];
        if (from >= 0) {
            m_view.Send(Sci::SCI_CALLTIPSETHLT, active.label.left(from).toUtf8().size(),
                        active.label.left(to).toUtf8().size());
        }
    }
    m_lastTip = tip;
    emit TipShown(tip);
}

// ---- documentation

void CCodeAssist::ShowDocumentation() {
    const int position = NamePosition();
    RequestHover(position, GlobalPointOf(position, true), true);
}

void CCodeAssist::RequestHover(int position, const QPoint& global, bool explicitly) {
    CancelHover();
    // A key that asks again comes as a shortcut, which the editor never sees as a key press.
    HideDocumentationTip();
    const std::string here = m_view.GetTextRange(position, position + 1);
    if (here.empty() || !IsNameByte(here[0])) {
        if (explicitly) {
            Status(tr("No documentation"));
        }
        return;
    }
    CLanguageClient* client = m_hooks.client ? m_hooks.client() : nullptr;
    if (!client) {
        if (explicitly) {
            Status(tr("Documentation needs the Java engine, which is not running."));
        }
        return;
    }
    const auto [line, character] = LspPosition(position);
    const QString path =
        CLanguageClient::NormalPath(QString::fromStdString(m_view.Document().PathName()));
    m_hoverClient = client;
    m_hoverId =
        client->Request(kHoverMethod, PositionParams(path, line, character),
                        [this, explicitly, global](const QJsonValue& result, const QJsonObject&) {
                            m_hoverId = -1;
                            const std::optional<SHover> hover = ParseHover(result);
                            if (!hover) {
                                if (explicitly) {
                                    Status(tr("No documentation"));
                                }
                                return;
                            }
                            m_tipByMouse = !explicitly;
                            ShowDocumentationTip(*hover, global);
                            emit TipShown(m_lastTip);
                        });
}

void CCodeAssist::ShowDocumentationTip(const SHover& hover, const QPoint& global) {
    m_lastTip = hover.declaration.isEmpty() ? hover.documentation
                                            : hover.declaration + "\n\n" + hover.documentation;
    m_docTip->setText(TipHtml(hover));
    // As wide as the declaration wants, within reason; the text wraps below it.
    const QFontMetrics metrics(m_docTip->font());
    int width = 0;
    for (const QString& line : hover.declaration.split('\n')) {
        width = std::max(width, metrics.horizontalAdvance(line));
    }
    width = std::clamp(width + 2 * m_docTip->margin() + 4, 320, 620);
    m_docTip->setFixedWidth(width);
    m_docTip->setFixedHeight(m_docTip->heightForWidth(width));
    QPoint at = global;
    if (const QScreen* screen = QGuiApplication::screenAt(global)) {
        const QRect room = screen->availableGeometry();
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - width)));
        if (at.y() + m_docTip->height() > room.bottom()) {
            at.setY(std::max(room.top(), at.y() - m_docTip->height() - 24));
        }
    }
    m_docTip->move(at);
    m_docTip->show();
    m_docTip->raise();
    Status(QString());
}

void CCodeAssist::HideDocumentationTip() {
    m_docTip->hide();
}

bool CCodeAssist::DocumentationShown() const {
    return m_docTip->isVisible();
}

void CCodeAssist::CancelHover() {
    if (m_hoverClient && m_hoverId >= 0) {
        m_hoverClient->Cancel(m_hoverId);
    }
    m_hoverId = -1;
}

// ---- navigation

void CCodeAssist::GoToDefinition() {
    CLanguageClient* client = m_hooks.client ? m_hooks.client() : nullptr;
    if (!client) {
        Status(tr("Go to Definition needs the Java engine, which is not running."));
        return;
    }
    const int position = NamePosition();
    const auto [line, character] = LspPosition(position);
    const QString path =
        CLanguageClient::NormalPath(QString::fromStdString(m_view.Document().PathName()));
    QPointer<CCodeAssist> self(this);
    client->Request(kDefinitionMethod, PositionParams(path, line, character),
                    [self](const QJsonValue& result, const QJsonObject&) {
                        if (!self) {
                            return;
                        }
                        const QList<SLocation> locations = ParseLocations(result);
                        if (locations.isEmpty()) {
                            self->Status(tr("No definition found"));
                        } else if (self->m_hooks.openLocation) {
                            self->m_hooks.openLocation(locations.front());
                        }
                    });
}

void CCodeAssist::FindUsages() {
    CLanguageClient* client = m_hooks.client ? m_hooks.client() : nullptr;
    if (!client) {
        Status(tr("Find Usages needs the Java engine, which is not running."));
        return;
    }
    const int position = NamePosition();
    const QString name = NameAt(position);
    const auto [line, character] = LspPosition(position);
    const QString path =
        CLanguageClient::NormalPath(QString::fromStdString(m_view.Document().PathName()));
    QPointer<CCodeAssist> self(this);
    client->Request(kReferencesMethod, ReferenceParams(path, line, character, false),
                    [self, name](const QJsonValue& result, const QJsonObject&) {
                        if (!self) {
                            return;
                        }
                        const QList<SLocation> locations = ParseLocations(result);
                        if (locations.isEmpty()) {
                            self->Status(tr("No usages"));
                        } else if (self->m_hooks.showUsages) {
                            self->m_hooks.showUsages(name, locations);
                        }
                    });
}

} // namespace tovin
