#pragma once
// Icons from our own pictures, drawn at whatever size is asked for, and the choice between the
// desktop theme's icon and ours.

#include "app/SvgPicture.h"

#include <QIcon>
#include <QIconEngine>

namespace tovin {

// An icon drawn from a CSvgPicture at whatever size is asked for.
class CSvgIconEngine : public QIconEngine {
public:
    explicit CSvgIconEngine(CSvgPicture picture) : m_picture(std::move(picture)) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override { return new CSvgIconEngine(m_picture); }
    bool isNull() override { return m_picture.IsNull(); }

private:
    CSvgPicture m_picture;
};

// One of our pictures from the resources (":/tovin/icons/<name>.svg"); null when missing.
QIcon OwnIcon(const QString& name);
// The desktop theme's icon of that name when the theme has one, else our own picture.
QIcon ThemeOrOwnIcon(const char* themeName, const char* ownName);
// The application icon, from the PNG renderings of its picture.
QIcon ApplicationIcon();

} // namespace tovin
