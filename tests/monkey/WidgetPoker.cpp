#include "WidgetPoker.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>
#include <QTreeView>
#include <Qsci/qsciscintilla.h>

#include <algorithm>

namespace tovin::monkey {

namespace {

// Pieces of source a user types: words, brackets that move the indent, quotes and comments
// that change the colouring, a character beyond ASCII.
const std::vector<QString> kTypedPieces = {
    "int",
    "x",
    "return",
    "{",
    "}",
    "(",
    ")",
    ";",
    "\"",
    "'",
    "/*",
    "*/",
    "//",
    " ",
    "\u00e9",
    "<b>",
    "</",
    "=",
    "class Foo",
    "public void run() {",
    "System.out.println(\"hi\");",
    "def f():",
    "<target name=\"t\">",
    "\\",
    "\t",
};

struct SKey {
    int key;
    Qt::KeyboardModifiers modifiers;
    const char* name;
};
const std::vector<SKey> kEditingKeys = {
    {Qt::Key_Return, Qt::NoModifier, "Enter"},
    {Qt::Key_Tab, Qt::NoModifier, "Tab"},
    {Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab"},
    {Qt::Key_Backspace, Qt::NoModifier, "Backspace"},
    {Qt::Key_Delete, Qt::NoModifier, "Delete"},
    {Qt::Key_BraceRight, Qt::NoModifier, "}"},
    {Qt::Key_Left, Qt::NoModifier, "Left"},
    {Qt::Key_Right, Qt::NoModifier, "Right"},
    {Qt::Key_Up, Qt::NoModifier, "Up"},
    {Qt::Key_Down, Qt::NoModifier, "Down"},
    {Qt::Key_Home, Qt::NoModifier, "Home"},
    {Qt::Key_End, Qt::NoModifier, "End"},
    {Qt::Key_PageDown, Qt::NoModifier, "PageDown"},
    {Qt::Key_Home, Qt::ControlModifier, "Ctrl+Home"},
    {Qt::Key_End, Qt::ControlModifier, "Ctrl+End"},
    {Qt::Key_Right, Qt::ShiftModifier, "Shift+Right"},
    {Qt::Key_Down, Qt::ShiftModifier, "Shift+Down"},
    {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"},
    {Qt::Key_Y, Qt::ControlModifier, "Ctrl+Y"},
    {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+Z"},
    {Qt::Key_X, Qt::ControlModifier, "Ctrl+X"},
    {Qt::Key_C, Qt::ControlModifier, "Ctrl+C"},
    {Qt::Key_V, Qt::ControlModifier, "Ctrl+V"},
    {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"},
};

bool IsPartOfAnother(const QWidget* widget) {
    for (const QWidget* parent = widget->parentWidget(); parent; parent = parent->parentWidget()) {
        if (qobject_cast<const QComboBox*>(parent) ||
            qobject_cast<const QAbstractSpinBox*>(parent) ||
            qobject_cast<const QScrollBar*>(parent)) {
            return true;
        }
    }
    return false;
}

bool IsWorkable(const QWidget* widget) {
    if (!widget->isVisible() || !widget->isEnabled() || IsPartOfAnother(widget)) {
        return false;
    }
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QAbstractItemView*>(widget) || qobject_cast<const QTabBar*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QsciScintilla*>(widget);
}

// The rows a user sees in the view: top-level rows and the rows of expanded branches.
std::vector<QModelIndex> ShownRows(QAbstractItemView* view) {
    std::vector<QModelIndex> rows;
    QAbstractItemModel* model = view->model();
    if (!model) {
        return rows;
    }
    auto* tree = qobject_cast<QTreeView*>(view);
    std::vector<QModelIndex> parents{view->rootIndex()};
    while (!parents.empty() && rows.size() < 400) {
        const QModelIndex parent = parents.back();
        parents.pop_back();
        for (int row = 0; row < model->rowCount(parent); ++row) {
            const QModelIndex index = model->index(row, 0, parent);
            rows.push_back(index);
            if (tree && tree->isExpanded(index)) {
                parents.push_back(index);
            }
        }
    }
    return rows;
}

// Types the text key by key; QTest's own typing knows ASCII only, so other characters come as
// key events that carry just their text, as an input method sends them.
void TypeText(QWidget* widget, const QString& text) {
    for (QChar character : text) {
        if (character.unicode() < 128) {
            QTest::keyClick(widget, static_cast<char>(character.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
        }
    }
}

} // namespace

QString Describe(const QWidget* widget) {
    QString name = QString::fromLatin1(widget->metaObject()->className());
    QString label;
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        label = button->text().isEmpty() ? button->toolTip() : button->text();
    }
    if (label.isEmpty()) {
        label = widget->objectName();
    }
    if (label.isEmpty() && widget->isWindow()) {
        label = widget->windowTitle();
    }
    return label.isEmpty() ? name : name + " \"" + label.remove('&') + "\"";
}

std::vector<QWidget*> CWidgetPoker::Workable(QWidget* root) {
    std::vector<QWidget*> widgets;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (IsWorkable(widget)) {
            widgets.push_back(widget);
        }
    }
    return widgets;
}

QString CWidgetPoker::Key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(widget, static_cast<Qt::Key>(key), modifiers);
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key))).toString();
}

QString CWidgetPoker::Poke(QWidget* widget) {
    const QString what = Describe(widget);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->click();
        return "click " + what;
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable() && m_random.Chance(0.5)) {
            return "in " + what + ": " + PokeField(combo->lineEdit(), false);
        }
        static const int keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End};
        return "in " + what + ": " + Key(combo, keys[m_random.Below(4)]);
    }
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget)) {
        if (m_random.Chance(0.5)) {
            return "in " + what + ": " +
                   Key(spin, m_random.Chance(0.5) ? Qt::Key_Up : Qt::Key_Down);
        }
        spin->selectAll();
        const QString digits = QString::number(m_random.Below(3000) - 5);
        TypeText(spin, digits);
        return "in " + what + ": type " + digits;
    }
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        return "in " + what + ": " + PokeField(line, false);
    }
    if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
        const int tab = m_random.Below(tabs->count());
        QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(tab).center());
        return "tab " + tabs->tabText(tab);
    }
    if (qobject_cast<QsciScintilla*>(widget) || qobject_cast<QPlainTextEdit*>(widget) ||
        qobject_cast<QTextEdit*>(widget)) {
        return "in " + what + ": " + Type(widget);
    }
    if (auto* view = qobject_cast<QAbstractItemView*>(widget)) {
        return "in " + what + ": " + PokeItemView(view);
    }
    return "nothing to do with " + what;
}

QString CWidgetPoker::PokeItemView(QAbstractItemView* view) {
    const std::vector<QModelIndex> rows = ShownRows(view);
    if (rows.empty() || m_random.Chance(0.1)) {
        static const int keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Return, Qt::Key_Delete};
        return Key(view, keys[m_random.Below(4)]);
    }
    const QModelIndex index = rows[static_cast<size_t>(m_random.Below(int(rows.size())))];
    view->scrollTo(index);
    const QPoint point = view->visualRect(index).center();
    const QString item = "item \"" + index.data().toString() + "\"";
    switch (m_random.Weighted({40, 20, 15, 25})) {
    case 0:
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, point);
        return "click " + item;
    case 1:
        // A double-click is a press, a release and a double-click event, as the system sends.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, point);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, point);
        return "double-click " + item;
    case 2: {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, point);
        QContextMenuEvent event(QContextMenuEvent::Mouse, point,
                                view->viewport()->mapToGlobal(point));
        QApplication::sendEvent(view->viewport(), &event);
        return "right-click " + item;
    }
    default: {
        view->setCurrentIndex(index);
        static const SKey keys[] = {
            {Qt::Key_Return, Qt::NoModifier, "Enter"},
            {Qt::Key_Delete, Qt::NoModifier, "Delete"},
            {Qt::Key_Space, Qt::NoModifier, "Space"},
            {Qt::Key_Left, Qt::NoModifier, "Left"},
            {Qt::Key_Right, Qt::NoModifier, "Right"},
            {Qt::Key_Down, Qt::NoModifier, "Down"},
            {Qt::Key_Menu, Qt::NoModifier, "Menu"},
            {Qt::Key_F10, Qt::ShiftModifier, "Shift+F10"},
        };
        const SKey& key = keys[m_random.Below(8)];
        QTest::keyClick(view, static_cast<Qt::Key>(key.key), key.modifiers);
        return QString::fromLatin1(key.name) + " on " + item;
    }
    }
}

QString CWidgetPoker::PokeField(QWidget* field, bool multiLine) {
    auto* line = qobject_cast<QLineEdit*>(field);
    if (line && line->isReadOnly()) {
        line->selectAll();
        return "select all";
    }
    switch (m_random.Weighted({35, 30, 20, 15})) {
    case 0: {
        if (line) {
            line->selectAll();
        } else {
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        }
        const QString text = m_text();
        TypeText(field, text);
        return "type over \"" + text + "\"";
    }
    case 1: {
        const QString text = m_text();
        QTest::keyClick(field, Qt::Key_End);
        TypeText(field, text);
        return "append \"" + text + "\"";
    }
    case 2: {
        const int count = 1 + m_random.Below(6);
        for (int i = 0; i < count; ++i) {
            QTest::keyClick(field, Qt::Key_Backspace);
        }
        return QString("Backspace x%1").arg(count);
    }
    default:
        return Key(field, multiLine && m_random.Chance(0.5) ? Qt::Key_Tab : Qt::Key_Return);
    }
}

QString CWidgetPoker::Type(QWidget* widget) {
    widget->setFocus(Qt::OtherFocusReason);
    QWidget* target = widget;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget); area && m_random.Chance(0.1)) {
        // A click somewhere in the text moves the caret there.
        const QRect inside = area->viewport()->rect();
        const QPoint point(m_random.Below(std::max(1, inside.width())),
                           m_random.Below(std::max(1, inside.height())));
        QTest::mouseClick(area->viewport(), Qt::LeftButton, Qt::NoModifier, point);
        return QString("click at %1,%2").arg(point.x()).arg(point.y());
    }
    if (m_random.Chance(0.45)) {
        const QString piece = m_random.Pick(kTypedPieces);
        TypeText(target, piece);
        return "type \"" + piece + "\"";
    }
    const SKey& key = m_random.Pick(kEditingKeys);
    QTest::keyClick(target, static_cast<Qt::Key>(key.key), key.modifiers);
    return QString::fromLatin1(key.name);
}

} // namespace tovin::monkey
