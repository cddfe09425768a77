#include "app/MainFrame.h"

#include <QIcon>
#include <QMdiArea>

namespace tovin {

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), m_mdiArea(new QMdiArea(this)) {
    setWindowTitle(QStringLiteral("Tovin"));
    setWindowIcon(QIcon(QStringLiteral(":/tovin/icons/tovin.svg")));
    setCentralWidget(m_mdiArea);
    resize(1000, 700);
}

} // namespace tovin
