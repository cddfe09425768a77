#include "app/TextDocument.h"

#include "platform/Files.h"

#include <QPlainTextDocumentLayout>
#include <QStringDecoder>
#include <QTextDocument>

namespace tovin {

ELineEnd DetectLineEnd(const std::string& bytes) {
    size_t lf = 0, crlf = 0, cr = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++crlf;
                ++i;
            } else {
                ++cr;
            }
        } else if (bytes[i] == '\n') {
            ++lf;
        }
    }
    if (crlf > lf && crlf >= cr) {
        return ELineEnd::CrLf;
    }
    if (cr > lf && cr > crlf) {
        return ELineEnd::Cr;
    }
    return ELineEnd::Lf;
}

CTextDocument::CTextDocument(CEditorApp& app, CDocTemplate& docTemplate)
    : CDocument(app, docTemplate), m_text(new QTextDocument(this)) {
    m_text->setDocumentLayout(new QPlainTextDocumentLayout(m_text));
    connect(m_text, &QTextDocument::modificationChanged, this,
            [this](bool modified) { CDocument::SetModified(modified); });
}

bool CTextDocument::IsModified() const {
    return m_text->isModified();
}

void CTextDocument::SetModified(bool modified) {
    m_text->setModified(modified);
    CDocument::SetModified(modified);
}

bool CTextDocument::OnNewDocument() {
    m_text->clear();
    m_loadedBytes.clear();
    return CDocument::OnNewDocument();
}

bool CTextDocument::OnOpenDocument(const std::string& path) {
    std::string reason;
    std::optional<std::string> bytes = ReadWholeFile(path, &reason);
    if (!bytes) {
        ReportError("Cannot open \"" + path + "\": " + reason + ".");
        return false;
    }
    QByteArray raw = QByteArray::fromStdString(*bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(raw);
    m_eightBit = utf8.hasError();
    if (m_eightBit) {
        text = QString::fromLatin1(raw);
    }
    m_lineEnd = DetectLineEnd(*bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_text->setPlainText(text);
    m_loadedBytes = std::move(*bytes);
    SetModified(false);
    return true;
}

std::string CTextDocument::EncodedText() const {
    if (!IsModified() && !m_loadedBytes.empty()) {
        return m_loadedBytes;
    }
    QString text = m_text->toPlainText();
    if (m_lineEnd == ELineEnd::CrLf) {
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    } else if (m_lineEnd == ELineEnd::Cr) {
        text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    }
    return (m_eightBit ? text.toLatin1() : text.toUtf8()).toStdString();
}

bool CTextDocument::OnSaveDocument(const std::string& path) {
    if (m_eightBit) {
        // Characters typed beyond 8 bits cannot be written back to an 8-bit file unchanged.
        for (QChar c : m_text->toPlainText()) {
            if (c.unicode() > 0xFF) {
                ReportError("Cannot save \"" + path +
                            "\": the file is not UTF-8 and the text now holds characters it "
                            "cannot store. The file on disk was not changed.");
                return false;
            }
        }
    }
    std::string bytes = EncodedText();
    std::string reason = WriteFileAtomic(path, bytes);
    if (!reason.empty()) {
        ReportError("Cannot save \"" + path + "\": " + reason +
                    ". The file on disk was not changed.");
        return false;
    }
    m_loadedBytes = std::move(bytes);
    return true;
}

} // namespace tovin
