#pragma once
// "New Project": the main class name and the kind of project, then the wizard that creates the
// project, writes the kind's source (and an applet's page) beside it, opens the source and
// saves the project.

#include "app/ProjectTemplates.h"

#include <QDialog>

class QButtonGroup;
class QLineEdit;

namespace tovin {

class CEditorApp;
class CUiHost;

class CNewProjectDialog : public QDialog {
    Q_OBJECT
public:
    explicit CNewProjectDialog(CUiHost& host, QWidget* parent = nullptr);

    std::string ClassName() const;
    EProjectKind Kind() const;
    QLineEdit* ClassNameEdit() const { return m_className; }
    QButtonGroup* KindButtons() const { return m_kinds; }

    // An empty class name is refused for every kind but the empty project.
    void accept() override;

private:
    CUiHost& m_host;
    QLineEdit* m_className;
    QButtonGroup* m_kinds;
};

// The "New Project..." command: closes the open project (the user may refuse), asks for the
// class name and kind, and for every kind but the empty project asks where to save it.
void RunNewProjectWizard(CEditorApp& app);

} // namespace tovin
