#pragma once
// "Editor": the source font and size, tabs, and the colours of keywords, comments, strings and
// HTML tags with a sample of each.

#include "gui/prefs/PrefsPage.h"

#include <QColor>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tovin {

class CFormatPage : public CPrefsPage {
    Q_OBJECT
public:
    // The colour classes in the order of their buttons.
    enum EColour { Keywords, Comments, Strings, HtmlTags, ColourCount };
    // Asks for a colour starting from the current one; nullopt when cancelled.
    using FColourChooser = std::function<std::optional<QColor>(const QColor& current)>;

    explicit CFormatPage(QWidget* parent = nullptr);
    // Tests answer the colour dialog through this.
    void SetColourChooser(FColourChooser chooser) { m_chooseColour = std::move(chooser); }

    void Load(const CSettings& settings) override;
    QString Validate() override;
    void Store(CSettings& settings) const override;

    QComboBox* FontList() const { return m_fontList; }
    QLineEdit* FontSize() const { return m_fontSize.edit; }
    QLineEdit* TabWidth() const { return m_tabWidth.edit; }
    QCheckBox* SpaceTabs() const { return m_spaceTabs; }
    QPushButton* ColourButton(EColour colour) const { return m_buttons[colour]; }
    QLineEdit* Sample(EColour colour) const { return m_samples[colour]; }
    QColor Colour(EColour colour) const { return m_colours[colour]; }

private:
    void ChooseColour(EColour colour);
    void PaintSamples();

    FColourChooser m_chooseColour;
    QComboBox* m_fontList;
    QString m_face;
    SNumberField m_fontSize;
    SNumberField m_tabWidth;
    QCheckBox* m_spaceTabs;
    std::array<QPushButton*, ColourCount> m_buttons{};
    std::array<QLineEdit*, ColourCount> m_samples{};
    std::array<QColor, ColourCount> m_colours;
};

} // namespace tovin
