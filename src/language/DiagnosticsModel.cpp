#include "language/DiagnosticsModel.h"

#include <algorithm>

namespace tovin {

CDiagnosticsModel::CDiagnosticsModel(QObject* parent) : QObject(parent) {}

void CDiagnosticsModel::SetSentVersion(const QString& path, int version) {
    m_files[path].sentVersion = version;
}

bool CDiagnosticsModel::Publish(const QString& path, int version, QList<SDiagnostic> diagnostics) {
    SFile& file = m_files[path];
    if (version >= 0 && version < std::max(file.sentVersion, file.version)) {
        return false;
    }
    file.version = version;
    if (file.diagnostics != diagnostics) {
        file.diagnostics = std::move(diagnostics);
        emit DiagnosticsChanged(path);
    }
    emit Published(path);
    return true;
}

void CDiagnosticsModel::Clear() {
    const QStringList paths = Paths();
    m_files.clear();
    for (const QString& path : paths) {
        emit DiagnosticsChanged(path);
    }
    SetChecking(false);
}

QList<SDiagnostic> CDiagnosticsModel::Diagnostics(const QString& path) const {
    const auto file = m_files.constFind(path);
    return file == m_files.constEnd() ? QList<SDiagnostic>() : file->diagnostics;
}

QStringList CDiagnosticsModel::Paths() const {
    QStringList paths;
    for (auto file = m_files.constBegin(); file != m_files.constEnd(); ++file) {
        if (!file->diagnostics.isEmpty()) {
            paths << file.key();
        }
    }
    paths.sort();
    return paths;
}

int CDiagnosticsModel::Count(SDiagnostic::ESeverity severity) const {
    int count = 0;
    for (const SFile& file : m_files) {
        count += static_cast<int>(
            std::count_if(file.diagnostics.begin(), file.diagnostics.end(),
                          [severity](const SDiagnostic& d) { return d.severity == severity; }));
    }
    return count;
}

void CDiagnosticsModel::SetChecking(bool checking) {
    if (checking != m_checking) {
        m_checking = checking;
        emit CheckingChanged(checking);
    }
}

} // namespace tovin
