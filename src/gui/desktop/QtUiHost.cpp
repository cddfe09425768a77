#include "gui/desktop/QtUiHost.h"

#include "core/platform/Terminal.h"
#include "gui/desktop/FileFilter.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace tovin {

namespace {

QMessageBox::Icon ToQtIcon(EMsgIcon icon) {
    switch (icon) {
    case EMsgIcon::Information:
        return QMessageBox::Information;
    case EMsgIcon::Question:
        return QMessageBox::Question;
    case EMsgIcon::Warning:
        return QMessageBox::Warning;
    case EMsgIcon::Error:
        return QMessageBox::Critical;
    case EMsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(EMsgButtons buttons) {
    switch (buttons) {
    case EMsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case EMsgButtons::YesNo:
    case EMsgButtons::YesNoDefaultNo:
        return QMessageBox::Yes | QMessageBox::No;
    case EMsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case EMsgButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

// Closing the box with Escape or the title bar's button answers as its Cancel or No would.
EMsgAnswer ToAnswer(int button, EMsgButtons buttons) {
    switch (button) {
    case QMessageBox::Ok:
        return EMsgAnswer::Ok;
    case QMessageBox::Yes:
        return EMsgAnswer::Yes;
    case QMessageBox::No:
        return EMsgAnswer::No;
    case QMessageBox::Cancel:
        return EMsgAnswer::Cancel;
    default:
        break;
    }
    if (buttons == EMsgButtons::YesNo || buttons == EMsgButtons::YesNoDefaultNo) {
        return EMsgAnswer::No;
    }
    return buttons == EMsgButtons::Ok ? EMsgAnswer::Ok : EMsgAnswer::Cancel;
}

} // namespace

EMsgAnswer CQtUiHost::MessageBox(const std::string& text, const std::string& caption,
                                 EMsgButtons buttons, EMsgIcon icon) {
    QMessageBox box(ToQtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                    ToQtButtons(buttons), QApplication::activeWindow());
    if (buttons == EMsgButtons::YesNoDefaultNo) {
        box.setDefaultButton(QMessageBox::No);
    }
    return ToAnswer(box.exec(), buttons);
}

std::vector<std::string> CQtUiHost::FileDialog(const SFileDialogRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(request.title),
                       QString::fromStdString(request.initialFolder),
                       ToQtFileFilter(request.filter));
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles
                                               : QFileDialog::ExistingFile);
    }
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (!request.proposedName.empty()) {
        dialog.selectFile(QString::fromStdString(request.proposedName));
    }
    std::vector<std::string> chosen;
    if (dialog.exec() == QDialog::Accepted) {
        for (const QString& file : dialog.selectedFiles()) {
            chosen.push_back(file.toStdString());
        }
    }
    return chosen;
}

std::string CQtUiHost::BrowseForFolder(const std::string& title, const std::string& preselected) {
    QString folder = QFileDialog::getExistingDirectory(QApplication::activeWindow(),
                                                       QString::fromStdString(title),
                                                       QString::fromStdString(preselected));
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder.toStdString();
}

bool CQtUiHost::OpenWithDesktop(const std::string& pathOrUrl) {
    QString text = QString::fromStdString(pathOrUrl);
    QUrl url = text.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(text) : QUrl(text);
    return QDesktopServices::openUrl(url);
}

std::string CQtUiHost::OpenTerminal(const std::string& scriptPath, const std::string& folder) {
    return tovin::OpenTerminal(scriptPath, folder);
}

void CQtUiHost::SetWaitCursor(bool on) {
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

} // namespace tovin
