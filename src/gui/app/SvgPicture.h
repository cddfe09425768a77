#pragma once
// Our own pictures (toolbar fallbacks, document types, the application icon) are small SVG
// files. Qt's SVG module is not part of the platform we build on, so this reads the plain
// subset those files use: <svg viewBox>, <g>, <rect>, <circle>, <ellipse>, <line>,
// <polyline>, <polygon>, <path> (every path command), <text>, presentation attributes and
// "style", and the transforms translate, scale, rotate and matrix. Anything else is skipped.

#include <QBrush>
#include <QPainterPath>
#include <QPen>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

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

// Makes the pictures compiled into the library readable under ":/tovin/icons".
void EnsureOwnResources();

} // namespace tovin
