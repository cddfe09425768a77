#include "app/SvgIcon.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace tovin {

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
    EnsureOwnResources();
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
    EnsureOwnResources();
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        icon.addFile(QStringLiteral(":/tovin/icons/tovin-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace tovin
