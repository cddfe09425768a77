#pragma once
// What the dock that hosts the Process Window does beyond docking: the closing question, the
// stored rectangle and the font. It watches the dock it is given (the main frame makes the
// dock, titled "Process Window", at the bottom, dockable at the top or the bottom).
//
// The window's rectangle lives in the DLG_ settings (screen coordinates). A stored rectangle
// that is not all zeros gives the docked bar its height and the floating bar its place and size;
// all zeros leave the bar at its docked size. The rectangle is stored when the bar is closed and
// when it is destroyed. Closing while a tool runs asks whether to abort it and keeps the bar
// open either way: it completes once the tool's last output has been shown. A bar shown again
// after it was closed takes the font of the settings, which Preferences may have changed.

#include <QObject>
#include <QRect>

class QDockWidget;

namespace tovin {

struct CSettings;
class CSettingsStore;
class CProcessWindow;

class CProcessBar : public QObject {
    Q_OBJECT
public:
    // Watches the dock, whose widget is the window; lives as long as the dock does.
    CProcessBar(QDockWidget& dock, CProcessWindow& window, CSettings& settings,
                CSettingsStore& store);
    ~CProcessBar() override;

    // The rectangle stored for the bar; an empty QRect when all four values are zero.
    QRect StoredRect() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyStoredRect();
    void RememberRect(bool leaving);
    void StoreRect();

    QDockWidget& m_dock;
    CProcessWindow& m_window;
    CSettings& m_settings;
    CSettingsStore& m_store;
    QRect m_lastRect;      // last screen rectangle while visible; null while never shown
    bool m_placed = false; // the stored rectangle has been applied
    bool m_closed = false;
};

} // namespace tovin
