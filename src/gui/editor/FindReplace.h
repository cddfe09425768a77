#pragma once
// Find, Replace and Repeat for one editor control, with the two small modeless dialogs that
// drive them. A search starts at the selection (after it going down, before it going up),
// wraps around the text once, and selects the match; the last search is kept for Repeat.
// Searches compare bytes, so they work alike on UTF-8 and 8-bit text.

#include <QObject>
#include <QString>

#include <functional>
#include <string>

namespace tovin {

class CScintillaEdit;

struct SFindRequest {
    QString text;
    bool matchCase = false;
    bool wholeWord = false;
    bool down = true;
};

class CFindDialog;

class CFindReplace : public QObject {
    Q_OBJECT
public:
    // notFound receives the message for a search without a match.
    CFindReplace(CScintillaEdit& edit, std::function<void(const std::string&)> notFound);
    ~CFindReplace() override;

    void ShowFindDialog();
    void ShowReplaceDialog();
    CFindDialog* Dialog() const { return m_dialog; }

    // Selects the next match; false (after the message) when there is none.
    bool FindNext(const SFindRequest& request);
    // The last search again; without one, the Find dialog.
    bool Repeat();
    // Replaces the selection when it is a match, then finds the next one.
    bool ReplaceCurrent(const SFindRequest& request, const QString& replacement);
    // Replaces every match in one undo step; the count of replacements.
    int ReplaceAll(const SFindRequest& request, const QString& replacement);

    const SFindRequest& LastRequest() const { return m_last; }
    bool HasLastRequest() const { return !m_last.text.isEmpty(); }

private:
    std::string Bytes(const QString& text) const;
    int Flags(const SFindRequest& request) const;
    // The match [start, end) in [from, to) (to < from searches backwards), or start -1.
    std::pair<int, int> Search(const SFindRequest& request, int from, int to) const;
    bool SelectionMatches(const SFindRequest& request) const;
    void ShowDialog(bool replace);

    CScintillaEdit& m_edit;
    std::function<void(const std::string&)> m_notFound;
    SFindRequest m_last;
    CFindDialog* m_dialog = nullptr;
};

} // namespace tovin
