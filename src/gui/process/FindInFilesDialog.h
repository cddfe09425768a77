#pragma once
// The "Find in Files..." dialog. The project keeps one while it is open, so each showing starts
// with the entries last confirmed; Cancel leaves them as they were.

#include <QDialog>

#include "core/project/FindInFiles.h"

#include <optional>

class QCheckBox;
class QLineEdit;

namespace tovin {

class CFindInFilesDialog : public QDialog {
    Q_OBJECT
public:
    explicit CFindInFilesDialog(QWidget* parent = nullptr);

    // Shows the dialog modally, the find text focused. The entries on OK, nullopt on Cancel.
    std::optional<SFindOptions> Ask();

    const SFindOptions& LastQuery() const { return m_query; }
    QLineEdit* FindEdit() const { return m_find; }
    QCheckBox* CaseBox() const { return m_case; }
    QCheckBox* WordBox() const { return m_word; }

private:
    QLineEdit* m_find;
    QCheckBox* m_case;
    QCheckBox* m_word;
    SFindOptions m_query;
};

} // namespace tovin
