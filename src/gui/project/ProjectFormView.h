#pragma once
// CProjectFormView: the project's own window, a form of the project's settings. The main
// file, main HTML page, class path and compile directory reach the project at once; the
// working directory and the java and javac switches wait for "Update" (or "Reset to
// Defaults"), or for the project to be used or saved, which applies them too. Every change
// marks the project modified and refreshes its views, so each form on the project shows it;
// a refresh refills every field except those holding an edit not yet applied.

#include "gui/framework/CommandMap.h"

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

    // Fills every control from the project, except the fields holding an edit not yet
    // applied; "Update" stays enabled while there are such fields.
    void Fill();
    // Applies the edits not yet applied, as "Update" does; nothing when there are none.
    void ApplyPendingEdits();

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
    // The project changed through this form: mark it and show the change in every view.
    void ProjectChanged();
    void MarkPending(unsigned field);

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
    // The fields (bits of EPendingField in the source) edited since they were last applied.
    unsigned m_pending = 0;
    bool m_shown = false;
    bool m_filling = false;
};

} // namespace tovin
