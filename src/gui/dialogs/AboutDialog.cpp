#include "gui/dialogs/AboutDialog.h"

#include "gui/desktop/Icons.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tovin {

CAboutDialog::CAboutDialog(std::function<void(const std::string&)> openWebSite, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Tovin"));
    auto* picture = new QLabel(this);
    picture->setPixmap(ApplicationIcon().pixmap(64, 64));
    picture->setAlignment(Qt::AlignTop);

    auto* name = new QLabel(QStringLiteral("<b>Tovin</b>"), this);
    QFont large = name->font();
    large.setPointSizeF(large.pointSizeF() * 1.4);
    name->setFont(large);
    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(new QLabel(QLatin1String(kVersionText), this));
    texts->addWidget(
        new QLabel(QStringLiteral("A lightweight development environment for Java."), this));
    texts->addWidget(new QLabel(QStringLiteral("Verrimond, built with Qt %1 for the Linux desktop.")
                                    .arg(QLatin1String(qVersion())),
                                this));
    texts->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* visit =
        buttons->addButton(QStringLiteral("&Visit Web Site"), QDialogButtonBox::ActionRole);
    connect(visit, &QPushButton::clicked, this,
            [openWebSite = std::move(openWebSite)] { openWebSite(kWebSiteUrl); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace tovin
