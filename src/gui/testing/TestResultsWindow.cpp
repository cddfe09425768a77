#include "gui/testing/TestResultsWindow.h"

#include "core/project/TestCommands.h"
#include "gui/desktop/Icons.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <numeric>
#include <tuple>

namespace tovin {

namespace {

QIcon OutcomeIcon(ETestOutcome outcome) {
    if (IsFailure(outcome)) {
        return OwnIcon(QStringLiteral("test-failed"));
    }
    return OwnIcon(outcome == ETestOutcome::Skipped ? QStringLiteral("test-skipped")
                                                    : QStringLiteral("test-passed"));
}

// The worse of two outcomes, for a class that holds both.
ETestOutcome Worse(ETestOutcome a, ETestOutcome b) {
    const auto rank = [](ETestOutcome outcome) {
        return IsFailure(outcome) ? 2 : outcome == ETestOutcome::Skipped ? 0 : 1;
    };
    return rank(a) >= rank(b) ? a : b;
}

QString Seconds(double seconds) {
    return QStringLiteral("%1 s").arg(seconds, 0, 'f', 3);
}

// The class as the tree shows it: without its package, nested classes joined with '.'.
QString ClassTitle(const std::string& className) {
    STestCase named;
    named.className = className;
    std::string title = TestTitle(named);
    if (!title.empty() && title.back() == '.') {
        title.pop_back();
    }
    return QString::fromStdString(title);
}

} // namespace

CTestResultsWindow::CTestResultsWindow(QWidget* parent)
    : QWidget(parent), m_bar(new QProgressBar(this)), m_counts(new QLabel(this)),
      m_tree(new QTreeWidget(this)), m_details(new QPlainTextEdit(this)),
      m_rerun(new QPushButton(QStringLiteral("Run Failed Tests Again"), this)) {
    m_bar->setTextVisible(false);
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    m_bar->setMaximumHeight(12);
    m_tree->setColumnCount(2);
    m_tree->setHeaderLabels({QStringLiteral("Test"), QStringLiteral("Time")});
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_tree->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_details->setReadOnly(true);
    m_details->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_rerun->setEnabled(false);
    m_counts->setText(QStringLiteral("No tests have run yet."));

    auto* top = new QHBoxLayout;
    top->addWidget(m_counts, 1);
    top->addWidget(m_rerun);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_tree);
    splitter->addWidget(m_details);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_bar);
    layout->addLayout(top);
    layout->addWidget(splitter, 1);

    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] { ShowDetails(); });
    connect(m_tree, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { Activate(item); });
    connect(m_rerun, &QPushButton::clicked, this, &CTestResultsWindow::rerunFailedRequested);
}

void CTestResultsWindow::ShowRunning(const std::string& caption) {
    m_cases.clear();
    m_tree->clear();
    m_details->clear();
    m_rerun->setEnabled(false);
    m_bar->setRange(0, 0); // busy
    m_bar->setStyleSheet({});
    m_counts->setText(QString::fromStdString(caption) + QStringLiteral(" ..."));
}

void CTestResultsWindow::ShowResults(const std::vector<STestCase>& cases, const std::string& note) {
    m_cases = cases;
    m_tree->clear();
    m_details->clear();
    std::map<std::string, QTreeWidgetItem*> classes;
    std::map<QTreeWidgetItem*, std::pair<ETestOutcome, double>> classState;
    // The reports list tests in no fixed order: the tree sorts them, so a class and a test
    // keep their place from one run to the next.
    std::vector<std::size_t> order(m_cases.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return std::tie(m_cases[a].className, m_cases[a].name) <
               std::tie(m_cases[b].className, m_cases[b].name);
    });
    for (const std::size_t i : order) {
        const STestCase& test = m_cases[i];
        QTreeWidgetItem*& parent = classes[test.className];
        if (!parent) {
            parent = new QTreeWidgetItem(m_tree, {ClassTitle(test.className)});
            parent->setToolTip(0, QString::fromStdString(test.className));
            classState[parent] = {ETestOutcome::Skipped, 0.0};
        }
        auto* item = new QTreeWidgetItem(
            parent, {QString::fromStdString(test.displayName), Seconds(test.seconds)});
        item->setIcon(0, OutcomeIcon(test.outcome));
        item->setData(0, kCaseRole, static_cast<qulonglong>(i));
        item->setToolTip(0, QString::fromStdString(test.name));
        auto& [outcome, seconds] = classState[parent];
        outcome = Worse(outcome, test.outcome);
        seconds += test.seconds;
    }
    for (auto& [item, state] : classState) {
        item->setIcon(0, OutcomeIcon(state.first));
        item->setText(1, Seconds(state.second));
        // Classes with a failure open, so the failures show at once.
        item->setExpanded(IsFailure(state.first));
    }
    const STestCounts counts = CountTests(m_cases);
    const int total = counts.passed + counts.failed + counts.skipped;
    m_bar->setRange(0, 1);
    m_bar->setValue(1);
    m_bar->setStyleSheet(counts.failed > 0 || total == 0
                             ? QStringLiteral("QProgressBar::chunk { background: #d33c2f; }")
                             : QStringLiteral("QProgressBar::chunk { background: #2e9e45; }"));
    QString text = QStringLiteral("Tests: %1   Passed: %2   Failed: %3   Skipped: %4")
                       .arg(total)
                       .arg(counts.passed)
                       .arg(counts.failed)
                       .arg(counts.skipped);
    if (!note.empty()) {
        text += QStringLiteral("\n") + QString::fromStdString(note);
    }
    m_counts->setText(text);
    m_rerun->setEnabled(counts.failed > 0);
}

std::vector<STestCase> CTestResultsWindow::FailedCases() const {
    std::vector<STestCase> failed;
    for (const STestCase& test : m_cases) {
        if (IsFailure(test.outcome)) {
            failed.push_back(test);
        }
    }
    return failed;
}

QTreeWidgetItem* CTestResultsWindow::FindTest(const std::string& className,
                                              const std::string& name) const {
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* parent = m_tree->topLevelItem(i);
        for (int j = 0; j < parent->childCount(); ++j) {
            QTreeWidgetItem* item = parent->child(j);
            const STestCase& test = m_cases[item->data(0, kCaseRole).toULongLong()];
            if (test.className == className && test.name == name) {
                return item;
            }
        }
    }
    return nullptr;
}

void CTestResultsWindow::ShowDetails() {
    QTreeWidgetItem* item = m_tree->currentItem();
    if (!item || !item->parent()) {
        m_details->clear();
        return;
    }
    const STestCase& test = m_cases[item->data(0, kCaseRole).toULongLong()];
    std::string text = test.message;
    if (!test.trace.empty()) {
        text += (text.empty() ? "" : "\n\n") + test.trace;
    }
    m_details->setPlainText(QString::fromStdString(text));
}

void CTestResultsWindow::Activate(QTreeWidgetItem* item) {
    if (item && item->parent()) {
        emit testActivated(m_cases[item->data(0, kCaseRole).toULongLong()]);
    }
}

} // namespace tovin
