#include "gui/editor/SourceView.h"

#include "core/app/Settings.h"
#include "core/app/UiHost.h"
#include "core/editor/TextCommands.h"
#include "gui/editor/EditorAids.h"
#include "gui/editor/FindReplace.h"
#include "gui/editor/SourceDocument.h"

#include <QContextMenuEvent>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include <algorithm>

namespace tovin {

namespace {

using Sci = QsciScintillaBase;

// Past this many changed lines a whole-text pass is cheaper than colouring line by line.
constexpr int kMaxLinesColouredOneByOne = 400;

} // namespace

CSourceView::CSourceView(CSourceDocument& document, ELanguage language, QWidget* parent)
    : CScintillaEdit(parent), m_document(document), m_documentAlive(&document),
      m_colourer(language),
      m_finder(new CFindReplace(*this,
                                [this](const std::string& text) {
                                    Context().host->MessageBox(text, "Tovin", EMsgButtons::Ok,
                                                               EMsgIcon::Information);
                                })),
      m_indentUnit(*document.Context().settings, language == ELanguage::Java) {
    ApplySettingsAppearance();
    ShareDocumentText();
    // After the text is shared: sharing sets the margins anew.
    m_aids = new CViewAids(*this);
    m_document.AttachView(this);
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
                OnTextModified(position, type, length);
            });
    connect(this, &CScintillaEdit::ModifiedChanged, &m_document, &CSourceDocument::ModifiedChanged);
}

void CSourceView::ApplySettingsAppearance() {
    ApplyAppearance(SEditorAppearance::FromSettings(Settings()));
    if (m_aids) {
        m_aids->Restyle();
    }
}

CSourceView::~CSourceView() {
    if (m_documentAlive) {
        m_document.DetachView(this);
    }
}

const SEditorContext& CSourceView::Context() const {
    return m_document.Context();
}

const CSettings& CSourceView::Settings() const {
    return *Context().settings;
}

// A further view of a document shows the same Scintilla document, so edits, colours and undo
// are common to every window of the file.
void CSourceView::ShareDocumentText() {
    if (CSourceView* first = m_document.FirstView()) {
        ShareTextOf(*first);
    }
}

void CSourceView::OnInitialUpdate() {
    std::string text;
    const bool firstDisplay = m_document.TakePendingText(text);
    if (firstDisplay) {
        LoadText(text);
    }
    Send(SCI_SETEMPTYSELECTION, 0);
    OnSyntaxColourUpdate();
    if (firstDisplay) {
        SetModify(false);
    }
    if (m_document.IsReadOnlyFile()) {
        SetReadOnly(true);
    }
    m_indentUnit.SetFileStyle(m_document.FileIndentStyle());
}

void CSourceView::OnTextReloaded() {
    SetReadOnly(m_document.IsReadOnlyFile());
    OnSyntaxColourUpdate();
    // The text is common to every window of the file, and so is what was read with it.
    for (CSourceView* view : m_document.Views()) {
        view->m_indentUnit.SetFileStyle(m_document.FileIndentStyle());
        view->m_aids->UpdateMarkMargin();
    }
}

void CSourceView::ColourAll(bool suspendRedraw) {
    m_colourer.ColourAll(*this, suspendRedraw, Context().host);
    ClearChangedLines();
}

void CSourceView::ColourLine() {
    m_colourer.ColourLine(*this);
}

// Only positions are kept here: the text has not changed yet, so its lines are found when the
// recolouring runs.
void CSourceView::OnTextModified(int position, int type, int length) {
    const bool insert = (type & SC_MOD_BEFOREINSERT) != 0;
    if (!insert && (type & SC_MOD_BEFOREDELETE) == 0) {
        return;
    }
    // Where a position before the change lies after it.
    const auto moved = [&](int at) {
        if (insert) {
            return at < position ? at : at + length;
        }
        return at <= position ? at : std::max(position, at - length);
    };
    const int end = insert ? position + length : position;
    if (m_changedStart < 0) {
        m_changedStart = position;
        m_changedEnd = end;
    } else {
        m_changedStart = std::min(moved(m_changedStart), position);
        m_changedEnd = std::max(moved(m_changedEnd), end);
    }
    ScheduleRecolour();
}

void CSourceView::ScheduleRecolour() {
    if (m_recolourScheduled) {
        return;
    }
    m_recolourScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_recolourScheduled = false;
        RecolourChangedLines();
    });
}

void CSourceView::RecolourChangedLines() {
    if (m_changedStart < 0) {
        return;
    }
    const int first = LineFromChar(m_changedStart);
    const int last = LineFromChar(m_changedEnd);
    ClearChangedLines();
    if (last - first > kMaxLinesColouredOneByOne) {
        ColourAll(false);
        return;
    }
    m_colourer.ColourLines(*this, first, last);
}

void CSourceView::ClearChangedLines() {
    m_changedStart = m_changedEnd = -1;
}

bool CSourceView::HasSelection() const {
    int start = 0, end = 0;
    GetSel(start, end);
    return start != end;
}

void CSourceView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool plain =
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0;
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && plain) {
        if (!IsReadOnly()) {
            HandleTab(key == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier));
        }
        ColourLine();
        RecolourChangedLines();
        event->accept();
        emit KeyHandled(0);
        return;
    }
    const QString text = event->text();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    char typed = 0;
    if (enter) {
        // Ctrl+Enter and Alt+Enter break no line, so nothing may be indented after them.
        typed = plain ? '\r' : 0;
    } else if (text.size() == 1 && text[0].unicode() < 0x80) {
        typed = static_cast<char>(text[0].unicode());
    }
    // A line break and the indentation it gets, or a closing brace or tag and its move, are
    // one undo step. Other characters are left to the control, which gathers a typed word
    // into one step.
    const bool grouped = typed == '\r' || typed == '}' || typed == '>';
    if (grouped) {
        BeginUndoAction();
    }
    CScintillaEdit::keyPressEvent(event);
    if (!enter && text.isEmpty()) {
        // No character was typed (a cursor key, Delete): only what changed is recoloured.
        RecolourChangedLines();
        emit KeyHandled(0);
        return;
    }
    if (!IsReadOnly()) {
        OnCharTyped(typed);
    }
    if (grouped) {
        EndUndoAction();
    }
    ColourLine();
    // Changes on the caret's line alone are coloured now; a long line is not classified twice.
    if (m_changedStart >= 0) {
        int start = 0, end = 0;
        GetSel(start, end);
        const int line = LineFromChar(start);
        if (LineFromChar(m_changedStart) == line && LineFromChar(m_changedEnd) == line) {
            ClearChangedLines();
        }
    }
    RecolourChangedLines();
    emit KeyHandled(typed);
}

void CSourceView::keyReleaseEvent(QKeyEvent* event) {
    CScintillaEdit::keyReleaseEvent(event);
    UpdateCaretStatus();
}

void CSourceView::mousePressEvent(QMouseEvent* event) {
    CScintillaEdit::mousePressEvent(event);
    UpdateCaretStatus();
}

void CSourceView::focusInEvent(QFocusEvent* event) {
    CScintillaEdit::focusInEvent(event);
    UpdateCaretStatus();
    // After the activation has finished, so a question about the file does not interrupt it.
    QTimer::singleShot(0, &m_document, [document = &m_document] { document->CheckDiskChange(); });
}

QString CSourceView::LineStatusText() const {
    int start = 0, end = 0;
    GetSel(start, end);
    return QStringLiteral("Line: %1").arg(LineFromChar(end) + 1);
}

QString CSourceView::ColumnStatusText() const {
    int start = 0, end = 0;
    GetSel(start, end);
    const int lineStart = std::max(0, LineIndex(LineFromChar(end)));
    // Characters, not bytes, so a UTF-8 letter counts one column.
    const long column = Send(SCI_COUNTCHARACTERS, static_cast<unsigned long>(lineStart), end) + 1;
    return QStringLiteral("Col: %1").arg(column);
}

void CSourceView::UpdateCaretStatus() {
    emit CaretStatusChanged(LineStatusText(), ColumnStatusText());
}

void CSourceView::SelectLine(int line) {
    const int start = LineIndex(line);
    if (start < 0) {
        return;
    }
    const int next = LineIndex(line + 1);
    const int end = next < 0 ? GetLength() : std::max(start, next - 2);
    SetSel(start, end);
    ShowWithContext(line);
    UpdateCaretStatus();
}

void CSourceView::ShowWithContext(int line) {
    const int shown = static_cast<int>(Send(SCI_LINESONSCREEN));
    const int first = static_cast<int>(Send(SCI_GETFIRSTVISIBLELINE));
    // A line at the very edge shows nothing of what leads to it: it goes a third of the way
    // down instead, unless it is well inside the view already.
    const int margin = std::min(3, shown / 4);
    if (line < first + margin || line >= first + shown - margin) {
        Send(SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(std::max(0, line - shown / 3)));
    }
}

// Without a selection Tab inserts the indentation unit of the file (outside Java, the control's
// own tab character whatever SPACETABS says, unless the file is indented with spaces) and
// Shift+Tab takes a level off the caret's line; with one, the lines move by a level.
bool CSourceView::HandleTab(bool shift) {
    if (shift && !HasSelection()) {
        UnindentCaretLine(*this, m_indentUnit.SpaceStep());
    } else if (!HasSelection()) {
        InsertIndentUnit(*this, IndentUnit());
    } else if (shift) {
        OnDecreaseIndent();
    } else {
        OnIncreaseIndent();
    }
    ensureCursorVisible();
    return true;
}

void CSourceView::OnIncreaseIndent() {
    IndentLines(*this, m_indentUnit);
}

void CSourceView::OnDecreaseIndent() {
    UnindentLines(*this, m_indentUnit.SpaceStep());
}

QString CSourceView::IndentStatusText() const {
    return QString::fromStdString(IndentStyleText(m_indentUnit.Style()));
}

void CSourceView::OnGoToLine() {
    bool ok = false;
    const int lines = GetLineCount();
    int start = 0, end = 0;
    GetSel(start, end);
    const int line = QInputDialog::getInt(this, QStringLiteral("Go to Line"),
                                          QStringLiteral("&Line number (1 - %1):").arg(lines),
                                          LineFromChar(end) + 1, 1, lines, 1, &ok);
    if (ok) {
        GoToLine(line - 1);
    }
}

void CSourceView::GoToLine(int line) {
    const int target = std::clamp(line, 0, GetLineCount() - 1);
    const int start = LineIndex(target);
    SetSel(start, start);
    Send(SCI_SCROLLCARET);
    ShowWithContext(target);
    setFocus();
    UpdateCaretStatus();
}

void CSourceView::OnConvertLinebreaks() {
    if (IsReadOnly()) {
        return;
    }
    ConvertLinebreaks(*this);
    m_document.File().SetLineEnd(ELineEndStyle::CrLf);
    ColourAll(false);
}

void CSourceView::OnSyntaxColourUpdate() {
    ColourAll(false);
}

void CSourceView::OnFind() {
    m_finder->ShowFindDialog();
}

void CSourceView::OnReplace() {
    m_finder->ShowReplaceDialog();
}

void CSourceView::OnRepeat() {
    m_finder->Repeat();
}

void CSourceView::OnPrint() {
    PrintWithDialog();
}

void CSourceView::OnPrintPreview() {
    ShowPrintPreview();
}

QMenu* CSourceView::CreateTextPopup() {
    auto* menu = new QMenu(this);
    QAction* undoAction = menu->addAction(QStringLiteral("&Undo"), this, [this] { undo(); });
    undoAction->setEnabled(isUndoAvailable() && !IsReadOnly());
    menu->addSeparator();
    QAction* cutAction = menu->addAction(QStringLiteral("Cu&t"), this, [this] { cut(); });
    QAction* copyAction = menu->addAction(QStringLiteral("&Copy"), this, [this] { copy(); });
    QAction* pasteAction = menu->addAction(QStringLiteral("&Paste"), this, [this] { paste(); });
    cutAction->setEnabled(HasSelection() && !IsReadOnly());
    copyAction->setEnabled(HasSelection());
    pasteAction->setEnabled(!IsReadOnly());
    menu->addSeparator();
    menu->addAction(QStringLiteral("Select &All"), this, [this] { SetSel(0, -1); });
    menu->addSeparator();
    menu->addAction(QStringLiteral("&Syntax Colour Update"), this,
                    [this] { OnSyntaxColourUpdate(); });
    return menu;
}

void CSourceView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = CreateTextPopup();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}

} // namespace tovin
