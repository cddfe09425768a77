#include "gui/project/FilePropertiesDialog.h"

#include "core/app/UiHost.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "gui/desktop/DesktopRequests.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <array>
#include <ctime>
#include <sys/stat.h>

namespace tovin {

namespace {

QLineEdit* ReadOnlyField(const std::string& text, const char* name, QWidget* parent) {
    auto* field = new QLineEdit(QString::fromStdString(text), parent);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    return field;
}

} // namespace

QString CFilePropertiesDialog::ModificationTime(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return {};
    }
    std::tm local{};
    std::array<char, 256> text{};
    if (!::localtime_r(&status.st_mtime, &local) ||
        std::strftime(text.data(), text.size(), "%c", &local) == 0) {
        return {};
    }
    return QString::fromLocal8Bit(text.data());
}

CFilePropertiesDialog::CFilePropertiesDialog(const std::string& name, const std::string& package,
                                             const std::string& fullPath, CUiHost& host,
                                             QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Properties"));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("File Name:"), ReadOnlyField(name, "fileName", this));
    form->addRow(QStringLiteral("Package:"), ReadOnlyField(package, "package", this));
    auto* modified = new QLineEdit(ModificationTime(fullPath), this);
    modified->setObjectName(QStringLiteral("lastModified"));
    modified->setReadOnly(true);
    form->addRow(QStringLiteral("Last Modified:"), modified);
    auto* path = new QPlainTextEdit(QString::fromStdString(fullPath), this);
    path->setObjectName(QStringLiteral("fullPath"));
    path->setReadOnly(true);
    path->setMaximumHeight(fontMetrics().lineSpacing() * 3 + 12);
    form->addRow(QStringLiteral("Full path:"), path);
    auto* readOnly = new QCheckBox(this);
    readOnly->setObjectName(QStringLiteral("readOnly"));
    readOnly->setEnabled(false);
    // Read-only as the editor sees it, which opens such a file read-only.
    readOnly->setChecked(IsReadOnlyFile(fullPath));
    form->addRow(QStringLiteral("Read Only:"), readOnly);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* openFolder =
        buttons->addButton(QStringLiteral("Open Folder"), QDialogButtonBox::ActionRole);
    connect(openFolder, &QPushButton::clicked, this, [&host, fullPath] {
        OpenWithDesktopOrSay(host, QUrl::fromLocalFile(QString::fromStdString(GetFolder(fullPath)))
                                       .toString()
                                       .toStdString());
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    form->addRow(buttons);
}

} // namespace tovin
