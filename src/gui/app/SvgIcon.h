#pragma once
// Our own pictures (toolbar fallbacks, document types, the application icon) are small SVG
// files. Qt's SVG module is not part of the platform we build on, so this reads the plain
// subset those files use: <svg viewBox>, <g>, <rect>, <circle>, <ellipse>, <line>,
// <polyline>, <polygon>, <path> (every path command), <text>, presentation attributes and
// "style", and the transforms translate, scale, rotate and matrix. Anything else is skipped.

#include <QIcon>
#include <QIconEngine>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <QString>
#include <vector>

namespace tovin {

class CSvgPicture {
public:
    // An empty picture (IsNull) when the bytes are not SVG.
    static CSvgPicture FromData(const QByteArray& data);
    static CSvgPicture FromFile(const QString& path);

    bool IsNull() const { return m_shapes.empty(); }
    QRectF ViewBox() const { return m_viewBox; }
    // Draws the picture scaled into the rectangle, keeping its aspect ratio, centred.
    void Render(QPainter& painter, const QRectF& target) const;
    QPixmap ToPixmap(const QSize& size) const;

    struct SShape {
        QPainterPath path;
        QBrush fill;
        QPen stroke; // Qt::NoPen when the shape is not stroked
    };

private:
    QRectF m_viewBox{0, 0, 16, 16};
    std::vector<SShape> m_shapes;
    friend class CSvgReader;
};

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
