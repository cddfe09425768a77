#include "core/project/ProjectFile.h"

#include "core/javamodel/ModelArchive.h"

namespace tovin {

std::string WriteProjectBytes(const SProjectContents& contents) {
    CArchiveWriter out;
    WriteRecord(out, contents.javaFiles);
    WriteRecord(out, contents.freeFiles);
    for (const std::string* text :
         {&contents.mainFile, &contents.workingDir, &contents.mainPackage, &contents.mainHtmlFile,
          &contents.runOptions, &contents.compileOptions, &contents.classPath,
          &contents.compileDir}) {
        out.WriteString(*text);
    }
    return out.TakeBytes();
}

std::string ReadProjectBytes(std::string_view bytes, SProjectContents& out) {
    CArchiveReader in(bytes);
    try {
        ReadRecord(in, out.javaFiles);
        ReadRecord(in, out.freeFiles);
        for (std::string* text : {&out.mainFile, &out.workingDir, &out.mainPackage,
                                  &out.mainHtmlFile, &out.runOptions, &out.compileOptions}) {
            *text = in.ReadString();
        }
    } catch (const CArchiveError& error) {
        return error.what();
    }
    try {
        out.classPath = in.ReadString();
        out.compileDir = in.ReadString();
    } catch (const CArchiveError&) {
        // Files of older versions end before these two; the class path goes as well when only
        // the compile directory is missing, as those versions read it.
        out.classPath.clear();
        out.compileDir.clear();
        return {};
    }
    // Whatever follows the eighth string is left unread: a later version may store more there.
    return {};
}

} // namespace tovin
