#include "process/ProcessDock.h"

#include "process/ProcessWindow.h"

#include "app/Settings.h"

#include <QCloseEvent>
#include <QMainWindow>
#include <QtDebug>

namespace tovin {

CProcessDock::CProcessDock(CSettings& settings, CSettingsStore& store, CUiHost& host,
                           QWidget* parent)
    : QDockWidget(QString::fromLatin1(kTitle), parent), m_settings(settings), m_store(store),
      m_window(new CProcessWindow(settings, store, host, this)) {
    setObjectName(QStringLiteral("ProcessWindow"));
    setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    setWidget(m_window);
    connect(this, &QDockWidget::topLevelChanged, this, [this](bool floating) {
        const QRect stored = StoredRect();
        if (floating && !stored.isEmpty()) {
            setGeometry(stored);
        }
    });
}

CProcessDock::~CProcessDock() {
    StoreRect();
}

QRect CProcessDock::StoredRect() const {
    const CSettings& s = m_settings;
    if (s.dlgLeft == 0 && s.dlgTop == 0 && s.dlgRight == 0 && s.dlgBottom == 0) {
        return {};
    }
    return QRect(QPoint(s.dlgLeft, s.dlgTop), QPoint(s.dlgRight - 1, s.dlgBottom - 1));
}

void CProcessDock::PlaceIn(QMainWindow& frame) {
    frame.addDockWidget(Qt::BottomDockWidgetArea, this);
    const QRect stored = StoredRect();
    if (!stored.isEmpty()) {
        frame.resizeDocks({this}, {stored.height()}, Qt::Vertical);
    }
}

void CProcessDock::closeEvent(QCloseEvent* event) {
    if (m_window->IsRunning()) {
        event->ignore();
        m_window->RequestStop();
        return;
    }
    StoreRect();
    QDockWidget::closeEvent(event);
}

void CProcessDock::moveEvent(QMoveEvent* event) {
    QDockWidget::moveEvent(event);
    RememberRect();
}

void CProcessDock::resizeEvent(QResizeEvent* event) {
    QDockWidget::resizeEvent(event);
    RememberRect();
}

void CProcessDock::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    RememberRect();
}

void CProcessDock::hideEvent(QHideEvent* event) {
    RememberRect(true);
    QDockWidget::hideEvent(event);
}

void CProcessDock::RememberRect(bool leaving) {
    if (isVisible() || leaving) {
        m_lastRect = QRect(mapToGlobal(QPoint(0, 0)), size());
    }
}

void CProcessDock::StoreRect() {
    RememberRect();
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
