#pragma once
// CTestResultsWindow: the content of the docked "Test Results" window. A bar that is green when
// every test that ran passed and red otherwise, the counts, a tree of the test classes and their
// tests with an icon for passed, failed and skipped and the time each took, and below it the
// message and stack trace of the selected failed test. A double-click on a test asks to open
// its failure's place (or its class's file); "Run Failed Tests Again" asks to rerun the failed.

#include "core/project/TestReport.h"

#include <QWidget>

#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tovin {

class CTestResultsWindow : public QWidget {
    Q_OBJECT
public:
    // Item data role of a test item: its index in the shown results.
    static constexpr int kCaseRole = Qt::UserRole;

    explicit CTestResultsWindow(QWidget* parent = nullptr);

    // Shows a run's results; note (may be empty) says why they may be incomplete.
    void ShowResults(const std::vector<STestCase>& cases, const std::string& note);
    // A run has started: the tree empties and the counts say so.
    void ShowRunning(const std::string& caption);
    const std::vector<STestCase>& Cases() const { return m_cases; }
    // The failed tests of the shown results.
    std::vector<STestCase> FailedCases() const;

    QTreeWidget* Tree() const { return m_tree; }
    QProgressBar* Bar() const { return m_bar; }
    QLabel* Counts() const { return m_counts; }
    QPlainTextEdit* Details() const { return m_details; }
    QPushButton* RerunButton() const { return m_rerun; }
    // The item of a test, found by its class and name; null when it is not shown.
    QTreeWidgetItem* FindTest(const std::string& className, const std::string& name) const;

signals:
    void testActivated(const tovin::STestCase& test);
    void rerunFailedRequested();

private:
    void ShowDetails();
    void Activate(QTreeWidgetItem* item);

    QProgressBar* m_bar;
    QLabel* m_counts;
    QTreeWidget* m_tree;
    QPlainTextEdit* m_details;
    QPushButton* m_rerun;
    std::vector<STestCase> m_cases;
};

} // namespace tovin
