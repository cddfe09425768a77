#include "gui/prefs/PrefsSheet.h"

#include "core/app/UiHost.h"
#include "gui/editor/SourceView.h"
#include "gui/framework/ApplicationServices.h"
#include "gui/prefs/FormatPage.h"
#include "gui/prefs/IDEPage.h"
#include "gui/prefs/JavaOptionsPage.h"
#include "gui/prefs/ProcessFontPage.h"
#include "gui/prefs/WorkingDirPage.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tovin {

CPrefsSheet::CPrefsSheet(CUiHost& host, int startPage, QWidget* parent)
    : QDialog(parent), m_host(host), m_tabs(new QTabWidget), m_idePage(new CIDEPage(host)),
      m_formatPage(new CFormatPage), m_processFontPage(new CProcessFontPage),
      m_javaOptionsPage(new CJavaOptionsPage), m_workingDirPage(new CWorkingDirPage(host)) {
    setWindowTitle(QStringLiteral("Tovin Preferences"));
    m_tabs->setUsesScrollButtons(false); // every tab in sight
    m_tabs->addTab(m_idePage, QStringLiteral("Configure"));
    m_tabs->addTab(m_formatPage, QStringLiteral("Editor"));
    m_tabs->addTab(m_processFontPage, QStringLiteral("Process Window"));
    m_tabs->addTab(m_javaOptionsPage, QStringLiteral("Java"));
    m_tabs->addTab(m_workingDirPage, QStringLiteral("Paths"));
    m_pages = {m_idePage, m_formatPage, m_processFontPage, m_javaOptionsPage, m_workingDirPage};
    m_tabs->setCurrentIndex(startPage >= 0 && startPage < PageCount ? startPage : 0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::Apply);
    m_applyButton = buttons->button(QDialogButtonBox::Apply);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPrefsSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_applyButton, &QPushButton::clicked, this, [this] {
        if (ValidatePages() && m_apply) {
            m_apply();
        }
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

void CPrefsSheet::Load(const CSettings& settings) {
    for (CPrefsPage* page : m_pages) {
        page->Load(settings);
    }
}

void CPrefsSheet::Store(CSettings& settings) const {
    for (const CPrefsPage* page : m_pages) {
        page->Store(settings);
    }
}

bool CPrefsSheet::ValidatePages() {
    for (CPrefsPage* page : m_pages) {
        const QString problem = page->Validate();
        if (!problem.isEmpty()) {
            m_tabs->setCurrentWidget(page);
            m_host.MessageBox(problem.toStdString(), "Tovin", EMsgButtons::Ok, EMsgIcon::Warning);
            return false;
        }
    }
    return true;
}

void CPrefsSheet::accept() {
    if (ValidatePages()) {
        QDialog::accept();
    }
}

void RunPreferencesSheet(CApplicationServices& app, int startPage) {
    CPrefsSheet sheet(app.Host(), startPage, app.MainWindow());
    sheet.Load(app.Settings());
    auto report = [&app](const SPreferencesResult& result) {
        if (!result.writeError.empty()) {
            app.Host().MessageBox(result.writeError, "Tovin", EMsgButtons::Ok, EMsgIcon::Error);
        }
        // The open editors show the new font, tabs and colours at once.
        if (result.confirmed && app.MainWindow()) {
            for (CSourceView* view : app.MainWindow()->findChildren<CSourceView*>()) {
                view->ApplySettingsAppearance();
            }
        }
    };
    sheet.SetApplyHandler([&] {
        report(RunPreferences(app.Settings(), app.Store(), [&sheet](CSettings& edited) {
            sheet.Store(edited);
            return true;
        }));
    });
    report(RunPreferences(app.Settings(), app.Store(), [&sheet](CSettings& edited) {
        if (sheet.exec() != QDialog::Accepted) {
            return false;
        }
        sheet.Store(edited);
        return true;
    }));
}

} // namespace tovin
