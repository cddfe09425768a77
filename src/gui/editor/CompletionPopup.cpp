#include "gui/editor/CompletionPopup.h"

#include <QApplication>
#include <QHash>
#include <QHeaderView>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tovin {

namespace {

constexpr int kVisibleRows = 12;
constexpr int kMaxWidth = 640;
constexpr int kDetailMargin = 16;

// The badge of a kind: a letter on a colour, the same in every theme.
struct SBadge {
    QChar letter;
    QColor colour;
};

SBadge BadgeOf(int kind) {
    switch (kind) {
    case kKindMethod:
        return {'m', QColor(0x7b, 0x4f, 0xc4)};
    case kKindConstructor:
        return {'c', QColor(0x7b, 0x4f, 0xc4)};
    case kKindField:
        return {'f', QColor(0x1f, 0x78, 0xb4)};
    case kKindVariable:
        return {'v', QColor(0x21, 0x8f, 0x7a)};
    case kKindClass:
        return {'C', QColor(0xd0, 0x7a, 0x1a)};
    case kKindInterface:
        return {'I', QColor(0x3a, 0x9a, 0x3a)};
    case kKindPackage:
        return {'p', QColor(0x8a, 0x6d, 0x3b)};
    case kKindEnum:
        return {'E', QColor(0xb8, 0x5c, 0x1a)};
    case kKindKeyword:
        return {'k', QColor(0x6e, 0x6e, 0x6e)};
    case kKindEnumConstant:
        return {'e', QColor(0x1f, 0x78, 0xb4)};
    case kKindRecord:
        return {'R', QColor(0xd0, 0x7a, 0x1a)};
    case kKindTypeParameter:
        return {'T', QColor(0x3a, 0x9a, 0x3a)};
    default:
        return {' ', QColor(0x9e, 0x9e, 0x9e)};
    }
}

QIcon BadgeIcon(int kind, qreal pixelRatio) {
    static QHash<int, QIcon> made;
    const int key = kind * 8 + static_cast<int>(pixelRatio * 2);
    if (const auto found = made.constFind(key); found != made.constEnd()) {
        return *found;
    }
    constexpr int kSide = 16;
    QPixmap pixmap(QSize(kSide, kSide) * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const SBadge badge = BadgeOf(kind);
    painter.setPen(Qt::NoPen);
    painter.setBrush(badge.colour);
    painter.drawRoundedRect(QRectF(1, 1, kSide - 2, kSide - 2), 3, 3);
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 0, kSide, kSide), Qt::AlignCenter, QString(badge.letter));
    painter.end();
    return made[key] = QIcon(pixmap);
}

} // namespace

CCompletionPopup::CCompletionPopup(QWidget* editor)
    : QFrame(editor, Qt::ToolTip | Qt::FramelessWindowHint), m_list(new QTreeWidget(this)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_list);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setMinimumSize(0, 0);
    m_list->setFrameShape(QFrame::NoFrame);
    // Rows a little apart, so the badges do not touch.
    m_list->setStyleSheet(QStringLiteral("QTreeView::item { padding: 2px 6px 2px 3px; }"));
    m_list->setColumnCount(2);
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setIndentation(0);
    m_list->setIconSize(QSize(16, 16));
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::Fixed);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { emit Activated(); });
}

void CCompletionPopup::SetItems(const QList<SCompletionItem>& items) {
    m_items = items;
    std::stable_sort(
        m_items.begin(), m_items.end(),
        [](const SCompletionItem& a, const SCompletionItem& b) { return a.sortText < b.sortText; });
    m_list->clear();
    const qreal ratio = devicePixelRatioF();
    const QColor detailColour = palette().color(QPalette::Disabled, QPalette::Text);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(m_items.size());
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        const SCompletionItem& item = m_items[i];
        auto* row = new QTreeWidgetItem({item.label, item.detail});
        row->setIcon(0, BadgeIcon(item.kind, ratio));
        row->setForeground(1, detailColour);
        row->setTextAlignment(1, Qt::AlignLeft | Qt::AlignVCenter);
        row->setToolTip(0, CompletionKindWord(item.kind));
        row->setData(0, Qt::UserRole, static_cast<int>(i));
        row->setHidden(true);
        rows << row;
    }
    m_list->addTopLevelItems(rows);
}

int CCompletionPopup::Filter(const QString& prefix) {
    int shown = 0;
    QTreeWidgetItem* first = nullptr;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = m_list->topLevelItem(i);
        const SCompletionItem& item = m_items[row->data(0, Qt::UserRole).toInt()];
        const bool match = item.filterText.startsWith(prefix, Qt::CaseInsensitive);
        row->setHidden(!match);
        if (match) {
            ++shown;
            first = first ? first : row;
        }
    }
    m_list->setCurrentItem(first);
    if (first) {
        m_list->scrollToItem(first, QAbstractItemView::PositionAtTop);
    }
    FitSize();
    return shown;
}

const SCompletionItem* CCompletionPopup::Current() const {
    const QTreeWidgetItem* row = m_list->currentItem();
    if (!row || row->isHidden()) {
        return nullptr;
    }
    return &m_items[row->data(0, Qt::UserRole).toInt()];
}

void CCompletionPopup::MoveSelection(int rows) {
    QTreeWidgetItem* row = m_list->currentItem();
    if (!row) {
        return;
    }
    for (int step = 0; step < std::abs(rows); ++step) {
        QTreeWidgetItem* next = rows > 0 ? m_list->itemBelow(row) : m_list->itemAbove(row);
        if (!next) {
            break;
        }
        row = next;
    }
    m_list->setCurrentItem(row);
    m_list->scrollToItem(row);
}

int CCompletionPopup::PageRows() const {
    return kVisibleRows - 1;
}

QStringList CCompletionPopup::Labels() const {
    QStringList labels;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        if (!m_list->topLevelItem(i)->isHidden()) {
            labels << m_list->topLevelItem(i)->text(0);
        }
    }
    return labels;
}

void CCompletionPopup::FitSize() {
    int shown = 0;
    int labelWidth = 0;
    int detailWidth = 0;
    const QFontMetrics metrics(m_list->font());
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = m_list->topLevelItem(i);
        if (row->isHidden()) {
            continue;
        }
        ++shown;
        // Measuring every row of a long list costs more than it tells.
        if (shown <= 200) {
            labelWidth = std::max(labelWidth, metrics.horizontalAdvance(row->text(0)));
            detailWidth = std::max(detailWidth, metrics.horizontalAdvance(row->text(1)));
        }
    }
    const int measured = m_list->sizeHintForRow(0);
    const int rowHeight =
        measured > 0 ? measured : std::max(m_list->iconSize().height(), metrics.height()) + 4;
    const int rows = std::clamp(shown, 1, kVisibleRows);
    const int scrollBar =
        shown > kVisibleRows ? m_list->verticalScrollBar()->sizeHint().width() : 0;
    // Icon, label, a gap, the detail, the list's own margins.
    const int width =
        std::clamp(m_list->iconSize().width() + 12 + labelWidth + 32 + detailWidth + scrollBar + 8,
                   220, kMaxWidth);
    // The details in a column of their own, clear of the edge.
    m_list->header()->resizeSection(1, detailWidth + kDetailMargin);
    setFixedSize(width, rows * rowHeight + 2 * m_list->frameWidth() + 2 * lineWidth() + 2);
}

void CCompletionPopup::ShowAt(const QPoint& below, const QPoint& above) {
    // The labels' text starts where the word does, the badges stand before it.
    const int textStart = m_list->iconSize().width() + 8;
    QPoint at = below - QPoint(textStart, 0);
    if (const QScreen* screen = QGuiApplication::screenAt(below)) {
        const QRect room = screen->availableGeometry();
        if (at.y() + height() > room.bottom() && above.y() - height() >= room.top()) {
            at.setY(above.y() - height());
        }
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - width())));
    }
    move(at);
    show();
    raise();
}

} // namespace tovin
