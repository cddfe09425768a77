#pragma once
// "Process Window": the font of the Process Window.

#include "gui/prefs/PrefsPage.h"

class QComboBox;
class QLineEdit;

namespace tovin {

class CProcessFontPage : public CPrefsPage {
    Q_OBJECT
public:
    explicit CProcessFontPage(QWidget* parent = nullptr);

    void Load(const CSettings& settings) override;
    QString Validate() override;
    void Store(CSettings& settings) const override;

    QComboBox* FontList() const { return m_fontList; }
    QLineEdit* FontSize() const { return m_fontSize.edit; }

private:
    QComboBox* m_fontList;
    QString m_face;
    SNumberField m_fontSize;
};

} // namespace tovin
