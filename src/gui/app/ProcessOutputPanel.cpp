#include "app/ProcessOutputPanel.h"

#include "process/ProcessRunner.h"

#include <QScrollBar>
#include <QTimer>

namespace tovin {

namespace {

constexpr int kPollMs = 200;

} // namespace

CProcessOutputPanel::CProcessOutputPanel(QWidget* parent)
    : QPlainTextEdit(parent), m_timer(new QTimer(this)) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(9);
    setFont(font);
    connect(m_timer, &QTimer::timeout, this, &CProcessOutputPanel::Poll);
}

CProcessOutputPanel::~CProcessOutputPanel() = default;

void CProcessOutputPanel::Attach(std::unique_ptr<CProcessRunner> runner) {
    m_runner = std::move(runner);
    m_shown.clear();
    clear();
    if (m_runner) {
        m_timer->start(kPollMs);
        Poll();
    } else {
        m_timer->stop();
    }
}

void CProcessOutputPanel::ClearOutput() {
    clear();
}

void CProcessOutputPanel::AppendOutput(const std::string& text) {
    moveCursor(QTextCursor::End);
    insertPlainText(QString::fromStdString(text));
    moveCursor(QTextCursor::End);
}

void CProcessOutputPanel::Poll() {
    std::string output = m_runner ? m_runner->GetOutput() : std::string();
    const bool changed = output != m_shown;
    if (output.size() > m_shown.size() && output.compare(0, m_shown.size(), m_shown) == 0) {
        AppendOutput(output.substr(m_shown.size()));
    } else if (changed) {
        setPlainText(QString::fromStdString(output));
    }
    m_shown = std::move(output);
    // The last text may arrive just after the tool ended: stop after a quiet tick.
    if (!changed && !CProcessRunner::IsProcessRunning()) {
        m_timer->stop();
    }
}

} // namespace tovin
