#include "gui/editor/EditorAids.h"

#include "core/editor/TextCommands.h"
#include "core/platform/Files.h"
#include "core/process/ProcessRunner.h"
#include "gui/editor/SourceDocument.h"
#include "gui/editor/SourceView.h"
#include "gui/process/ProcessWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHelpEvent>
#include <QPalette>
#include <QStringList>
#include <QTimer>
#include <QToolTip>
#include <Qsci/qscicommandset.h>

#include <algorithm>
#include <cstring>

namespace tovin {

namespace {

using Sci = QsciScintillaBase;

constexpr int kNumberMargin = 0;
constexpr int kMarkMargin = 1;
constexpr int kMarkMask = (1 << CViewAids::kErrorMarker) | (1 << CViewAids::kWarningMarker);
// Room on both sides of the numbers, in pixels.
constexpr int kNumberPadding = 10;
// The fewest digits the number margin has room for, so short files do not widen it at once.
constexpr int kMinDigits = 2;

// Colour references (0x00BBGGRR).
constexpr long kErrorFill = 0x2828D8;    // red
constexpr long kErrorEdge = 0x10107A;    // dark red
constexpr long kWarningFill = 0x00B4F0;  // amber
constexpr long kWarningEdge = 0x005A80;  // brown
constexpr long kBraceBack = 0xF0D8A8;    // light blue
constexpr long kBadBraceBack = 0xC8C8FF; // pink
constexpr long kBadBraceFore = 0x0000C0; // red

long Reference(const QColor& colour) {
    return static_cast<long>(ColourReference(colour));
}

int Digits(int number) {
    int digits = 1;
    for (; number >= 10; number /= 10) {
        ++digits;
    }
    return digits;
}

// The path as the file system knows it, so "/a/./b/../A.java" and a link name the same file.
QString ComparablePath(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace

// ---------------------------------------------------------------- CViewAids

CViewAids::CViewAids(CSourceView& view) : QObject(&view), m_view(view) {
    m_view.Send(Sci::SCI_SETMARGINTYPEN, kNumberMargin, Sci::SC_MARGIN_NUMBER);
    m_view.Send(Sci::SCI_SETMARGINMASKN, kNumberMargin, 0);
    m_view.Send(Sci::SCI_SETMARGINTYPEN, kMarkMargin, Sci::SC_MARGIN_SYMBOL);
    m_view.Send(Sci::SCI_SETMARGINMASKN, kMarkMargin, kMarkMask);
    // Different in shape as well as in colour: a red circle, an amber arrow.
    const struct {
        int marker;
        int symbol;
        long fill;
        long edge;
    } markers[] = {
        // A square: the breakpoint's red circle shares the margin's neighbourhood.
        {kErrorMarker, Sci::SC_MARK_SMALLRECT, kErrorFill, kErrorEdge},
        {kWarningMarker, Sci::SC_MARK_ARROW, kWarningFill, kWarningEdge},
    };
    for (const auto& marker : markers) {
        const auto number = static_cast<unsigned long>(marker.marker);
        m_view.Send(Sci::SCI_MARKERDEFINE, number, marker.symbol);
        m_view.Send(Sci::SCI_MARKERSETBACK, number, marker.fill);
        m_view.Send(Sci::SCI_MARKERSETFORE, number, marker.edge);
    }
    for (const auto& [indicator, colour] :
         {std::pair{kErrorIndicator, kErrorFill}, std::pair{kWarningIndicator, kWarningEdge}}) {
        m_view.Send(Sci::SCI_INDICSETSTYLE, static_cast<unsigned long>(indicator),
                    Sci::INDIC_SQUIGGLE);
        m_view.Send(Sci::SCI_INDICSETFORE, static_cast<unsigned long>(indicator), colour);
    }
    // Redo's second key, beside Ctrl+Y: Scintilla binds none.
    if (QsciCommand* redo = m_view.standardCommands()->find(QsciCommand::Redo)) {
        redo->setAlternateKey(QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z).toCombined());
    }
    Restyle();
    connect(&m_view, &QsciScintillaBase::SCN_UPDATEUI, this, &CViewAids::OnUpdateUi);
    m_viewport = m_view.viewport();
    m_viewport->installEventFilter(this);
}

void CViewAids::Restyle() {
    const QPalette palette = QApplication::palette();
    m_view.Send(Sci::SCI_STYLESETBACK, Sci::STYLE_LINENUMBER,
                Reference(palette.color(QPalette::Active, QPalette::Window)));
    m_view.Send(Sci::SCI_STYLESETFORE, Sci::STYLE_LINENUMBER,
                Reference(palette.color(QPalette::Disabled, QPalette::WindowText)));
    m_view.Send(Sci::SCI_STYLESETBACK, Sci::STYLE_BRACELIGHT, kBraceBack);
    m_view.Send(Sci::SCI_STYLESETBACK, Sci::STYLE_BRACEBAD, kBadBraceBack);
    m_view.Send(Sci::SCI_STYLESETFORE, Sci::STYLE_BRACEBAD, kBadBraceFore);
    FitLineNumberWidth(true);
    UpdateMarkMargin();
}

void CViewAids::ShowLineNumbers(bool shown) {
    m_lineNumbers = shown;
    FitLineNumberWidth(true);
}

// Only a change in the number of digits costs a measurement; typing asks for the line count.
void CViewAids::FitLineNumberWidth(bool force) {
    const int digits = std::max(kMinDigits, Digits(m_view.GetLineCount()));
    if (!force && digits == m_digits) {
        return;
    }
    m_digits = digits;
    long width = 0;
    if (m_lineNumbers) {
        const std::string widest(static_cast<size_t>(digits), '9');
        width = m_view.SendScintilla(Sci::SCI_TEXTWIDTH, Sci::STYLE_LINENUMBER, widest.c_str()) +
                kNumberPadding;
    }
    m_view.Send(Sci::SCI_SETMARGINWIDTHN, kNumberMargin, width);
}

void CViewAids::UpdateMarkMargin() {
    const bool marked =
        !m_view.Document().CompilerMarks().empty() || !m_view.Document().CheckMarks().empty();
    const long width = marked ? std::clamp<long>(m_view.Send(Sci::SCI_TEXTHEIGHT, 0), 12, 24) : 0;
    if (m_view.Send(Sci::SCI_GETMARGINWIDTHN, kMarkMargin) != width) {
        m_view.Send(Sci::SCI_SETMARGINWIDTHN, kMarkMargin, width);
    }
}

QString CViewAids::MessagesOnLine(int line) const {
    QStringList texts;
    for (const auto* marks :
         {&m_view.Document().CompilerMarks(), &m_view.Document().CheckMarks()}) {
        for (const SCompilerMark& mark : *marks) {
            if (m_view.Send(Sci::SCI_MARKERLINEFROMHANDLE,
                            static_cast<unsigned long>(mark.handle)) == line) {
                texts << mark.text;
            }
        }
    }
    return texts.join('\n');
}

void CViewAids::RefreshCaretLineMessages() {
    m_caretLine = -1;
    ShowCaretLineMessages();
}

// Scintilla reports this as it starts to paint: a margin that changes its width then takes
// effect after the paint, and the status message reaches other widgets when the paint is done.
void CViewAids::OnUpdateUi(int updated) {
    if ((updated & Sci::SC_UPDATE_CONTENT) &&
        std::max(kMinDigits, Digits(m_view.GetLineCount())) != m_digits) {
        QTimer::singleShot(0, this, [this] { FitLineNumberWidth(false); });
    }
    if (updated & (Sci::SC_UPDATE_CONTENT | Sci::SC_UPDATE_SELECTION)) {
        MatchBrace();
        ShowCaretLineMessages();
    }
}

bool CViewAids::IsCodeBrace(long position) const {
    if (position < 0 || position >= m_view.GetLength()) {
        return false;
    }
    const auto c =
        static_cast<char>(m_view.Send(Sci::SCI_GETCHARAT, static_cast<unsigned long>(position)));
    return c != '\0' && std::strchr("()[]{}", c) != nullptr &&
           m_view.GetClassAt(static_cast<int>(position)) == ETokenClass::Normal;
}

// The brace before the caret first (the one just typed), else the one after it.
void CViewAids::MatchBrace() {
    const long caret = m_view.Send(Sci::SCI_GETCURRENTPOS);
    long at = -1;
    if (IsCodeBrace(caret - 1)) {
        at = caret - 1;
    } else if (IsCodeBrace(caret)) {
        at = caret;
    }
    const long partner = at >= 0 ? FindBracePartner(m_view, static_cast<int>(at)) : kPartnerTooFar;
    const int brace = partner >= 0 ? static_cast<int>(at) : -1;
    const int unmatched = partner == kNoPartner ? static_cast<int>(at) : -1;
    if (brace == m_brace && static_cast<int>(partner) == m_partner && unmatched == m_unmatched) {
        return;
    }
    m_brace = brace;
    m_partner = brace >= 0 ? static_cast<int>(partner) : -1;
    // Neither found nor known to be missing: nothing is shown.
    m_unmatched = unmatched;
    if (unmatched >= 0) {
        m_view.Send(Sci::SCI_BRACEBADLIGHT, static_cast<unsigned long>(unmatched));
    } else {
        m_view.Send(Sci::SCI_BRACEHIGHLIGHT, static_cast<unsigned long>(m_brace), m_partner);
    }
}

void CViewAids::ShowCaretLineMessages() {
    const int line = m_view.LineFromChar(static_cast<int>(m_view.Send(Sci::SCI_GETCURRENTPOS)));
    if (line == m_caretLine) {
        return;
    }
    m_caretLine = line;
    QString message;
    if ((m_view.Send(Sci::SCI_MARKERGET, static_cast<unsigned long>(line)) & kMarkMask) != 0) {
        message = MessagesOnLine(line);
    } else if (!m_onMarkedLine) {
        return;
    }
    m_onMarkedLine = !message.isEmpty();
    QTimer::singleShot(0, this, [this, message] { emit StatusMessage(message); });
}

// A tool tip over the margins of a marked line shows its messages. The viewport is compared with
// the one kept, not asked of the view: it still sends events while the view is taken down.
bool CViewAids::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_viewport || event->type() != QEvent::ToolTip) {
        return false;
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const long margins = m_view.Send(Sci::SCI_GETMARGINWIDTHN, kNumberMargin) +
                         m_view.Send(Sci::SCI_GETMARGINWIDTHN, kMarkMargin);
    long position = -1;
    if (help->pos().x() >= margins) {
        // Over the text: only an underlined range has something to say.
        position = m_view.Send(Sci::SCI_POSITIONFROMPOINTCLOSE,
                               static_cast<unsigned long>(help->pos().x()), help->pos().y());
        if (position < 0 ||
            (m_view.Send(Sci::SCI_INDICATORVALUEAT, kErrorIndicator, position) == 0 &&
             m_view.Send(Sci::SCI_INDICATORVALUEAT, kWarningIndicator, position) == 0)) {
            return false;
        }
    } else {
        position = m_view.Send(Sci::SCI_POSITIONFROMPOINT, static_cast<unsigned long>(margins),
                               help->pos().y());
    }
    const QString text = MessagesOnLine(m_view.LineFromChar(static_cast<int>(position)));
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(help->globalPos(), text, m_view.viewport());
    }
    return true;
}

// ---------------------------------------------------------------- CEditorAids

CEditorAids::CEditorAids(bool lineNumbers, QObject* parent)
    : QObject(parent), m_lineNumbers(lineNumbers) {}

std::vector<CSourceView*> CEditorAids::Views() {
    std::erase_if(m_views, [](const QPointer<CSourceView>& view) { return view.isNull(); });
    std::vector<CSourceView*> views;
    for (const QPointer<CSourceView>& view : m_views) {
        views.push_back(view.data());
    }
    return views;
}

void CEditorAids::SetLineNumbers(bool shown) {
    m_lineNumbers = shown;
    for (CSourceView* view : Views()) {
        view->Aids().ShowLineNumbers(shown);
    }
}

void CEditorAids::AddView(CSourceView& view) {
    m_views.emplace_back(&view);
    view.Aids().ShowLineNumbers(m_lineNumbers);
    // The marks are in the text, which the views of one document share.
    if (view.Document().FirstView() == &view) {
        MarkDocument(view.Document());
    } else {
        view.Aids().UpdateMarkMargin();
    }
}

void CEditorAids::SetCompilerMessages(std::vector<SCompilerMessage> messages) {
    m_messages = std::move(messages);
    m_messagePaths.clear();
    for (const SCompilerMessage& message : m_messages) {
        m_messagePaths.push_back(ComparablePath(message.path));
    }
    std::vector<CSourceDocument*> documents;
    for (CSourceView* view : Views()) {
        if (std::find(documents.begin(), documents.end(), &view->Document()) == documents.end()) {
            documents.push_back(&view->Document());
        }
    }
    for (CSourceDocument* document : documents) {
        MarkDocument(*document);
    }
}

void CEditorAids::MarkDocument(CSourceDocument& document) {
    CSourceView* view = document.FirstView();
    if (!view) {
        return;
    }
    std::vector<SCompilerMark>& marks = document.CompilerMarks();
    for (const SCompilerMark& mark : marks) {
        view->Send(Sci::SCI_MARKERDELETEHANDLE, static_cast<unsigned long>(mark.handle));
    }
    marks.clear();
    if (!document.PathName().empty() && !m_messages.empty()) {
        const QString path = ComparablePath(document.PathName());
        for (size_t i = 0; i < m_messages.size(); ++i) {
            const SCompilerMessage& message = m_messages[i];
            if (message.line >= view->GetLineCount() || m_messagePaths[i] != path) {
                continue;
            }
            const int marker = message.error ? CViewAids::kErrorMarker : CViewAids::kWarningMarker;
            const long handle =
                view->Send(Sci::SCI_MARKERADD, static_cast<unsigned long>(message.line), marker);
            if (handle >= 0) {
                marks.push_back({static_cast<int>(handle), QString::fromStdString(message.text)});
            }
        }
    }
    for (CSourceView* shown : document.Views()) {
        shown->Aids().UpdateMarkMargin();
    }
}

// The byte position of a protocol position: a line and a count of UTF-16 units in it, which the
// line's own text converts. Positions past the line's end stop at its end.
static long PositionOf(CSourceView& view, int line, int character) {
    const long start = view.Send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long end = view.Send(Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
    if (start < 0 || character <= 0) {
        return std::max(start, 0L);
    }
    const QString text =
        QString::fromStdString(view.GetTextRange(static_cast<int>(start), static_cast<int>(end)));
    return start + QStringView(text).left(character).toUtf8().size();
}

void CEditorAids::ShowDiagnostics(CSourceDocument& document,
                                  const QList<SDiagnostic>& diagnostics) {
    CSourceView* view = document.FirstView();
    if (!view) {
        return;
    }
    std::vector<SCompilerMark>& marks = document.CheckMarks();
    for (const SCompilerMark& mark : marks) {
        view->Send(Sci::SCI_MARKERDELETEHANDLE, static_cast<unsigned long>(mark.handle));
    }
    marks.clear();
    const long length = view->GetLength();
    for (int indicator : {CViewAids::kErrorIndicator, CViewAids::kWarningIndicator}) {
        view->Send(Sci::SCI_SETINDICATORCURRENT, static_cast<unsigned long>(indicator));
        view->Send(Sci::SCI_INDICATORCLEARRANGE, 0, length);
    }
    const int lines = view->GetLineCount();
    for (const SDiagnostic& diagnostic : diagnostics) {
        if (diagnostic.severity > SDiagnostic::Warning || diagnostic.line >= lines) {
            continue;
        }
        const bool error = diagnostic.severity == SDiagnostic::Error;
        const long handle =
            view->Send(Sci::SCI_MARKERADD, static_cast<unsigned long>(diagnostic.line),
                       error ? CViewAids::kErrorMarker : CViewAids::kWarningMarker);
        if (handle >= 0) {
            marks.push_back({static_cast<int>(handle), diagnostic.message});
        }
        const long start = PositionOf(*view, diagnostic.line, diagnostic.character);
        long end = diagnostic.endLine < lines
                       ? PositionOf(*view, diagnostic.endLine, diagnostic.endCharacter)
                       : length;
        if (end <= start) {
            end = std::min(start + 1, length);
        }
        view->Send(Sci::SCI_SETINDICATORCURRENT,
                   static_cast<unsigned long>(error ? CViewAids::kErrorIndicator
                                                    : CViewAids::kWarningIndicator));
        view->Send(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(start), end - start);
    }
    for (CSourceView* shown : document.Views()) {
        shown->Aids().UpdateMarkMargin();
        shown->Aids().RefreshCaretLineMessages();
    }
}

void CEditorAids::FollowCompiles(CProcessWindow& window,
                                 std::function<bool(const CProcessRunner&)> isCompiler) {
    connect(&window, &CProcessWindow::runAttached, this,
            [this, &window, isCompiler = std::move(isCompiler)] {
                const CProcessRunner* runner = window.Runner();
                m_followingCompile = runner && isCompiler(*runner);
                if (m_followingCompile) {
                    for (CSourceView* view : Views()) {
                        if (!view->Document().CheckMarks().empty()) {
                            ShowDiagnostics(view->Document(), {});
                        }
                    }
                    m_compileFolder = runner->GetWorkingDirectory();
                    if (m_compileFolder.empty()) {
                        m_compileFolder = CurrentFolder();
                    }
                    SetCompilerMessages({});
                }
            });
    connect(&window, &CProcessWindow::runCompleted, this, [this, &window] {
        if (m_followingCompile) {
            m_followingCompile = false;
            SetCompilerMessages(tovin::CompilerMessages(window.Text(), m_compileFolder));
        }
    });
}

} // namespace tovin
