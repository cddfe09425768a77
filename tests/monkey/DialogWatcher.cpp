#include "DialogWatcher.h"

#include "Messages.h"

#include <QAbstractButton>
#include <QAbstractPrintDialog>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <utility>

namespace tovin::monkey {

namespace {

constexpr int kPollMs = 2;
// A dialog the watcher has worked this often is closed; one still open much later is a fault.
constexpr int kPokesBeforeEscape = 12;
constexpr int kPokesBeforeFailure = 60;

const char* const kStopQuestion = "The process is still running, do you wish to abort it?";

QAbstractButton* ButtonWithRole(QMessageBox* box, QMessageBox::StandardButton which) {
    return box->button(which);
}

// The push buttons a user could press to end a dialog (and any other push button it has).
std::vector<QAbstractButton*> PushButtons(QWidget* dialog) {
    std::vector<QAbstractButton*> buttons;
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->isVisible() && button->isEnabled()) {
            buttons.push_back(button);
        }
    }
    return buttons;
}

// The file name patterns of the dialog's selected filter ("*.java"), empty for all files.
QStringList FilterPatterns(const QFileDialog& dialog) {
    const QString filter = dialog.selectedNameFilter();
    const QRegularExpression inParens(QStringLiteral("\\(([^)]*)\\)"));
    const auto match = inParens.match(filter);
    const QString list = match.hasMatch() ? match.captured(1) : filter;
    QStringList patterns =
        list.split(QRegularExpression(QStringLiteral("[ ;]+")), Qt::SkipEmptyParts);
    patterns.removeAll(QStringLiteral("*"));
    patterns.removeAll(QStringLiteral("*.*"));
    return patterns;
}

bool Matches(const QStringList& patterns, const std::string& path) {
    if (patterns.isEmpty()) {
        return true;
    }
    const QString name = QFileInfo(QString::fromStdString(path)).fileName();
    for (const QString& pattern : patterns) {
        if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern))
                .match(name)
                .hasMatch()) {
            return true;
        }
    }
    return false;
}

} // namespace

CDialogWatcher::CDialogWatcher(const SWorld& world, std::uint64_t seed,
                               std::function<void(const QString&)> log,
                               std::function<std::set<std::string>()> openPaths)
    : m_world(world), m_random(seed), m_poker(m_random, [this] { return FieldText(); }),
      m_log(std::move(log)), m_openPaths(std::move(openPaths)) {}

void CDialogWatcher::Start() {
    QTimer::singleShot(kPollMs, this, &CDialogWatcher::Poll);
}

QStringList CDialogWatcher::TakeFailures() {
    return std::exchange(m_failures, {});
}

void CDialogWatcher::Poll() {
    // The next look is due before this one acts: an answer may open a dialog of its own, whose
    // event loop must find the watcher still looking.
    QTimer::singleShot(kPollMs, this, &CDialogWatcher::Poll);
    if (QWidget* popup = QApplication::activePopupWidget()) {
        AnswerPopup(popup);
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
        return;
    }
    if (modal != m_current) {
        m_current = modal;
        m_pokes = 0;
        ++m_answered;
    }
    if (++m_pokes > kPokesBeforeFailure) {
        m_failures << QStringLiteral("the dialog \"%1\" does not close").arg(modal->windowTitle());
        modal->close();
        return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        AnswerMessageBox(box);
    } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
        AnswerFileDialog(files);
    } else if (auto* print = qobject_cast<QAbstractPrintDialog*>(modal)) {
        // Printing would reach a real printer; the dialog itself is all the run needs of it.
        m_log("    print dialog: Cancel");
        print->reject();
    } else {
        WorkDialog(modal);
    }
}

void CDialogWatcher::AnswerPopup(QWidget* popup) {
    auto* menu = qobject_cast<QMenu*>(popup);
    if (!menu || m_mode == EMode::Shutdown || m_random.Chance(0.2)) {
        m_log("    pop-up: Escape");
        QTest::keyClick(popup, Qt::Key_Escape);
        return;
    }
    std::vector<QAction*> actions;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->isVisible() && action->isEnabled()) {
            actions.push_back(action);
        }
    }
    if (actions.empty()) {
        m_log("    pop-up menu without entries: Escape");
        QTest::keyClick(popup, Qt::Key_Escape);
        return;
    }
    QAction* chosen = m_random.Pick(actions);
    m_log("    pop-up menu: " + chosen->text().remove('&'));
    menu->setActiveAction(chosen);
    QTest::keyClick(menu, chosen->menu() ? Qt::Key_Right : Qt::Key_Return);
}

void CDialogWatcher::AnswerMessageBox(QMessageBox* box) {
    const QString text = box->text();
    const QString caption = box->windowTitle();
    m_log(QStringLiteral("    message [%1] %2").arg(caption, QString(text).replace('\n', "\\n")));
    if (m_pokes == 1 && !IsExpectedMessage(caption, text)) {
        m_failures << QStringLiteral("unexpected message [%1] \"%2\"").arg(caption, text);
    } else if (m_pokes == 1 && m_judge) {
        if (const QString fault = m_judge(text); !fault.isEmpty()) {
            m_failures << fault;
        }
    }
    const bool saveQuestion = text.startsWith(QLatin1String("Save changes to "));
    QAbstractButton* answer = nullptr;
    if (m_mode == EMode::Shutdown || (m_stopping && text == QLatin1String(kStopQuestion))) {
        answer = saveQuestion ? ButtonWithRole(box, QMessageBox::No) : nullptr;
        if (!answer) {
            answer = ButtonWithRole(box, QMessageBox::Ok);
        }
        if (!answer) {
            answer = ButtonWithRole(box, QMessageBox::Yes);
        }
    } else if (m_mode == EMode::SaveEverything && saveQuestion) {
        answer = ButtonWithRole(box, QMessageBox::Yes);
    }
    if (!answer) {
        const QList<QAbstractButton*> buttons = box->buttons();
        if (buttons.isEmpty() || m_random.Chance(0.1)) {
            m_log("    answer: Escape");
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        answer = buttons[m_random.Below(int(buttons.size()))];
    }
    m_log("    answer: " + answer->text().remove('&'));
    answer->click();
}

std::string CDialogWatcher::NewFileName(const QFileDialog& dialog) {
    QString extension = dialog.defaultSuffix();
    if (extension.isEmpty()) {
        const QStringList patterns = FilterPatterns(dialog);
        if (!patterns.isEmpty() && patterns.front().startsWith(QLatin1String("*."))) {
            extension = patterns.front().mid(2);
        }
    }
    if (extension.isEmpty()) {
        static const char* const kinds[] = {"java", "html", "xml", "py", "txt"};
        extension = QLatin1String(kinds[m_random.Below(5)]);
    }
    const std::vector<std::string> folders = m_world.Folders();
    return m_random.Pick(folders) + "/Saved" + std::to_string(++m_names) + "." +
           extension.toStdString();
}

void CDialogWatcher::AnswerFileDialog(QFileDialog* dialog) {
    const QString title = dialog->windowTitle();
    const bool mustSave =
        m_mode == EMode::SaveEverything && dialog->acceptMode() == QFileDialog::AcceptSave;
    if (m_mode == EMode::Shutdown || m_pokes > 4 || (!mustSave && m_random.Chance(0.2))) {
        m_log("    file dialog \"" + title + "\": Cancel");
        dialog->reject();
        return;
    }
    std::string path;
    if (dialog->fileMode() == QFileDialog::Directory) {
        path = m_random.Pick(m_world.Folders());
        dialog->setDirectory(QString::fromStdString(path));
    } else if (dialog->acceptMode() == QFileDialog::AcceptSave) {
        const std::set<std::string> open = m_openPaths();
        std::vector<std::string> existing;
        for (const std::string& file : m_world.Files()) {
            if (!open.count(file) && Matches(FilterPatterns(*dialog), file)) {
                existing.push_back(file);
            }
        }
        path = existing.empty() || m_random.Chance(0.7) ? NewFileName(*dialog)
                                                        : m_random.Pick(existing);
    } else {
        const bool filtered = m_random.Chance(0.8);
        std::vector<std::string> files;
        for (const std::string& file : m_world.Files()) {
            if (!filtered || Matches(FilterPatterns(*dialog), file)) {
                files.push_back(file);
            }
        }
        if (files.empty()) {
            m_log("    file dialog \"" + title + "\": nothing to choose, Cancel");
            dialog->reject();
            return;
        }
        path = m_random.Pick(files);
    }
    m_log("    file dialog \"" + title + "\": " + QString::fromStdString(path));
    dialog->selectFile(QString::fromStdString(path));
    static_cast<QDialog*>(dialog)->accept();
}

void CDialogWatcher::WorkDialog(QWidget* dialog) {
    const QString title = dialog->windowTitle();
    if (m_mode == EMode::Shutdown || m_pokes > kPokesBeforeEscape) {
        m_log("    dialog \"" + title + "\": Escape");
        if (auto* real = qobject_cast<QDialog*>(dialog)) {
            real->reject();
        } else {
            dialog->close();
        }
        return;
    }
    if (m_random.Chance(0.3)) {
        if (m_random.Chance(0.2)) {
            m_log("    dialog \"" + title + "\": Escape");
            QTest::keyClick(dialog, Qt::Key_Escape);
            return;
        }
        std::vector<QAbstractButton*> buttons;
        if (auto* box = dialog->findChild<QDialogButtonBox*>()) {
            for (QAbstractButton* button : box->buttons()) {
                if (button->isVisible() && button->isEnabled()) {
                    buttons.push_back(button);
                }
            }
        }
        if (buttons.empty()) {
            buttons = PushButtons(dialog);
        }
        if (!buttons.empty()) {
            QAbstractButton* button = m_random.Pick(buttons);
            m_log("    dialog \"" + title + "\": press " + button->text().remove('&'));
            button->click();
            return;
        }
    }
    const std::vector<QWidget*> widgets = CWidgetPoker::Workable(dialog);
    if (widgets.empty()) {
        m_log("    dialog \"" + title + "\": nothing to work, Escape");
        QTest::keyClick(dialog, Qt::Key_Escape);
        return;
    }
    QWidget* widget = m_random.Pick(widgets);
    m_log("    dialog \"" + title + "\": " + Describe(widget));
    m_log("      " + m_poker.Poke(widget));
}

QString CDialogWatcher::FieldText() {
    static const std::vector<QString> words = {"Main",     "hello",       "x",      "-g",
                                               "-verbose", "a b",         "42",     "0",
                                               "99999",    "com.example", "\u00fc", ""};
    switch (m_random.Weighted({60, 20, 10, 10})) {
    case 0:
        return m_random.Pick(words);
    case 1:
        return QString::fromStdString(m_random.Pick(m_world.Folders()));
    case 2:
        return QString::fromStdString(m_random.Pick(m_world.Files()));
    default:
        // The JDK of the machine, so a run that typed nonsense into the JDK's folder can build
        // again.
        return QStringLiteral("/usr/lib/jvm/default-java");
    }
}

} // namespace tovin::monkey
