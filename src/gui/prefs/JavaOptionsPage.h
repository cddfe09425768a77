#pragma once
// "Java": the default run and compile options of new projects and the tool family.

#include "gui/prefs/PrefsPage.h"

class QButtonGroup;
class QPlainTextEdit;

namespace tovin {

class CJavaOptionsPage : public CPrefsPage {
    Q_OBJECT
public:
    explicit CJavaOptionsPage(QWidget* parent = nullptr);

    void Load(const CSettings& settings) override;
    void Store(CSettings& settings) const override;

    QPlainTextEdit* RunOptions() const { return m_runOptions; }
    QPlainTextEdit* CompileOptions() const { return m_compileOptions; }
    // Buttons by JAVAVERSION: 0 the JDK's tools, 1 the other family (never offered).
    QButtonGroup* Version() const { return m_version; }

private:
    QPlainTextEdit* m_runOptions;
    QPlainTextEdit* m_compileOptions;
    QButtonGroup* m_version;
    int m_loadedVersion = 0;
};

} // namespace tovin
