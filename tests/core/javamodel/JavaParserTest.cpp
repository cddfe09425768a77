#include "core/javamodel/JavaParser.h"
#include "TempDir.h"
#include "cli/OutlineCommand.h"

#include <gtest/gtest.h>

using namespace tovin;

namespace {

std::string Outline(const std::string& text) {
    CJavaFile file;
    CJavaParser(file).ParseText(text);
    return OutlineOf(file, ESourceKind::Java);
}

struct SParseCase {
    const char* name;
    std::string text;
    std::string outline;
};

void ExpectOutlines(const std::vector<SParseCase>& cases) {
    for (const auto& row : cases) {
        EXPECT_EQ(Outline(row.text), row.outline) << row.name;
    }
}

} // namespace

TEST(JavaParser, FindsThePackageOutsideCommentsBeforeTheFirstBrace) {
    struct SRow {
        const char* name;
        std::string text;
        std::string package;
    } rows[] = {
        {"after a comment holding a package",
         "/* package x.y; */\r\npackage a.b ;\r\nclass A {}\r\n", "a.b"},
        {"after a line comment", "// package x;\r\npackage y;\r\n", "y"},
        {"brace first", "class A {\r\n}\r\npackage p;\r\n", ""},
        {"no semicolon", "package abc\r\nclass A\r\n", ""},
        {"extra blanks before the name", "package  q;\r\npackage r;", "q"},
        {"a tab is not the keyword's blank", "package\tq;\r\npackage r;", "r"},
        {"nine characters are searched", "package a;", "a"},
        {"eight characters are not", "package ;", ""},
        // The two comment states are independent: an opener inside a line comment counts.
        {"block opener inside a line comment", "// /*\r\npackage a;\r\n", ""},
        {"tab inside the name is trimmed at the ends only", "package \ta .b\t;", "a .b"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CJavaParser::FindPackage(row.text), row.package) << row.name;
    }
}

TEST(JavaParser, RecognisesClassesAndInterfaces) {
    ExpectOutlines({
        {"extends and implements", "public class A extends B implements C {\r\n}\r\n",
         "package\t\nclass\tA\t2\n"},
        {"interface", "interface I {}", "package\t\nclass\tI\t2\n"},
        {"class at the very start without a blank", "class A{}", "package\t\nclass\tA\t1\n"},
        {"keyword on its own line", "class A\r\n\textends B\r\n{\r\n}", "package\t\nclass\tA\t3\n"},
        {"same name twice is recorded once", "class A {}\r\nclass A {}\r\n",
         "package\t\nclass\tA\t2\n"},
        {"brace in a comment before the class is skipped", "/* { */ class A {}",
         "package\t\nclass\tA\t9\n"},
    });
}

TEST(JavaParser, RecordsPositionsAsTheLineOfTheDeclarationPlusTheGapToItsBrace) {
    std::string text = "package p;\r\n\r\npublic class A {\r\n\tint f(int x) {\r\n\t}\r\n"
                       "\tclass B\r\n\t{\r\n\t}\r\n}\r\n";
    EXPECT_EQ(Outline(text), "package\tp\n"
                             "class\tA\t16\n"
                             "method\tA\tf(int x)\t34\n"
                             "inner\tA\tB\t57\n");
}

TEST(JavaParser, MethodsSpreadOverLinesAreJoinedAndPlacedAtTheLineOfTheirLastParen) {
    std::string text = "class A {\r\n\tvoid f(int a,\r\n\t\tint b) {\r\n\t}\r\n}\r\n";
    EXPECT_EQ(Outline(text), "package\t\nclass\tA\t2\nmethod\tA\tf(int a, int b)\t13\n");
}

TEST(JavaParser, RecordsOnlyMethodsWithBodiesAtTheirDepth) {
    ExpectOutlines({
        {"identical signatures once",
         "class A {\r\n void f(int x) {}\r\n void f(int x) {}\r\n void f(long x) {}\r\n}",
         "package\t\nclass\tA\t2\nmethod\tA\tf(int x)\t13\nmethod\tA\tf(long x)\t51\n"},
        {"interface methods have no body", "interface I {\r\n void f();\r\n int g(int a);\r\n}",
         "package\t\nclass\tI\t2\n"},
        {"blocks inside methods are not examined",
         "class A {\r\n void f() {\r\n  if (g(x)) {\r\n  }\r\n }\r\n}",
         "package\t\nclass\tA\t2\nmethod\tA\tf()\t13\n"},
        {"names start after the last blank before the paren",
         "class A {\r\n public static <T> List<T> of (T t) throws E {}\r\n}",
         "package\t\nclass\tA\t2\nmethod\tA\tof (T t)\t13\n"},
        {"a paren first is no method", "class A {\r\n (x) {}\r\n}", "package\t\nclass\tA\t2\n"},
        {"a closing paren before the name is no method", "class A {\r\n a) b( {}\r\n}",
         "package\t\nclass\tA\t2\n"},
        {"an opening brace without a closing one after it is not examined",
         "class A {\r\n void f() {", "package\t\n"},
        {"closing braces first end the parse", "}\r\nclass A {}", "package\t\n"},
        {"methods of every form",
         "interface I {\r\n @Deprecated(since = \"9\") default <T extends Comparable<T>> List<T> "
         "f(T... a) throws E { }\r\n private int g()[] { return null; }\r\n static String "
         "@Size(max = 3) [] h(@Named(\"k\") String k) { return null; }\r\n int abstractOne();\r\n}",
         "package\t\nclass\tI\t2\nmethod\tI\tf(T... a)\t17\nmethod\tI\tg()\t109\n"
         "method\tI\th(@Named(\"k\") String k)\t146\n"},
    });
}

TEST(JavaParser, FilesInnerClassesOneLevelDeep) {
    ExpectOutlines({
        {"methods of the inner class, then of the outer again",
         "class A {\r\n class B {\r\n  void f() {}\r\n }\r\n void g() {}\r\n}",
         "package\t\nclass\tA\t2\nmethod\tA\tg()\t44\ninner\tA\tB\t13\n"
         "method\tA.B\tf()\t25\n"},
        {"an inner class of an inner class is filed beside it",
         "class A {\r\n class B {\r\n  class C {\r\n   void f() {}\r\n  }\r\n }\r\n}",
         "package\t\nclass\tA\t2\ninner\tA\tB\t13\ninner\tA\tC\t25\nmethod\tA.C\tf()\t38\n"},
        {"a closing brace in a string is no structure",
         "class A {\r\n class B {\r\n  void f() { s = \"}\"; }\r\n  void g() {}\r\n }\r\n}",
         "package\t\nclass\tA\t2\ninner\tA\tB\t13\nmethod\tA.B\tf()\t25\n"
         "method\tA.B\tg()\t50\n"},
        {"comments before the next braces are skipped",
         "class A {\r\n /* } */\r\n // {\r\n void f() {}\r\n}",
         "package\t\nclass\tA\t2\nmethod\tA\tf()\t30\n"},
        {"a block comment after a line comment is passed too",
         "class A {\r\n // }\r\n /* { */\r\n void f() {}\r\n}",
         "package\t\nclass\tA\t2\nmethod\tA\tf()\t30\n"},
        {"a second top-level class", "class A {}\r\nclass B {\r\n void f() {}\r\n}",
         "package\t\nclass\tA\t2\nclass\tB\t14\nmethod\tB\tf()\t25\n"},
        {"types of every kind, member types of member types, compact constructors",
         "@Retention(RUNTIME) sealed interface S<T> permits R {\r\n record R(int a,\r\n  @Min(0) "
         "int b) implements S<Integer> { public R { } int sum() { return a + b; } }\r\n non-sealed "
         "class C { static final class D { void d() {} } }\r\n @interface T { int[] v() default "
         "{}; }\r\n}",
         "package\t\nclass\tS<T>\t2\ninner\tS<T>\tR\t57\n"
         "method\tS<T>.R\tR(int a, @Min(0) int b)\t115\nmethod\tS<T>.R\tsum()\t128\n"
         "inner\tS<T>\tC\t160\ninner\tS<T>\tD\t181\n"
         "method\tS<T>.D\td()\t204\ninner\tS<T>\tT\t222\n"},
    });
}

TEST(JavaParser, ReadsEnumMembersAfterTheConstants) {
    ExpectOutlines({
        {"methods after the constants' semicolon",
         "enum E {\r\n A, B { void b() {} }, C(1);\r\n void f() {}\r\n int g() { return 0; }\r\n}",
         "package\t\nclass\tE\t2\nmethod\tE\tf()\t42\nmethod\tE\tg()\t56\n"},
        {"a constant's body is no member of the enum", "enum E {\r\n A { void a() {} };\r\n}",
         "package\t\nclass\tE\t2\n"},
    });
}

// A compact source file holds methods and fields with no class around them; the compiler makes
// a class of the file, named after it.
TEST(JavaParser, FilesACompactSourceFilesMethodsUnderTheFilesClass) {
    struct SRow {
        const char* name;
        std::string path;
        std::string text;
        std::string outline;
    } rows[] = {
        {"methods and a field outside any class", "/p/Hello.java",
         "import java.util.*;\r\nString greeting = \"hi\";\r\nvoid main() {\r\n "
         "IO.println(greeting);\r\n}\r\nstatic int twice(int x) { return 2 * x; }\r\n",
         "package\t\nclass\tHello\t0\nmethod\tHello\tmain()\t48\n"
         "method\tHello\ttwice(int x)\t90\n"},
        {"its types, also those before the first method, are members of the file's class",
         "/p/Tool.java",
         "enum Mode { A }\r\nvoid main() {}\r\nrecord Point(int x) { class In { void f() {} } "
         "}\r\n",
         "package\t\nclass\tTool\t0\nmethod\tTool\tmain()\t19\ninner\tTool\tMode\t2\n"
         "inner\tTool\tPoint\t35\ninner\tTool\tIn\t56\nmethod\tTool.In\tf()\t67\n"},
        {"a file of classes only is no compact source file", "/p/Two.java",
         "class Two {}\r\nclass Other { void f() {} }\r\n",
         "package\t\nclass\tTwo\t2\nclass\tOther\t16\nmethod\tOther\tf()\t29\n"},
        {"text with no file has no class to file them under", "", "void main() {}\r\n",
         "package\t\n"},
    };
    for (const auto& row : rows) {
        CJavaFile file;
        if (!row.path.empty()) {
            file.SetPath(row.path);
        }
        CJavaParser(file).ParseText(row.text);
        EXPECT_EQ(OutlineOf(file, ESourceKind::Java), row.outline) << row.name;
    }
}

TEST(JavaParser, ListsHoldAtMost255Entries) {
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += "class C" + std::to_string(i) + " {}\r\n";
    }
    CJavaFile file;
    CJavaParser(file).ParseText(text);
    EXPECT_EQ(file.Classes().GetCount(), 255);
    EXPECT_EQ(file.Classes().Item(254)->GetName(), "C254");
}

TEST(JavaParser, ReparsingRebuildsTheClassesButKeepsTheFunctions) {
    CJavaFile file;
    file.AddFunction("target", 3);
    CJavaParser(file).ParseText("class A {}");
    CJavaParser(file).ParseText("class B {}");
    ASSERT_EQ(file.Classes().GetCount(), 1);
    EXPECT_EQ(file.Classes().Item(0)->GetName(), "B");
    EXPECT_EQ(file.Functions().GetCount(), 1);
}

TEST(JavaParser, ReadsFilesAsLinesWhateverTheirLength) {
    std::string line1024(1024, 'x');
    struct SRow {
        const char* name;
        std::string bytes;
        std::string text;
    } rows[] = {
        {"LF and CR LF lines", "a\nb\r\nc", "a\r\nb\r\nc\r\n"},
        {"a CR not before LF stays", "a\rb\r", "a\rb\r\r\n"},
        {"trailing line end adds no line", "a\n\n", "a\r\n\r\n"},
        {"a long line is one line", "a\n" + line1024 + "\nclass A {}",
         "a\r\n" + line1024 + "\r\nclass A {}\r\n"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CJavaParser::SourceTextOf(row.bytes), row.text) << row.name;
    }
}

TEST(JavaParser, ParseFileReadsTheEntryAndLeavesItAloneWhenUnreadable) {
    test::CTempDir dir;
    CJavaFile file;
    file.SetPath(dir.Write("A.java", "package p;\nclass A {\n  void f() {}\n}\n"));
    ASSERT_TRUE(CJavaParser(file).ParseFile());
    EXPECT_EQ(OutlineOf(file, ESourceKind::Java), "package\tp\nclass\tA\t14\nmethod\tA\tf()\t25\n");

    file.SetPath(dir.File("missing.java"));
    std::string error;
    EXPECT_FALSE(CJavaParser(file).ParseFile(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(file.GetPackage(), "p");
    EXPECT_EQ(file.Classes().GetCount(), 1);
}
