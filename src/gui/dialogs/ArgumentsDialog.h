#pragma once
// "Arguments": asks for the text passed to the program that is about to run.

#include <QDialog>

class QLineEdit;

namespace tovin {

class CArgumentsDialog : public QDialog {
    Q_OBJECT
public:
    CArgumentsDialog(const QString& initial, QWidget* parent = nullptr);
    QString Arguments() const;

private:
    QLineEdit* m_edit;
};

} // namespace tovin
