#include "app/HeadlessMain.h"

#include "app/Settings.h"
#include "editor/HighlightCommand.h"

namespace tovin {

std::string HelpText() {
    return "Usage: tovin [options] [FILE...]\n"
           "A small integrated development environment for Java.\n"
           "\n"
           "Options:\n"
           "  --settings FILE   read and write the settings in FILE instead of the user's own\n"
           "  --highlight [--runs] FILE\n"
           "                    print FILE with syntax colours (ANSI), or with --runs one line\n"
           "                    per run: START, END and CLASS, positions in the CR LF text\n"
           "  --version         print the version and exit\n"
           "  --help            print this help and exit\n";
}

std::optional<int> RunHeadless(const std::vector<std::string>& arguments, std::ostream& out,
                               std::ostream& err) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--version") {
            out << "Tovin " << TOVIN_VERSION << "\n";
            return 0;
        }
        if (argument == "--help" || argument == "-h") {
            out << HelpText();
            return 0;
        }
        if (argument == "--highlight") {
            // The user's colour settings are not read here yet; the defaults apply.
            std::vector<std::string> rest(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                          arguments.end());
            return RunHighlightCommand(rest, CSettings{}, out, err);
        }
    }
    return std::nullopt;
}

} // namespace tovin
