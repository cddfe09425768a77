#pragma once
// The states of Caps Lock, Num Lock and Scroll Lock as far as key events tell them: Qt offers
// no query for lock states. A letter typed in the "wrong" case for its Shift state means Caps
// Lock is on, a keypad digit means Num Lock is on and a keypad arrow that it is off; the lock
// keys themselves toggle what is known. Until a key tells, a state shows as off.

#include <QObject>

class QKeyEvent;

namespace tovin {

class CKeyboardIndicators : public QObject {
    Q_OBJECT
public:
    explicit CKeyboardIndicators(QObject* parent = nullptr);

    bool CapsLock() const { return m_caps; }
    bool NumLock() const { return m_num; }
    bool ScrollLock() const { return m_scroll; }

    // Learns from one key press; true when a state changed.
    bool Observe(const QKeyEvent& event);

signals:
    void Changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_caps = false;
    bool m_num = false;
    bool m_scroll = false;
    const QEvent* m_lastEvent = nullptr;
    quint64 m_lastTimestamp = 0;
};

} // namespace tovin
