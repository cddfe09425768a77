#pragma once
// "Configure": the start-up and build switches, the JDK, Jython and Ant folders and the JDK
// documentation.

#include "gui/prefs/PrefsPage.h"

class QCheckBox;
class QLineEdit;

namespace tovin {

class CIDEPage : public CPrefsPage {
    Q_OBJECT
public:
    CIDEPage(CUiHost& host, QWidget* parent = nullptr);

    void Load(const CSettings& settings) override;
    void Store(CSettings& settings) const override;

    QCheckBox* SaveBeforeCompile() const { return m_saveComp; }
    QCheckBox* LoadLast() const { return m_loadLast; }
    QCheckBox* AskArguments() const { return m_showArgs; }
    QCheckBox* FunctionDropDowns() const { return m_showDrops; }
    QLineEdit* JdkFolder() const { return m_javaBin; }
    QLineEdit* JythonFolder() const { return m_jython; }
    QLineEdit* AntFolder() const { return m_msJavaBin; }
    QLineEdit* HelpPath() const { return m_helpPath; }
    QLineEdit* LanguageServer() const { return m_languageServer; }

private:
    void ChooseHelpFile();

    CUiHost& m_host;
    QCheckBox* m_saveComp;
    QCheckBox* m_loadLast;
    QCheckBox* m_showArgs;
    QCheckBox* m_showDrops;
    QLineEdit* m_javaBin;
    QLineEdit* m_jython;
    QLineEdit* m_msJavaBin;
    QLineEdit* m_helpPath;
    QLineEdit* m_languageServer;
};

} // namespace tovin
