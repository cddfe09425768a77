#include "app/SvgPicture.h"

#include "app/SvgPath.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QXmlStreamReader>
#include <cmath>

// The pictures are compiled into the library; a static library's resources must be named
// once to be linked in. Outside the namespace, as the macro requires.
static void InitialiseResources() {
    Q_INIT_RESOURCE(tovin);
}

namespace tovin {

void EnsureOwnResources() {
    static const bool done = (InitialiseResources(), true);
    (void)done;
}

namespace {

struct SStyle {
    QString fill = QStringLiteral("#000000");
    QString stroke = QStringLiteral("none");
    double strokeWidth = 1;
    double opacity = 1, fillOpacity = 1, strokeOpacity = 1;
    Qt::PenCapStyle cap = Qt::FlatCap;
    Qt::PenJoinStyle join = Qt::MiterJoin;
    Qt::FillRule fillRule = Qt::WindingFill;
    QString fontFamily = QStringLiteral("sans-serif");
    double fontSize = 12;
    bool bold = false;
    QString anchor = QStringLiteral("start");
    QTransform transform;
};

void ApplyProperty(SStyle& style, const QString& name, const QString& value) {
    bool ok = false;
    if (name == u"fill") {
        style.fill = value;
    } else if (name == u"stroke") {
        style.stroke = value;
    } else if (name == u"stroke-width") {
        double w = value.toDouble(&ok);
        style.strokeWidth = ok ? w : style.strokeWidth;
    } else if (name == u"opacity" || name == u"fill-opacity" || name == u"stroke-opacity") {
        double o = value.toDouble(&ok);
        if (ok) {
            (name == u"opacity"        ? style.opacity
             : name == u"fill-opacity" ? style.fillOpacity
                                       : style.strokeOpacity) = o;
        }
    } else if (name == u"stroke-linecap") {
        style.cap = value == u"round"    ? Qt::RoundCap
                    : value == u"square" ? Qt::SquareCap
                                         : Qt::FlatCap;
    } else if (name == u"stroke-linejoin") {
        style.join = value == u"round"   ? Qt::RoundJoin
                     : value == u"bevel" ? Qt::BevelJoin
                                         : Qt::MiterJoin;
    } else if (name == u"fill-rule") {
        style.fillRule = value == u"evenodd" ? Qt::OddEvenFill : Qt::WindingFill;
    } else if (name == u"font-family") {
        style.fontFamily = value;
    } else if (name == u"font-size") {
        double s = QString(value).remove(QStringLiteral("px")).toDouble(&ok);
        style.fontSize = ok ? s : style.fontSize;
    } else if (name == u"font-weight") {
        style.bold = value == u"bold" || value.toInt() >= 600;
    } else if (name == u"text-anchor") {
        style.anchor = value;
    }
}

SStyle StyleOf(const QXmlStreamAttributes& attributes, SStyle style) {
    for (const auto& attribute : attributes) {
        ApplyProperty(style, attribute.name().toString(), attribute.value().toString().trimmed());
    }
    for (const QString& part : attributes.value(QLatin1String("style")).toString().split(u';')) {
        auto colon = part.indexOf(u':');
        if (colon > 0) {
            ApplyProperty(style, part.left(colon).trimmed(), part.mid(colon + 1).trimmed());
        }
    }
    if (attributes.hasAttribute(QLatin1String("transform"))) {
        style.transform =
            ParseSvgTransform(attributes.value(QLatin1String("transform")).toString()) *
            style.transform;
    }
    return style;
}

QColor ColourOf(const QString& text, double opacity) {
    QColor colour = text == u"currentColor" ? QColor(Qt::black) : QColor::fromString(text);
    if (colour.isValid()) {
        colour.setAlphaF(static_cast<float>(colour.alphaF() * opacity));
    }
    return colour;
}

double Attr(const QXmlStreamAttributes& a, const char* name, double fallback = 0) {
    bool ok = false;
    double value = a.value(QLatin1String(name)).toDouble(&ok);
    return ok ? value : fallback;
}

} // namespace

class CSvgReader {
public:
    static CSvgPicture Read(const QByteArray& data);

private:
    static QPainterPath Geometry(QXmlStreamReader& xml, const SStyle& style);
    static void AddShape(CSvgPicture& picture, QPainterPath path, const SStyle& style);
};

QPainterPath CSvgReader::Geometry(QXmlStreamReader& xml, const SStyle& style) {
    const auto a = xml.attributes();
    const auto name = xml.name();
    QPainterPath path;
    if (name == u"rect") {
        QRectF r(Attr(a, "x"), Attr(a, "y"), Attr(a, "width"), Attr(a, "height"));
        double rx = Attr(a, "rx", Attr(a, "ry")), ry = Attr(a, "ry", rx);
        path.addRoundedRect(r, rx, ry);
    } else if (name == u"circle") {
        double r = Attr(a, "r");
        path.addEllipse(QPointF(Attr(a, "cx"), Attr(a, "cy")), r, r);
    } else if (name == u"ellipse") {
        path.addEllipse(QPointF(Attr(a, "cx"), Attr(a, "cy")), Attr(a, "rx"), Attr(a, "ry"));
    } else if (name == u"line") {
        path.moveTo(Attr(a, "x1"), Attr(a, "y1"));
        path.lineTo(Attr(a, "x2"), Attr(a, "y2"));
    } else if (name == u"polyline" || name == u"polygon") {
        auto v = ParseSvgNumbers(a.value(QLatin1String("points")).toString());
        for (size_t i = 0; i + 1 < v.size(); i += 2) {
            i == 0 ? path.moveTo(v[i], v[i + 1]) : path.lineTo(v[i], v[i + 1]);
        }
        if (name == u"polygon") {
            path.closeSubpath();
        }
    } else if (name == u"path") {
        path = ParseSvgPathData(a.value(QLatin1String("d")).toString());
    } else if (name == u"text") {
        QPointF at(Attr(a, "x"), Attr(a, "y"));
        QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        QFont font(style.fontFamily);
        font.setStyleHint(QFont::SansSerif);
        font.setPixelSize(std::max(1, qRound(style.fontSize)));
        font.setBold(style.bold);
        double width = QFontMetricsF(font).horizontalAdvance(text);
        if (style.anchor == u"middle") {
            at.rx() -= width / 2;
        } else if (style.anchor == u"end") {
            at.rx() -= width;
        }
        path.addText(at, font, text);
    }
    path.setFillRule(style.fillRule);
    return path;
}

void CSvgReader::AddShape(CSvgPicture& picture, QPainterPath path, const SStyle& style) {
    if (path.isEmpty()) {
        return;
    }
    CSvgPicture::SShape shape;
    shape.path = style.transform.map(path);
    QColor fill = ColourOf(style.fill, style.opacity * style.fillOpacity);
    shape.fill = style.fill == u"none" || !fill.isValid() ? QBrush(Qt::NoBrush) : QBrush(fill);
    QColor stroke = ColourOf(style.stroke, style.opacity * style.strokeOpacity);
    if (style.stroke != u"none" && stroke.isValid() && style.strokeWidth > 0) {
        // Scaled transforms widen the pen in proportion, as the drawing expects.
        double scale = std::sqrt(std::fabs(style.transform.determinant()));
        shape.stroke =
            QPen(stroke, style.strokeWidth * scale, Qt::SolidLine, style.cap, style.join);
    } else {
        shape.stroke = QPen(Qt::NoPen);
    }
    picture.m_shapes.push_back(std::move(shape));
}

CSvgPicture CSvgReader::Read(const QByteArray& data) {
    CSvgPicture picture;
    QXmlStreamReader xml(data);
    std::vector<SStyle> styles{SStyle{}};
    int skipDepth = 0; // inside <defs>, <title> and other elements that draw nothing
    while (!xml.atEnd() && !xml.hasError()) {
        auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (skipDepth > 0) {
                --skipDepth;
            } else if (styles.size() > 1) {
                styles.pop_back();
            }
            continue;
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        if (skipDepth > 0 || xml.name() == u"defs" || xml.name() == u"title" ||
            xml.name() == u"desc" || xml.name() == u"metadata") {
            ++skipDepth;
            continue;
        }
        SStyle style = StyleOf(xml.attributes(), styles.back());
        if (xml.name() == u"svg") {
            auto box = ParseSvgNumbers(xml.attributes().value(QLatin1String("viewBox")).toString());
            if (box.size() == 4 && box[2] > 0 && box[3] > 0) {
                picture.m_viewBox = QRectF(box[0], box[1], box[2], box[3]);
            } else {
                picture.m_viewBox = QRectF(0, 0, Attr(xml.attributes(), "width", 16),
                                           Attr(xml.attributes(), "height", 16));
            }
        }
        const bool isText = xml.name() == u"text";
        AddShape(picture, Geometry(xml, style), style);
        if (!isText) { // reading a text element consumed its end tag
            styles.push_back(style);
        }
    }
    if (xml.hasError()) {
        return {};
    }
    return picture;
}

CSvgPicture CSvgPicture::FromData(const QByteArray& data) {
    return CSvgReader::Read(data);
}

CSvgPicture CSvgPicture::FromFile(const QString& path) {
    EnsureOwnResources();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return FromData(file.readAll());
}

void CSvgPicture::Render(QPainter& painter, const QRectF& target) const {
    if (IsNull() || m_viewBox.isEmpty()) {
        return;
    }
    const double scale =
        std::min(target.width() / m_viewBox.width(), target.height() / m_viewBox.height());
    const QPointF offset(target.x() + (target.width() - m_viewBox.width() * scale) / 2,
                         target.y() + (target.height() - m_viewBox.height() * scale) / 2);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(offset);
    painter.scale(scale, scale);
    painter.translate(-m_viewBox.topLeft());
    for (const SShape& shape : m_shapes) {
        painter.fillPath(shape.path, shape.fill);
        if (shape.stroke.style() != Qt::NoPen) {
            painter.strokePath(shape.path, shape.stroke);
        }
    }
    painter.restore();
}

QPixmap CSvgPicture::ToPixmap(const QSize& size) const {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    Render(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

} // namespace tovin
