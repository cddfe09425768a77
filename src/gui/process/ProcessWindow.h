#pragma once
// CProcessWindow: the content of the Process Window bar: "stop", a progress bar, the process
// caption and the output of the attached tool (or of find in files).
//
// The attached runner's text stays the source: the window's text is its own bytes (text
// appended by AppendLine, runner text it had to take over) followed by the runner's text it has
// not taken over. The window places that text into the output control in bounded slices, so a
// tool that prints tens of megabytes never stalls the user interface:
// - While the tool runs the window polls every kPollMs and places at most kSliceBytes per poll.
//   The status-bar texts and the progress bar move every kPollsPerTick polls (200 ms). While more
//   than the shown limit waits, the tool prints faster than that: only each tick shows the
//   newest kFloodTailBytes, as the rest would be dropped again and placing it takes time
//   from the tool.
// - Once the runner has finished, the rest is placed in steps of at most kDrainBudgetMs, and the
//   run completes: "stop" disabled, progress 100, "External process complete".
// - The control holds about the shown limit of text. Beyond it the oldest lines give way to one
//   note line at the top, and text that would only be dropped again is never placed; the end,
//   with the exit-code report, is always shown. "Save Output..." writes the whole text.
// - A trailing CR is held back while the tool runs (it may be the first half of a CR LF), and
//   UTF-8 sequences split between slices are joined again.
// While a tool that takes input runs, an input line under the output sends each line typed
// (with Enter) to the tool's standard input, echoed into the output as a terminal would;
// "End Input" (or Ctrl+D in the line) gives the tool end of file.
// A completed runner is kept as the store of its text until the output is cleared or replaced,
// so its text is never copied. A runner is destroyed only once its reader thread has finished;
// one replaced while it still runs is terminated first and released on a later poll.

#include <QFont>
#include <QStringDecoder>
#include <QTimer>
#include <QWidget>

#include "core/process/OutputText.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tovin {

struct CSettings;
class CSettingsStore;
class CUiHost;
class CProcessRunner;
class CProcessOutput;

class CProcessWindow : public QWidget {
    Q_OBJECT
public:
    // Short enough that the end of a run is seen soon after the tool has ended.
    static constexpr int kPollMs = 10;
    static constexpr int kPollsPerTick = 20;
    static constexpr std::size_t kSliceBytes = std::size_t(32) << 10;
    static constexpr std::size_t kFloodTailBytes = std::size_t(4) << 10;
    // Slices are larger once nothing more arrives: fewer, cheaper steps to the final report.
    static constexpr std::size_t kDrainSliceBytes = std::size_t(128) << 10;
    static constexpr int kDrainBudgetMs = 40;
    // About 3,300 lines of 80 characters, near what the output control of old held; placing
    // more makes the end of a flood of output slow to appear. "Save Output..." writes all.
    static constexpr std::size_t kDefaultShownLimit = std::size_t(256) << 10;

    static constexpr const char* kStopQuestion =
        "The process is still running, do you wish to abort it?";
    static constexpr const char* kTrimmedNote = "*** The beginning of the output is not shown "
                                                "here; \"Save Output...\" writes all of it ***";

    // The settings give the font (DLGFONTNAME, DLGFONTSIZE) and take a chosen one at once; the
    // host asks the questions and the file name. All three must outlive the window.
    CProcessWindow(CSettings& settings, CSettingsStore& store, CUiHost& host,
                   QWidget* parent = nullptr);
    ~CProcessWindow() override;

    // Shows a started runner's output from its beginning, replacing what was shown; the window
    // owns the runner from now on. A null runner leaves the window idle and empty.
    void Attach(std::unique_ptr<CProcessRunner> runner, const QString& caption);
    // Appends text (CR LF line ends) after everything shown so far. While no tool runs, the
    // first slice of it is in the control on return.
    void AppendLine(const std::string& text);
    void ClearOutput();

    // True while the attached tool runs.
    bool IsRunning() const;
    // The stop button: while a tool runs, asks kStopQuestion and on OK terminates it with the
    // abort code; the window then completes when the runner's last text has been shown.
    void RequestStop();
    // "Save Output...": the whole output, with LF line ends, written atomically.
    void SaveOutput();
    // "Font...": the chosen font is used and stored as DLGFONTNAME / DLGFONTSIZE at once.
    void ChooseFont();
    // Takes the font of the settings again (DLGFONTNAME, DLGFONTSIZE).
    void UseSettingsFont();

    // The whole output so far, as the tool and AppendLine gave it (CR LF).
    std::string Text() const;
    // The runner of the last Attach while the window keeps it (null after ClearOutput).
    const CProcessRunner* Runner() const { return m_runner.get(); }

    // Replaces the font dialog (tests); the function returns nullopt when cancelled.
    void SetFontChooser(std::function<std::optional<QFont>(const QFont&)> chooser) {
        m_chooseFont = std::move(chooser);
    }
    // Characters the output control keeps at most (small values let tests reach the seams).
    void SetShownLimit(std::size_t characters) { m_shownLimit = characters ? characters : 1; }

    CProcessOutput* Output() const { return m_output; }
    QPushButton* StopButton() const { return m_stop; }
    QProgressBar* Progress() const { return m_progress; }
    QLineEdit* StatusField() const { return m_status; }
    QLineEdit* InputLine() const { return m_input; }
    QPushButton* EndInputButton() const { return m_endInput; }
    // Sends the input line's text and a line break to the running tool.
    void SendInputLine();
    // Gives the running tool end of file on its input.
    void EndInput();

signals:
    // A text for pane 0 of the main frame's status bar.
    void statusTextChanged(const QString& text);
    // A complete output line was double-clicked: the project's error navigation takes it.
    void messageLineActivated(const QString& line);
    // A runner was attached (Runner() is it).
    void runAttached();
    // The attached tool has ended and all of its output is in Text().
    void runCompleted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void Poll();
    void Animate();
    void Complete();
    std::size_t TextSize() const;
    std::string ReadText(std::size_t offset, std::size_t count) const;
    void TakeOverRunnerText();
    bool IsComplete() const { return !m_pollTimer.isActive(); }
    std::size_t Backlog() const { return TextSize() - m_shown; }
    void ShowFor(int budgetMs);
    void ShowSlice(std::size_t maxBytes, bool moreMayCome);
    // Skips to the last `keep` bytes of the text, from a line start where one is near.
    void SkipToTail(std::size_t keep);
    void Place(const std::string& bytes);
    void TrimFront(std::size_t incoming);
    void ResetControl();
    void Retire(std::unique_ptr<CProcessRunner> runner);
    void ReleaseFinishedRunners();
    void OnLineDoubleClicked(int line);
    void ShowInputRow(bool show);

    CSettings& m_settings;
    CSettingsStore& m_store;
    CUiHost& m_host;

    QPushButton* m_stop = nullptr;
    QProgressBar* m_progress = nullptr;
    QLineEdit* m_status = nullptr;
    CProcessOutput* m_output = nullptr;
    QWidget* m_inputRow = nullptr;
    QLineEdit* m_input = nullptr;
    QPushButton* m_endInput = nullptr;

    std::unique_ptr<CProcessRunner> m_runner;
    std::vector<std::unique_ptr<CProcessRunner>> m_retiring;
    QTimer m_pollTimer;
    QTimer m_drainTimer;
    QTimer m_retireTimer;
    int m_polls = 0;
    bool m_toggle = true;

    COutputText m_text;             // the window's own part of the text
    std::size_t m_fetched = 0;      // the runner's text before this offset is no longer its part
    std::size_t m_runnerSize = 0;   // size of the runner's text when it was last looked at
    std::size_t m_shown = 0;        // bytes of the text placed into the control or skipped
    std::size_t m_controlChars = 0; // characters placed since the control was last reset
    bool m_hasNote = false;
    std::size_t m_shownLimit = kDefaultShownLimit;
    QStringDecoder m_decoder{QStringDecoder::Utf8};

    std::function<std::optional<QFont>(const QFont&)> m_chooseFont;
};

} // namespace tovin
