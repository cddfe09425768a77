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
    m_shownSize = 0;
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
    if (!m_runner) {
        m_timer->stop();
        return;
    }
    // The runner's text only grows; the report is its last part.
    const bool finished = m_runner->IsFinished();
    std::string added = m_runner->GetOutputFrom(m_shownSize);
    if (!added.empty()) {
        m_shownSize += added.size();
        AppendOutput(added);
    }
    if (finished) {
        m_timer->stop();
    }
}

} // namespace tovin
