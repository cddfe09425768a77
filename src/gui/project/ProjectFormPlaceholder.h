#pragma once
// The project's own window until the project form exists: what the project is and holds.

#include "framework/CommandMap.h"

#include <QWidget>

class QLabel;

namespace tovin {

class CProjectDocument;

class CProjectFormPlaceholder : public QWidget, public CCommandTarget {
    Q_OBJECT
public:
    CProjectFormPlaceholder(CProjectDocument& document, QWidget* parent);

private:
    void Fill();

    CProjectDocument& m_document;
    QLabel* m_path;
    QLabel* m_mainFile;
    QLabel* m_files;
    QLabel* m_classPath;
    QLabel* m_workingDirectory;
};

} // namespace tovin
