#pragma once
// What a user does to one widget, chosen at random: a click on a button, a choice in a list or
// a drop-down, a few characters typed into a field or an editor, a key. The same hand works the
// main window's widgets and the dialogs' ones.

#include "Random.h"

#include <QString>
#include <QtCore/qnamespace.h>
#include <functional>
#include <vector>

class QAbstractItemView;
class QWidget;

namespace tovin::monkey {

class CWidgetPoker {
public:
    // `text` gives what to type into a field: words, numbers, paths inside the run's folder.
    CWidgetPoker(CRandom& random, std::function<QString()> text)
        : m_random(random), m_text(std::move(text)) {}

    // The widgets under `root` a user can work: shown, enabled, of a kind the poker knows.
    static std::vector<QWidget*> Workable(QWidget* root);
    // Does one thing to the widget; says what, for the action log.
    QString Poke(QWidget* widget);
    // Types into an editor or a field: characters, line breaks, indents, deletions, undo.
    QString Type(QWidget* widget);

private:
    QString PokeItemView(QAbstractItemView* view);
    QString PokeField(QWidget* field, bool multiLine);
    QString Key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    CRandom& m_random;
    std::function<QString()> m_text;
};

// A short name for the log: the widget's class and its text or object name.
QString Describe(const QWidget* widget);

} // namespace tovin::monkey
