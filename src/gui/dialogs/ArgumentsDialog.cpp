#include "gui/dialogs/ArgumentsDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tovin {

CArgumentsDialog::CArgumentsDialog(const QString& initial, QWidget* parent)
    : QDialog(parent), m_edit(new QLineEdit(initial, this)) {
    setWindowTitle(QStringLiteral("Arguments"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Enter the arguments to pass to your program:"), this);
    label->setBuddy(m_edit);
    layout->addWidget(label);
    m_edit->setMinimumWidth(360);
    layout->addWidget(m_edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    m_edit->setFocus();
}

QString CArgumentsDialog::Arguments() const {
    return m_edit->text();
}

} // namespace tovin
