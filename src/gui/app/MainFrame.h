#pragma once
// The main window: menu bar, toolbar, status bar and the MDI area in which documents live.

#include <QMainWindow>

class QMdiArea;

namespace tovin {

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);

    QMdiArea* MdiArea() const { return m_mdiArea; }

private:
    QMdiArea* m_mdiArea;
};

} // namespace tovin
