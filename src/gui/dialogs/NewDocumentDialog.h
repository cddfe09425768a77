#pragma once
// "New Tovin Document": the five kinds of new document as large icons, and a JUnit test case
// (a Java source written from a template).

#include <QDialog>

class QListWidget;

namespace tovin {

class CNewDocumentDialog : public QDialog {
    Q_OBJECT
public:
    // Entry indexes, in list order.
    enum EEntry { JavaSource, Project, HtmlPage, XmlFile, JythonFile, TestCase };

    explicit CNewDocumentDialog(QWidget* parent = nullptr);
    // The chosen entry after OK.
    int Chosen() const { return m_chosen; }
    QListWidget* List() const { return m_list; }

    void accept() override;

private:
    QListWidget* m_list;
    int m_chosen = -1;
};

// The document name a new-document entry creates; empty for the project entry.
const char* DocumentNameOfEntry(int entry);

} // namespace tovin
