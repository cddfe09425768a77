#include "app/SvgIcon.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QStyleOption>
#include <QXmlStreamReader>
#include <QtMath>
#include <cmath>

// The pictures are compiled into the library; a static library's resources must be named
// once to be linked in. Outside the namespace, as the macro requires.
static void InitialiseResources() {
    Q_INIT_RESOURCE(tovin);
}

namespace tovin {

namespace {

void EnsureResources() {
    static const bool done = (InitialiseResources(), true);
    (void)done;
}

// Reads the numbers of path data and point lists: "M1.5-2.5.5" gives 1.5, -2.5, 0.5.
class CNumberScanner {
public:
    explicit CNumberScanner(const QString& text) : m_text(text) {}

    void SkipSeparators() {
        while (m_pos < m_text.size() && (m_text[m_pos].isSpace() || m_text[m_pos] == u',')) {
            ++m_pos;
        }
    }
    bool AtEnd() {
        SkipSeparators();
        return m_pos >= m_text.size();
    }
    bool NextIsNumber() {
        SkipSeparators();
        if (m_pos >= m_text.size()) {
            return false;
        }
        QChar c = m_text[m_pos];
        return c.isDigit() || c == u'-' || c == u'+' || c == u'.';
    }
    QChar TakeChar() {
        SkipSeparators();
        return m_pos < m_text.size() ? m_text[m_pos++] : QChar();
    }
    std::optional<double> Number() {
        SkipSeparators();
        qsizetype start = m_pos;
        auto digits = [&] {
            while (m_pos < m_text.size() && m_text[m_pos].isDigit()) {
                ++m_pos;
            }
        };
        if (m_pos < m_text.size() && (m_text[m_pos] == u'-' || m_text[m_pos] == u'+')) {
            ++m_pos;
        }
        digits();
        if (m_pos < m_text.size() && m_text[m_pos] == u'.') {
            ++m_pos;
            digits();
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == u'e' || m_text[m_pos] == u'E')) {
            ++m_pos;
            if (m_pos < m_text.size() && (m_text[m_pos] == u'-' || m_text[m_pos] == u'+')) {
                ++m_pos;
            }
            digits();
        }
        bool ok = false;
        double value = m_text.mid(start, m_pos - start).toDouble(&ok);
        if (!ok) {
            m_pos = m_text.size(); // malformed: stop reading this attribute
            return std::nullopt;
        }
        return value;
    }
    // An arc flag may be written without a separator ("a5 5 0 011 1").
    std::optional<bool> Flag() {
        SkipSeparators();
        if (m_pos < m_text.size() && (m_text[m_pos] == u'0' || m_text[m_pos] == u'1')) {
            return m_text[m_pos++] == u'1';
        }
        m_pos = m_text.size();
        return std::nullopt;
    }

private:
    QString m_text;
    qsizetype m_pos = 0;
};

// The endpoint form of an elliptical arc, drawn as short lines (icons are small).
void AddArc(QPainterPath& path, QPointF from, double rx, double ry, double angle, bool large,
            bool sweep, QPointF to) {
    if (from == to) {
        return;
    }
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if (rx == 0 || ry == 0) {
        path.lineTo(to);
        return;
    }
    const double phi = qDegreesToRadians(angle);
    const double cosPhi = std::cos(phi), sinPhi = std::sin(phi);
    const double dx = (from.x() - to.x()) / 2, dy = (from.y() - to.y()) / 2;
    const double x1 = cosPhi * dx + sinPhi * dy, y1 = -sinPhi * dx + cosPhi * dy;
    double lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    double numerator = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    double denominator = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double factor = std::sqrt(std::max(0.0, numerator / denominator));
    if (large == sweep) {
        factor = -factor;
    }
    const double cx1 = factor * rx * y1 / ry, cy1 = -factor * ry * x1 / rx;
    const double cx = cosPhi * cx1 - sinPhi * cy1 + (from.x() + to.x()) / 2;
    const double cy = sinPhi * cx1 + cosPhi * cy1 + (from.y() + to.y()) / 2;
    auto angleOf = [](double ux, double uy) { return std::atan2(uy, ux); };
    const double start = angleOf((x1 - cx1) / rx, (y1 - cy1) / ry);
    double delta = angleOf((-x1 - cx1) / rx, (-y1 - cy1) / ry) - start;
    if (sweep && delta < 0) {
        delta += 2 * M_PI;
    } else if (!sweep && delta > 0) {
        delta -= 2 * M_PI;
    }
    const int steps = std::max(4, static_cast<int>(std::ceil(std::fabs(delta) / (M_PI / 16))));
    for (int i = 1; i <= steps; ++i) {
        const double t = start + delta * i / steps;
        const double ex = rx * std::cos(t), ey = ry * std::sin(t);
        path.lineTo(cosPhi * ex - sinPhi * ey + cx, sinPhi * ex + cosPhi * ey + cy);
    }
}

QPainterPath ParsePathData(const QString& data) {
    QPainterPath path;
    CNumberScanner scan(data);
    QChar command;
    QPointF current, start, lastControl;
    QChar lastCommand;
    while (!scan.AtEnd()) {
        if (!scan.NextIsNumber()) {
            command = scan.TakeChar();
        } else if (command.isNull()) {
            break;
        }
        const bool relative = command.isLower();
        const QPointF base = relative ? current : QPointF();
        auto point = [&]() -> std::optional<QPointF> {
            auto x = scan.Number();
            auto y = scan.Number();
            if (!x || !y) {
                return std::nullopt;
            }
            return base + QPointF(*x, *y);
        };
        const QChar upper = command.toUpper();
        if (upper == u'Z') {
            path.closeSubpath();
            current = start;
        } else if (upper == u'M' || upper == u'L' || upper == u'T') {
            auto p = point();
            if (!p) {
                break;
            }
            if (upper == u'M') {
                path.moveTo(*p);
                start = *p;
                command = relative ? u'l' : u'L'; // further pairs are lines
            } else if (upper == u'T') {
                QChar last = lastCommand.toUpper();
                QPointF control =
                    (last == u'Q' || last == u'T') ? 2 * current - lastControl : current;
                path.quadTo(control, *p);
                lastControl = control;
            } else {
                path.lineTo(*p);
            }
            current = *p;
        } else if (upper == u'H' || upper == u'V') {
            auto v = scan.Number();
            if (!v) {
                break;
            }
            if (upper == u'H') {
                current.setX(relative ? current.x() + *v : *v);
            } else {
                current.setY(relative ? current.y() + *v : *v);
            }
            path.lineTo(current);
        } else if (upper == u'C' || upper == u'S') {
            std::optional<QPointF> c1;
            if (upper == u'C') {
                c1 = point();
            } else {
                QChar last = lastCommand.toUpper();
                c1 = (last == u'C' || last == u'S') ? 2 * current - lastControl : current;
            }
            auto c2 = point();
            auto p = point();
            if (!c1 || !c2 || !p) {
                break;
            }
            path.cubicTo(*c1, *c2, *p);
            lastControl = *c2;
            current = *p;
        } else if (upper == u'Q') {
            auto c = point();
            auto p = point();
            if (!c || !p) {
                break;
            }
            path.quadTo(*c, *p);
            lastControl = *c;
            current = *p;
        } else if (upper == u'A') {
            auto rx = scan.Number(), ry = scan.Number(), angle = scan.Number();
            auto large = scan.Flag(), sweep = scan.Flag();
            auto p = point();
            if (!rx || !ry || !angle || !large || !sweep || !p) {
                break;
            }
            AddArc(path, current, *rx, *ry, *angle, *large, *sweep, *p);
            current = *p;
        } else {
            break; // an unknown command ends the path
        }
        lastCommand = command;
    }
    return path;
}

QTransform ParseTransform(const QString& text) {
    QTransform result;
    static const QRegularExpression kPart(QStringLiteral(R"((\w+)\s*\(([^)]*)\))"));
    for (auto it = kPart.globalMatch(text); it.hasNext();) {
        auto match = it.next();
        std::vector<double> v;
        CNumberScanner scan(match.captured(2));
        while (scan.NextIsNumber()) {
            if (auto n = scan.Number()) {
                v.push_back(*n);
            }
        }
        QString name = match.captured(1);
        QTransform t;
        if (name == u"translate" && !v.empty()) {
            t.translate(v[0], v.size() > 1 ? v[1] : 0);
        } else if (name == u"scale" && !v.empty()) {
            t.scale(v[0], v.size() > 1 ? v[1] : v[0]);
        } else if (name == u"rotate" && !v.empty()) {
            if (v.size() >= 3) {
                t.translate(v[1], v[2]).rotate(v[0]).translate(-v[1], -v[2]);
            } else {
                t.rotate(v[0]);
            }
        } else if (name == u"matrix" && v.size() == 6) {
            t = QTransform(v[0], v[1], v[2], v[3], v[4], v[5]);
        }
        result = t * result;
    }
    return result;
}

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
        style.transform = ParseTransform(attributes.value(QLatin1String("transform")).toString()) *
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

std::vector<double> NumberList(const QString& text) {
    std::vector<double> numbers;
    CNumberScanner scan(text);
    while (scan.NextIsNumber()) {
        auto n = scan.Number();
        if (!n) {
            break;
        }
        numbers.push_back(*n);
    }
    return numbers;
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
        auto v = NumberList(a.value(QLatin1String("points")).toString());
        for (size_t i = 0; i + 1 < v.size(); i += 2) {
            i == 0 ? path.moveTo(v[i], v[i + 1]) : path.lineTo(v[i], v[i + 1]);
        }
        if (name == u"polygon") {
            path.closeSubpath();
        }
    } else if (name == u"path") {
        path = ParsePathData(a.value(QLatin1String("d")).toString());
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
            auto box = NumberList(xml.attributes().value(QLatin1String("viewBox")).toString());
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
    EnsureResources();
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

void CSvgIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                           QIcon::State state) {
    painter->drawPixmap(rect,
                        pixmap(rect.size() * painter->device()->devicePixelRatio(), mode, state));
}

QPixmap CSvgIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) {
    QPixmap picture = m_picture.ToPixmap(size);
    if (mode == QIcon::Disabled || mode == QIcon::Selected) {
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, picture, &option);
    }
    return picture;
}

QIcon OwnIcon(const QString& name) {
    EnsureResources();
    static QHash<QString, QIcon> cache;
    auto it = cache.find(name);
    if (it == cache.end()) {
        auto picture = CSvgPicture::FromFile(QStringLiteral(":/tovin/icons/%1.svg").arg(name));
        it = cache.insert(name, picture.IsNull() ? QIcon()
                                                 : QIcon(new CSvgIconEngine(std::move(picture))));
    }
    return *it;
}

QIcon ThemeOrOwnIcon(const char* themeName, const char* ownName) {
    QIcon own = ownName ? OwnIcon(QLatin1String(ownName)) : QIcon();
    if (themeName && QIcon::hasThemeIcon(QLatin1String(themeName))) {
        return QIcon::fromTheme(QLatin1String(themeName), own);
    }
    return own;
}

QIcon ApplicationIcon() {
    EnsureResources();
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        icon.addFile(QStringLiteral(":/tovin/icons/tovin-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace tovin
