#pragma once
// The built tovin run as a script would run it, for the command-line options' tests.

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace tovin::test {

struct SRunResult {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

// Runs tovin with the arguments and the given standard input; a run that does not end within
// two minutes is reported with exit code -1.
inline SRunResult RunTovin(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    process.start(QStringLiteral(TOVIN_EXECUTABLE), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000)) {
        return {-1, {}, "did not finish"};
    }
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace tovin::test
