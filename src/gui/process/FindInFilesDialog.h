#pragma once
// The "Find in Files..." dialog. The project keeps one while it is open, so each showing starts
// with the entries last confirmed; Cancel leaves them as they were.

#include <QDialog>

#include <optional>
#include <string>

class QCheckBox;
class QLineEdit;

namespace tovin {

struct SFindInFilesQuery {
    std::string text;
    bool caseSensitive = false;
    bool wholeWord = false;

    bool operator==(const SFindInFilesQuery&) const = default;
};

class CFindInFilesDialog : public QDialog {
    Q_OBJECT
public:
    explicit CFindInFilesDialog(QWidget* parent = nullptr);

    // Shows the dialog modally, the find text focused. The entries on OK, nullopt on Cancel.
    std::optional<SFindInFilesQuery> Ask();

    const SFindInFilesQuery& LastQuery() const { return m_query; }
    QLineEdit* FindEdit() const { return m_find; }
    QCheckBox* CaseBox() const { return m_case; }
    QCheckBox* WordBox() const { return m_word; }

private:
    QLineEdit* m_find;
    QCheckBox* m_case;
    QCheckBox* m_word;
    SFindInFilesQuery m_query;
};

} // namespace tovin
