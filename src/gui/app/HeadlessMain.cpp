#include "app/HeadlessMain.h"

#include "project/FindCommand.h"

namespace tovin {

std::string HelpText() {
    return "Usage: tovin [options] [FILE...]\n"
           "A small integrated development environment for Java.\n"
           "\n"
           "Options:\n"
           "  --settings FILE   read and write the settings in FILE instead of the user's own\n" +
           FindCommandHelp() +
           "  --version         print the version and exit\n"
           "  --help            print this help and exit\n";
}

std::optional<int> RunHeadless(const std::vector<std::string>& arguments, std::ostream& out,
                               std::ostream& err) {
    for (const auto& argument : arguments) {
        if (argument == "--find") {
            return RunFindCommand(arguments, out, err);
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
