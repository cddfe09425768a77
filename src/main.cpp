// The tovin executable: the desktop application, or one of the window-less runs of
// HeadlessMain (version, help and the batch commands).

#include "app/HeadlessMain.h"
#include "app/MainFrame.h"

#include <QApplication>
#include <cstdlib>
#include <iostream>

namespace {

bool HasDisplay() {
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (auto code = tovin::RunHeadless(arguments, std::cout, std::cerr)) {
        return *code;
    }
    if (!HasDisplay()) {
        std::cerr << "tovin: no display is available (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                     "Run it on a desktop, or use the window-less options (tovin --help).\n";
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tovin"));
    QApplication::setOrganizationName(QStringLiteral("Verrimond"));
    tovin::CMainFrame frame;
    frame.show();
    return app.exec();
}
