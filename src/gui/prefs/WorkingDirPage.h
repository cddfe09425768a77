#pragma once
// "Paths": the default working directory and class path of new projects.

#include "gui/prefs/PrefsPage.h"

class QLineEdit;
class QPushButton;

namespace tovin {

class CClassPathList;

class CWorkingDirPage : public CPrefsPage {
    Q_OBJECT
public:
    CWorkingDirPage(CUiHost& host, QWidget* parent = nullptr);

    void Load(const CSettings& settings) override;
    void Store(CSettings& settings) const override;

    QLineEdit* WorkingDir() const { return m_workingDir; }
    CClassPathList* ClassPaths() const { return m_classPaths; }
    QPushButton* RemoveButton() const { return m_remove; }
    QPushButton* AddJarButton() const { return m_addJar; }
    QPushButton* AddFolderButton() const { return m_addFolder; }

protected:
    // The list is filled when the page is first shown; a page never shown gives back the class
    // path exactly as it was loaded.
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_workingDir;
    CClassPathList* m_classPaths;
    QPushButton* m_remove;
    QPushButton* m_addJar;
    QPushButton* m_addFolder;
    std::string m_classPath;
    bool m_listFilled = false;
};

} // namespace tovin
