#include "gui/process/FindInFilesDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tovin {

CFindInFilesDialog::CFindInFilesDialog(QWidget* parent)
    : QDialog(parent), m_find(new QLineEdit(this)),
      m_case(new QCheckBox(QStringLiteral("Case &sensitive search"), this)),
      m_word(new QCheckBox(QStringLiteral("Match &whole word only"), this)) {
    setWindowTitle(QStringLiteral("Find in Files..."));
    auto* label = new QLabel(QStringLiteral("&Find what:"), this);
    label->setBuddy(m_find);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* findRow = new QHBoxLayout;
    findRow->addWidget(label);
    findRow->addWidget(m_find, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(findRow);
    layout->addWidget(m_case);
    layout->addWidget(m_word);
    layout->addWidget(buttons);
    m_find->setMinimumWidth(260);
}

std::optional<SFindOptions> CFindInFilesDialog::Ask() {
    m_find->setText(QString::fromStdString(m_query.text));
    m_find->selectAll();
    m_case->setChecked(m_query.caseSensitive);
    m_word->setChecked(m_query.wholeWord);
    m_find->setFocus();
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    m_query.text = m_find->text().toStdString();
    m_query.caseSensitive = m_case->isChecked();
    m_query.wholeWord = m_word->isChecked();
    return m_query;
}

} // namespace tovin
