#include "gui/prefs/ProcessFontPage.h"

#include "gui/desktop/Icons.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tovin {

CProcessFontPage::CProcessFontPage(QWidget* parent)
    : CPrefsPage(parent),
      m_fontList(new QComboBox), m_fontSize{new QLineEdit, QStringLiteral("Font size (points)"),
                                            kMinFontPoints, kMaxFontPoints} {
    m_fontSize.edit->setMaxLength(4);
    m_fontSize.edit->setMaximumWidth(80);
    connect(m_fontList, &QComboBox::currentTextChanged, this,
            [this](const QString& face) { m_face = face; });
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Process Window Font:"), m_fontList);
    form->addRow(m_fontSize.label + ':', m_fontSize.edit);

    auto* picture = new QLabel;
    picture->setPixmap(OwnIcon(QStringLiteral("process-note")).pixmap(QSize(32, 32)));
    auto* note = new QLabel(QStringLiteral(
        "Changes will not be visible until the Process Window has been closed and reopened."));
    note->setWordWrap(true);
    auto* noteRow = new QHBoxLayout;
    noteRow->addWidget(picture, 0, Qt::AlignTop);
    noteRow->addWidget(note, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(noteRow);
    layout->addStretch();
}

void CProcessFontPage::Load(const CSettings& settings) {
    m_face = QString::fromStdString(settings.dlgFontName);
    FillFontList(*m_fontList, m_face);
    m_fontSize.edit->setText(QString::number(TenthsToPoints(settings.dlgFontSize)));
}

QString CProcessFontPage::Validate() {
    QString problem = m_fontSize.Check();
    if (!problem.isEmpty()) {
        m_fontSize.edit->setFocus();
        m_fontSize.edit->selectAll();
    }
    return problem;
}

void CProcessFontPage::Store(CSettings& settings) const {
    settings.dlgFontName = m_face.toStdString();
    settings.dlgFontSize = PointsToTenths(m_fontSize.Value());
}

} // namespace tovin
