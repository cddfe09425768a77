// The tovin executable: the desktop application, or one of the window-less runs of
// HeadlessMain (version, help and the batch commands). A build without windows has only the
// latter.

#include "cli/HeadlessMain.h"

#include <cstdlib>
#include <iostream>

#ifdef TOVIN_WITH_WINDOWS
#include "core/platform/Paths.h"
#include "gui/app/EditorApp.h"
#include "gui/desktop/Icons.h"
#include "gui/desktop/InstanceChannel.h"
#include "gui/dialogs/TipOfTheDayDialog.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

namespace {

bool HasDisplay() {
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

struct SCommandLine {
    std::string settingsFile; // empty: the user's own
    std::vector<std::string> files;
    std::string error;
};

SCommandLine ParseCommandLine(const QStringList& arguments) {
    SCommandLine line;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && argument == QLatin1String("--settings")) {
            if (i + 1 >= arguments.size()) {
                line.error = "--settings needs the name of a settings file";
                return line;
            }
            line.settingsFile = QFileInfo(arguments[++i]).absoluteFilePath().toStdString();
        } else if (!optionsEnded && argument.startsWith(QLatin1String("--settings="))) {
            line.settingsFile = QFileInfo(argument.mid(11)).absoluteFilePath().toStdString();
        } else if (!optionsEnded && argument.startsWith(QLatin1String("--"))) {
            line.error = "unknown option " + argument.toStdString() + " (see tovin --help)";
            return line;
        } else {
            line.files.push_back(QFileInfo(argument).absoluteFilePath().toStdString());
        }
    }
    return line;
}

} // namespace

#endif // TOVIN_WITH_WINDOWS

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (auto code = tovin::RunHeadless(arguments, std::cout, std::cerr)) {
        return *code;
    }
#ifndef TOVIN_WITH_WINDOWS
    std::cerr << "tovin: this build has no windows; use the window-less options (tovin --help).\n";
    return 2;
#else
    if (!HasDisplay()) {
        std::cerr << "tovin: no display is available (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                     "Run it on a desktop, or use the window-less options (tovin --help).\n";
        return 2;
    }
    QApplication application(argc, argv);
    // Lets the desktop match the windows to tovin.desktop (task bar entry, icon, pinning).
    QGuiApplication::setDesktopFileName(QStringLiteral("tovin"));
    // Every window without an icon of its own: the theme's picture once Tovin is installed,
    // ours when it runs from a build.
    QApplication::setWindowIcon(tovin::ApplicationIcon());
    SCommandLine line = ParseCommandLine(QApplication::arguments());
    if (!line.error.empty()) {
        std::cerr << "tovin: " << line.error << "\n";
        return 2;
    }

    tovin::CInstanceChannel channel(tovin::CInstanceChannel::NameFor(
        line.settingsFile.empty() ? tovin::ConfigFilePath() : line.settingsFile));
    if (!line.files.empty()) {
        QStringList files;
        for (const std::string& file : line.files) {
            files << QString::fromStdString(file);
        }
        if (channel.SendToRunning(files)) {
            return 0;
        }
    }

    tovin::CEditorApp editor(line.settingsFile);
    // Shown once the event loop runs, so the window is up and a second start can hand over
    // its files while the tip is open.
    editor.SetStartupTip([&editor] {
        QTimer::singleShot(
            0, &editor, [&editor] { tovin::ShowStartupTip(editor, tovin::ApplicationTipsFile()); });
    });
    if (!editor.Start(line.files)) {
        return 1;
    }
    channel.Listen();
    editor.AcceptHandOver(channel);
    return application.exec();
#endif
}
