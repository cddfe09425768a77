#pragma once
// The Process Window's place in the main window until the Process Window itself exists: the
// captured output of the running tool, read from its runner as it grows, and the lines core
// commands append (find in files).

#include <QPlainTextEdit>
#include <memory>
#include <string>

class QTimer;

namespace tovin {

class CProcessRunner;

class CProcessOutputPanel : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CProcessOutputPanel(QWidget* parent = nullptr);
    ~CProcessOutputPanel() override;

    // Takes the started runner and shows its output from now on.
    void Attach(std::unique_ptr<CProcessRunner> runner);
    void ClearOutput();
    void AppendOutput(const std::string& text);

private:
    void Poll();

    std::unique_ptr<CProcessRunner> m_runner;
    std::size_t m_shownSize = 0;
    QTimer* m_timer;
};

} // namespace tovin
