#include "gui/editor/FindReplace.h"

#include "gui/editor/FindDialog.h"
#include "gui/editor/ScintillaEdit.h"

#include <QLineEdit>

namespace tovin {

namespace {
using Sci = QsciScintillaBase;
}

CFindReplace::CFindReplace(CScintillaEdit& edit, std::function<void(const std::string&)> notFound)
    : QObject(&edit), m_edit(edit), m_notFound(std::move(notFound)) {}

CFindReplace::~CFindReplace() = default;

std::string CFindReplace::Bytes(const QString& text) const {
    const QByteArray bytes = m_edit.IsEightBit() ? text.toLatin1() : text.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

int CFindReplace::Flags(const SFindRequest& request) const {
    return (request.matchCase ? Sci::SCFIND_MATCHCASE : 0) |
           (request.wholeWord ? Sci::SCFIND_WHOLEWORD : 0);
}

std::pair<int, int> CFindReplace::Search(const SFindRequest& request, int from, int to) const {
    const std::string needle = Bytes(request.text);
    if (needle.empty()) {
        return {-1, -1};
    }
    m_edit.Send(Sci::SCI_SETSEARCHFLAGS, static_cast<unsigned long>(Flags(request)));
    m_edit.Send(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(from), to);
    const long found = m_edit.SendScintilla(Sci::SCI_SEARCHINTARGET,
                                            static_cast<uintptr_t>(needle.size()), needle.data());
    if (found < 0) {
        return {-1, -1};
    }
    return {static_cast<int>(found), static_cast<int>(m_edit.Send(Sci::SCI_GETTARGETEND))};
}

bool CFindReplace::FindNext(const SFindRequest& request) {
    if (request.text.isEmpty()) {
        return false;
    }
    m_last = request;
    int selStart = 0, selEnd = 0;
    m_edit.GetSel(selStart, selEnd);
    const int length = m_edit.GetLength();
    // From the selection to the end in the search direction, then once around from the other
    // end back to the selection.
    auto match = request.down ? Search(request, selEnd, length) : Search(request, selStart, 0);
    if (match.first < 0) {
        match = request.down ? Search(request, 0, selEnd) : Search(request, length, selStart);
    }
    if (match.first < 0) {
        if (m_notFound) {
            m_notFound("Cannot find \"" + Bytes(request.text) + "\".");
        }
        return false;
    }
    m_edit.SetSel(match.first, match.second);
    return true;
}

bool CFindReplace::Repeat() {
    if (!HasLastRequest()) {
        ShowFindDialog();
        return false;
    }
    return FindNext(m_last);
}

bool CFindReplace::SelectionMatches(const SFindRequest& request) const {
    int start = 0, end = 0;
    m_edit.GetSel(start, end);
    if (start == end) {
        return false;
    }
    auto match = Search(request, start, end);
    return match.first == start && match.second == end;
}

bool CFindReplace::ReplaceCurrent(const SFindRequest& request, const QString& replacement) {
    if (!m_edit.IsReadOnly() && SelectionMatches(request)) {
        m_edit.ReplaceSel(Bytes(replacement));
    }
    return FindNext(request);
}

int CFindReplace::ReplaceAll(const SFindRequest& request, const QString& replacement) {
    m_last = request;
    if (request.text.isEmpty() || m_edit.IsReadOnly()) {
        return 0;
    }
    const std::string with = Bytes(replacement);
    int count = 0;
    int from = 0;
    m_edit.BeginUndoAction();
    for (;;) {
        auto match = Search(request, from, m_edit.GetLength());
        if (match.first < 0) {
            break;
        }
        m_edit.SendScintilla(Sci::SCI_REPLACETARGET, static_cast<uintptr_t>(with.size()),
                             with.data());
        from = static_cast<int>(m_edit.Send(Sci::SCI_GETTARGETEND));
        ++count;
    }
    m_edit.EndUndoAction();
    if (count == 0 && m_notFound) {
        m_notFound("Cannot find \"" + Bytes(request.text) + "\".");
    }
    return count;
}

void CFindReplace::ShowFindDialog() {
    ShowDialog(false);
}

void CFindReplace::ShowReplaceDialog() {
    ShowDialog(true);
}

void CFindReplace::ShowDialog(bool replace) {
    if (!m_dialog) {
        m_dialog = new CFindDialog(*this, &m_edit);
    }
    m_dialog->SetReplaceMode(replace);
    SFindRequest request = m_last;
    // A selection within one line is what the user most likely wants to find.
    const std::string selected = m_edit.GetSelText();
    if (!selected.empty() && selected.find_first_of("\r\n") == std::string::npos) {
        request.text = m_edit.IsEightBit()
                           ? QString::fromLatin1(selected.data(), static_cast<int>(selected.size()))
                           : QString::fromStdString(selected);
    }
    m_dialog->SetRequest(request);
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
    m_dialog->FindEdit()->setFocus();
    m_dialog->FindEdit()->selectAll();
}

} // namespace tovin
