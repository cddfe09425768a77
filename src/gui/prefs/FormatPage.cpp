#include "gui/prefs/FormatPage.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tovin {

namespace {

struct SColourRow {
    const char* button;
    const char* sample;
};
constexpr SColourRow kColourRows[] = {
    {"Keywords", "public static final int"},
    {"Comments", "// sample comment"},
    {"Strings", "\"This is a string\""},
    {"HTML Tags", "<HTML TAG>"},
};

} // namespace

CFormatPage::CFormatPage(QWidget* parent)
    : CPrefsPage(parent),
      m_fontList(new QComboBox), m_fontSize{new QLineEdit, QStringLiteral("Font size (points)"),
                                            kMinFontPoints, kMaxFontPoints},
      m_tabWidth{new QLineEdit, QStringLiteral("Character width of tabs"), 2, 10},
      m_spaceTabs(new QCheckBox(QStringLiteral("Generate spaces instead of tabs"))) {
    m_chooseColour = [this](const QColor& current) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(current, this);
        return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
    };
    const CSettings defaults;
    m_colours = {ColourFromRef(defaults.keyColor), ColourFromRef(defaults.commentColor),
                 ColourFromRef(defaults.stringColor), ColourFromRef(defaults.tagColor)};

    m_fontSize.edit->setMaxLength(4);
    m_fontSize.edit->setMaximumWidth(80);
    m_tabWidth.edit->setMaxLength(4);
    m_tabWidth.edit->setMaximumWidth(80);
    connect(m_fontList, &QComboBox::currentTextChanged, this,
            [this](const QString& face) { m_face = face; });
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Source Editor Font:"), m_fontList);
    form->addRow(m_fontSize.label + ':', m_fontSize.edit);
    form->addRow(m_tabWidth.label + ':', m_tabWidth.edit);
    form->addRow(m_spaceTabs);

    auto* colours = new QGroupBox(QStringLiteral("Colours"));
    auto* grid = new QGridLayout(colours);
    for (int colour = 0; colour < ColourCount; ++colour) {
        m_buttons[colour] = new QPushButton(QLatin1String(kColourRows[colour].button));
        m_samples[colour] = new QLineEdit(QLatin1String(kColourRows[colour].sample));
        m_samples[colour]->setReadOnly(true);
        m_samples[colour]->setFocusPolicy(Qt::NoFocus);
        grid->addWidget(m_buttons[colour], colour, 0);
        grid->addWidget(m_samples[colour], colour, 1);
        connect(m_buttons[colour], &QPushButton::clicked, this,
                [this, colour] { ChooseColour(EColour(colour)); });
    }
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(colours);
    layout->addStretch();
    PaintSamples();
}

void CFormatPage::Load(const CSettings& settings) {
    m_face = QString::fromStdString(settings.fontName);
    FillFontList(*m_fontList, m_face);
    m_fontSize.edit->setText(QString::number(TenthsToPoints(settings.fontSize)));
    m_tabWidth.edit->setText(QString::number(settings.tabWidth));
    m_spaceTabs->setChecked(settings.spaceTabs != 0);
    m_colours = {ColourFromRef(settings.keyColor), ColourFromRef(settings.commentColor),
                 ColourFromRef(settings.stringColor), ColourFromRef(settings.tagColor)};
    // The samples show the source font; the tag sample keeps the dialog's.
    QFont font(m_face);
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(std::max(1, TenthsToPoints(settings.fontSize)));
    for (EColour colour : {Keywords, Comments, Strings}) {
        m_samples[colour]->setFont(font);
    }
    PaintSamples();
}

QString CFormatPage::Validate() {
    for (const SNumberField* field : {&m_fontSize, &m_tabWidth}) {
        QString problem = field->Check();
        if (!problem.isEmpty()) {
            field->edit->setFocus();
            field->edit->selectAll();
            return problem;
        }
    }
    return {};
}

void CFormatPage::Store(CSettings& settings) const {
    settings.fontName = m_face.toStdString();
    settings.fontSize = PointsToTenths(m_fontSize.Value());
    settings.tabWidth = m_tabWidth.Value();
    settings.spaceTabs = m_spaceTabs->isChecked() ? 1 : 0;
    settings.keyColor = RefFromColour(m_colours[Keywords]);
    settings.commentColor = RefFromColour(m_colours[Comments]);
    settings.stringColor = RefFromColour(m_colours[Strings]);
    settings.tagColor = RefFromColour(m_colours[HtmlTags]);
}

void CFormatPage::ChooseColour(EColour colour) {
    if (std::optional<QColor> chosen = m_chooseColour(m_colours[colour])) {
        m_colours[colour] = *chosen;
        PaintSamples();
    }
}

void CFormatPage::PaintSamples() {
    for (int colour = 0; colour < ColourCount; ++colour) {
        QPalette palette = m_samples[colour]->palette();
        palette.setColor(QPalette::Text, m_colours[colour]);
        palette.setColor(QPalette::Base, Qt::white);
        m_samples[colour]->setPalette(palette);
    }
}

} // namespace tovin
