#include "gui/prefs/PrefsPage.h"

#include "core/app/UiHost.h"

#include <QColor>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace tovin {

void FillFontList(QComboBox& list, QString face) {
    QStringList fixed;
    QStringList proportional;
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family)) {
            continue;
        }
        (QFontDatabase::isFixedPitch(family) ? fixed : proportional) << family;
    }
    fixed.sort(Qt::CaseInsensitive);
    proportional.sort(Qt::CaseInsensitive);
    list.clear();
    // Source code reads best in a fixed-pitch face, so those come first.
    list.addItems(fixed);
    if (!fixed.isEmpty() && !proportional.isEmpty()) {
        list.insertSeparator(list.count());
    }
    list.addItems(proportional);
    int index = list.findText(face);
    if (index < 0 && !face.isEmpty()) {
        list.insertItem(0, face);
        index = 0;
    }
    list.setCurrentIndex(index);
}

int SNumberField::Value() const {
    return edit->text().trimmed().toInt();
}

QString SNumberField::Check() const {
    bool isNumber = false;
    const int value = edit->text().trimmed().toInt(&isNumber);
    if (isNumber && value >= minimum && value <= maximum) {
        return {};
    }
    return QStringLiteral("%1: please enter a whole number from %2 to %3.")
        .arg(label)
        .arg(minimum)
        .arg(maximum);
}

void FitButtonToText(QPushButton& button) {
    const int textWidth = button.fontMetrics().horizontalAdvance(button.text());
    button.setMaximumWidth(std::max(textWidth + 24, 32));
}

QWidget* FolderField(CUiHost& host, QLineEdit* edit, const QString& buttonText,
                     const QString& title) {
    auto* field = new QWidget;
    auto* layout = new QHBoxLayout(field);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* browse = new QPushButton(buttonText);
    FitButtonToText(*browse);
    layout->addWidget(edit, 1);
    layout->addWidget(browse);
    QObject::connect(browse, &QPushButton::clicked, edit, [&host, edit, title] {
        const std::string folder =
            host.BrowseForFolder(title.toStdString(), edit->text().toStdString());
        if (!folder.empty()) {
            edit->setText(QString::fromStdString(folder));
        }
    });
    return field;
}

QColor ColourFromRef(std::uint32_t ref) {
    return QColor(int(ref & 0xff), int((ref >> 8) & 0xff), int((ref >> 16) & 0xff));
}

std::uint32_t RefFromColour(const QColor& colour) {
    return std::uint32_t(colour.red()) | std::uint32_t(colour.green()) << 8 |
           std::uint32_t(colour.blue()) << 16;
}

} // namespace tovin
