#include "app/HeadlessMain.h"

#include "javamodel/OutlineCommand.h"

namespace tovin {

std::string HelpText() {
    return "Usage: tovin [options] [FILE...]\n"
           "A small integrated development environment for Java.\n"
           "\n"
           "Options:\n"
           "  --settings FILE   read and write the settings in FILE instead of the user's own\n"
           "  --outline FILE... print the classes, methods and functions of each file, one\n"
           "                    item a line, tab-separated, and exit\n"
           "  --version         print the version and exit\n"
           "  --help            print this help and exit\n";
}

std::optional<int> RunHeadless(const std::vector<std::string>& arguments, std::ostream& out,
                               std::ostream& err) {
    for (auto it = arguments.begin(); it != arguments.end(); ++it) {
        const std::string& argument = *it;
        if (argument == "--outline") {
            return RunOutline({it + 1, arguments.end()}, out, err);
        }
        if (argument == "--version") {
            out << "Tovin " << TOVIN_VERSION << "\n";
            return 0;
        }
        if (argument == "--help" || argument == "-h") {
            out << HelpText();
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace tovin
