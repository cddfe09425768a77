#include "gui/process/ProcessWindow.h"

#include "gui/process/ProcessOutput.h"

#include "core/app/Settings.h"
#include "core/app/UiHost.h"
#include "core/platform/Files.h"
#include "core/process/ProcessRunner.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>
#include <algorithm>

namespace tovin {

namespace {

constexpr const char* kCaption = "Tovin";
constexpr const char* kInProgressMinus = "External process in progress --";
constexpr const char* kInProgressPlus = "External process in progress +";
constexpr const char* kComplete = "External process complete";
constexpr const char* kCantSave = "Can't save file!";
constexpr const char* kSaveFilter = "Text Files (*.txt)|*.txt||";
// The first line of a slice after a skip is looked for this far at most.
constexpr std::size_t kLineSearch = std::size_t(64) << 10;

// CR LF pairs become LF; a lone CR stays.
std::string WithLfLineEnds(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        result += text[i];
    }
    return result;
}

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

QFont FontFromSettings(const CSettings& settings) {
    QFont font(QString::fromStdString(settings.dlgFontName));
    if (settings.dlgFontSize > 0) {
        font.setPointSizeF(settings.dlgFontSize / 10.0);
    }
    // A face this machine lacks ("Courier New") falls back to a monospace one.
    font.setStyleHint(QFont::Monospace);
    return font;
}

} // namespace

CProcessWindow::CProcessWindow(CSettings& settings, CSettingsStore& store, CUiHost& host,
                               QWidget* parent)
    : QWidget(parent), m_settings(settings), m_store(store), m_host(host) {
    BuildControls();
    UseSettingsFont();

    m_pollTimer.setInterval(kPollMs);
    connect(&m_pollTimer, &QTimer::timeout, this, &CProcessWindow::Poll);
    m_drainTimer.setSingleShot(true);
    m_drainTimer.setInterval(0);
    connect(&m_drainTimer, &QTimer::timeout, this, [this] {
        ShowFor(kDrainBudgetMs);
        if (Backlog() > 0) {
            m_drainTimer.start();
        }
    });
    m_retireTimer.setInterval(kPollMs);
    connect(&m_retireTimer, &QTimer::timeout, this, &CProcessWindow::ReleaseFinishedRunners);

    m_chooseFont = [this](const QFont& current) -> std::optional<QFont> {
        bool ok = false;
        QFont chosen = QFontDialog::getFont(&ok, current, this);
        return ok ? std::optional<QFont>(chosen) : std::nullopt;
    };
}

// The runners' own destructors terminate a tool that still runs and wait for its reader.
CProcessWindow::~CProcessWindow() = default;

void CProcessWindow::BuildControls() {
    m_stop = new QPushButton(QStringLiteral("stop"), this);
    m_stop->setEnabled(false);
    m_stop->setAutoDefault(false);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setFixedWidth(160);
    m_status = new QLineEdit(this);
    m_status->setReadOnly(true);
    m_output = new CProcessOutput(this);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(2, 1, 2, 1);
    top->addWidget(m_stop);
    top->addWidget(m_progress);
    top->addWidget(m_status, 1);
    m_inputRow = new QWidget(this);
    auto* inputLabel = new QLabel(QStringLiteral("&Input:"), m_inputRow);
    m_input = new QLineEdit(m_inputRow);
    m_input->setPlaceholderText(QStringLiteral("Text for the program; Enter sends the line"));
    inputLabel->setBuddy(m_input);
    m_endInput = new QPushButton(QStringLiteral("&End Input"), m_inputRow);
    m_endInput->setAutoDefault(false);
    m_endInput->setToolTip(QStringLiteral("The program reads the end of its input (Ctrl+D)"));
    auto* inputLayout = new QHBoxLayout(m_inputRow);
    inputLayout->setContentsMargins(2, 1, 2, 1);
    inputLayout->addWidget(inputLabel);
    inputLayout->addWidget(m_input, 1);
    inputLayout->addWidget(m_endInput);
    m_inputRow->hide();
    // Ctrl+D ends the input as in a terminal (the line edit would take it for a deletion).
    m_input->installEventFilter(this);
    connect(m_input, &QLineEdit::returnPressed, this, &CProcessWindow::SendInputLine);
    connect(m_endInput, &QPushButton::clicked, this, &CProcessWindow::EndInput);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(top);
    column->addWidget(m_output, 1);
    column->addWidget(m_inputRow);

    auto* save = new QAction(QStringLiteral("Save Output..."), this);
    connect(save, &QAction::triggered, this, &CProcessWindow::SaveOutput);
    auto* font = new QAction(QStringLiteral("Font..."), this);
    connect(font, &QAction::triggered, this, &CProcessWindow::ChooseFont);
    m_output->AddContextAction(save);
    m_output->AddContextAction(font);

    connect(m_stop, &QPushButton::clicked, this, &CProcessWindow::RequestStop);
    connect(m_output, &CProcessOutput::lineDoubleClicked, this,
            &CProcessWindow::OnLineDoubleClicked);
}

// ---------------------------------------------------------------- runner

void CProcessWindow::Attach(std::unique_ptr<CProcessRunner> runner, const QString& caption) {
    m_status->setText(caption);
    Retire(std::move(m_runner));
    m_progress->setValue(0);
    m_pollTimer.stop();
    m_drainTimer.stop();
    m_text.Clear();
    m_fetched = 0;
    m_runnerSize = 0;
    m_shown = 0;
    ResetControl();

    m_runner = std::move(runner);
    m_stop->setEnabled(IsRunning());
    ShowInputRow(m_runner && m_runner->AcceptsInput());
    if (m_runner) {
        m_runnerSize = m_runner->GetOutputSize();
        m_polls = 0;
        m_toggle = true;
        // Even a tool that ended before it was attached completes through the poll.
        m_pollTimer.start();
        emit runAttached();
    }
}

void CProcessWindow::ShowInputRow(bool show) {
    // The focus goes back to the output rather than leaving with the hidden line.
    if (!show && m_input->hasFocus()) {
        m_output->setFocus();
    }
    m_input->clear();
    m_inputRow->setVisible(show);
}

bool CProcessWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_input && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_D && key->modifiers() == Qt::ControlModifier) {
            EndInput();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CProcessWindow::SendInputLine() {
    if (!m_runner || !m_runner->AcceptsInput()) {
        return;
    }
    const std::string line = m_input->text().toStdString() + "\n";
    m_input->clear();
    // Shown where the program's output stands, as a terminal echoes what is typed.
    m_runner->AppendOutput(line);
    m_runner->WriteInput(line);
}

void CProcessWindow::EndInput() {
    if (m_runner) {
        m_runner->CloseInput();
    }
    ShowInputRow(false);
}

bool CProcessWindow::IsRunning() const {
    return m_runner && !m_runner->IsFinished();
}

void CProcessWindow::RequestStop() {
    if (!IsRunning()) {
        return;
    }
    if (m_host.MessageBox(kStopQuestion, kCaption, EMsgButtons::OkCancel, EMsgIcon::Warning) !=
        EMsgAnswer::Ok) {
        return;
    }
    // The question may have outlived the tool; Terminate then does nothing.
    if (m_runner) {
        m_runner->Terminate(CProcessRunner::kAbortExitCode);
    }
}

void CProcessWindow::Poll() {
    if (++m_polls % kPollsPerTick == 0) {
        Animate();
    }
    // Read before the size: a finished runner's text is then complete at that size.
    const bool finished = m_runner->IsFinished();
    m_runnerSize = m_runner->GetOutputSize();
    if (!finished) {
        m_stop->setEnabled(true);
        m_runner->FlushInput();
        // More than the control keeps has come since the last poll: what would be placed now
        // would only be dropped again, so the newest text waits for the next tick.
        if (Backlog() > m_shownLimit && m_polls % kPollsPerTick != 0) {
            return;
        }
        ShowSlice(kSliceBytes, true);
        return;
    }
    ShowFor(kDrainBudgetMs);
    if (Backlog() == 0) {
        Complete();
    }
}

void CProcessWindow::Animate() {
    emit statusTextChanged(QString::fromLatin1(m_toggle ? kInProgressMinus : kInProgressPlus));
    m_toggle = !m_toggle;
    // Steps past the maximum wrap to the start, as the progress animation expects.
    const int next = m_progress->value() + 1;
    m_progress->setValue(next > m_progress->maximum() ? m_progress->minimum() : next);
}

void CProcessWindow::Complete() {
    m_stop->setEnabled(false);
    m_runner->FlushInput(); // the input of a run that has ended is closed
    ShowInputRow(false);
    m_progress->setValue(m_progress->maximum());
    emit statusTextChanged(QString::fromLatin1(kComplete));
    m_pollTimer.stop();
    emit runCompleted();
}

void CProcessWindow::Retire(std::unique_ptr<CProcessRunner> runner) {
    if (!runner) {
        return;
    }
    if (!runner->IsFinished()) {
        runner->Terminate(CProcessRunner::kAbortExitCode);
        m_retiring.push_back(std::move(runner));
        m_retireTimer.start();
    }
}

void CProcessWindow::ReleaseFinishedRunners() {
    std::erase_if(m_retiring, [](const auto& runner) { return runner->IsFinished(); });
    if (m_retiring.empty()) {
        m_retireTimer.stop();
    }
}

// ---------------------------------------------------------------- output text

std::size_t CProcessWindow::TextSize() const {
    return m_text.Size() + (m_runner ? m_runnerSize - m_fetched : 0);
}

std::string CProcessWindow::ReadText(std::size_t offset, std::size_t count) const {
    std::string bytes = m_text.CopyRange(offset, count);
    if (m_runner && bytes.size() < count) {
        const std::size_t from = m_fetched + (offset + bytes.size() - m_text.Size());
        if (from < m_runnerSize) {
            bytes +=
                m_runner->GetOutputRange(from, std::min(count - bytes.size(), m_runnerSize - from));
        }
    }
    return bytes;
}

std::string CProcessWindow::Text() const {
    return ReadText(0, TextSize());
}

void CProcessWindow::TakeOverRunnerText() {
    if (!m_runner) {
        return;
    }
    m_runnerSize = m_runner->GetOutputSize();
    constexpr std::size_t kPiece = std::size_t(1) << 20;
    while (m_fetched < m_runnerSize) {
        const std::string piece = m_runner->GetOutputRange(m_fetched, kPiece);
        m_text.Append(piece);
        m_fetched += piece.size();
    }
    // A completed run has nothing more to give.
    if (IsComplete()) {
        m_runner.reset();
    }
}

void CProcessWindow::AppendLine(const std::string& text) {
    // Text the tool prints later comes after this text.
    TakeOverRunnerText();
    m_text.Append(text);
    // While a runner is attached its poll places the text.
    if (m_pollTimer.isActive()) {
        return;
    }
    ShowSlice(kDrainSliceBytes, false);
    if (Backlog() > 0) {
        m_drainTimer.start();
    }
}

void CProcessWindow::ClearOutput() {
    m_drainTimer.stop();
    m_text.Clear();
    if (m_runner) {
        m_runnerSize = m_runner->GetOutputSize();
        m_fetched = m_runnerSize;
        if (IsComplete()) {
            m_runner.reset();
        }
    }
    m_shown = 0;
    ResetControl();
}

void CProcessWindow::ShowFor(int budgetMs) {
    QElapsedTimer clock;
    clock.start();
    while (Backlog() > 0 && clock.elapsed() < budgetMs) {
        ShowSlice(kDrainSliceBytes, false);
    }
}

void CProcessWindow::ShowSlice(std::size_t maxBytes, bool moreMayCome) {
    if (Backlog() > m_shownLimit) {
        SkipToTail(moreMayCome ? std::min(m_shownLimit, kFloodTailBytes) : m_shownLimit);
    }
    const std::size_t backlog = Backlog();
    if (backlog == 0) {
        return;
    }
    std::string bytes = ReadText(m_shown, std::min(backlog, maxBytes));
    // A CR at the end of the slice may be the first half of a CR LF: it waits for the next one,
    // unless nothing can follow it.
    if (bytes.back() == '\r' && (bytes.size() < backlog || moreMayCome)) {
        bytes.pop_back();
    }
    m_shown += bytes.size();
    if (!bytes.empty()) {
        Place(bytes);
    }
}

void CProcessWindow::SkipToTail(std::size_t keep) {
    std::size_t start = TextSize() - keep;
    const std::string ahead = ReadText(start, std::min(keep, kLineSearch));
    const std::size_t lineEnd = ahead.find('\n');
    if (lineEnd != std::string::npos) {
        start += lineEnd + 1;
    } else {
        // No line start near: at least never start inside a UTF-8 sequence.
        std::size_t i = 0;
        while (i < ahead.size() && IsUtf8Continuation(ahead[i])) {
            ++i;
        }
        start += i;
    }
    m_shown = start;
    ResetControl();
    m_output->setPlainText(QString::fromLatin1(kTrimmedNote) + QLatin1Char('\n'));
    m_hasNote = true;
}

void CProcessWindow::Place(const std::string& bytes) {
    const QString text = m_decoder(WithLfLineEnds(bytes));
    TrimFront(static_cast<std::size_t>(text.size()));

    QScrollBar* scroll = m_output->verticalScrollBar();
    const bool following = scroll->value() == scroll->maximum();
    QTextCursor end(m_output->document());
    end.movePosition(QTextCursor::End);
    // The caret, when it is at the end, moves on with the inserted text.
    end.insertText(text);
    m_controlChars += static_cast<std::size_t>(text.size());
    if (following) {
        scroll->setValue(scroll->maximum());
    }
}

void CProcessWindow::TrimFront(std::size_t incoming) {
    if (m_controlChars + incoming <= m_shownLimit) {
        return;
    }
    // Trimming in large steps keeps the cost per placed character low.
    const std::size_t keep = m_shownLimit - std::min(m_shownLimit, m_shownLimit / 4 + incoming);
    QTextDocument* document = m_output->document();
    QTextBlock block = document->firstBlock();
    if (m_hasNote) {
        block = block.next();
    }
    const int from = block.position();
    std::size_t removed = 0;
    while (block.isValid() && block.next().isValid() && m_controlChars - removed > keep) {
        removed += static_cast<std::size_t>(block.length());
        block = block.next();
    }
    if (removed == 0) {
        return;
    }
    QTextCursor cursor(document);
    cursor.setPosition(from);
    cursor.setPosition(block.position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    m_controlChars -= removed;
    if (!m_hasNote) {
        cursor.setPosition(0);
        cursor.insertText(QString::fromLatin1(kTrimmedNote) + QLatin1Char('\n'));
        m_hasNote = true;
    }
}

void CProcessWindow::ResetControl() {
    m_output->clear();
    m_controlChars = 0;
    m_hasNote = false;
    m_decoder.resetState();
}

// ---------------------------------------------------------------- commands

void CProcessWindow::OnLineDoubleClicked(int line) {
    const QTextDocument* document = m_output->document();
    // The last line has no line end after it: it may still be growing.
    if (line < 0 || line >= document->blockCount() - 1) {
        return;
    }
    emit messageLineActivated(document->findBlockByNumber(line).text());
}

void CProcessWindow::SaveOutput() {
    const std::vector<std::string> paths = m_host.FileDialog(SaveFileRequest(kSaveFilter, "txt"));
    if (paths.empty()) {
        return;
    }
    if (!WriteFileAtomic(paths.front(), WithLfLineEnds(Text())).empty()) {
        m_host.MessageBox(kCantSave, kCaption, EMsgButtons::Ok, EMsgIcon::Warning);
    }
}

void CProcessWindow::UseSettingsFont() {
    m_output->setFont(FontFromSettings(m_settings));
}

void CProcessWindow::ChooseFont() {
    // The dialog opens on the face the window really shows: a stored face this machine lacks
    // ("Courier New") would leave it on its default font.
    QFont current = m_output->font();
    const QString shownFamily = QFontInfo(current).family();
    current.setFamily(shownFamily);
    std::optional<QFont> chosen = m_chooseFont(current);
    if (!chosen) {
        return;
    }
    // The size stays within what the Preferences accept, so a size chosen here never makes
    // them refuse OK over a page the user did not touch.
    if (chosen->pointSizeF() > 0) {
        chosen->setPointSizeF(
            std::clamp(chosen->pointSizeF(), qreal(kMinFontPoints), qreal(kMaxFontPoints)));
    }
    m_output->setFont(*chosen);
    const int tenths = qRound(chosen->pointSizeF() * 10);
    // A size changed on the shown face keeps the stored face, which stands for it here.
    const std::string family =
        chosen->family() == shownFamily ? m_settings.dlgFontName : chosen->family().toStdString();
    // A pixel-sized font has no point size to store; the stored size then stays.
    const std::string error = SaveProcessWindowFont(m_settings, m_store, family,
                                                    tenths > 0 ? tenths : m_settings.dlgFontSize);
    if (!error.empty()) {
        m_host.MessageBox(error, kCaption, EMsgButtons::Ok, EMsgIcon::Warning);
    }
}

} // namespace tovin
