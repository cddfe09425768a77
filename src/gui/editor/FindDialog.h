#pragma once
// The modeless dialog of Find and Replace: the replace row and its buttons show only for
// Replace. It hands every button to the CFindReplace that owns it.

#include "gui/editor/FindReplace.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace tovin {

class CFindDialog : public QDialog {
    Q_OBJECT
public:
    CFindDialog(CFindReplace& finder, QWidget* parent);

    void SetReplaceMode(bool replace);
    void SetRequest(const SFindRequest& request);
    SFindRequest Request() const;
    QLineEdit* FindEdit() const { return m_find; }
    QLineEdit* ReplaceEdit() const { return m_replace; }

private:
    CFindReplace& m_finder;
    QLineEdit* m_find;
    QLineEdit* m_replace;
    QWidget* m_replaceRow;
    QCheckBox* m_wholeWord;
    QCheckBox* m_matchCase;
    QRadioButton* m_up;
    QRadioButton* m_down;
    QWidget* m_directionBox;
    QWidget* m_replaceButtons;
    bool m_replaceMode = false;
};

} // namespace tovin
