#pragma once
// What every page of the Preferences sheet does: take its settings from a copy of the
// application's, check its fields when the sheet is confirmed, and give its settings back.
// Helpers shared by the pages: font lists, number fields with a range, folder fields.

#include "core/app/Settings.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tovin {

class CUiHost;

class CPrefsPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual void Load(const CSettings& settings) = 0;
    // Empty when every field is valid; else the message for the first bad field, which then
    // has the focus.
    virtual QString Validate() { return {}; }
    virtual void Store(CSettings& settings) const = 0;
};

// Fills a font list with the system's families, the fixed-pitch ones first (each group sorted),
// and selects `face` (a copy: filling the list may change the caller's face through its
// signals); a face the system lacks stays in the list at the top, so it is kept.
void FillFontList(QComboBox& list, QString face);

// A number field for a whole number in [minimum, maximum].
struct SNumberField {
    QLineEdit* edit = nullptr;
    QString label; // as the page shows it, without the colon
    int minimum = 0;
    int maximum = 0;

    int Value() const;
    // Empty when the text is a whole number in range; else the message naming the field.
    QString Check() const;
};

// Keeps a "..." button as narrow as its text.
void FitButtonToText(QPushButton& button);

// A folder field: the edit and its "..." button, which opens the folder browser with `title`
// and puts the chosen folder into the edit.
QWidget* FolderField(CUiHost& host, QLineEdit* edit, const QString& buttonText,
                     const QString& title);

// Colour references keep red in the lowest byte.
QColor ColourFromRef(std::uint32_t ref);
std::uint32_t RefFromColour(const QColor& colour);

} // namespace tovin
