#include "gui/editor/FindDialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tovin {

CFindDialog::CFindDialog(CFindReplace& finder, QWidget* parent)
    : QDialog(parent), m_finder(finder), m_find(new QLineEdit(this)),
      m_replace(new QLineEdit(this)), m_replaceRow(new QWidget(this)),
      m_wholeWord(new QCheckBox(QStringLiteral("Match &whole word only"), this)),
      m_matchCase(new QCheckBox(QStringLiteral("Match &case"), this)),
      m_up(new QRadioButton(QStringLiteral("&Up"), this)),
      m_down(new QRadioButton(QStringLiteral("&Down"), this)),
      m_directionBox(new QGroupBox(QStringLiteral("Direction"), this)),
      m_replaceButtons(new QWidget(this)) {
    auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    findLabel->setBuddy(m_find);
    auto* replaceLabel = new QLabel(QStringLiteral("Re&place with:"), m_replaceRow);
    replaceLabel->setBuddy(m_replace);
    auto* replaceLayout = new QHBoxLayout(m_replaceRow);
    replaceLayout->setContentsMargins(0, 0, 0, 0);
    replaceLayout->addWidget(replaceLabel);
    replaceLayout->addWidget(m_replace, 1);

    auto* directionLayout = new QHBoxLayout(m_directionBox);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);
    m_down->setChecked(true);

    auto* findNext = new QPushButton(QStringLiteral("&Find Next"), this);
    findNext->setDefault(true);
    auto* replace = new QPushButton(QStringLiteral("&Replace"), m_replaceButtons);
    auto* replaceAll = new QPushButton(QStringLiteral("Replace &All"), m_replaceButtons);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* replaceButtonsLayout = new QVBoxLayout(m_replaceButtons);
    replaceButtonsLayout->setContentsMargins(0, 0, 0, 0);
    replaceButtonsLayout->addWidget(replace);
    replaceButtonsLayout->addWidget(replaceAll);

    auto* fields = new QVBoxLayout;
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(findLabel);
    findRow->addWidget(m_find, 1);
    fields->addLayout(findRow);
    fields->addWidget(m_replaceRow);
    fields->addWidget(m_wholeWord);
    fields->addWidget(m_matchCase);
    fields->addWidget(m_directionBox);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findNext);
    buttons->addWidget(m_replaceButtons);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    connect(findNext, &QPushButton::clicked, this, [this] { m_finder.FindNext(Request()); });
    connect(replace, &QPushButton::clicked, this,
            [this] { m_finder.ReplaceCurrent(Request(), m_replace->text()); });
    connect(replaceAll, &QPushButton::clicked, this,
            [this] { m_finder.ReplaceAll(Request(), m_replace->text()); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto updateButtons = [this, findNext, replace, replaceAll] {
        const bool any = !m_find->text().isEmpty();
        findNext->setEnabled(any);
        replace->setEnabled(any);
        replaceAll->setEnabled(any);
    };
    connect(m_find, &QLineEdit::textChanged, this, updateButtons);
    updateButtons();
}

void CFindDialog::SetReplaceMode(bool replace) {
    m_replaceMode = replace;
    setWindowTitle(replace ? QStringLiteral("Replace") : QStringLiteral("Find"));
    m_replaceRow->setVisible(replace);
    m_replaceButtons->setVisible(replace);
    // Replace always works downwards, as the system's own replace dialog does.
    m_directionBox->setVisible(!replace);
}

void CFindDialog::SetRequest(const SFindRequest& request) {
    m_find->setText(request.text);
    m_matchCase->setChecked(request.matchCase);
    m_wholeWord->setChecked(request.wholeWord);
    (request.down ? m_down : m_up)->setChecked(true);
}

SFindRequest CFindDialog::Request() const {
    SFindRequest request;
    request.text = m_find->text();
    request.matchCase = m_matchCase->isChecked();
    request.wholeWord = m_wholeWord->isChecked();
    request.down = m_replaceMode || m_down->isChecked();
    return request;
}

} // namespace tovin
