#pragma once
// CProjectFormView: the project's own window, a form of the project's settings. The main
// file, main HTML page, class path and compile directory reach the project at once; the
// working directory and the java and javac switches wait for "Update" (or "Reset to
// Defaults"). The form is refilled whenever the project refreshes its views.

#include "framework/CommandMap.h"

#include <QWidget>
#include <string>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tovin {

class CClassPathList;
class CJavaProjectDoc;
class CProjectDocument;

class CProjectFormView : public QWidget, public CCommandTarget {
    Q_OBJECT
public:
    CProjectFormView(CProjectDocument& document, QWidget* parent);

    // Fills every control from the project; "Update" ends disabled.
    void Fill();

    // ---- the buttons' actions
    void OnUpdate();
    void OnResetToDefaults();
    void OnBrowseWorkingDirectory();
    void OnAddJar();
    void OnAddFolder();
    void OnRemoveClassPath();
    void OnSetCompileDir();
    void OnResetClassPath();

    CClassPathList* ClassPathList() const { return m_classPath; }
    QPushButton* UpdateButton() const { return m_update; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    CJavaProjectDoc& Project() const;
    void BuildControls();
    void OnMainFileChosen(int index);
    void OnMainHtmlChosen(int index);
    void FillClassPath();
    void OnClassPathChanged();
    void OnCompileDirChanged(const QString& compileDir);
    bool AskReset(const char* question) const;

    CProjectDocument& m_document;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_path = nullptr;
    QComboBox* m_mainFile = nullptr;
    QComboBox* m_mainHtml = nullptr;
    QLineEdit* m_mainPackage = nullptr;
    CClassPathList* m_classPath = nullptr;
    QLineEdit* m_workingDir = nullptr;
    QPlainTextEdit* m_javaSwitches = nullptr;
    QPlainTextEdit* m_javacSwitches = nullptr;
    QPushButton* m_update = nullptr;
    // The project's class path and compile directory as the list last showed them.
    std::string m_shownClassPath;
    std::string m_shownCompileDir;
    bool m_shown = false;
    bool m_filling = false;
};

} // namespace tovin
