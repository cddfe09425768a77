// The readers of the Java engine's answers (completion, signature help, hover, locations) and
// the snippet reader over arbitrary JSON. Besides not crashing: every edit read has a range that
// runs forwards, a signature's parameter spans lie inside its label, the active signature is
// one of them, and a snippet's caret lies inside its text.

#include "language/AssistMessages.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cstddef>
#include <cstdint>

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

bool Forwards(const tovin::STextRange& range) {
    return range.line >= 0 && range.character >= 0 &&
           (range.endLine > range.line ||
            (range.endLine == range.line && range.endCharacter >= range.character));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QJsonValue answer = QJsonDocument::fromJson(bytes).isArray()
                                  ? QJsonValue(QJsonDocument::fromJson(bytes).array())
                                  : QJsonValue(QJsonDocument::fromJson(bytes).object());
    for (const tovin::SCompletionItem& item : tovin::ParseCompletion(answer).items) {
        if (item.edit) {
            Check(Forwards(item.edit->range));
        }
        for (const tovin::STextEdit& edit : item.additionalEdits) {
            Check(Forwards(edit.range));
        }
        const tovin::SInsertion insertion =
            tovin::InsertionOf(item.edit ? item.edit->newText : item.insertText, item.snippet);
        Check(insertion.caret >= 0 && insertion.caret <= insertion.text.size());
    }
    const tovin::SSignatureHelp help = tovin::ParseSignatureHelp(answer);
    if (!help.signatures.isEmpty()) {
        Check(help.activeSignature >= 0 && help.activeSignature < help.signatures.size());
    }
    for (const tovin::SSignature& signature : help.signatures) {
        for (const auto& [start, end] : signature.parameters) {
            Check((start == -1 && end == -1) ||
                  (start >= 0 && start <= end && end <= signature.label.size()));
        }
    }
    tovin::ParseHover(answer);
    for (const tovin::SLocation& location : tovin::ParseLocations(answer)) {
        Check(Forwards(location.range));
    }
    // Any text as a snippet.
    const QString text = QString::fromUtf8(bytes);
    const tovin::SInsertion insertion = tovin::InsertionOf(text, true);
    Check(insertion.caret >= 0 && insertion.caret <= insertion.text.size());
    return 0;
}
