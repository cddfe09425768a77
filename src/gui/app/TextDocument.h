#pragma once
// A source file held as plain text: the stand-in for the Java, HTML, XML and Jython editors'
// documents until those exist. The file's bytes survive a round trip: its line-end style and
// its encoding (UTF-8, or 8-bit bytes when it is not valid UTF-8) are kept for the save, and a
// document saved without changes writes back exactly the bytes it read.

#include "app/Document.h"

class QTextDocument;

namespace tovin {

enum class ELineEnd { Lf, CrLf, Cr };

// The most frequent line end of the text (Lf when there is none).
ELineEnd DetectLineEnd(const std::string& bytes);

class CTextDocument : public CDocument {
    Q_OBJECT
public:
    CTextDocument(CEditorApp& app, CDocTemplate& docTemplate);

    QTextDocument* TextDocument() const { return m_text; }
    ELineEnd LineEnd() const { return m_lineEnd; }
    // The bytes a save would write now.
    std::string EncodedText() const;

    bool IsModified() const override;
    void SetModified(bool modified) override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;

private:
    QTextDocument* m_text;
    ELineEnd m_lineEnd = ELineEnd::Lf;
    bool m_eightBit = false;
    std::string m_loadedBytes;
};

} // namespace tovin
