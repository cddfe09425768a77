#pragma once

#include <QByteArray>
#include <QString>

namespace tovin {

// The framing both protocols share: a header block ending in an empty line, whose
// Content-Length names the size of the JSON body that follows. Bytes arrive in any pieces;
// Next() hands out whole bodies in order.
class CMessageFrames {
public:
    // Larger messages end the connection (a broken or hostile peer).
    static constexpr qint64 kMaxMessageBytes = 64LL << 20;

    enum class EKind {
        Body,         // body holds one whole message
        NeedMore,     // nothing whole yet
        DroppedBytes, // a header block that never ends was thrown away; reading goes on
        TooLarge,     // a message announced beyond kMaxMessageBytes: the peer cannot be read
    };
    struct SNext {
        EKind kind = EKind::NeedMore;
        QByteArray body;
        QString note; // what was dropped, for the log
    };

    static QByteArray Frame(const QByteArray& body);

    void Append(const QByteArray& bytes) { m_buffer += bytes; }
    // Headers without a Content-Length are skipped (with a note in the log); call again until
    // NeedMore or TooLarge.
    SNext Next();
    void Clear();

private:
    QByteArray m_buffer;
    qint64 m_expected = -1; // body bytes of the message being read; -1 while reading a header
};

} // namespace tovin
