#include "core/platform/DesktopEntry.h"

#include <gtest/gtest.h>

using namespace tovin;

namespace {

// A reader of the Exec value as a desktop would read it: first the string escapes, then the
// word splitting with double quotes and backslash escapes inside them, then "%%" to "%".
std::vector<std::string> ReadExec(const std::string& value) {
    std::string unescaped;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            char c = value[++i];
            unescaped += c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c == 's' ? ' ' : c;
        } else {
            unescaped += value[i];
        }
    }
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (size_t i = 0; i < unescaped.size(); ++i) {
        char c = unescaped[i];
        if (quoted) {
            if (c == '\\' && i + 1 < unescaped.size()) {
                word += unescaped[++i];
            } else if (c == '"') {
                quoted = false;
            } else {
                word += c;
            }
        } else if (c == ' ') {
            if (inWord) {
                words.push_back(word);
            }
            word.clear();
            inWord = false;
        } else if (c == '"') {
            quoted = inWord = true;
        } else if (c == '%' && i + 1 < unescaped.size() && unescaped[i + 1] == '%') {
            word += '%';
            inWord = true;
            ++i;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

} // namespace

TEST(DesktopEntry, ExecWordQuoting) {
    struct Row {
        std::string word, expected;
    };
    const Row rows[] = {
        {"/usr/bin/java", "/usr/bin/java"},
        {"-classpath", "-classpath"},
        {"a:b.jar:.", "a:b.jar:."},
        {"", "\"\""},
        {"two words", "\"two words\""},
        {"it's", "\"it's\""},
        {"a\"b", "\"a\\\"b\""},
        {"$HOME`x`", "\"\\$HOME\\`x\\`\""},
        {"C:\\dir", "\"C:\\\\dir\""},
        {"100%", "100%%"},
        {"50% off", "\"50%% off\""},
        {"*.java", "\"*.java\""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(QuoteDesktopExecWord(row.word), row.expected) << row.word;
    }
}

TEST(DesktopEntry, ComposedFile) {
    SDesktopEntry entry;
    entry.name = "Hello";
    entry.program = "/usr/lib/jvm/java-17/bin/java";
    entry.arguments = {"-classpath", "/home/u/my lib:.", "app.Hello", "C:\\x"};
    entry.workingDirectory = "/home/u/app";
    entry.icon = "/usr/share/tovin/icons/tovin.svg";
    EXPECT_EQ(ComposeDesktopEntry(entry),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Hello\n"
              "Exec=/usr/lib/jvm/java-17/bin/java -classpath \"/home/u/my lib:.\" app.Hello "
              "\"C:\\\\\\\\x\"\n"
              "Path=/home/u/app\n"
              "Icon=/usr/share/tovin/icons/tovin.svg\n"
              "Terminal=false\n");

    SDesktopEntry bare;
    bare.name = " lead";
    bare.comment = "two\nlines";
    bare.program = "/bin/true";
    EXPECT_EQ(ComposeDesktopEntry(bare), "[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=\\slead\n"
                                         "Comment=two\\nlines\n"
                                         "Exec=/bin/true\n"
                                         "Terminal=false\n");
}

// Whatever the words hold, a desktop reads back exactly the words that were written.
TEST(DesktopEntry, ExecReadsBackTheSameWords) {
    const std::vector<std::string> words = {"/opt/my java/bin/java",
                                            "",
                                            " ",
                                            "a\\b",
                                            "\\\"",
                                            "$x",
                                            "`y`",
                                            "100%",
                                            "%f",
                                            "tab\there",
                                            "new\nline",
                                            "cr\r",
                                            "'",
                                            "#(;)|&<>~*?",
                                            "=",
                                            "é ü"};
    SDesktopEntry entry;
    entry.name = "x";
    entry.program = words[0];
    entry.arguments.assign(words.begin() + 1, words.end());
    std::string text = ComposeDesktopEntry(entry);
    size_t at = text.find("\nExec=");
    ASSERT_NE(at, std::string::npos);
    size_t end = text.find('\n', at + 1);
    std::string exec = text.substr(at + 6, end - at - 6);
    EXPECT_EQ(ReadExec(exec), words) << exec;
}
