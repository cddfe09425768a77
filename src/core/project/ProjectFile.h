#pragma once
// The project file (.jpr): what a project stores, and its byte form.
//
// The bytes, in order: the Java file list record, the free (HTML) file list record (see
// javamodel/ModelArchive.h), then eight strings: main file name, working directory, main
// package, main HTML file name, run options, compile options, class path, compile directory.
// There is no header or version field. Older files end after the compile options: when the
// bytes end inside or before the class path or the compile directory, both are empty and the
// read still succeeds. Bytes after the eighth string are ignored, so files of later versions
// that store more still load (and lose the extra on the next save).

#include "core/javamodel/JavaModel.h"

#include <string>
#include <string_view>

namespace tovin {

struct SProjectContents {
    CJavaFileList javaFiles;
    CFreeJavaFileList freeFiles;
    std::string mainFile;
    std::string workingDir;
    std::string mainPackage;
    std::string mainHtmlFile;
    std::string runOptions;
    std::string compileOptions;
    std::string classPath;
    std::string compileDir;
};

// The complete byte form; always all eight strings.
std::string WriteProjectBytes(const SProjectContents& contents);

// Reads bytes into `out`, which must be freshly constructed. Returns an empty string on
// success, else why the bytes are not a readable project (with the byte offset); `out` then
// holds a partial read and should be dropped.
std::string ReadProjectBytes(std::string_view bytes, SProjectContents& out);

} // namespace tovin
