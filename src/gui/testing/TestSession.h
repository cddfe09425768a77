#pragma once
// CTestSession: Run Tests in the window. It plans the run (which classes, JUnit there?), builds
// the project as F7 does, and when the build has ended without errors starts the test launcher;
// both tools' output goes to the Process Window. When the launcher has ended (or was stopped),
// the results fill the Test Results window. A double-click on a test there opens its failure's
// place; "Run Failed Tests Again" runs only the failed tests of the last run.
//
// It reaches the application only through the functions it is given: the open project (null
// when none), the Process Window (made when first asked for) and a way to show the results.

#include "core/project/TestCommands.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tovin {

class CJavaProjectDoc;
class CProcessWindow;
class CTestResultsWindow;
class CUiHost;

class CTestSession : public QObject {
    Q_OBJECT
public:
    struct SHooks {
        std::function<CJavaProjectDoc*()> project;
        std::function<CProcessWindow*()> processWindow;
        std::function<void()> showResults; // brings the Test Results window forward
    };

    CTestSession(CUiHost& host, CTestResultsWindow& results, SHooks hooks,
                 QObject* parent = nullptr);

    // Every test class of the project, or those named (qualified names or file paths).
    void RunTests(const std::vector<std::string>& classes = {});
    void RunFailedAgain();
    bool IsBusy() const { return m_stage != EStage::Idle; }
    bool HasFailedTests() const;

private:
    enum class EStage { Idle, Building, Testing };

    void Begin(const STestRunPlan& plan);
    void OnRunCompleted();
    void Open(const STestCase& test);

    CUiHost& m_host;
    CTestResultsWindow& m_results;
    SHooks m_hooks;
    EStage m_stage = EStage::Idle;
    std::optional<STestRunPlan> m_plan; // the run under way, then the last run
    QPointer<CProcessWindow> m_connected;
    int m_attached = 0; // runners the Process Window was given
};

} // namespace tovin
