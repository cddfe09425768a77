#pragma once
// The hand that answers whatever the program asks while the monkey plays: every modal dialog
// and pop-up menu, as soon as it is up. Message boxes get one of their buttons (their texts are
// checked against the expected ones), file dialogs a path inside the run's folder or Cancel,
// other dialogs a few random edits and then one of their buttons.

#include "Random.h"
#include "WidgetPoker.h"
#include "World.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <set>
#include <string>

class QFileDialog;
class QMessageBox;

namespace tovin::monkey {

class CDialogWatcher : public QObject {
public:
    enum class EMode {
        Play,           // random answers
        SaveEverything, // Save All: every question to save says Yes, every save dialog a name
        Shutdown,       // the end of the run: nothing is saved, everything closes
    };

    // `log` takes a line for the action log; `openPaths` gives the paths of the open documents,
    // which a save dialog never picks (saving over another window's file is not the point).
    CDialogWatcher(const SWorld& world, std::uint64_t seed, std::function<void(const QString&)> log,
                   std::function<std::set<std::string>()> openPaths);

    // Judges a message the program shows in the state it is in; returns why it is a fault, or
    // nothing. It sees every message box, also those whose text is expected in general.
    void SetJudge(std::function<QString(const QString& text)> judge) { m_judge = std::move(judge); }

    void Start();
    void SetMode(EMode mode) { m_mode = mode; }
    // While set, the Process Window's question before stopping a tool is answered OK.
    void SetStopping(bool stopping) { m_stopping = stopping; }
    // Faults seen since the last call: unexpected message texts, dialogs that do not close.
    QStringList TakeFailures();
    int DialogsAnswered() const { return m_answered; }

private:
    void Poll();
    void AnswerPopup(QWidget* popup);
    void AnswerMessageBox(QMessageBox* box);
    void AnswerFileDialog(QFileDialog* dialog);
    void WorkDialog(QWidget* dialog);
    QString FieldText();
    std::string NewFileName(const QFileDialog& dialog);

    const SWorld& m_world;
    CRandom m_random;
    CWidgetPoker m_poker;
    std::function<void(const QString&)> m_log;
    std::function<std::set<std::string>()> m_openPaths;
    std::function<QString(const QString&)> m_judge;
    EMode m_mode = EMode::Play;
    bool m_stopping = false;
    QPointer<QWidget> m_current;
    int m_pokes = 0;
    int m_answered = 0;
    int m_names = 0;
    QStringList m_failures;
};

} // namespace tovin::monkey
