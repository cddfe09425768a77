#include "core/editor/LiveOutline.h"

#include "core/javamodel/JythonOutlineScanner.h"
#include "core/platform/Paths.h"
#include "core/project/AntFileReader.h"
#include "core/project/JavaProjectDoc.h"

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
