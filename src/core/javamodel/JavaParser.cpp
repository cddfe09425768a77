#include "core/javamodel/JavaParser.h"

#include "core/javamodel/JavaLexicalPass.h"
#include "core/javamodel/NextOf.h"
#include "core/javamodel/SourceLines.h"
#include "core/platform/Files.h"

#include <algorithm>
#include <array>
#include <climits>
#include <memory>
#include <vector>

namespace tovin {

namespace {

constexpr size_t kNone = std::string_view::npos;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Letters, digits, "_", "$" and every byte of a multi-byte character.
bool IsWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || static_cast<unsigned char>(c) >= 0x80;
}

// The first offset at or after `at` (and before `end`) that is not white space.
size_t SkipSpace(std::string_view code, size_t at, size_t end) {
    while (at < end && IsSpace(code[at])) {
        ++at;
    }
    return at;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.back())) {
        text.remove_suffix(1);
    }
    while (!text.empty() && IsSpace(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

// A declaration's words on one line: each CR LF and each tab a blank, then every pair of
// blanks one blank, five times over. A run of n blanks is halved (rounding up) by each of
// those passes, so it ends as ceil(n / 32) blanks, which one pass here writes.
std::string OneLine(std::string_view raw) {
    std::string line;
    line.reserve(raw.size());
    size_t blanks = 0;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == ' ' || raw[i] == '\t') {
            ++blanks;
            continue;
        }
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') {
            ++blanks;
            ++i;
            continue;
        }
        line.append((blanks + 31) / 32, ' ');
        blanks = 0;
        line += raw[i];
    }
    line.append((blanks + 31) / 32, ' ');
    return line;
}

int ToPosition(size_t value) {
    return value > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(value);
}

bool IsModifier(std::string_view word) {
    static constexpr std::string_view kModifiers[] = {
        "public",    "protected",    "private",  "static",   "final",   "abstract", "native",
        "transient", "synchronized", "volatile", "strictfp", "default", "sealed"};
    return std::find(std::begin(kModifiers), std::end(kModifiers), word) != std::end(kModifiers);
}

// Words that can stand before a "(" in code but never name a method.
bool IsStatementWord(std::string_view word) {
    static constexpr std::string_view kWords[] = {
        "if",      "for",   "while",     "switch", "catch",   "synchronized",
        "return",  "new",   "throw",     "else",   "do",      "try",
        "assert",  "case",  "this",      "super",  "finally", "instanceof",
        "default", "class", "interface", "enum"};
    return std::find(std::begin(kWords), std::end(kWords), word) != std::end(kWords);
}

// Reads the masked code of one member, from its start to the brace after it, word by word.
class CMemberCursor {
public:
    CMemberCursor(std::string_view code, size_t from, size_t end)
        : m_code(code), m_pos(from), m_end(end) {}

    size_t Pos() const { return m_pos; }
    void Restore(size_t pos) { m_pos = pos; }

    // The next character that is not a blank, '\0' at the end; the cursor stops before it.
    char Peek() {
        m_pos = SkipSpace(m_code, m_pos, m_end);
        return m_pos < m_end ? m_code[m_pos] : '\0';
    }
    bool AtEnd() { return Peek() == '\0'; }
    bool Skip(char c) {
        if (Peek() != c) {
            return false;
        }
        ++m_pos;
        return true;
    }
    // The word at the cursor, consumed; empty (and nothing consumed) when none starts there.
    std::string_view Word() {
        Peek();
        size_t start = m_pos;
        while (m_pos < m_end && IsWordChar(m_code[m_pos])) {
            ++m_pos;
        }
        return m_code.substr(start, m_pos - start);
    }
    // At `open`: moves past its matching `close`. False when the member ends first.
    bool SkipBalanced(char open, char close) {
        int depth = 0;
        for (; m_pos < m_end; ++m_pos) {
            if (m_code[m_pos] == open) {
                ++depth;
            } else if (m_code[m_pos] == close && --depth == 0) {
                ++m_pos;
                return true;
            }
        }
        return false;
    }

private:
    std::string_view m_code;
    size_t m_pos;
    size_t m_end;
};

// What a member before an opening brace declares.
enum class EMember { None, Type, Method, CompactConstructor };

struct SMember {
    EMember kind = EMember::None;
    size_t nameStart = 0;    // the declared name (the record's name for a compact constructor)
    size_t nameEnd = 0;      // a type's name ends after its type parameters when they follow it
    size_t signatureEnd = 0; // a method's: just past the ")" closing its parameters
    bool isEnum = false;
    bool isRecord = false;
    size_t headerOpen = 0; // a record's components: the "(" ... ")" after its name
    size_t headerEnd = 0;
};

// Skips the annotations and modifiers a member starts with. False when an annotation is cut
// short.
bool SkipAnnotationsAndModifiers(CMemberCursor& cursor) {
    for (;;) {
        if (cursor.Skip('@')) {
            size_t keyword = cursor.Pos();
            if (cursor.Word() == "interface") {
                cursor.Restore(keyword); // "@interface" declares an annotation type
                return true;
            }
            while (cursor.Skip('.')) {
                cursor.Word();
            }
            if (cursor.Peek() == '(' && !cursor.SkipBalanced('(', ')')) {
                return false;
            }
            continue;
        }
        size_t before = cursor.Pos();
        std::string_view word = cursor.Word();
        if (IsModifier(word)) {
            continue;
        }
        if (word == "non" && cursor.Skip('-') && cursor.Word() == "sealed") {
            continue;
        }
        cursor.Restore(before);
        return true;
    }
}

// After "class", "interface", "enum", "record" or "@interface": the name, the type
// parameters written right after it, and a record's components.
SMember ReadTypeHead(CMemberCursor& cursor, std::string_view code, bool isEnum, bool isRecord) {
    SMember member;
    std::string_view name = cursor.Word();
    if (name.empty()) {
        return member;
    }
    member.nameStart = cursor.Pos() - name.size();
    member.nameEnd = cursor.Pos();
    if (cursor.Pos() < code.size() && code[cursor.Pos()] == '<') {
        if (!cursor.SkipBalanced('<', '>')) {
            return member;
        }
        member.nameEnd = cursor.Pos();
    } else if (isRecord && cursor.Peek() == '<' && !cursor.SkipBalanced('<', '>')) {
        return member;
    }
    if (isRecord) {
        if (cursor.Peek() != '(') {
            return member;
        }
        member.headerOpen = cursor.Pos();
        if (!cursor.SkipBalanced('(', ')')) {
            return member;
        }
        member.headerEnd = cursor.Pos();
    }
    member.kind = EMember::Type;
    member.isEnum = isEnum;
    member.isRecord = isRecord;
    return member;
}

// A method or constructor: [type parameters] [result type] name ( parameters ) [dims]
// [throws ...]. Anything else before the brace (a call, a lambda, an anonymous class) is no
// declaration. `recordName` is the name of the record whose body this is, if any.
SMember ReadMethodHead(CMemberCursor& cursor, std::string_view recordName) {
    SMember member;
    if (cursor.Peek() == '<' && !cursor.SkipBalanced('<', '>')) {
        return member;
    }
    // The tokens before the "(": the last word, and what came before it.
    std::string_view word;
    size_t wordStart = 0;
    char last = '\0';   // 'w' for a word, else the punctuation character
    char before = '\0'; // the same for the token before the last
    std::string_view wordBefore;
    int tokens = 0;
    for (;;) {
        char c = cursor.Peek();
        if (c == '\0') {
            // No parameters: a record's compact constructor is its name alone.
            if (tokens == 1 && last == 'w' && !recordName.empty() && word == recordName) {
                member.kind = EMember::CompactConstructor;
                member.nameStart = wordStart;
                member.nameEnd = wordStart + word.size();
            }
            return member;
        }
        if (c == '(' && !(last == 'w' && before == '@')) {
            break;
        }
        before = last;
        ++tokens;
        if (c == '(') { // a type annotation's arguments
            if (!cursor.SkipBalanced('(', ')')) {
                return member;
            }
            last = ')';
            continue;
        }
        if (IsWordChar(c)) {
            wordBefore = last == 'w' ? word : std::string_view();
            wordStart = cursor.Pos();
            word = cursor.Word();
            last = 'w';
            continue;
        }
        cursor.Skip(c);
        last = c;
    }
    if (last != 'w' || before == '.' || before == '@' || wordBefore == "new" ||
        IsStatementWord(word) || (word[0] >= '0' && word[0] <= '9')) {
        return member;
    }
    if (!cursor.SkipBalanced('(', ')')) {
        return member;
    }
    member.signatureEnd = cursor.Pos();
    while (cursor.Skip('[')) { // dimensions of the result written after the parameters
        if (!cursor.Skip(']')) {
            return member;
        }
    }
    if (!cursor.AtEnd() && cursor.Word() != "throws") {
        return member;
    }
    member.kind = EMember::Method;
    member.nameStart = wordStart;
    member.nameEnd = wordStart + word.size();
    return member;
}

// What the code of a member (its literals and comments blanked) declares before its brace,
// with offsets into that code. `recordName` names the record whose body holds the member, if
// any. In the compilation unit a method is a compact source file's (`void main() {}` with no
// class around it); a record's compact constructor cannot stand there.
SMember ClassifyMember(std::string_view code, std::string_view recordName) {
    CMemberCursor cursor(code, 0, code.size());
    if (!SkipAnnotationsAndModifiers(cursor)) {
        return {};
    }
    size_t start = cursor.Pos();
    // "@interface" comes here as "interface": the annotations stopped after its "@".
    std::string_view word = cursor.Word();
    if (word == "class" || word == "interface" || word == "enum") {
        return ReadTypeHead(cursor, code, word == "enum", false);
    }
    if (word == "record") {
        // "record" names a record only when a name and its components follow.
        SMember record = ReadTypeHead(cursor, code, false, true);
        if (record.kind == EMember::Type) {
            return record;
        }
    }
    cursor.Restore(start);
    return ReadMethodHead(cursor, recordName);
}

// The reading of one text's types and members into the file's classes.
class CStructureReader {
public:
    CStructureReader(CJavaFile& file, std::string_view text)
        : m_file(file), m_text(text), m_spans(FindJavaLiteralsAndComments(text)),
          m_nextOpen(text, '{'), m_nextClose(text, '}') {}

    void Read();
    // After the reading: the types of a compact source file become its class's members.
    void FoldIntoImplicitClass();

private:
    // A body whose members are read: the compilation unit, or a type's body.
    struct SScope {
        std::string top;            // the top-level type the body belongs to; empty for the unit
        std::string inner;          // the member type it is the body of; empty for a top-level type
        bool enumConstants = false; // an enum body before the ";" ending its constants
        std::string_view recordName;
        std::string_view recordHeader; // "(components)"
        size_t memberStart = 0;        // the member under way starts here
        int parens = 0;
        bool value = false; // the member under way has an "=": its braces are its value's

        bool IsUnit() const { return top.empty(); }
    };

    // A new member starts at `at`, or rather at the first thing after it that is neither white
    // space nor a comment; returns where.
    size_t StartMember(SScope& scope, size_t at) {
        scope.memberStart = SkipSpaceAndComments(at);
        scope.parens = 0;
        scope.value = false;
        return scope.memberStart;
    }
    size_t SkipSpaceAndComments(size_t at);
    // When `at` lies in a literal or comment: the offset just past it; else npos. The
    // questions must rise.
    size_t EndOfSpanAt(size_t at);
    size_t LastCodeClose() const;
    // Handles the member before the brace at `brace`; true when it opened a type's body.
    bool Declare(size_t brace);
    SMember Classify(const SScope& scope, size_t brace);
    int PositionOf(size_t nameStart, size_t brace) const;
    size_t MatchingBrace(size_t open);
    CJavaClass* Owner(const SScope& scope) const;
    // The class a compact source file's top-level methods are filed under; null when the text
    // has no file name.
    CJavaClass* ImplicitClass();
    void AddMethod(const SScope& scope, const std::string& signature, int position);

    CJavaFile& m_file;
    std::string_view m_text;
    std::vector<SJavaSpan> m_spans; // the literals and comments
    size_t m_span = 0;              // the first of them not yet passed
    CNextOf m_nextOpen, m_nextClose;
    std::string m_member; // the code of the member being classified
    std::vector<SScope> m_scopes;
    size_t m_afterBrace = 0; // just past the last brace read
    std::string m_implicit;  // a compact source file's class, once a method outside types is read
};

void CStructureReader::Read() {
    // An opening brace with no closing brace after it is not read: the text is still being
    // written there.
    const size_t lastClose = LastCodeClose();
    if (lastClose == kNone) {
        return;
    }
    m_scopes.push_back({}); // the unit: no top-level type
    // Between members' bodies only these characters matter: the structure, and the first
    // characters of literals and comments, which are stepped over whole.
    static const std::array<bool, 256> kStructure = [] {
        std::array<bool, 256> structure{};
        for (char c : std::string_view("(){};=/\"'")) {
            structure[static_cast<unsigned char>(c)] = true;
        }
        return structure;
    }();
    size_t i = StartMember(m_scopes.back(), 0);
    for (;;) {
        while (i <= lastClose && !kStructure[static_cast<unsigned char>(m_text[i])]) {
            ++i;
        }
        if (i > lastClose) {
            return;
        }
        SScope& scope = m_scopes.back();
        size_t next = i + 1;
        switch (m_text[i]) {
        case '/':
        case '"':
        case '\'': {
            const size_t end = EndOfSpanAt(i);
            next = end == kNone ? i + 1 : end;
            break;
        }
        case '(':
            ++scope.parens;
            break;
        case ')':
            scope.parens -= scope.parens > 0 ? 1 : 0;
            break;
        case '=':
            scope.value = scope.value || scope.parens == 0;
            break;
        case ';':
            if (scope.parens == 0) {
                next = StartMember(scope, i + 1);
                scope.enumConstants = false;
            }
            break;
        case '}':
            if (m_scopes.size() == 1) {
                return; // more closing than opening braces
            }
            m_scopes.pop_back();
            m_afterBrace = i + 1;
            next = StartMember(m_scopes.back(), i + 1);
            break;
        case '{': {
            // A brace inside parentheses, in a value, or in an enum's constants belongs to the
            // member under way; any other starts the member's body.
            const bool inMember = scope.parens > 0 || scope.value || scope.enumConstants;
            if (!inMember && Declare(i)) {
                next = m_scopes.back().memberStart;
                break;
            }
            const size_t close = MatchingBrace(i);
            if (close == kNone) {
                return;
            }
            m_afterBrace = close + 1;
            next = inMember ? close + 1 : StartMember(m_scopes.back(), close + 1);
            break;
        }
        default:
            break;
        }
        i = next;
    }
}

size_t CStructureReader::EndOfSpanAt(size_t at) {
    while (m_span < m_spans.size() && m_spans[m_span].end <= at) {
        ++m_span;
    }
    return m_span < m_spans.size() && m_spans[m_span].start <= at ? m_spans[m_span].end : kNone;
}

size_t CStructureReader::SkipSpaceAndComments(size_t at) {
    for (;;) {
        at = SkipSpace(m_text, at, m_text.size());
        const size_t end = at < m_text.size() && m_text[at] == '/' ? EndOfSpanAt(at) : kNone;
        if (end == kNone) {
            return at;
        }
        at = end;
    }
}

size_t CStructureReader::LastCodeClose() const {
    size_t close = m_text.rfind('}');
    while (close != kNone) {
        auto span = std::upper_bound(m_spans.begin(), m_spans.end(), close,
                                     [](size_t at, const SJavaSpan& s) { return at < s.end; });
        if (span == m_spans.end() || span->start > close) {
            return close;
        }
        close = span->start == 0 ? kNone : m_text.rfind('}', span->start - 1);
    }
    return kNone;
}

bool CStructureReader::Declare(size_t brace) {
    const SScope& scope = m_scopes.back();
    SMember member = Classify(scope, brace);
    const int position = member.kind == EMember::None ? 0 : PositionOf(member.nameStart, brace);
    m_afterBrace = brace + 1;
    switch (member.kind) {
    case EMember::None:
        return false;
    case EMember::Method:
        AddMethod(scope,
                  OneLine(m_text.substr(member.nameStart, member.signatureEnd - member.nameStart)),
                  position);
        return false;
    case EMember::CompactConstructor:
        AddMethod(scope, OneLine(std::string(scope.recordName).append(scope.recordHeader)),
                  position);
        return false;
    case EMember::Type:
        break;
    }
    std::string name = OneLine(m_text.substr(member.nameStart, member.nameEnd - member.nameStart));
    SScope body;
    if (scope.IsUnit()) {
        if (!m_file.Classes().ContainsClass(name)) {
            m_file.AddClass(name, position);
        }
        body.top = std::move(name);
    } else {
        CJavaClass* top = m_file.Classes().FindClass(scope.top);
        if (top && !top->ContainsInnerClass(name)) {
            top->InnerClasses().Add(std::make_unique<CJavaClass>(name, position));
        }
        body.top = scope.top;
        body.inner = std::move(name);
    }
    body.enumConstants = member.isEnum;
    if (member.isRecord) {
        size_t nameLength = member.nameStart;
        while (nameLength < member.nameEnd && IsWordChar(m_text[nameLength])) {
            ++nameLength;
        }
        body.recordName = m_text.substr(member.nameStart, nameLength - member.nameStart);
        body.recordHeader = m_text.substr(member.headerOpen, member.headerEnd - member.headerOpen);
    }
    StartMember(body, brace + 1);
    m_scopes.push_back(std::move(body));
    return true;
}

SMember CStructureReader::Classify(const SScope& scope, size_t brace) {
    MaskJavaLiteralsAndComments(m_text, m_spans, scope.memberStart, brace, m_member);
    SMember member = ClassifyMember(m_member, scope.recordName);
    // Back from the member's code to offsets into the text.
    for (size_t* offset : {&member.nameStart, &member.nameEnd, &member.signatureEnd,
                           &member.headerOpen, &member.headerEnd}) {
        *offset += scope.memberStart;
    }
    return member;
}

// The offset of the name's line, or past the last brace or comment ending on that line before
// the name; then the blanks before the brace, plus one; but at most the line's end.
int CStructureReader::PositionOf(size_t nameStart, size_t brace) const {
    size_t base = m_afterBrace;
    for (size_t i = nameStart; i > base; --i) {
        if (m_text[i - 1] == '\n') {
            base = i;
            break;
        }
    }
    // The last block comment that ends on that line before the name.
    auto span = std::upper_bound(m_spans.begin(), m_spans.end(), nameStart,
                                 [](size_t at, const SJavaSpan& s) { return at < s.end; });
    while (span != m_spans.begin() && (span - 1)->end > base) {
        --span;
        if (m_text.compare(span->start, 2, "/*") == 0) {
            base = span->end;
            break;
        }
    }
    size_t gapStart = brace;
    while (gapStart > nameStart && IsSpace(m_text[gapStart - 1])) {
        --gapStart;
    }
    size_t position = std::min(base + (brace - gapStart) + 1, m_text.size());
    for (size_t i = nameStart; i < position; ++i) {
        if (IsLineBreak(m_text[i])) {
            position = i;
            break;
        }
    }
    return ToPosition(position);
}

size_t CStructureReader::MatchingBrace(size_t open) {
    int depth = 0;
    size_t from = open + 1;
    for (;;) {
        const size_t nextOpen = m_nextOpen.From(from);
        const size_t nextClose = m_nextClose.From(from);
        if (nextClose == kNone) {
            return kNone;
        }
        if (const size_t end = EndOfSpanAt(std::min(nextOpen, nextClose)); end != kNone) {
            from = end; // a brace in a literal or comment
            continue;
        }
        if (nextOpen < nextClose) {
            ++depth;
            from = nextOpen + 1;
        } else if (depth-- == 0) {
            return nextClose;
        } else {
            from = nextClose + 1;
        }
    }
}

CJavaClass* CStructureReader::ImplicitClass() {
    // A compact source file's methods belong to the class the compiler makes of the file, which
    // takes the file's name. Text without a file (a new editor) has no such name to show.
    const std::string& fileName = m_file.GetFileName();
    const std::string name = fileName.substr(0, fileName.rfind('.'));
    if (name.empty()) {
        return nullptr;
    }
    m_implicit = name;
    if (!m_file.Classes().ContainsClass(name)) {
        // It spans the whole file, so it is shown from the file's start.
        m_file.AddClass(name, 0);
    }
    return m_file.Classes().FindClass(name);
}

void CStructureReader::FoldIntoImplicitClass() {
    CJavaClassList& classes = m_file.Classes();
    CJavaClass* implicit = classes.FindClass(m_implicit);
    if (!implicit) {
        return;
    }
    // The types a compact source file declares are members of its class; their own member
    // types go beside them, as the model keeps one level.
    auto copyInto = [implicit](const CJavaClass& type) {
        if (implicit->ContainsInnerClass(type.GetName())) {
            return;
        }
        auto member = std::make_unique<CJavaClass>(type.GetName(), type.GetPosition());
        for (const auto& method : type.Methods()) {
            member->AddMethod(method->GetName(), method->GetPosition());
        }
        implicit->InnerClasses().Add(std::move(member));
    };
    for (int i = 0; i < classes.GetCount();) {
        const CJavaClass* type = classes.Item(i);
        if (type == implicit) {
            ++i;
            continue;
        }
        copyInto(*type);
        for (const auto& inner : type->InnerClasses()) {
            copyInto(*inner);
        }
        classes.Remove(i);
    }
}

CJavaClass* CStructureReader::Owner(const SScope& scope) const {
    CJavaClass* owner = m_file.Classes().FindClass(scope.top);
    if (owner && !scope.inner.empty()) {
        owner = owner->FindInnerClass(scope.inner);
    }
    return owner;
}

void CStructureReader::AddMethod(const SScope& scope, const std::string& signature, int position) {
    CJavaClass* owner = scope.IsUnit() ? ImplicitClass() : Owner(scope);
    if (owner && !owner->ContainsMethod(signature)) {
        owner->AddMethod(signature, position);
    }
}

} // namespace

std::string CJavaParser::SourceTextOf(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 32);
    ForEachSourceLine(bytes, [&text](std::string_view line) {
        text.append(line).append("\r\n");
        return true;
    });
    return text;
}

bool CJavaParser::ParseFile(std::string* error) {
    auto bytes = ReadWholeFile(m_file.GetFullPath(), error);
    if (!bytes) {
        return false;
    }
    ParseText(SourceTextOf(*bytes));
    return true;
}

void CJavaParser::ParseText(std::string_view text) {
    m_file.SetPackage(FindPackage(text));
    m_file.Classes().Clear();
    CStructureReader reader(m_file, text);
    reader.Read();
    reader.FoldIntoImplicitClass();
}

std::string CJavaParser::FindPackage(std::string_view text) {
    bool inBlock = false;
    bool inLine = false;
    for (size_t i = 0; i + 8 < text.size(); ++i) {
        // The two comment states are independent: a "/*" inside a line comment opens a block.
        if (!inBlock) {
            inBlock = text[i] == '/' && text[i + 1] == '*';
        } else {
            inBlock = !(text[i] == '*' && text[i + 1] == '/');
        }
        if (!inLine) {
            inLine = text[i] == '/' && text[i + 1] == '/';
        } else {
            inLine = !(text[i] == '\r' && text[i + 1] == '\n');
        }
        if (inBlock || inLine) {
            continue;
        }
        if (text[i] == '{') {
            return {};
        }
        if (text.compare(i, 8, "package ") == 0) {
            size_t semicolon = text.find(';', i);
            if (semicolon == kNone) {
                return {};
            }
            return std::string(Trim(text.substr(i + 8, semicolon - (i + 8))));
        }
    }
    return {};
}

} // namespace tovin
