#pragma once
// Shared pieces of the shell's GUI tests: an application on a settings file of its own with a
// scripted host, project files, and readers of what the menus show.

#include "FakeUiHost.h"
#include "TempDir.h"
#include "core/process/ProcessRunner.h"
#include "gui/app/EditorApp.h"
#include "gui/app/MainFrame.h"
#include "gui/framework/Document.h"
#include "gui/framework/DocumentFrame.h"
#include "gui/framework/RecentFileList.h"
#include "settings/IniSettingsStore.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <functional>
#include <memory>

// Failed comparisons of the core's strings and lists print both values.
namespace QTest {
#ifndef TOVIN_TEST_PRINTS_STD_STRING
#define TOVIN_TEST_PRINTS_STD_STRING
template <> inline char* toString(const std::string& text) {
    return qstrdup(text.c_str());
}
#endif
template <> inline char* toString(const std::vector<std::string>& list) {
    QStringList items;
    for (const std::string& item : list) {
        items << QString::fromStdString(item);
    }
    return qstrdup(qPrintable("[" + items.join(" | ") + "]"));
}
} // namespace QTest

namespace tovin::test {

// An empty project file: two empty lists and eight empty strings.
inline std::string WriteEmptyProject(const CTempDir& dir, const std::string& name) {
    return dir.Write(name, std::string(16, '\0'));
}

class CShellFixture {
public:
    CTempDir dir;
    CFakeUiHost host;
    std::unique_ptr<CEditorApp> app;

    std::string SettingsFile() const { return dir.File("Tovin.conf"); }

    int tipsShown = 0;
    bool started = false;

    CEditorApp& Start(const std::vector<std::string>& files = {}) {
        app = std::make_unique<CEditorApp>(SettingsFile(), &host);
        tipsShown = 0;
        app->SetStartupTip([this] { ++tipsShown; });
        started = app->Start(files);
        return *app;
    }
    // Ends the application the way the user does, through the main window's closing.
    bool Close() {
        bool closed = app->MainFrame()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return closed;
    }
    void Restart(const std::vector<std::string>& files = {}) {
        app.reset();
        Start(files);
    }
    // What the settings file holds now.
    std::string Stored(const std::string& section, const std::string& key) const {
        CIniSettingsStore store(SettingsFile());
        return store.GetString(section, key, "<missing>");
    }
    void Store(const std::string& section, const std::string& key, const std::string& value) {
        CIniSettingsStore store(SettingsFile());
        store.SetString(section, key, value);
        (void)store.Flush();
    }
    CMainFrame& Frame() const { return *app->MainFrame(); }
    // Lets the documents closed so far go away.
    static void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

// The titles of the frames open in the main window, in the order they were opened.
inline QStringList FrameTitles(const CMainFrame& frame) {
    QStringList titles;
    for (CDocumentFrame* child : frame.DocumentFrames()) {
        titles << child->windowTitle().remove(QStringLiteral("[*]"));
    }
    return titles;
}

// A menu's items as text: "-" for a separator.
inline QStringList MenuItems(QMenu* menu) {
    emit menu->aboutToShow();
    QStringList items;
    for (QAction* action : menu->actions()) {
        items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return items;
}

// Runs `answer` on the next modal dialog that opens while `trigger` runs.
inline void WithModal(const std::function<void(QWidget*)>& answer,
                      const std::function<void()>& trigger) {
    auto done = std::make_shared<bool>(false);
    auto poll = std::make_shared<std::function<void()>>();
    std::weak_ptr<std::function<void()>> weakPoll = poll;
    *poll = [answer, done, weakPoll] {
        if (*done) {
            return;
        }
        if (QWidget* modal = QApplication::activeModalWidget()) {
            *done = true;
            answer(modal);
            return;
        }
        if (auto again = weakPoll.lock()) {
            QTimer::singleShot(10, [again] { (*again)(); });
        }
    };
    QTimer::singleShot(0, [poll] { (*poll)(); });
    trigger();
    *done = true;
}

} // namespace tovin::test
