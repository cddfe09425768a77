#pragma once
// Answering a run of modal dialogs and pop-up menus, each opening after the one before has
// closed (a dialog that leads to a wizard, a context menu entry that asks a question).

#include <QApplication>
#include <QFileDialog>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tovin::test {

using FAnswer = std::function<void(QWidget*)>;

// Answers the modal dialogs and pop-up menus that open while `trigger` runs, one answer each,
// in turn.
// Returns how many were answered.
inline int WithModals(std::vector<FAnswer> answers, const std::function<void()>& trigger) {
    struct SState {
        std::vector<FAnswer> answers;
        size_t next = 0;
        QPointer<QWidget> last;
        bool done = false;
    };
    auto state = std::make_shared<SState>();
    state->answers = std::move(answers);
    auto poll = std::make_shared<std::function<void()>>();
    std::weak_ptr<std::function<void()>> weakPoll = poll;
    *poll = [state, weakPoll] {
        if (state->done) {
            return;
        }
        // The next look is due before this answer: it may open the next dialog, whose event
        // loop then runs inside the answer.
        if (auto again = weakPoll.lock()) {
            QTimer::singleShot(10, [again] { (*again)(); });
        }
        QWidget* modal = QApplication::activePopupWidget();
        if (!modal) {
            modal = QApplication::activeModalWidget();
        }
        if (modal && modal != state->last && state->next < state->answers.size()) {
            state->last = modal;
            state->answers[state->next++](modal);
        }
    };
    QTimer::singleShot(0, [poll] { (*poll)(); });
    trigger();
    state->done = true;
    return static_cast<int>(state->next);
}

// Types the path into a file dialog and accepts it.
inline FAnswer ChooseFile(const std::string& path) {
    return [path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog);
        dialog->selectFile(QString::fromStdString(path));
        static_cast<QDialog*>(dialog)->accept();
    };
}

} // namespace tovin::test
