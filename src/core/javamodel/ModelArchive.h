#pragma once
// The stored records of the Java model, as a project file holds them. Lists write their count
// (32-bit) and then their entries one after another, without class tags. What is not listed
// here is not stored: methods and positions of classes, and the functions of a file, exist
// only after the sources have been parsed again.
//
//   CFreeJavaFile   file name; full path; project path
//   CJavaFile       the CFreeJavaFile record; classes (CJavaClassList); package
//   CJavaClass      extra strings (compact count, then each string); inner classes; name
//   CJavaFunction   position (32-bit); name
//
// Reading throws CArchiveError; a list count below 0 or above 255 is damage. A record read
// into an object replaces what the object held in the stored fields.

#include "core/javamodel/Archive.h"
#include "core/javamodel/JavaModel.h"

namespace tovin {

void WriteRecord(CArchiveWriter& out, const CJavaFunction& function);
void WriteRecord(CArchiveWriter& out, const CJavaClass& cls);
void WriteRecord(CArchiveWriter& out, const CFreeJavaFile& file);
void WriteRecord(CArchiveWriter& out, const CJavaFile& file);
void WriteRecord(CArchiveWriter& out, const CJavaFunctionList& list);
void WriteRecord(CArchiveWriter& out, const CJavaClassList& list);
void WriteRecord(CArchiveWriter& out, const CFreeJavaFileList& list);
void WriteRecord(CArchiveWriter& out, const CJavaFileList& list);

void ReadRecord(CArchiveReader& in, CJavaFunction& function);
void ReadRecord(CArchiveReader& in, CJavaClass& cls);
void ReadRecord(CArchiveReader& in, CFreeJavaFile& file);
void ReadRecord(CArchiveReader& in, CJavaFile& file);
// Lists are cleared first, then filled with new entries read one by one.
void ReadRecord(CArchiveReader& in, CJavaFunctionList& list);
void ReadRecord(CArchiveReader& in, CJavaClassList& list);
void ReadRecord(CArchiveReader& in, CFreeJavaFileList& list);
void ReadRecord(CArchiveReader& in, CJavaFileList& list);

} // namespace tovin
