// Linked into every GUI test executable: a modal dialog that a failed check left open, or that
// nobody answers, is closed and its test fails naming the dialog's title. Without it such a
// dialog's event loop waits for a click that never comes, and one fault costs CTest's whole
// timeout instead of a failure line.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QtTest>

namespace {

// Long enough for any answer a test gives (answers come within a poll of the dialog's
// opening, or after a wait of their own inside it); TOVIN_TEST_MODAL_LIMIT_MS shortens it for
// the watchdog's own test.
int UnansweredLimitMs() {
    bool ok = false;
    const int limit = qEnvironmentVariableIntValue("TOVIN_TEST_MODAL_LIMIT_MS", &ok);
    return ok && limit > 0 ? limit : 60000;
}

QString Describe(QWidget* modal) {
    QString text = QStringLiteral("modal dialog \"%1\"").arg(modal->windowTitle());
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        text += QStringLiteral(" saying \"%1\"").arg(box->text());
    }
    return text;
}

void Close(QWidget* modal) {
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
    } else {
        modal->close();
    }
}

class CModalWatchdog : public QObject {
public:
    explicit CModalWatchdog(QObject* parent) : QObject(parent), m_limitMs(UnansweredLimitMs()) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &CModalWatchdog::Poll);
        timer->start(50);
    }

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            m_seen = nullptr;
            return;
        }
        if (modal != m_seen) {
            m_seen = modal;
            m_openFor.start();
        }
        const bool failed = QTest::currentTestFailed();
        if (!failed && m_openFor.elapsed() < m_limitMs) {
            return;
        }
        const QString what = Describe(modal);
        // The dialog goes first: a failure reported from inside a test function returns from
        // the caller only, and the test goes on once the dialog's event loop has ended.
        Close(modal);
        m_seen = nullptr;
        if (failed) {
            qWarning("%s was left open by a failed check and is closed", qPrintable(what));
        } else if (QTest::currentTestFunction()) {
            QTest::qFail(qPrintable(what + QStringLiteral(" was not answered within %1 ms; it "
                                                          "is closed")
                                               .arg(m_limitMs)),
                         __FILE__, __LINE__);
        } else {
            qWarning("%s was not answered and is closed", qPrintable(what));
        }
    }

    const int m_limitMs;
    QPointer<QWidget> m_seen;
    QElapsedTimer m_openFor;
};

void InstallModalWatchdog() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        new CModalWatchdog(QCoreApplication::instance());
    }
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallModalWatchdog)
