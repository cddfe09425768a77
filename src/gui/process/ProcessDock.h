#pragma once
// The bar that hosts the Process Window: a dock titled "Process Window" at the bottom of the
// main frame, dockable at the top or the bottom, or floating.
//
// The window's rectangle lives in the DLG_ settings (screen coordinates). A stored rectangle
// that is not all zeros gives the docked bar its height and the floating bar its place and size;
// all zeros leave the bar at its docked size. The rectangle is stored when the bar is closed and
// when it is destroyed. Closing while a tool runs asks whether to abort it and keeps the bar
// open either way: it completes once the tool's last output has been shown.

#include <QDockWidget>
#include <QRect>

class QMainWindow;

namespace tovin {

struct CSettings;
class CSettingsStore;
class CUiHost;
class CProcessWindow;

class CProcessDock : public QDockWidget {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Process Window";

    CProcessDock(CSettings& settings, CSettingsStore& store, CUiHost& host,
                 QWidget* parent = nullptr);
    ~CProcessDock() override;

    CProcessWindow* Window() const { return m_window; }

    // Docks the bar at the bottom of the frame and applies the stored rectangle.
    void PlaceIn(QMainWindow& frame);
    // The rectangle stored for the bar; an empty QRect when all four values are zero.
    QRect StoredRect() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Keeps the screen rectangle while the bar is on the screen (and when it leaves it).
    void RememberRect(bool leaving = false);
    void StoreRect();

    CSettings& m_settings;
    CSettingsStore& m_store;
    CProcessWindow* m_window;
    QRect m_lastRect; // last screen rectangle while visible; null while never shown
};

} // namespace tovin
