#include "app/SvgPath.h"

#include <QRegularExpression>
#include <QtMath>
#include <cmath>
#include <optional>

namespace tovin {

namespace {
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

// Path data, command by command; the current point and the last control point carry over.
class CPathReader {
public:
    explicit CPathReader(const QString& data) : m_scan(data) {}
    QPainterPath Read();

private:
    std::optional<QPointF> Point(bool relative);
    bool MoveOrLine(QChar upper, bool relative);
    bool Straight(QChar upper, bool relative);
    bool Curve(QChar upper, bool relative);
    bool Arc(bool relative);
    // The reflection of the last control point, when the previous command was of the family.
    QPointF Reflected(QChar family, QChar smooth) const;

    CNumberScanner m_scan;
    QPainterPath m_path;
    QChar m_command, m_lastCommand;
    QPointF m_current, m_start, m_lastControl;
};

QPainterPath CPathReader::Read() {
    while (!m_scan.AtEnd()) {
        if (!m_scan.NextIsNumber()) {
            m_command = m_scan.TakeChar();
        } else if (m_command.isNull()) {
            break;
        }
        const bool relative = m_command.isLower();
        const QChar upper = m_command.toUpper();
        bool ok = false;
        if (upper == u'Z') {
            m_path.closeSubpath();
            m_current = m_start;
            ok = true;
        } else if (upper == u'M' || upper == u'L' || upper == u'T') {
            ok = MoveOrLine(upper, relative);
        } else if (upper == u'H' || upper == u'V') {
            ok = Straight(upper, relative);
        } else if (upper == u'C' || upper == u'S' || upper == u'Q') {
            ok = Curve(upper, relative);
        } else if (upper == u'A') {
            ok = Arc(relative);
        }
        if (!ok) {
            break; // an unknown command or a missing number ends the path
        }
        m_lastCommand = upper;
    }
    return m_path;
}

std::optional<QPointF> CPathReader::Point(bool relative) {
    auto x = m_scan.Number();
    auto y = m_scan.Number();
    if (!x || !y) {
        return std::nullopt;
    }
    return (relative ? m_current : QPointF()) + QPointF(*x, *y);
}

QPointF CPathReader::Reflected(QChar family, QChar smooth) const {
    const bool follows = m_lastCommand == family || m_lastCommand == smooth;
    return follows ? 2 * m_current - m_lastControl : m_current;
}

bool CPathReader::MoveOrLine(QChar upper, bool relative) {
    auto p = Point(relative);
    if (!p) {
        return false;
    }
    if (upper == u'M') {
        m_path.moveTo(*p);
        m_start = *p;
        m_command = relative ? u'l' : u'L'; // further pairs are lines
    } else if (upper == u'T') {
        m_lastControl = Reflected(u'Q', u'T');
        m_path.quadTo(m_lastControl, *p);
    } else {
        m_path.lineTo(*p);
    }
    m_current = *p;
    return true;
}

bool CPathReader::Straight(QChar upper, bool relative) {
    auto v = m_scan.Number();
    if (!v) {
        return false;
    }
    if (upper == u'H') {
        m_current.setX(relative ? m_current.x() + *v : *v);
    } else {
        m_current.setY(relative ? m_current.y() + *v : *v);
    }
    m_path.lineTo(m_current);
    return true;
}

bool CPathReader::Curve(QChar upper, bool relative) {
    std::optional<QPointF> first =
        upper == u'S' ? std::optional<QPointF>(Reflected(u'C', u'S')) : Point(relative);
    if (upper == u'Q') {
        auto p = first ? Point(relative) : std::nullopt;
        if (!p) {
            return false;
        }
        m_path.quadTo(*first, *p);
        m_lastControl = *first;
        m_current = *p;
        return true;
    }
    auto second = first ? Point(relative) : std::nullopt;
    auto p = second ? Point(relative) : std::nullopt;
    if (!p) {
        return false;
    }
    m_path.cubicTo(*first, *second, *p);
    m_lastControl = *second;
    m_current = *p;
    return true;
}

bool CPathReader::Arc(bool relative) {
    auto rx = m_scan.Number(), ry = m_scan.Number(), angle = m_scan.Number();
    auto large = m_scan.Flag(), sweep = m_scan.Flag();
    auto p = Point(relative);
    if (!rx || !ry || !angle || !large || !sweep || !p) {
        return false;
    }
    AddArc(m_path, m_current, *rx, *ry, *angle, *large, *sweep, *p);
    m_current = *p;
    return true;
}

} // namespace

QPainterPath ParseSvgPathData(const QString& data) {
    return CPathReader(data).Read();
}

std::vector<double> ParseSvgNumbers(const QString& text) {
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

QTransform ParseSvgTransform(const QString& text) {
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

} // namespace tovin
