#pragma once
// "New Project": the main class name and the kind of project, then the wizard that creates the
// project, writes the kind's source (and an applet's page) beside it, opens the source and
// saves the project.

#include "core/app/ProjectTemplates.h"

#include <QDialog>

class QButtonGroup;
class QLineEdit;

namespace tovin {

class CProjectHost;
class CUiHost;

class CNewProjectDialog : public QDialog {
    Q_OBJECT
public:
    explicit CNewProjectDialog(CUiHost& host, QWidget* parent = nullptr);

    std::string ClassName() const;
    EProjectKind Kind() const;
    QLineEdit* ClassNameEdit() const { return m_className; }
    QButtonGroup* KindButtons() const { return m_kinds; }

    // A class name that is not a Java class's name (an empty one included) is refused for
    // every kind but the empty project, which writes no class.
    void accept() override;

private:
    CUiHost& m_host;
    QLineEdit* m_className;
    QButtonGroup* m_kinds;
};

// What a class name may be, told after a name that is refused.
inline constexpr const char* kClassNameRule =
    "Use letters, digits, _ and $ only, do not start with a digit, and do not use a word that "
    "Java reserves (such as class or int).";

// Whether the name can name a Java class: an identifier (letters, digits, currency symbols and
// connectors such as _, not starting with a digit) that is not a reserved word.
bool IsJavaClassName(const QString& name);

// The "New Project..." command: closes the open project (the user may refuse), asks for the
// class name and kind, and for every kind but the empty project asks where to save it. A
// servlet project gets the servlet API archive on its class path when it is installed.
void RunNewProjectWizard(CProjectHost& app, const std::string& servletApi = kServletApiArchive);

} // namespace tovin
