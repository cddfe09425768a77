#include "gui/dialogs/TipOfTheDayDialog.h"

#include "core/app/TipOfTheDay.h"
#include "core/platform/Paths.h"
#include "gui/desktop/Icons.h"
#include "gui/framework/ApplicationServices.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tovin {

CTipOfTheDayDialog::CTipOfTheDayDialog(CTipOfTheDay& tips, QWidget* parent)
    : QDialog(parent), m_tips(tips), m_tipText(new QLabel), m_startup(new QCheckBox),
      m_next(new QPushButton) {
    setWindowTitle(QStringLiteral("Tip of the Day"));

    auto* panel = new QFrame;
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(white);
    auto* bulb = new QLabel;
    bulb->setPixmap(OwnIcon(QStringLiteral("light-bulb")).pixmap(QSize(32, 32)));
    auto* heading = new QLabel(QStringLiteral("Did you know..."));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    heading->setFont(headingFont);
    m_tipText->setWordWrap(true);
    m_tipText->setTextFormat(Qt::PlainText);
    m_tipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_tipText->setMinimumSize(360, 120);
    auto* panelLayout = new QGridLayout(panel);
    panelLayout->addWidget(bulb, 0, 0, Qt::AlignTop);
    panelLayout->addWidget(heading, 0, 1);
    panelLayout->addWidget(m_tipText, 1, 1);
    panelLayout->setColumnStretch(1, 1);
    panelLayout->setRowStretch(1, 1);

    m_startup->setText(QStringLiteral("&Show Tips on StartUp"));
    m_startup->setChecked(m_tips.ShowAtStartup());
    m_next->setText(QStringLiteral("&Next Tip"));
    m_next->setEnabled(m_tips.HasFile());
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(m_next, QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    connect(m_next, &QPushButton::clicked, this, [this] {
        m_tips.NextTip();
        ShowTip();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &CTipOfTheDayDialog::accept);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_startup);
    bottom->addStretch();
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addLayout(bottom);
    ShowTip();
}

void CTipOfTheDayDialog::ShowTip() {
    m_tipText->setText(QString::fromStdString(m_tips.Tip()));
}

void CTipOfTheDayDialog::done(int result) {
    m_tips.SetShowAtStartup(m_startup->isChecked());
    m_tips.StoreShowAtStartup();
    QDialog::done(result);
}

std::string ApplicationTipsFile() {
    return TipsFilePath(DataFolder());
}

void ShowTipOfTheDay(CApplicationServices& app, const std::string& tipsPath) {
    CTipOfTheDay tips(app.Store(), app.Host(), tipsPath);
    CTipOfTheDayDialog dialog(tips, app.MainWindow());
    dialog.exec();
}

void ShowStartupTip(CApplicationServices& app, const std::string& tipsPath) {
    CTipOfTheDay tips(app.Store(), app.Host(), tipsPath);
    if (tips.ShowAtStartup()) {
        CTipOfTheDayDialog dialog(tips, app.MainWindow());
        dialog.exec();
    }
}

} // namespace tovin
