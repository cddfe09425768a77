#include "language/MessageFrames.h"

#include <QLoggingCategory>
#include <QRegularExpression>

namespace tovin {

namespace {

Q_LOGGING_CATEGORY(lcFrames, "tovin.language.frames")

// A header block longer than this without its empty line is not the protocol.
constexpr qsizetype kMaxHeaderBytes = 4096;

} // namespace

QByteArray CMessageFrames::Frame(const QByteArray& body) {
    return "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

CMessageFrames::SNext CMessageFrames::Next() {
    static const QRegularExpression contentLength(
        QStringLiteral("Content-Length:[ \\t]*([0-9]+)[ \\t]*\\r?(?:\\n|$)"),
        QRegularExpression::CaseInsensitiveOption);
    while (m_expected < 0) {
        const qsizetype headerEnd = m_buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0) {
            if (m_buffer.size() <= kMaxHeaderBytes) {
                return {};
            }
            SNext dropped{
                EKind::DroppedBytes,
                {},
                QStringLiteral("dropped %1 bytes that are no message").arg(m_buffer.size())};
            m_buffer.clear();
            return dropped;
        }
        const QString header = QString::fromLatin1(m_buffer.left(headerEnd));
        m_buffer.remove(0, headerEnd + 4);
        const QRegularExpressionMatch match = contentLength.match(header);
        if (!match.hasMatch()) {
            qCWarning(lcFrames).noquote()
                << "dropped a header without Content-Length:" << header.left(200);
            continue;
        }
        bool number = false;
        const qint64 expected = match.captured(1).toLongLong(&number);
        if (!number || expected > kMaxMessageBytes) {
            return {EKind::TooLarge, {}, QStringLiteral("a message too large to read")};
        }
        m_expected = expected;
    }
    if (m_buffer.size() < m_expected) {
        return {};
    }
    SNext next{EKind::Body, m_buffer.left(m_expected), {}};
    m_buffer.remove(0, m_expected);
    m_expected = -1;
    return next;
}

void CMessageFrames::Clear() {
    m_buffer.clear();
    m_expected = -1;
}

} // namespace tovin
