#pragma once
// The language server's help while typing, as plain values: completion items, signature help,
// hover text and locations, read from the answers of textDocument/completion, signatureHelp,
// hover, definition and references, and the parameters those requests take. The window and
// `tovin --complete` both read answers here and never look at their JSON themselves.
//
// Answers come from another program: anything malformed (a missing field, a wrong type, a range
// that makes no sense) is read as "nothing there", never trusted further. Positions are the
// protocol's: 0-based lines, UTF-16 characters.

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace tovin {

struct STextRange {
    int line = 0;
    int character = 0;
    int endLine = 0;
    int endCharacter = 0;

    bool operator==(const STextRange&) const = default;
};

struct STextEdit {
    STextRange range;
    QString newText;

    bool operator==(const STextEdit&) const = default;
};

struct SCompletionItem {
    QString label;
    int kind = 0; // the protocol's CompletionItemKind; 0 when the server named none
    QString detail;
    QString filterText; // the label's name when the server gave none
    QString sortText;   // the label when the server gave none
    // What replaces the range; without an edit of the server's, insertText (or the label)
    // replaces the word before the caret.
    std::optional<STextEdit> edit;
    QString insertText;
    bool snippet = false;
    QList<STextEdit> additionalEdits;

    bool operator==(const SCompletionItem&) const = default;
};

struct SCompletionList {
    bool incomplete = false;
    QList<SCompletionItem> items;
};

// A snippet's text without its tab stops and where the caret goes in it ($0, else the first
// tab stop, else the end), in UTF-16 units. Plain text is returned as it is.
struct SInsertion {
    QString text;
    int caret = 0;

    bool operator==(const SInsertion&) const = default;
};
SInsertion InsertionOf(const QString& text, bool snippet);

struct SSignature {
    QString label;
    QString documentation;
    // Each parameter's [start, end) in the label, in UTF-16 units; (-1, -1) when unknown.
    QList<QPair<int, int>> parameters;
};

struct SSignatureHelp {
    QList<SSignature> signatures; // empty: not in a call
    int activeSignature = 0;      // a valid index when there are signatures
    int activeParameter = -1;     // -1: none
};

struct SHover {
    QString declaration;   // the fenced code block, when there is one
    QString documentation; // the rest, as plain text
    bool operator==(const SHover&) const = default;
};

struct SLocation {
    QString path; // a local file; locations of other schemes are left out
    STextRange range;
    bool operator==(const SLocation&) const = default;
};

// Answers. A null or unreadable answer gives the empty value (or nullopt).
SCompletionList ParseCompletion(const QJsonValue& result);
SSignatureHelp ParseSignatureHelp(const QJsonValue& result);
std::optional<SHover> ParseHover(const QJsonValue& result);
// A Location, a list of Locations or of LocationLinks.
QList<SLocation> ParseLocations(const QJsonValue& result);

// The word for a CompletionItemKind ("method", "enum constant"); "" for kinds not named.
QString CompletionKindWord(int kind);
// The protocol's kinds that are named here.
enum ECompletionKind {
    kKindMethod = 2,
    kKindConstructor = 4,
    kKindField = 5,
    kKindVariable = 6,
    kKindClass = 7,
    kKindInterface = 8,
    kKindPackage = 9,
    kKindEnum = 13,
    kKindKeyword = 14,
    kKindEnumConstant = 20,
    kKindRecord = 22,
    kKindTypeParameter = 25,
};

// Requests' parameters.
QJsonObject PositionParams(const QString& path, int line, int character);
QJsonObject ReferenceParams(const QString& path, int line, int character, bool withDeclaration);
// triggerCharacter empty: invoked by the user.
QJsonObject CompletionParams(const QString& path, int line, int character,
                             const QString& triggerCharacter);

// The method names of the requests.
inline constexpr const char* kCompletionMethod = "textDocument/completion";
inline constexpr const char* kSignatureHelpMethod = "textDocument/signatureHelp";
inline constexpr const char* kHoverMethod = "textDocument/hover";
inline constexpr const char* kDefinitionMethod = "textDocument/definition";
inline constexpr const char* kReferencesMethod = "textDocument/references";

// The UTF-16 character of a 0-based count of code points into a line, and the reverse; both
// are clamped to the line.
int Utf16Column(const QString& line, int codePoints);
int CodePointColumn(const QString& line, int utf16);

} // namespace tovin
