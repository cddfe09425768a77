#include "gui/desktop/KeyboardIndicators.h"

#include <QKeyEvent>

namespace tovin {

CKeyboardIndicators::CKeyboardIndicators(QObject* parent) : QObject(parent) {}

bool CKeyboardIndicators::Observe(const QKeyEvent& event) {
    const bool caps = m_caps, num = m_num, scroll = m_scroll;
    const int key = event.key();
    const bool shift = event.modifiers().testFlag(Qt::ShiftModifier);
    if (key == Qt::Key_CapsLock) {
        m_caps = !m_caps;
    } else if (key == Qt::Key_NumLock) {
        m_num = !m_num;
    } else if (key == Qt::Key_ScrollLock) {
        m_scroll = !m_scroll;
    } else if (key >= Qt::Key_A && key <= Qt::Key_Z && event.text().size() == 1 &&
               !event.modifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier |
                                               Qt::MetaModifier)) {
        QChar typed = event.text().front();
        if (typed.isLetter()) {
            m_caps = typed.isUpper() != shift;
        }
    } else if (event.modifiers().testFlag(Qt::KeypadModifier)) {
        if ((key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Period ||
            key == Qt::Key_Comma) {
            m_num = !shift;
        } else if (key == Qt::Key_Home || key == Qt::Key_End || key == Qt::Key_Left ||
                   key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down ||
                   key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Insert ||
                   key == Qt::Key_Delete) {
            m_num = shift;
        }
    }
    return caps != m_caps || num != m_num || scroll != m_scroll;
}

bool CKeyboardIndicators::eventFilter(QObject* watched, QEvent* event) {
    // A key press that no widget accepts reaches the filter again for each parent; the lock
    // keys toggle, so each press is counted once.
    if (event->type() == QEvent::KeyRelease) {
        m_lastEvent = nullptr; // the next press is a new one, wherever it is stored
    }
    if (event->type() == QEvent::KeyPress && event->spontaneous() && watched->isWidgetType()) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool seen = key == m_lastEvent && key->timestamp() == m_lastTimestamp;
        m_lastEvent = key;
        m_lastTimestamp = key->timestamp();
        if (!seen && !key->isAutoRepeat() && Observe(*key)) {
            emit Changed();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tovin
