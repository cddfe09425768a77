#pragma once
// The Recent Projects dialog: the recent projects by name and full path; "Remove" takes the
// chosen one off the list (stored with the next save of the last project), OK or a double
// click returns its path.

#include <QDialog>
#include <string>
#include <vector>

class QTreeWidget;

namespace tovin {

class CUiHost;
struct CSettings;

class CRecentProjectsDialog : public QDialog {
    Q_OBJECT
public:
    // The settings' recent projects are edited in place by "Remove"; the host shows the
    // dialog's message.
    CRecentProjectsDialog(CSettings& settings, CUiHost& host, QWidget* parent = nullptr);

    // The full path of the chosen project after OK.
    const std::string& ChosenPath() const { return m_chosen; }
    QTreeWidget* List() const { return m_list; }

    void accept() override;

private:
    void RemoveSelected();

    CSettings& m_settings;
    CUiHost& m_host;
    QTreeWidget* m_list;
    std::string m_chosen;
};

} // namespace tovin
