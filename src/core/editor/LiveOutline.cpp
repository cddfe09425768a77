#include "editor/LiveOutline.h"

#include "javamodel/JythonOutlineScanner.h"
#include "platform/Paths.h"
#include "project/AntFileReader.h"
#include "project/JavaProjectDoc.h"

namespace tovin {

bool RefreshLiveOutline(CJavaProjectDoc& project, const std::string& path) {
    const std::string extension = GetExtension(path);
    if (path.empty() || (extension != "py" && extension != "xml")) {
        return false;
    }
    CJavaFile* entry = project.JavaFiles().FindByFullPath(path);
    if (!entry) {
        return false;
    }
    entry->Classes().Clear();
    entry->Functions().Clear();
    if (extension == "py") {
        JythonOutlineScanner(*entry);
    } else {
        ReadAntTargets(*entry);
    }
    return true;
}

} // namespace tovin
