#include "Messages.h"

#include <QRegularExpression>
#include <vector>

namespace tovin::monkey {

namespace {

struct SExpected {
    const char* caption; // a pattern of the whole caption
    const char* text;    // a pattern of the whole text
};

// Patterns of whole texts; "[^\"]*" stands for a path or a name the text quotes.
const SExpected kExpected[] = {
    // questions
    {"Tovin", "Save changes to [^\n]*\\?"},
    {"Tovin", "Do you really want to close this project\\?"},
    {"Tovin", "The process is still running, do you wish to abort it\\?"},
    {"Tovin", "The file \"[^\"]*\" has been changed by another program\\.\n\nDo you want to "
              "reload it\\?( The changes made in this window will be lost\\.)?"},
    {"Reset to Defaults", ".+"},
    // what the user asked for cannot be done in the project's present state
    {"Tovin", "Please specify a main Java file first"},
    // the tools' commands when the main file has left the project's lists
    {"Tovin", "Unholy Error"},
    {"Tovin", "The main file \"[^\"]*\" is no longer in the project\\. Please specify a main "
              "Java file first\\."},
    {"Tovin", "Please save the project first"},
    {"Tovin", "Please save the document first"},
    {"Tovin", "Please set the applet class as main\\."},
    {"Tovin", "\"[^\"]*\" is an applet: it has no main method that Java could run\\. Use Run "
              "Applet \\(Shift\\+F5\\) to show it with its HTML page\\."},
    {"Tovin", "The file \"[^\"]*\" is stored in 8 bits \\(Latin-1\\), which cannot hold these "
              "characters of the text: [^\n]*\n\nSave it as UTF-8 instead\\? Choose Cancel to "
              "leave the file unsaved and change the text\\."},
    {"Tovin", "You must add a file to the project in order to build\\."},
    {"Tovin", "Unable to open the HTML file\\."},
    {"Tovin", "File is already in project\\."},
    {"Tovin", "You cannot add two files with the same name to a project\\."},
    {"Tovin", "Can't compile HTML File!"},
    {"Tovin", "Only Java files can be set as main"},
    {"Tovin", "No files to remove\\."},
    {"Tovin", "Unable to locate this item - try adding the file to the project again\\."},
    {"Tovin", "Item is NULL"},
    {"Tovin", "Parent is NULL"},
    {"Tovin", "Unable to get the rect"},
    {"Tovin", "Please choose an item from the list"},
    {"Tovin", "Please enter a name for your class"},
    {"Tovin", "\"[^\n]*\" cannot be the name of a Java class\\. Use letters, digits, _ and \\$ "
              "only, do not start with a digit, and do not use a word that Java reserves \\(such "
              "as class or int\\)\\."},
    {"Tovin", "The servlet compiles only with the servlet API on the project's class path\\. "
              "Install Debian's package [^ ]+, then add [^\n]+ to the class path with \"Add "
              "Jar\\.\\.\\.\" on the project's form\\."},
    {"Tovin", "Cannot find \"[^\n]*\"\\."},
    {"Tovin", "No matches found for \"[^\n]*\""},
    {"Tovin", "[^\n]*: please enter a whole number from -?\\d+ to \\d+\\."},
    // unit tests: a project without them, JUnit not installed, a test case's file
    {"Tovin", "There are no tests in this project\\. A test is a Java file that uses JUnit; "
              "File > New > JUnit Test Case writes one\\."},
    {"Tovin", "The project's tests need JUnit, which is not installed here \\([^\n]*\\)\\. "
              "Install the package junit[45] \\(sudo apt install junit[45]\\)\\."},
    {"Tovin", "Cannot create the file \"[^\"]*\": [^\n]*\\."},
    // the help the desktop would show is not installed here
    {"Tovin", "The JDK documentation was not found( at \"[^\"]*\")?\\. Install the package "
              "openjdk-17-doc, or choose the documentation's index\\.html as the help file in "
              "Preferences\\."},
    // a file the user chose is not a source file, or is gone (a recent entry, a moved entry)
    {"Tovin", "The file \"[^\"]*\" contains NUL bytes and looks like a binary file; it cannot "
              "be opened as text\\."},
    {"Tovin", "Cannot open the file \"[^\"]*\": No such file or directory\\."},
    {"Tovin", "Cannot open the project file \"[^\"]*[^r]\": the file is damaged or is not a "
              "project file \\([^\n]*\\)\\."},
    // Preferences may point the tools anywhere: a tool that cannot start says why
    {"Error", "Cannot run \"[^\"]*\"( in \"[^\"]*\")?: [^\n]*"},
    {"Tovin", "Couldn't locate Java\\."},
    // Qt's file dialog before replacing a file
    {".*", "[^\n]* already exists\\.\nDo you want to replace it\\?"},
};

} // namespace

bool IsExpectedMessage(const QString& caption, const QString& text) {
    static const std::vector<std::pair<QRegularExpression, QRegularExpression>> patterns = [] {
        std::vector<std::pair<QRegularExpression, QRegularExpression>> compiled;
        for (const SExpected& expected : kExpected) {
            compiled.emplace_back(
                QRegularExpression(QRegularExpression::anchoredPattern(expected.caption)),
                QRegularExpression(QRegularExpression::anchoredPattern(expected.text)));
        }
        return compiled;
    }();
    for (const auto& [captionPattern, textPattern] : patterns) {
        if (captionPattern.match(caption).hasMatch() && textPattern.match(text).hasMatch()) {
            return true;
        }
    }
    return false;
}

} // namespace tovin::monkey
