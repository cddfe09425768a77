#pragma once
// The editors under test without the application around them: settings, a scripted host, an
// optional open project and recorded project commands, and helpers that open a file in a real
// document and view the way the application does (document first, then the shown view's first
// display).

#include "FakeUiHost.h"
#include "TempDir.h"
#include "core/app/Settings.h"
#include "core/process/ProcessRunner.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/editor/EditorContext.h"
#include "gui/editor/LiveEditorDoc.h"
#include "gui/editor/SourceView.h"
#include "gui/editor/SyntaxWindowDoc.h"

#include <QApplication>
#include <QTest>
#include <sys/stat.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

// QCOMPARE shows both byte strings when they differ.
// (ShellTestSupport.h prints them too: whichever comes first defines it.)
#ifndef TOVIN_TEST_PRINTS_STD_STRING
#define TOVIN_TEST_PRINTS_STD_STRING
namespace QTest {
template <> inline char* toString(const std::string& text) {
    return toPrettyCString(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace QTest
#endif

namespace tovin::test {

// A document with one view on it; the view goes before the document.
template <class TDoc, class TView> struct SEditorWindow {
    std::unique_ptr<TDoc> document;
    std::unique_ptr<TView> view;

    TView& View() const { return *view; }
    TDoc& Doc() const { return *document; }
};

struct SEditorFixture {
    CSettings settings;
    CFakeUiHost host;
    std::unique_ptr<CJavaProjectDoc> project;
    SEditorContext context;
    CTempDir dir;
    // The help the Java editor asked for.
    std::vector<std::string> helpKeywords;

    SEditorFixture() {
        context.settings = &settings;
        context.host = &host;
        context.project = [this] { return project.get(); };
        context.jdkHelp = [this](const std::string& keyword) { helpKeywords.push_back(keyword); };
    }

    // Stand-ins for the JDK's tools (and Ant's folder) that write each command line they are
    // started with to a log, so the project commands the windows start run real processes.
    void InstallToolStandIns() {
        const std::string script = "#!/bin/sh\nprintf '%s' \"$(basename \"$0\")\" >> '" +
                                   ToolLogPath() + "'\nfor a; do printf ' %s' \"$a\" >> '" +
                                   ToolLogPath() + "'; done\necho >> '" + ToolLogPath() + "'\n";
        for (const char* tool : {"java", "javac", "appletviewer"}) {
            const std::string path = dir.Write(std::string("jdk/bin/") + tool, script);
            ::chmod(path.c_str(), 0755);
        }
        dir.Write("ant/lib/ant.jar", "");
        settings.javaBin = dir.File("jdk");
        settings.msJavaBin = dir.File("ant");
        settings.jython = dir.File("jython");
    }
    std::string ToolLogPath() const { return dir.File("tools.log"); }
    // The logged command lines once there are `count` of them (waiting for the processes).
    std::vector<std::string> ToolCalls(size_t count) const {
        std::vector<std::string> lines;
        for (int attempt = 0; attempt < 500; ++attempt) {
            lines.clear();
            std::string text = ReadFile(ToolLogPath());
            for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
                 start = end + 1) {
                lines.push_back(text.substr(start, end - start));
            }
            if (lines.size() >= count) {
                break;
            }
            QTest::qWait(20);
        }
        return lines;
    }

    CJavaProjectDoc& OpenProject(const std::string& name = "p.jpr") {
        project = std::make_unique<CJavaProjectDoc>(settings, host);
        const std::string error = project->Save(dir.File(name));
        if (!error.empty()) {
            qFatal("cannot save the test project: %s", error.c_str());
        }
        return *project;
    }

    // Opens the file in a new document and a shown view of the given class.
    template <class TDoc, class TView, class... TDocArgs>
    SEditorWindow<TDoc, TView> Open(const std::string& path, TDocArgs... docArgs) {
        SEditorWindow<TDoc, TView> window;
        window.document = std::make_unique<TDoc>(context, docArgs...);
        if (path.empty()) {
            window.document->OnNewDocument();
        } else if (!window.document->OnOpenDocument(path)) {
            return {};
        }
        window.view = std::make_unique<TView>(*window.document, nullptr);
        window.view->resize(600, 400);
        window.view->show();
        window.view->OnInitialUpdate();
        return window;
    }

    template <class TView>
    SEditorWindow<CSyntaxWindowDoc, TView> OpenJava(const std::string& path) {
        return Open<CSyntaxWindowDoc, TView>(path);
    }

    // Writes the file and opens it.
    template <class TDoc, class TView, class... TDocArgs>
    SEditorWindow<TDoc, TView> OpenText(const std::string& name, const std::string& bytes,
                                        TDocArgs... docArgs) {
        return Open<TDoc, TView>(dir.Write(name, bytes), docArgs...);
    }
};

// Puts the caret at a position.
inline void PlaceCaret(CTextControl& control, int position) {
    control.SetSel(position, position);
}

// The token class of every position of the text, as one letter each: n(ormal), k(eyword),
// c(omment), s(tring), t(ag).
inline std::string ClassDump(const CTextControl& control, int start = 0, int end = -1) {
    if (end < 0) {
        end = control.GetLength();
    }
    std::string dump;
    for (int i = start; i < end; ++i) {
        switch (control.GetClassAt(i)) {
        case ETokenClass::Keyword:
            dump += 'k';
            break;
        case ETokenClass::Comment:
            dump += 'c';
            break;
        case ETokenClass::String:
            dump += 's';
            break;
        case ETokenClass::Tag:
            dump += 't';
            break;
        case ETokenClass::Normal:
            dump += 'n';
            break;
        }
    }
    return dump;
}

// Lets queued work (deferred recolouring, disk checks) run.
inline void ProcessQueuedEvents() {
    QApplication::processEvents();
    QApplication::processEvents();
}

} // namespace tovin::test
