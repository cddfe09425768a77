#include "gui/testing/TestSession.h"

#include "core/app/UiHost.h"
#include "core/process/ProcessRunner.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/process/ProcessWindow.h"
#include "gui/testing/TestResultsWindow.h"

namespace tovin {

CTestSession::CTestSession(CUiHost& host, CTestResultsWindow& results, SHooks hooks,
                           QObject* parent)
    : QObject(parent), m_host(host), m_results(results), m_hooks(std::move(hooks)) {
    connect(&m_results, &CTestResultsWindow::testActivated, this,
            [this](const STestCase& test) { Open(test); });
    connect(&m_results, &CTestResultsWindow::rerunFailedRequested, this,
            &CTestSession::RunFailedAgain);
}

bool CTestSession::HasFailedTests() const {
    return m_plan.has_value() && !m_results.FailedCases().empty();
}

void CTestSession::RunTests(const std::vector<std::string>& classes) {
    CJavaProjectDoc* project = m_hooks.project();
    if (!project || IsBusy() || CProcessRunner::IsProcessRunning()) {
        return;
    }
    if (auto plan = PlanTestRun(*project, classes)) {
        Begin(*plan);
    }
}

void CTestSession::RunFailedAgain() {
    if (!HasFailedTests() || !m_hooks.project() || IsBusy() || CProcessRunner::IsProcessRunning()) {
        return;
    }
    Begin(PlanRerun(*m_plan, m_results.FailedCases()));
}

void CTestSession::Begin(const STestRunPlan& plan) {
    CJavaProjectDoc& project = *m_hooks.project();
    CProcessWindow* window = m_hooks.processWindow();
    if (!window) {
        return;
    }
    if (m_connected != window) {
        connect(window, &CProcessWindow::runAttached, this, [this] { ++m_attached; });
        connect(window, &CProcessWindow::runCompleted, this, &CTestSession::OnRunCompleted);
        m_connected = window;
    }
    m_plan = plan;
    m_stage = EStage::Building;
    const int attached = m_attached;
    project.Build();
    if (m_attached == attached) {
        m_stage = EStage::Idle; // the build did not start; it has said why
        return;
    }
    m_results.ShowRunning(plan.caption);
    m_hooks.showResults();
}

void CTestSession::OnRunCompleted() {
    CProcessWindow* window = m_hooks.processWindow();
    CJavaProjectDoc* project = m_hooks.project();
    const CProcessRunner* runner = window ? window->Runner() : nullptr;
    if (m_stage == EStage::Building) {
        if (!project || !runner || runner->ExitCode() != 0) {
            m_stage = EStage::Idle;
            m_results.ShowResults({}, "The build failed: no test ran. The compiler's messages are "
                                      "in the Process Window.");
            return;
        }
        m_stage = EStage::Testing;
        if (!StartTestRun(*project, *m_plan)) {
            m_stage = EStage::Idle;
        }
        return;
    }
    if (m_stage == EStage::Testing) {
        m_stage = EStage::Idle;
        const std::string output = runner ? runner->GetOutput() : window->Text();
        const STestResults results = CollectTestResults(*m_plan, output);
        m_results.ShowResults(results.cases, results.note);
        m_hooks.showResults();
    }
}

void CTestSession::Open(const STestCase& test) {
    CJavaProjectDoc* project = m_hooks.project();
    if (!project) {
        return;
    }
    if (const auto location = FindFailureLocation(*project, test)) {
        if (COpenDocument* document = m_host.OpenDocument(location->path)) {
            document->ShowLine(location->line - 1);
        }
        return;
    }
    // A test that passed, or whose trace names no file of the project: its class's file.
    const std::string outer = test.className.substr(0, test.className.find('$'));
    for (const STestClass& testClass : m_plan ? m_plan->classes : std::vector<STestClass>{}) {
        if (testClass.qualifiedName == outer) {
            m_host.OpenDocument(testClass.path);
            return;
        }
    }
}

} // namespace tovin
