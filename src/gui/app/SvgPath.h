#pragma once
// The number lists, path data and transforms of SVG attributes, as our pictures use them.

#include <QPainterPath>
#include <QString>
#include <QTransform>
#include <vector>

namespace tovin {

// Every path command (M L H V C S Q T A Z, absolute and relative). Reading stops at the first
// malformed part; what was read before it is kept.
QPainterPath ParseSvgPathData(const QString& data);
// Numbers separated by blanks or commas, as in "points" and "viewBox".
std::vector<double> ParseSvgNumbers(const QString& text);
// translate, scale, rotate (with or without a centre) and matrix, applied left to right.
QTransform ParseSvgTransform(const QString& text);

} // namespace tovin
