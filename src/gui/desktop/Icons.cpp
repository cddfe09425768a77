#include "gui/desktop/Icons.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <memory>

// The pictures are compiled into the library; a static library's resources must be named once
// to be linked in. Outside the namespace, as the macro requires.
static void InitialiseResources() {
    Q_INIT_RESOURCE(tovin);
}

namespace tovin {

namespace {

void EnsureOwnResources() {
    static const bool done = (InitialiseResources(), true);
    (void)done;
}

// Renders the picture afresh for every size, so toolbar and tree icons stay sharp at any
// device pixel ratio; disabled and selected looks come from the style as for any icon.
class CSvgIconEngine : public QIconEngine {
public:
    explicit CSvgIconEngine(std::shared_ptr<QSvgRenderer> renderer)
        : m_renderer(std::move(renderer)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device()->devicePixelRatioF();
        QPixmap picture = pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state);
        painter->drawPixmap(rect, picture);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        QPixmap picture(size);
        picture.fill(Qt::transparent);
        {
            QPainter painter(&picture);
            m_renderer->render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        }
        if (mode == QIcon::Disabled || mode == QIcon::Selected) {
            QStyleOption option;
            option.palette = QApplication::palette();
            return QApplication::style()->generatedIconPixmap(mode, picture, &option);
        }
        return picture;
    }

    QIconEngine* clone() const override { return new CSvgIconEngine(m_renderer); }
    bool isNull() override { return !m_renderer->isValid(); }

private:
    std::shared_ptr<QSvgRenderer> m_renderer;
};

} // namespace

QIcon OwnIcon(const QString& name) {
    EnsureOwnResources();
    static QHash<QString, QIcon> cache;
    auto it = cache.find(name);
    if (it == cache.end()) {
        auto renderer =
            std::make_shared<QSvgRenderer>(QStringLiteral(":/tovin/icons/%1.svg").arg(name));
        it =
            cache.insert(name, renderer->isValid() ? QIcon(new CSvgIconEngine(renderer)) : QIcon());
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
    return ThemeOrOwnIcon("tovin", "tovin");
}

} // namespace tovin
