#pragma once
// "Properties" of a project file: its name, package, modification time, full path and whether
// it is read-only, with a button that shows its folder in the desktop's file manager.

#include <QDialog>
#include <string>

namespace tovin {

class CUiHost;

class CFilePropertiesDialog : public QDialog {
    Q_OBJECT
public:
    CFilePropertiesDialog(const std::string& name, const std::string& package,
                          const std::string& fullPath, CUiHost& host, QWidget* parent);

    // The locale's full date and time ("%c"); empty when the file's status cannot be read.
    static QString ModificationTime(const std::string& path);
};

} // namespace tovin
