#include "gui/desktop/FileFilter.h"

#include <QRegularExpression>
#include <QStringList>

namespace tovin {

QString ToQtFileFilter(const std::string& filter) {
    const QStringList fields = QString::fromStdString(filter).split(QLatin1Char('|'));
    static const QRegularExpression kTrailingPatterns(QStringLiteral(R"(\s*\([^()]*\)\s*$)"));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        QString name = fields[i].trimmed();
        if (name.isEmpty()) {
            break; // the "||" that ends the list
        }
        QStringList patterns;
        for (QString pattern : fields[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            pattern = pattern.trimmed();
            patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
        }
        if (patterns.isEmpty()) {
            patterns << QStringLiteral("*");
        }
        name.remove(kTrailingPatterns);
        entries << QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
    }
    return entries.join(QStringLiteral(";;"));
}

} // namespace tovin
