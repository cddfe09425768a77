#pragma once
// What the language server said about the files: their diagnostics, each list for the version
// of the document it was made for, and whether a check is running. The windows and the CLI read
// this model; they never see the protocol.
//
// A list made for a version older than the one last sent to the server is stale (the text has
// moved on since) and is dropped, never shown; a list without a version (a file that is not
// open) always applies.

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

namespace tovin {

struct SDiagnostic {
    // The range, 0-based lines and UTF-16 characters, end exclusive.
    int line = 0;
    int character = 0;
    int endLine = 0;
    int endCharacter = 0;
    enum ESeverity { Error = 1, Warning = 2, Information = 3, Hint = 4 };
    int severity = Error;
    QString code;
    QString source;
    QString message; // all its lines
    // Where the compiler puts its caret (1-based line and column); 0 when the server named none.
    int caretLine = 0;
    int caretColumn = 0;

    bool operator==(const SDiagnostic&) const = default;
};

class CDiagnosticsModel : public QObject {
    Q_OBJECT
public:
    explicit CDiagnosticsModel(QObject* parent = nullptr);

    // The version of the document last sent to the server (what answers are measured against).
    void SetSentVersion(const QString& path, int version);
    // Takes a server's list for a file; false when it was stale and dropped. version < 0: none.
    bool Publish(const QString& path, int version, QList<SDiagnostic> diagnostics);
    // Forgets what is known of every file (a server restarted or went away).
    void Clear();

    QList<SDiagnostic> Diagnostics(const QString& path) const;
    QStringList Paths() const;
    int Count(SDiagnostic::ESeverity severity) const;

    bool Checking() const { return m_checking; }
    void SetChecking(bool checking);

signals:
    void DiagnosticsChanged(const QString& path);
    // A list was taken for the file, changed or not.
    void Published(const QString& path);
    void CheckingChanged(bool checking);

private:
    struct SFile {
        int sentVersion = -1;
        int version = -1;
        QList<SDiagnostic> diagnostics;
    };
    QHash<QString, SFile> m_files;
    bool m_checking = false;
};

} // namespace tovin
