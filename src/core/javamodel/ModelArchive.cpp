#include "core/javamodel/ModelArchive.h"

namespace tovin {

namespace {

template <class T> void WriteList(CArchiveWriter& out, const CJavaList<T>& list) {
    out.WriteInt32(list.GetCount());
    for (const auto& entry : list) {
        WriteRecord(out, *entry);
    }
}

template <class T> void ReadList(CArchiveReader& in, CJavaList<T>& list) {
    list.Clear();
    const size_t start = in.Offset();
    const std::int32_t count = in.ReadInt32();
    if (count < 0 || count > kJavaListCapacity) {
        in.Fail(CArchiveError::EKind::Damaged,
                "a list count of " + std::to_string(count) + ", outside 0 to " +
                    std::to_string(kJavaListCapacity),
                start);
    }
    for (std::int32_t i = 0; i < count; ++i) {
        auto entry = std::make_unique<T>();
        ReadRecord(in, *entry);
        list.Add(std::move(entry));
    }
}

} // namespace

void WriteRecord(CArchiveWriter& out, const CJavaFunction& function) {
    out.WriteInt32(function.GetPosition());
    out.WriteString(function.GetName());
}

void WriteRecord(CArchiveWriter& out, const CJavaClass& cls) {
    out.WriteCount(static_cast<std::uint32_t>(cls.ExtraStrings().size()));
    for (const auto& text : cls.ExtraStrings()) {
        out.WriteString(text);
    }
    WriteRecord(out, cls.InnerClasses());
    out.WriteString(cls.GetName());
}

void WriteRecord(CArchiveWriter& out, const CFreeJavaFile& file) {
    out.WriteString(file.GetFileName());
    out.WriteString(file.GetFullPath());
    out.WriteString(file.GetProjectPath());
}

void WriteRecord(CArchiveWriter& out, const CJavaFile& file) {
    WriteRecord(out, static_cast<const CFreeJavaFile&>(file));
    WriteRecord(out, file.Classes());
    out.WriteString(file.GetPackage());
}

void WriteRecord(CArchiveWriter& out, const CJavaFunctionList& list) {
    WriteList(out, list);
}

void WriteRecord(CArchiveWriter& out, const CJavaClassList& list) {
    WriteList(out, list);
}

void WriteRecord(CArchiveWriter& out, const CFreeJavaFileList& list) {
    WriteList(out, list);
}

void WriteRecord(CArchiveWriter& out, const CJavaFileList& list) {
    WriteList(out, list);
}

void ReadRecord(CArchiveReader& in, CJavaFunction& function) {
    function.SetPosition(in.ReadInt32());
    function.SetName(in.ReadString());
}

void ReadRecord(CArchiveReader& in, CJavaClass& cls) {
    CArchiveReader::CNesting nesting(in);
    // Nothing fills the extra strings, but a file that holds some stays readable and keeps them.
    auto& extra = cls.ExtraStrings();
    extra.clear();
    for (std::uint32_t n = in.ReadCount(); n > 0; --n) {
        extra.push_back(in.ReadString());
    }
    ReadRecord(in, cls.InnerClasses());
    cls.SetName(in.ReadString());
}

void ReadRecord(CArchiveReader& in, CFreeJavaFile& file) {
    std::string fileName = in.ReadString();
    std::string fullPath = in.ReadString();
    std::string projectPath = in.ReadString();
    file.SetStored(std::move(fileName), std::move(fullPath), std::move(projectPath));
}

void ReadRecord(CArchiveReader& in, CJavaFile& file) {
    ReadRecord(in, static_cast<CFreeJavaFile&>(file));
    ReadRecord(in, file.Classes());
    file.SetPackage(in.ReadString());
}

void ReadRecord(CArchiveReader& in, CJavaFunctionList& list) {
    ReadList(in, list);
}

void ReadRecord(CArchiveReader& in, CJavaClassList& list) {
    ReadList(in, list);
}

void ReadRecord(CArchiveReader& in, CFreeJavaFileList& list) {
    ReadList(in, list);
}

void ReadRecord(CArchiveReader& in, CJavaFileList& list) {
    ReadList(in, list);
}

} // namespace tovin
