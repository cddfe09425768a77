// tovin --check with the real Java engine on the corpus of broken files in tests/data/check,
// against javac itself run on each file alone: the same lines, in the same order, and the
// same counts.

#include "E2eFixture.h"

#include "core/platform/Paths.h"

#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <regex>

using namespace tovin;
using namespace tovin::test;

#ifdef TOVIN_EXECUTABLE

namespace {

struct SRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

SRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& folder) {
    QProcess process;
    QStringList list;
    for (const std::string& argument : arguments) {
        list << QString::fromStdString(argument);
    }
    process.setWorkingDirectory(QString::fromStdString(folder));
    process.start(QString::fromStdString(program), list);
    SRun run;
    if (!process.waitForFinished(240000)) {
        run.err = "did not finish";
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

// The diagnostic lines of a compiler's output, and its closing counts added to the totals.
std::vector<std::string> Diagnostics(const std::string& text, int& errors, int& warnings) {
    static const std::regex count("^([0-9]+) (error|warning)s?$");
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::smatch match;
        if (std::regex_match(line, match, count)) {
            (match[2] == "error" ? errors : warnings) += std::stoi(match[1]);
        } else {
            lines.push_back(line);
        }
    }
    return lines;
}

} // namespace

// Each file is checked alone, by javac and by the engine: the corpus's files are complete in
// themselves, and one file's syntax error must not hide another's messages.
TEST_F(E2eTest, CheckGivesJavacsOwnMessagesForEveryFileOfTheCorpus) {
    const std::string corpus = std::string(TOVIN_TEST_DATA) + "/check";
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.path().extension() == ".java") {
            files.push_back(entry.path().filename().string());
        }
    }
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 30U);

    // javac, as the corpus is meant to be compiled: the folder as the source path, no annotation
    // processing, the classes out of the way.
    const std::string javac = settings.javaBin + "/bin/javac";
    std::vector<std::string> expected;
    int javacErrors = 0;
    int javacWarnings = 0;
    for (const std::string& file : files) {
        const SRun run = RunProgram(
            javac, {"-proc:none", "-d", dir.File("classes"), "-sourcepath", ".", file}, corpus);
        const std::vector<std::string> lines = Diagnostics(run.err, javacErrors, javacWarnings);
        expected.insert(expected.end(), lines.begin(), lines.end());
    }

    std::vector<std::string> arguments = {"--settings", dir.File("t.conf"), "--check"};
    arguments.insert(arguments.end(), files.begin(), files.end());
    const SRun check = RunProgram(TOVIN_EXECUTABLE, arguments, corpus);
    int errors = 0;
    int warnings = 0;
    // As texts, so a difference shows as a diff of the two outputs.
    auto joined = [](const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        return text;
    };
    EXPECT_EQ(joined(Diagnostics(check.out, errors, warnings)), joined(expected)) << check.err;
    EXPECT_EQ(errors, javacErrors);
    EXPECT_EQ(warnings, javacWarnings);
    EXPECT_EQ(check.exitCode, 1) << check.err;
}

// A copied project is checked where its files now are, as Build compiles them there.
TEST_F(E2eTest, CheckOfACopiedProjectReadsTheCopies) {
    // Under another name: the project file's own folder is then no longer the one it names.
    const std::string folder = dir.File("Elsewhere");
    std::filesystem::rename(CopyExample("BrokenApp"), folder);
    const SRun check = RunProgram(
        TOVIN_EXECUTABLE, {"--settings", dir.File("t.conf"), "--check", "BrokenApp.jpr"}, folder);
    EXPECT_EQ(check.exitCode, 1) << check.err;
    EXPECT_EQ(check.out, folder + "/src/BrokenApp.java:4: error: ';' expected\n"
                                  "        int answer = 42\n"
                                  "                       ^\n"
                                  "1 error\n");
}

#endif
