#include "gui/process/ProcessBar.h"

#include "gui/process/ProcessWindow.h"

#include "core/app/Settings.h"

#include <QCloseEvent>
#include <QDockWidget>
#include <QMainWindow>
#include <QTimer>
#include <QtDebug>

namespace tovin {

CProcessBar::CProcessBar(QDockWidget& dock, CProcessWindow& window, CSettings& settings,
                         CSettingsStore& store)
    : QObject(&dock), m_dock(dock), m_window(window), m_settings(settings), m_store(store) {
    dock.installEventFilter(this);
    connect(&dock, &QDockWidget::topLevelChanged, this, [this](bool floating) {
        const QRect stored = StoredRect();
        if (floating && !stored.isEmpty()) {
            m_dock.setGeometry(stored);
        }
    });
    if (dock.isVisible()) {
        ApplyStoredRect();
        m_placed = true;
    }
}

// Runs while the dock itself goes away, so it uses only what it remembered.
CProcessBar::~CProcessBar() {
    StoreRect();
}

QRect CProcessBar::StoredRect() const {
    const CSettings& s = m_settings;
    if (s.dlgLeft == 0 && s.dlgTop == 0 && s.dlgRight == 0 && s.dlgBottom == 0) {
        return {};
    }
    return QRect(QPoint(s.dlgLeft, s.dlgTop), QPoint(s.dlgRight - 1, s.dlgBottom - 1));
}

void CProcessBar::ApplyStoredRect() {
    const QRect stored = StoredRect();
    if (stored.isEmpty()) {
        return;
    }
    if (m_dock.isFloating()) {
        m_dock.setGeometry(stored);
    } else if (auto* frame = qobject_cast<QMainWindow*>(m_dock.parentWidget())) {
        frame->resizeDocks({&m_dock}, {stored.height()}, Qt::Vertical);
    }
}

bool CProcessBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &m_dock) {
        return false;
    }
    switch (event->type()) {
    case QEvent::Close:
        if (m_window.IsRunning()) {
            event->ignore();
            m_window.RequestStop();
            return true;
        }
        RememberRect(false);
        StoreRect();
        m_closed = true;
        break;
    case QEvent::Show:
        // A dock made hidden takes its size when it first appears, once its area has room.
        if (!m_placed) {
            m_placed = true;
            QTimer::singleShot(0, this, &CProcessBar::ApplyStoredRect);
        }
        if (m_closed) {
            m_window.UseSettingsFont();
            m_closed = false;
        }
        RememberRect(false);
        break;
    case QEvent::Move:
    case QEvent::Resize:
        RememberRect(false);
        break;
    case QEvent::Hide:
        RememberRect(true);
        break;
    default:
        break;
    }
    return false;
}

void CProcessBar::RememberRect(bool leaving) {
    if (m_dock.isVisible() || leaving) {
        m_lastRect = QRect(m_dock.mapToGlobal(QPoint(0, 0)), m_dock.size());
    }
}

void CProcessBar::StoreRect() {
    // A bar that was never on the screen has no rectangle worth keeping.
    if (m_lastRect.isNull()) {
        return;
    }
    const QRect& r = m_lastRect;
    const std::string error = SaveProcessWindowRect(m_settings, m_store, r.left(), r.top(),
                                                    r.right() + 1, r.bottom() + 1);
    // Also reached while the application shuts down, when no message can be shown.
    if (!error.empty()) {
        qWarning("%s", error.c_str());
    }
}

} // namespace tovin
