#include "gui/desktop/HelpLocations.h"

#include "core/platform/Paths.h"

#include <QUrl>
#include <QUrlQuery>

namespace tovin {

std::string OwnHelpPath(const std::string& dataFolder) {
    return dataFolder + "/help/index.html";
}

std::string JdkHelpAddress(const std::string& helpPath, const std::string& keyword) {
    if (keyword.empty()) {
        return helpPath;
    }
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(GetFolder(helpPath) + "/search.html"));
    url.setQuery(QStringLiteral("q=") +
                 QString::fromLatin1(QUrl::toPercentEncoding(QString::fromStdString(keyword))));
    return url.toString(QUrl::FullyEncoded).toStdString();
}

} // namespace tovin
