#pragma once
// "Tovin Preferences": the five pages of the user's settings in one tabbed sheet with OK,
// Cancel and Apply. The sheet edits copies: the settings change only through OK or Apply.

#include "core/app/Settings.h"

#include <QDialog>
#include <functional>

class QTabWidget;
class QPushButton;

namespace tovin {

class CApplicationServices;
class CFormatPage;
class CIDEPage;
class CJavaOptionsPage;
class CPrefsPage;
class CProcessFontPage;
class CUiHost;
class CWorkingDirPage;

class CPrefsSheet : public QDialog {
    Q_OBJECT
public:
    // The pages, in tab order.
    enum EPage { Configure, Editor, ProcessWindow, Java, Paths, PageCount };

    CPrefsSheet(CUiHost& host, int startPage, QWidget* parent = nullptr);

    void Load(const CSettings& settings);
    void Store(CSettings& settings) const;
    // Called by Apply once every field is valid.
    void SetApplyHandler(std::function<void()> apply) { m_apply = std::move(apply); }

    QTabWidget* Tabs() const { return m_tabs; }
    QPushButton* ApplyButton() const { return m_applyButton; }
    CIDEPage* IdePage() const { return m_idePage; }
    CFormatPage* FormatPage() const { return m_formatPage; }
    CProcessFontPage* ProcessFontPage() const { return m_processFontPage; }
    CJavaOptionsPage* JavaOptionsPage() const { return m_javaOptionsPage; }
    CWorkingDirPage* WorkingDirPage() const { return m_workingDirPage; }

    // OK with a bad field keeps the sheet open on that field's page and says what is wrong.
    void accept() override;

private:
    bool ValidatePages();

    CUiHost& m_host;
    QTabWidget* m_tabs;
    QPushButton* m_applyButton;
    CIDEPage* m_idePage;
    CFormatPage* m_formatPage;
    CProcessFontPage* m_processFontPage;
    CJavaOptionsPage* m_javaOptionsPage;
    CWorkingDirPage* m_workingDirPage;
    std::vector<CPrefsPage*> m_pages;
    std::function<void()> m_apply;
};

// The Preferences command: the sheet on the page given (0 from the menu, 1 from the Java
// editor's font command); OK and Apply store every Preferences setting in their fixed order.
// The open editors take the new font, colours and tabs at once; Cancel changes nothing.
void RunPreferencesSheet(CApplicationServices& app, int startPage);

} // namespace tovin
