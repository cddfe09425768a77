#include "gui/editor/ScintillaEdit.h"

#include "core/app/Settings.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QFontInfo>
#include <QPainter>
#include <QPalette>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <Qsci/qscicommandset.h>
#include <Qsci/qsciprinter.h>

#include <algorithm>
#include <bit>
#include <string_view>

namespace tovin {

namespace {

using Sci = QsciScintillaBase;

constexpr int kLeftMarginPixels = 8;
// Every change of a line lays all of it out again, measuring each run of one style; measured
// runs of a few characters are remembered in the control's position cache, 16 bytes a place.
// A line of a megabyte holds tens of thousands of different runs: with QScintilla's default of
// 1,024 places a key press there re-measured nearly all of them and took over a second. The
// cache starts at 2 MB and grows with the file's longest line, a place per character, to 16 MB.
constexpr unsigned long kMinPositionCache = 1 << 17;
constexpr unsigned long kMaxPositionCache = 1 << 20;
constexpr int kMarginCount = 5;
constexpr double kPrintMarginInches = 0.5;
// The performed-by flags (user, undo, redo) are left out: every modification carries one, so
// they would let every kind through.
constexpr long kChangeEvents = Sci::SC_MOD_BEFOREINSERT | Sci::SC_MOD_BEFOREDELETE;
constexpr long kAllEvents = Sci::SC_MODEVENTMASKALL;

const ETokenClass kClassOfStyle[] = {ETokenClass::Normal, ETokenClass::Keyword,
                                     ETokenClass::Comment, ETokenClass::String, ETokenClass::Tag};

// Qt makes a control's accessibility object when the control is shown, screen reader or not,
// and QScintilla's object counts the characters from the start of the text up to the caret
// each time the caret moves: a paint after a key press at the end of a large file took a
// time in proportion to its size. Until a screen reader is active the control gets a plain
// widget object instead (it is asked before QScintilla's, which is registered for a base class).
QAccessibleInterface* PlainAccessibleWhileInactive(const QString& key, QObject* object) {
    if (QAccessible::isActive() ||
        key != QLatin1String(CScintillaEdit::staticMetaObject.className())) {
        return nullptr;
    }
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::EditableText);
}

} // namespace

int StyleOfClass(ETokenClass cls) {
    switch (cls) {
    case ETokenClass::Keyword:
        return 1;
    case ETokenClass::Comment:
        return 2;
    case ETokenClass::String:
        return 3;
    case ETokenClass::Tag:
        return 4;
    case ETokenClass::Normal:
        break;
    }
    return 0;
}

std::uint32_t ColourReference(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) |
           static_cast<std::uint32_t>(colour.green()) << 8 |
           static_cast<std::uint32_t>(colour.blue()) << 16;
}

SEditorAppearance SEditorAppearance::FromSettings(const CSettings& settings) {
    SEditorAppearance appearance;
    appearance.fontName = settings.fontName;
    appearance.fontSizeTenths = settings.fontSize;
    appearance.tabWidth = settings.tabWidth;
    appearance.normalColour =
        ColourReference(QApplication::palette().color(QPalette::Active, QPalette::WindowText));
    appearance.keywordColour = settings.keyColor;
    appearance.commentColour = settings.commentColor;
    appearance.stringColour = settings.stringColor;
    appearance.tagColour = settings.tagColor;
    return appearance;
}

CScintillaEdit::CScintillaEdit(QWidget* parent) : QsciScintilla(parent) {
    ConfigureControl();
    RemoveConflictingKeys();
    ApplyAppearance(m_appearance);
    connect(this, &QsciScintilla::modificationChanged, this,
            [this](bool) { EmitModifiedIfChanged(); });
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
                BeforeTextChange(position, type, length);
            });
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(PlainAccessibleWhileInactive);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    QAccessible::installActivationObserver(this);
}

CScintillaEdit::~CScintillaEdit() {
    QAccessible::removeActivationObserver(this);
}

void CScintillaEdit::ConfigureControl() {
    setUtf8(true);
    Send(SCI_SETEOLMODE, SC_EOL_CRLF);
    Send(SCI_SETPASTECONVERTENDINGS, 1);
    Send(SCI_SETWRAPMODE, SC_WRAP_NONE);
    Send(SCI_SETUSETABS, 1);
    Send(SCI_SETUNDOCOLLECTION, 1);
    // No lexer: the views colour the text themselves through the styles.
    setLexer(nullptr);
    for (int margin = 0; margin < kMarginCount; ++margin) {
        Send(SCI_SETMARGINWIDTHN, static_cast<unsigned long>(margin), 0);
    }
    Send(SCI_SETMARGINLEFT, 0, kLeftMarginPixels);
    Send(SCI_SETSCROLLWIDTH, 1);
    Send(SCI_SETSCROLLWIDTHTRACKING, 1);
    Send(SCI_SETPOSITIONCACHE, kMinPositionCache);
    SetModificationEvents();
}

// QScintilla computes an accessibility event for each "inserted" and "deleted" notification,
// with an offset counted from the start of the text, whether or not a client listens: without
// those notifications typing costs the same at the end of a large file as in an empty one. A
// screen reader needs the events, so while one is active every notification is let through.
void CScintillaEdit::SetModificationEvents() {
    SetModificationEvents(QAccessible::isActive());
}

void CScintillaEdit::SetModificationEvents(bool accessible) {
    Send(SCI_SETMODEVENTMASK, accessible ? kAllEvents : kChangeEvents);
}

void CScintillaEdit::accessibilityActiveChanged(bool active) {
    SetModificationEvents(active);
    // The object made for the other state goes; the next query makes the one for this state.
    if (QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(this)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(accessible));
    }
}

// Scintilla's own bindings for keys the menus use (Ctrl+[ and Ctrl+] move by paragraph there,
// Ctrl+L cuts the line, Ctrl+T swaps two lines) would take the keys from the menu commands.
void CScintillaEdit::RemoveConflictingKeys() {
    const int keys[] = {QKeyCombination(Qt::CTRL, Qt::Key_L).toCombined(),
                        QKeyCombination(Qt::CTRL, Qt::Key_T).toCombined(),
                        QKeyCombination(Qt::CTRL, Qt::Key_BracketLeft).toCombined(),
                        QKeyCombination(Qt::CTRL, Qt::Key_BracketRight).toCombined(),
                        QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_BracketLeft).toCombined(),
                        QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_BracketRight).toCombined(),
                        // The Java engine's help (Complete, Parameter Info, Show Documentation).
                        QKeyCombination(Qt::CTRL, Qt::Key_Space).toCombined(),
                        QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Space).toCombined(),
                        QKeyCombination(Qt::CTRL, Qt::Key_Q).toCombined(),
                        QKeyCombination(Qt::NoModifier, Qt::Key_F12).toCombined(),
                        QKeyCombination(Qt::SHIFT, Qt::Key_F12).toCombined()};
    QsciCommandSet* commands = standardCommands();
    for (int key : keys) {
        while (QsciCommand* command = commands->boundTo(key)) {
            if (command->key() == key) {
                command->setKey(0);
            }
            if (command->alternateKey() == key) {
                command->setAlternateKey(0);
            }
        }
    }
}

void CScintillaEdit::ApplyAppearance(const SEditorAppearance& appearance) {
    m_appearance = appearance;
    const QByteArray family = ResolvedFontFamily().toUtf8();
    const QColor base = palette().color(QPalette::Active, QPalette::Base);
    SendScintilla(SCI_STYLESETFONT, static_cast<uintptr_t>(STYLE_DEFAULT), family.constData());
    Send(SCI_STYLESETSIZEFRACTIONAL, STYLE_DEFAULT,
         std::max(1, appearance.fontSizeTenths) * SC_FONT_SIZE_MULTIPLIER / 10);
    Send(SCI_STYLESETFORE, STYLE_DEFAULT, static_cast<long>(appearance.normalColour));
    Send(SCI_STYLESETBACK, STYLE_DEFAULT, static_cast<long>(ColourReference(base)));
    Send(SCI_STYLECLEARALL);
    const std::pair<ETokenClass, std::uint32_t> colours[] = {
        {ETokenClass::Keyword, appearance.keywordColour},
        {ETokenClass::Comment, appearance.commentColour},
        {ETokenClass::String, appearance.stringColour},
        {ETokenClass::Tag, appearance.tagColour},
    };
    for (const auto& [cls, colour] : colours) {
        Send(SCI_STYLESETFORE, static_cast<unsigned long>(StyleOfClass(cls)),
             static_cast<long>(colour));
    }
    Send(SCI_SETTABWIDTH, static_cast<unsigned long>(std::max(1, appearance.tabWidth)));
}

QString CScintillaEdit::ResolvedFontFamily() const {
    QFont font(QString::fromStdString(m_appearance.fontName));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSizeF(std::max(1, m_appearance.fontSizeTenths) / 10.0);
    return QFontInfo(font).family();
}

void CScintillaEdit::SetEightBit(bool eightBit) {
    setUtf8(!eightBit);
}

void CScintillaEdit::ShareTextOf(const CScintillaEdit& other) {
    setDocument(other.document());
    m_lineStateValidity = other.m_lineStateValidity;
    // The document's own settings (line-end mode, code page, tab width) are set again, as
    // attaching a document can reset them in this view.
    ConfigureControl();
    Send(SCI_SETPOSITIONCACHE, static_cast<unsigned long>(other.Send(SCI_GETPOSITIONCACHE)));
    SetEightBit(other.IsEightBit());
    ApplyAppearance(m_appearance);
}

void CScintillaEdit::LoadText(const std::string& text) {
    const bool readOnly = IsReadOnly();
    Send(SCI_SETREADONLY, 0);
    Send(SCI_SETUNDOCOLLECTION, 0);
    Send(SCI_CLEARALL);
    FitPositionCache(text);
    SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(text.size()), text.data());
    Send(SCI_SETUNDOCOLLECTION, 1);
    Send(SCI_EMPTYUNDOBUFFER);
    Send(SCI_SETREADONLY, readOnly ? 1 : 0);
    // To the start without asking for the caret to be shown: that would lay out the whole first
    // line at once, which on a single line of a megabyte takes the better part of a second.
    Send(SCI_SETEMPTYSELECTION, 0);
    Send(SCI_SETFIRSTVISIBLELINE, 0);
    Send(SCI_SETXOFFSET, 0);
    SetModify(false);
}

void CScintillaEdit::FitPositionCache(const std::string& text) {
    size_t longest = 0;
    for (std::string_view rest(text); !rest.empty();) {
        const size_t length = std::min(rest.find('\n'), rest.size());
        longest = std::max(longest, length);
        rest.remove_prefix(std::min(length + 1, rest.size()));
    }
    const unsigned long places =
        std::clamp<unsigned long>(std::bit_ceil(longest), kMinPositionCache, kMaxPositionCache);
    // Setting the size empties the cache, so it is set only when it changes.
    if (static_cast<unsigned long>(Send(SCI_GETPOSITIONCACHE)) != places) {
        Send(SCI_SETPOSITIONCACHE, places);
    }
}

std::string CScintillaEdit::GetText() const {
    return GetTextRange(0, GetLength());
}

int CScintillaEdit::GetLength() const {
    return static_cast<int>(Send(SCI_GETLENGTH));
}

std::string CScintillaEdit::GetTextRange(int start, int end) const {
    const int length = GetLength();
    start = std::clamp(start, 0, length);
    end = std::clamp(end, start, length);
    if (end == start) {
        return {};
    }
    // Read in place; the buffer's gap moves only when the range spans it.
    const auto* data = reinterpret_cast<const char*>(
        Send(SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), end - start));
    return std::string(data, data + (end - start));
}

void CScintillaEdit::SetText(const std::string& text) {
    if (IsReadOnly()) {
        return;
    }
    BeginUndoAction();
    Send(SCI_CLEARALL);
    FitPositionCache(text);
    SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(text.size()), text.data());
    EndUndoAction();
    Send(SCI_SETEMPTYSELECTION, 0);
}

void CScintillaEdit::GetSel(int& start, int& end) const {
    start = static_cast<int>(Send(SCI_GETSELECTIONSTART));
    end = static_cast<int>(Send(SCI_GETSELECTIONEND));
}

void CScintillaEdit::SetSel(int start, int end) {
    const int length = GetLength();
    if (end < 0) {
        end = length;
    }
    start = std::clamp(start, 0, length);
    end = std::clamp(end, 0, length);
    if (end < start) {
        std::swap(start, end);
    }
    Send(SCI_SETSEL, static_cast<unsigned long>(start), end);
}

std::string CScintillaEdit::GetSelText() const {
    int start = 0, end = 0;
    GetSel(start, end);
    return GetTextRange(start, end);
}

void CScintillaEdit::ReplaceSel(const std::string& text) {
    if (IsReadOnly()) {
        return;
    }
    Send(SCI_TARGETFROMSELECTION);
    SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(text.size()), text.data());
    const long end = Send(SCI_GETTARGETEND);
    Send(SCI_SETSEL, static_cast<unsigned long>(end), end);
}

int CScintillaEdit::LineFromChar(int position) const {
    return static_cast<int>(
        Send(SCI_LINEFROMPOSITION, static_cast<unsigned long>(std::max(0, position))));
}

int CScintillaEdit::LineIndex(int line) const {
    if (line < 0 || line >= GetLineCount()) {
        return -1;
    }
    return static_cast<int>(Send(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line)));
}

int CScintillaEdit::GetLineCount() const {
    return static_cast<int>(Send(SCI_GETLINECOUNT));
}

ETokenClass CScintillaEdit::GetClassAt(int position) const {
    if (position < 0 || position >= GetLength()) {
        return ETokenClass::Normal;
    }
    const long style = Send(SCI_GETSTYLEAT, static_cast<unsigned long>(position));
    return style >= 0 && style < static_cast<long>(std::size(kClassOfStyle)) ? kClassOfStyle[style]
                                                                             : ETokenClass::Normal;
}

bool CScintillaEdit::IsRangeClass(int start, int end, ETokenClass cls) const {
    start = std::clamp(start, 0, GetLength());
    end = std::clamp(end, start, GetLength());
    if (end == start) {
        return true;
    }
    // One read of the range: characters and their styles alternate.
    const size_t count = static_cast<size_t>(end - start);
    m_styledText.resize(2 * count + 2);
    SendScintilla(SCI_GETSTYLEDTEXT, static_cast<long>(start), static_cast<long>(end),
                  m_styledText.data());
    const auto style = static_cast<char>(StyleOfClass(cls));
    for (size_t i = 1; i < 2 * count; i += 2) {
        if (m_styledText[i] != style) {
            return false;
        }
    }
    return true;
}

std::vector<ETokenClass> CScintillaEdit::GetClasses(int start, int end) const {
    start = std::clamp(start, 0, GetLength());
    end = std::clamp(end, start, GetLength());
    const auto count = static_cast<size_t>(end - start);
    std::vector<ETokenClass> classes(count, ETokenClass{0});
    if (count == 0) {
        return classes;
    }
    m_styledText.resize(2 * count + 2);
    SendScintilla(SCI_GETSTYLEDTEXT, static_cast<long>(start), static_cast<long>(end),
                  m_styledText.data());
    for (size_t i = 0; i < count; ++i) {
        const auto style = static_cast<unsigned char>(m_styledText[2 * i + 1]);
        if (style < std::size(kClassOfStyle)) {
            classes[i] = kClassOfStyle[style];
        }
    }
    return classes;
}

int CScintillaEdit::GetLineState(int line) const {
    return static_cast<int>(Send(SCI_GETLINESTATE, static_cast<unsigned long>(std::max(0, line))));
}

// Not checked against the line count: that would ask the control once more for every line of a
// long walk, and the colouring only names lines of the text.
void CScintillaEdit::SetLineState(int line, int state) {
    if (line >= 0) {
        Send(SCI_SETLINESTATE, static_cast<unsigned long>(line), state);
    }
}

void CScintillaEdit::BeforeTextChange(int position, int type, int length) {
    const bool insert = (type & SC_MOD_BEFOREINSERT) != 0;
    if (!insert && (type & SC_MOD_BEFOREDELETE) == 0) {
        return;
    }
    m_lineStateValidity->BeforeChange(LineFromChar(position),
                                      LineFromChar(insert ? position : position + length),
                                      GetLineCount());
}

void CScintillaEdit::SetRangeClass(int start, int end, ETokenClass cls) {
    start = std::clamp(start, 0, GetLength());
    end = std::clamp(end, start, GetLength());
    if (end == start) {
        return;
    }
    Send(SCI_STARTSTYLING, static_cast<unsigned long>(start));
    Send(SCI_SETSTYLING, static_cast<unsigned long>(end - start), StyleOfClass(cls));
}

bool CScintillaEdit::GetModify() const {
    return m_markedModified || Send(SCI_GETMODIFY) != 0;
}

void CScintillaEdit::SetModify(bool modified) {
    // A text already away from its save point needs no mark, so undoing back to the save point
    // makes it unmodified again.
    m_markedModified = modified && Send(SCI_GETMODIFY) == 0;
    if (!modified) {
        Send(SCI_SETSAVEPOINT);
    }
    EmitModifiedIfChanged();
}

void CScintillaEdit::EmitModifiedIfChanged() {
    const bool modified = GetModify();
    if (modified != m_lastModified) {
        m_lastModified = modified;
        emit ModifiedChanged(modified);
    }
}

bool CScintillaEdit::IsReadOnly() const {
    return Send(SCI_GETREADONLY) != 0;
}

void CScintillaEdit::SetReadOnly(bool readOnly) {
    Send(SCI_SETREADONLY, readOnly ? 1 : 0);
}

void CScintillaEdit::HideSelection(bool hide) {
    Send(SCI_HIDESELECTION, hide ? 1 : 0);
}

void CScintillaEdit::SetRedraw(bool on) {
    viewport()->setUpdatesEnabled(on);
    if (on) {
        viewport()->update();
    }
}

int CScintillaEdit::GetFirstVisibleLine() const {
    return static_cast<int>(Send(SCI_GETFIRSTVISIBLELINE));
}

void CScintillaEdit::SetFirstVisibleLine(int line) {
    Send(SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(std::max(0, line)));
}

void CScintillaEdit::BeginUndoAction() {
    Send(SCI_BEGINUNDOACTION);
}

void CScintillaEdit::EndUndoAction() {
    Send(SCI_ENDUNDOACTION);
}

namespace {

void SetPrintMargins(QPrinter& printer) {
    printer.setPageMargins(
        QMarginsF(kPrintMarginInches, kPrintMarginInches, kPrintMarginInches, kPrintMarginInches),
        QPageLayout::Inch);
}

// The printer and page of `from`, with the editors' margins.
void TakePrinterSetup(QPrinter& to, const QPrinter* from) {
    if (from) {
        to.setPrinterName(from->printerName());
        to.setPageLayout(from->pageLayout());
    }
    SetPrintMargins(to);
}

void GivePrinterSetup(const QPrinter& from, QPrinter* to) {
    if (to) {
        to->setPrinterName(from.printerName());
        to->setPageLayout(from.pageLayout());
    }
}

} // namespace

bool CScintillaEdit::PrintTo(QsciPrinter& printer) {
    SetPrintMargins(printer);
    return printer.printRange(this) != 0;
}

void CScintillaEdit::PrintWithDialog(QPrinter* setup) {
    QsciPrinter printer(QPrinter::HighResolution);
    TakePrinterSetup(printer, setup);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) {
        PrintTo(printer);
        GivePrinterSetup(printer, setup);
    }
}

void CScintillaEdit::ShowPrintPreview(QPrinter* setup) {
    QsciPrinter printer(QPrinter::HighResolution);
    TakePrinterSetup(printer, setup);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this, &printer](QPrinter*) { printer.printRange(this); });
    preview.exec();
}

} // namespace tovin
