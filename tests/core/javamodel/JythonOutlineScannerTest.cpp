#include "core/javamodel/JythonOutlineScanner.h"
#include "TempDir.h"
#include "cli/OutlineCommand.h"

#include <gtest/gtest.h>

using namespace tovin;

namespace {

std::string Scan(const std::string& bytes) {
    CJavaFile entry;
    ScanJythonOutline(entry, bytes);
    return OutlineOf(entry, ESourceKind::Jython);
}

} // namespace

TEST(JythonOutlineScanner, FilesFunctionsUnderTheirClassOrTheModule) {
    struct SRow {
        const char* name;
        std::string bytes;
        std::string outline;
    } rows[] = {
        {"indented def inside a class", "class A(B):\n\tdef f(x):\n\t\treturn x\n",
         "class\tA(B)\t0\nmethod\tA(B)\tf(x)\t1\n"},
        {"def at column 0 after a statement is free",
         "class A:\n  def f(x): pass\nx = 1\ndef f(x):\n",
         "class\tA\t0\nmethod\tA\tf(x)\t1\n"
         "function\tf(x)\t3\n"},
        {"blank and empty lines keep the class", "class A:\n\n   \n  def g(self) :\n",
         "class\tA\t0\nmethod\tA\tg(self)\t3\n"},
        {"a comment in the first column ends the class", "class A:\n# note\n  def g():\n",
         "class\tA\t0\nfunction\tg()\t2\n"},
        {"def after other text is ignored", "x = 1 # def f(x):\nprint('def g():')\n", ""},
        {"no colon, no entry", "def f(x)\nclass B\n", ""},
        {"nothing before the colon", "def :f(x)\nclass :\n", ""},
        {"a method is added to its class once", "class A:\n def f():\n def f():\n",
         "class\tA\t0\nmethod\tA\tf()\t1\n"},
        {"free functions are added every time", "def f():\ndef f():\n",
         "function\tf()\t0\nfunction\tf()\t1\n"},
        {"CR LF lines", "class A:\r\n\tdef f(self):\r\n", "class\tA\t0\nmethod\tA\tf(self)\t1\n"},
        {"a tab inside a name is shown escaped", "def f(a,\tb):\n", "function\tf(a,\\tb)\t0\n"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Scan(row.bytes), row.outline) << row.name;
    }
}

TEST(JythonOutlineScanner, ALineOf1023CharactersEndsTheScan) {
    std::string pad1022 = "#" + std::string(1021, 'x');
    EXPECT_EQ(Scan("def a():\n" + pad1022 + "\ndef b():\n"),
              "function\ta()\t0\nfunction\tb()\t2\n");
    EXPECT_EQ(Scan("def a():\n" + pad1022 + "y\ndef b():\n"), "function\ta()\t0\n");
    // The CR of a CR LF line end does not count.
    EXPECT_EQ(Scan(pad1022 + "\r\ndef b():\n"), "function\tb()\t1\n");
}

TEST(JythonOutlineScanner, ReadsTheEntrysFileAndLeavesItAloneWhenUnreadable) {
    test::CTempDir dir;
    CJavaFile entry;
    entry.SetPath(dir.Write("s.py", "class A:\n  def f(self):\n"));
    ASSERT_TRUE(JythonOutlineScanner(entry));
    EXPECT_EQ(OutlineOf(entry, ESourceKind::Jython), "class\tA\t0\nmethod\tA\tf(self)\t1\n");
    entry.SetPath(dir.File("none.py"));
    EXPECT_FALSE(JythonOutlineScanner(entry));
    EXPECT_EQ(entry.Classes().GetCount(), 1);
}
