#include "language/AssistMessages.h"

#include "language/LanguageClient.h"

#include <QJsonArray>

#include <algorithm>
#include <climits>
#include <cmath>

namespace tovin {

namespace {

// An integer field that is a whole number in int's range; otherwise the fallback.
int IntOf(const QJsonValue& value, int fallback) {
    if (!value.isDouble()) {
        return fallback;
    }
    const double number = value.toDouble();
    // The range first: converting a number beyond it (or NaN) to an integer is undefined.
    if (!(number >= INT_MIN && number <= INT_MAX) || number != std::trunc(number)) {
        return fallback;
    }
    return static_cast<int>(number);
}

std::optional<STextRange> RangeOf(const QJsonValue& value) {
    const QJsonObject range = value.toObject();
    const QJsonObject start = range.value("start").toObject();
    const QJsonObject end = range.value("end").toObject();
    STextRange parsed{IntOf(start.value("line"), -1), IntOf(start.value("character"), -1),
                      IntOf(end.value("line"), -1), IntOf(end.value("character"), -1)};
    if (parsed.line < 0 || parsed.character < 0 || parsed.endLine < 0 || parsed.endCharacter < 0 ||
        std::pair(parsed.endLine, parsed.endCharacter) < std::pair(parsed.line, parsed.character)) {
        return std::nullopt;
    }
    return parsed;
}

std::optional<STextEdit> EditOf(const QJsonValue& value) {
    const QJsonObject edit = value.toObject();
    // An InsertReplaceEdit replaces its "replace" range when chosen with Enter.
    const std::optional<STextRange> range =
        RangeOf(edit.contains("range") ? edit.value("range") : edit.value("replace"));
    if (!range || !edit.value("newText").isString()) {
        return std::nullopt;
    }
    return STextEdit{*range, edit.value("newText").toString()};
}

// A label's leading name: "charAt(int index)" gives "charAt".
QString NameOf(const QString& label) {
    qsizetype end = 0;
    while (end < label.size() && (label[end].isLetterOrNumber() || label[end] == '_' ||
                                  label[end] == '$' || label[end].isSurrogate())) {
        ++end;
    }
    return end > 0 ? label.left(end) : label;
}

// Documentation is a string or MarkupContent.
QString TextOf(const QJsonValue& value) {
    return value.isString() ? value.toString() : value.toObject().value("value").toString();
}

SHover HoverOfMarkdown(const QString& markdown) {
    SHover hover;
    const qsizetype open = markdown.indexOf(QLatin1String("```"));
    if (open < 0) {
        hover.documentation = markdown.trimmed();
        return hover;
    }
    const qsizetype codeStart = markdown.indexOf('\n', open);
    const qsizetype close =
        codeStart < 0 ? -1 : markdown.indexOf(QLatin1String("```"), codeStart + 1);
    if (close < 0) {
        hover.documentation = markdown.trimmed();
        return hover;
    }
    hover.declaration = markdown.mid(codeStart + 1, close - codeStart - 1).trimmed();
    const qsizetype after = markdown.indexOf('\n', close);
    hover.documentation =
        (markdown.left(open) + (after < 0 ? QString() : markdown.mid(after + 1))).trimmed();
    return hover;
}

} // namespace

SInsertion InsertionOf(const QString& text, bool snippet) {
    if (!snippet) {
        return {text, static_cast<int>(text.size())};
    }
    SInsertion insertion;
    int firstStop = -1;
    int finalStop = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '\\' && i + 1 < text.size() && QStringLiteral("$}\\").contains(text[i + 1])) {
            insertion.text += text[++i];
            continue;
        }
        if (c != '$' || i + 1 >= text.size()) {
            insertion.text += c;
            continue;
        }
        // $n, ${n} or ${n:default}: the default stays, the stop marks the caret.
        qsizetype j = i + 1;
        const bool braced = text[j] == '{';
        if (braced) {
            ++j;
        }
        const qsizetype digits = j;
        while (j < text.size() && text[j].isDigit()) {
            ++j;
        }
        if (j == digits || (braced && (j >= text.size() || (text[j] != '}' && text[j] != ':')))) {
            insertion.text += c;
            continue;
        }
        const bool isFinal = text.mid(digits, j - digits).toInt() == 0;
        int& stop = isFinal ? finalStop : firstStop;
        if (stop < 0) {
            stop = static_cast<int>(insertion.text.size());
        }
        if (braced && text[j] == ':') {
            const qsizetype end = text.indexOf('}', j);
            const qsizetype stopEnd = end < 0 ? text.size() : end;
            insertion.text += text.mid(j + 1, stopEnd - j - 1);
            j = stopEnd;
        } else if (!braced) {
            --j;
        }
        i = j;
    }
    insertion.caret = finalStop >= 0   ? finalStop
                      : firstStop >= 0 ? firstStop
                                       : static_cast<int>(insertion.text.size());
    return insertion;
}

SCompletionList ParseCompletion(const QJsonValue& result) {
    SCompletionList list;
    QJsonArray items;
    if (result.isArray()) {
        items = result.toArray();
    } else {
        const QJsonObject object = result.toObject();
        list.incomplete = object.value("isIncomplete").toBool();
        items = object.value("items").toArray();
    }
    for (const QJsonValue& value : items) {
        const QJsonObject object = value.toObject();
        if (!object.value("label").isString()) {
            continue;
        }
        SCompletionItem item;
        item.label = object.value("label").toString();
        item.kind = IntOf(object.value("kind"), 0);
        item.detail = object.value("detail").toString();
        item.filterText = object.value("filterText").isString()
                              ? object.value("filterText").toString()
                              : NameOf(item.label);
        item.sortText =
            object.value("sortText").isString() ? object.value("sortText").toString() : item.label;
        item.edit = EditOf(object.value("textEdit"));
        item.insertText = object.value("insertText").isString()
                              ? object.value("insertText").toString()
                              : item.label;
        item.snippet = IntOf(object.value("insertTextFormat"), 1) == 2;
        for (const QJsonValue& extra : object.value("additionalTextEdits").toArray()) {
            if (const std::optional<STextEdit> edit = EditOf(extra)) {
                item.additionalEdits << *edit;
            }
        }
        list.items << item;
    }
    return list;
}

SSignatureHelp ParseSignatureHelp(const QJsonValue& result) {
    SSignatureHelp help;
    const QJsonObject object = result.toObject();
    for (const QJsonValue& value : object.value("signatures").toArray()) {
        const QJsonObject signature = value.toObject();
        if (!signature.value("label").isString()) {
            continue;
        }
        SSignature parsed;
        parsed.label = signature.value("label").toString();
        parsed.documentation = TextOf(signature.value("documentation"));
        const int labelSize = static_cast<int>(parsed.label.size());
        for (const QJsonValue& parameter : signature.value("parameters").toArray()) {
            const QJsonValue label = parameter.toObject().value("label");
            QPair<int, int> span{-1, -1};
            if (label.isArray()) {
                const int start = IntOf(label.toArray().at(0), -1);
                const int end = IntOf(label.toArray().at(1), -1);
                if (start >= 0 && start <= end && end <= labelSize) {
                    span = {start, end};
                }
            } else if (label.isString() && !label.toString().isEmpty()) {
                const qsizetype at = parsed.label.indexOf(label.toString());
                if (at >= 0) {
                    span = {static_cast<int>(at), static_cast<int>(at + label.toString().size())};
                }
            }
            parsed.parameters << span;
        }
        help.signatures << parsed;
    }
    if (help.signatures.isEmpty()) {
        return help;
    }
    const int active = IntOf(object.value("activeSignature"), 0);
    help.activeSignature = active >= 0 && active < help.signatures.size() ? active : 0;
    help.activeParameter = std::max(-1, IntOf(object.value("activeParameter"), -1));
    return help;
}

std::optional<SHover> ParseHover(const QJsonValue& result) {
    const QJsonValue contents = result.toObject().value("contents");
    QString markdown;
    const auto add = [&markdown](const QJsonValue& part) {
        if (part.isString()) {
            markdown += part.toString() + "\n\n";
        } else if (part.toObject().contains("language")) {
            markdown += "```" + part.toObject().value("language").toString() + "\n" +
                        part.toObject().value("value").toString() + "\n```\n\n";
        } else {
            markdown += part.toObject().value("value").toString() + "\n\n";
        }
    };
    if (contents.isArray()) {
        for (const QJsonValue& part : contents.toArray()) {
            add(part);
        }
    } else {
        add(contents);
    }
    SHover hover = HoverOfMarkdown(markdown);
    if (hover.declaration.isEmpty() && hover.documentation.isEmpty()) {
        return std::nullopt;
    }
    return hover;
}

QList<SLocation> ParseLocations(const QJsonValue& result) {
    QList<SLocation> locations;
    const auto add = [&locations](const QJsonObject& object) {
        const bool link = object.contains("targetUri");
        const QString uri = object.value(link ? "targetUri" : "uri").toString();
        const std::optional<STextRange> range =
            RangeOf(object.value(link ? "targetSelectionRange" : "range"));
        if (uri.startsWith(QLatin1String("file:")) && range) {
            locations << SLocation{CLanguageClient::PathOf(uri), *range};
        }
    };
    if (result.isArray()) {
        for (const QJsonValue& value : result.toArray()) {
            add(value.toObject());
        }
    } else if (result.isObject()) {
        add(result.toObject());
    }
    return locations;
}

QString CompletionKindWord(int kind) {
    switch (kind) {
    case kKindMethod:
        return QStringLiteral("method");
    case kKindConstructor:
        return QStringLiteral("constructor");
    case kKindField:
        return QStringLiteral("field");
    case kKindVariable:
        return QStringLiteral("variable");
    case kKindClass:
        return QStringLiteral("class");
    case kKindInterface:
        return QStringLiteral("interface");
    case kKindPackage:
        return QStringLiteral("package");
    case kKindEnum:
        return QStringLiteral("enum");
    case kKindKeyword:
        return QStringLiteral("keyword");
    case kKindEnumConstant:
        return QStringLiteral("enum constant");
    case kKindRecord:
        return QStringLiteral("record");
    case kKindTypeParameter:
        return QStringLiteral("type parameter");
    default:
        return QString();
    }
}

QJsonObject PositionParams(const QString& path, int line, int character) {
    return {{"textDocument", QJsonObject{{"uri", CLanguageClient::UriOf(path)}}},
            {"position", QJsonObject{{"line", line}, {"character", character}}}};
}

QJsonObject ReferenceParams(const QString& path, int line, int character, bool withDeclaration) {
    QJsonObject params = PositionParams(path, line, character);
    params.insert("context", QJsonObject{{"includeDeclaration", withDeclaration}});
    return params;
}

QJsonObject CompletionParams(const QString& path, int line, int character,
                             const QString& triggerCharacter) {
    QJsonObject params = PositionParams(path, line, character);
    params.insert("context",
                  triggerCharacter.isEmpty()
                      ? QJsonObject{{"triggerKind", 1}}
                      : QJsonObject{{"triggerKind", 2}, {"triggerCharacter", triggerCharacter}});
    return params;
}

int Utf16Column(const QString& line, int codePoints) {
    int units = 0;
    for (int counted = 0; counted < codePoints && units < line.size(); ++counted) {
        units += line[units].isHighSurrogate() && units + 1 < line.size() ? 2 : 1;
    }
    return units;
}

int CodePointColumn(const QString& line, int utf16) {
    const int end = std::clamp(utf16, 0, static_cast<int>(line.size()));
    int points = 0;
    for (int i = 0; i < end; ++i) {
        points += line[i].isLowSurrogate() && i > 0 && line[i - 1].isHighSurrogate() ? 0 : 1;
    }
    return points;
}

} // namespace tovin
