// The editors inside the running application: documents opened and saved through the
// framework keep their bytes, the Java window's function drop-down and caret panes, the
// commands as the menus reach them, a second window on a document, and closing questions.

#include "ShellTestSupport.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/app/ChildFrame.h"
#include "gui/app/EditorWindows.h"
#include "gui/editor/EditorDocument.h"
#include "gui/editor/FindReplace.h"
#include "gui/editor/SourceDocument.h"
#include "gui/editor/SyntaxWindowView.h"
#include "gui/framework/CommandIds.h"
#include "gui/project/ProjectDocument.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>

using namespace tovin;
using namespace tovin::test;

namespace {

CEditorDocument* OpenSource(CShellFixture& shell, const std::string& name,
                            const std::string& bytes) {
    return static_cast<CEditorDocument*>(shell.app->OpenDocumentFile(shell.dir.Write(name, bytes)));
}

CSourceView* ActiveView(CShellFixture& shell) {
    return qobject_cast<CSourceView*>(shell.Frame().ActiveFrame()->View());
}

} // namespace

class EditorAppTest : public QObject {
    Q_OBJECT
private slots:
    void unchangedSaveWritesTheSameBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("LF") << QByteArray("a\nb\n");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n");
        QTest::newRow("CR") << QByteArray("a\rb\r");
        QTest::newRow("mixed") << QByteArray("a\r\nb\nc\r\nd");
        QTest::newRow("8-bit bytes") << QByteArray("caf\xe9\n\xff\x80\n");
        QTest::newRow("UTF-8") << QByteArray("gr\xc3\xbc\xc3\x9f\n");
        QTest::newRow("empty") << QByteArray();
    }
    void unchangedSaveWritesTheSameBytes() {
        QFETCH(QByteArray, bytes);
        CShellFixture shell;
        shell.Start();
        CEditorDocument* document = OpenSource(shell, "A.java", bytes.toStdString());
        QVERIFY(document);
        QVERIFY(!document->IsModified());
        QVERIFY(document->DoFileSave());
        QCOMPARE(QByteArray::fromStdString(ReadFile(shell.dir.File("A.java"))), bytes);
    }

    void editedFileKeepsItsLineEndAndEncoding_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QByteArray("//\r\na\r\nb\r\n");
        QTest::newRow("mostly LF") << QByteArray("a\nb\r\nc\n") << QByteArray("//\na\nb\nc\n");
        QTest::newRow("8-bit") << QByteArray("\xe9\r") << QByteArray("//\r\xe9\r");
    }
    void editedFileKeepsItsLineEndAndEncoding() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, saved);
        CShellFixture shell;
        shell.Start();
        CEditorDocument* document = OpenSource(shell, "A.java", bytes.toStdString());
        QTest::keyClicks(ActiveView(shell), "//");
        QTest::keyClick(ActiveView(shell), Qt::Key_Return);
        QVERIFY(document->IsModified());
        QVERIFY(shell.Frame().ActiveFrame()->isWindowModified());
        QVERIFY(document->DoFileSave());
        QVERIFY(!document->IsModified());
        QVERIFY(!shell.Frame().ActiveFrame()->isWindowModified());
        QCOMPARE(QByteArray::fromStdString(ReadFile(shell.dir.File("A.java"))), saved);
    }

    void failedWriteKeepsWhatIsThereAndSaysSo() {
        CShellFixture shell;
        shell.Start();
        CEditorDocument* document = OpenSource(shell, "A.java", "old\n");
        QTest::keyClicks(ActiveView(shell), "new ");
        // Saving over a folder fails at the last step, after the new text was written aside.
        const std::string folder = shell.dir.File("taken");
        shell.dir.Write("taken/inside.txt", "kept");
        QVERIFY(!document->DoSave(folder));
        QCOMPARE(ReadFile(shell.dir.File("taken/inside.txt")), std::string("kept"));
        QCOMPARE(ReadFile(shell.dir.File("A.java")), std::string("old\n"));
        QCOMPARE(shell.host.messages.size(), size_t(1));
        QVERIFY(shell.host.messages[0].text.find("not changed") != std::string::npos);
        QVERIFY(document->IsModified());
        QCOMPARE(document->PathName(), shell.dir.File("A.java"));
    }

    void closingAModifiedWindowAsksAndNoDiscards() {
        CShellFixture shell;
        shell.Start();
        OpenSource(shell, "A.java", "a\n");
        QTest::keyClicks(ActiveView(shell), "x");
        shell.host.messageAnswers = {EMsgAnswer::No};
        QVERIFY(shell.Frame().ActiveFrame()->close());
        QCOMPARE(shell.host.MessageTexts(), std::vector<std::string>{"Save changes to A.java?"});
        QCOMPARE(shell.host.messages[0].buttons, EMsgButtons::YesNoCancel);
        QCOMPARE(ReadFile(shell.dir.File("A.java")), std::string("a\n"));
        QVERIFY(shell.Frame().DocumentFrames().empty());
    }

    // Enter on "...changed by another program... reload it?" must not throw unsaved edits away:
    // with edits No is the default button; without, Enter reloads.
    void reloadQuestionDefaultsToKeepingUnsavedEdits() {
        CTempDir dir;
        CEditorApp app(dir.File("Tovin.conf")); // with its own, real host
        QVERIFY(app.Start({}));
        auto* document =
            static_cast<CEditorDocument*>(app.OpenDocumentFile(dir.Write("A.java", "int a;\n")));
        CSourceView* view = document->Source().FirstView();
        auto pressEnterOnTheQuestion = [&](const std::string& onDisk) {
            dir.Write("A.java", onDisk);
            QString defaultButton;
            WithModal(
                [&](QWidget* modal) {
                    auto* box = qobject_cast<QMessageBox*>(modal);
                    QVERIFY(box);
                    if (box->defaultButton()) {
                        defaultButton = box->defaultButton()->text().remove('&');
                    }
                    QTest::keyClick(box, Qt::Key_Return);
                },
                [&] { document->Source().CheckDiskChange(); });
            return defaultButton;
        };
        QTest::keyClicks(view, "long ");
        QCOMPARE(pressEnterOnTheQuestion("int b;\n"), QStringLiteral("No"));
        QCOMPARE(view->GetText(), std::string("long int a;\r\n"));
        QVERIFY(document->DoFileSave());
        pressEnterOnTheQuestion("int c;\n");
        QCOMPARE(view->GetText(), std::string("int c;\r\n"));
    }

    void binaryFileIsRefusedWithAMessage() {
        CShellFixture shell;
        shell.Start();
        std::string bytes("\x00\x01\x02\xff\r\n\x00", 7);
        QVERIFY(!OpenSource(shell, "data.java", bytes));
        QVERIFY(shell.Frame().DocumentFrames().empty());
        QCOMPARE(shell.host.messages.size(), size_t(1));
        QVERIFY(shell.host.messages[0].text.find("binary") != std::string::npos);
    }

    void javaWindowFillsItsFunctionDropDownAndPanes() {
        CShellFixture shell;
        shell.Start();
        CEditorDocument* document = OpenSource(shell, "A.java",
                                               "class A {\n\tvoid a() {\n\t}\n\tint b(int x) {\n"
                                               "\t\treturn x;\n\t}\n}\n");
        auto* frame = qobject_cast<CChildFrame*>(shell.Frame().ActiveFrame());
        QVERIFY(frame);
        QComboBox* functions = frame->FunctionList();
        QCOMPARE(functions->count(), 2);
        QCOMPARE(functions->itemText(1), QStringLiteral("b(int x)"));
        emit frame->FunctionChosen(1);
        CSourceView* view = ActiveView(shell);
        QCOMPARE(view->GetSelText(), std::string("\tint b(int x) {"));
        QCOMPARE(shell.Frame().PaneText(1), QStringLiteral("Line: 4"));
        QCOMPARE(shell.Frame().PaneText(2), QStringLiteral("Col: 16"));
        // The project's navigation reaches the editor through the framework's document.
        COpenDocument& open = *document;
        QCOMPARE(open.Kind(), EDocumentKind::JavaSource);
        QVERIFY(open.FindFunctionPosition("a()") >= 0);
        open.ShowLine(0);
        QCOMPARE(view->GetSelText(), std::string("class A {"));
        // Find Next moves the caret without a key: the panes follow all the same.
        QVERIFY(view->Finder().FindNext({QStringLiteral("return")}));
        QTRY_COMPARE(shell.Frame().PaneText(1), QStringLiteral("Line: 5"));
        QCOMPARE(shell.Frame().PaneText(2), QStringLiteral("Col: 9"));
        // Typing a method and opening the list shows it.
        view->SetSel(view->GetLength(), view->GetLength());
        QTest::keyClicks(view, "class B {\rvoid c() {\r}\r");
        emit frame->FunctionListDropDown();
        QCOMPARE(functions->count(), 3);
    }

    void javaFileIsNamedAfterItsPublicType_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::newRow("public class after another type")
            << "class Helper {}\npublic final class Hello {\n}\n"
            << "Hello.java";
        QTest::newRow("no public type: the first") << "class First {}\nclass Second {}\n"
                                                   << "First.java";
        QTest::newRow("a public class in a comment only")
            << "// public class Fake {}\nclass Real {}\n"
            << "Real.java";
        QTest::newRow("generic record") << "public record Pair<A, B>(A a, B b) {}\n"
                                        << "Pair.java";
        QTest::newRow("no type") << "// nothing yet\n"
                                 << "";
    }
    void javaFileIsNamedAfterItsPublicType() {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QCOMPARE(QString::fromStdString(JavaFileNameFor(text.toStdString())), name);
    }

    // Save on a new Java window proposes the class's own file name in the open project's folder.
    void newJavaFileIsSavedUnderItsClassBesideTheProject() {
        CShellFixture shell;
        shell.Start();
        std::filesystem::create_directories(shell.dir.File("proj"));
        QVERIFY(shell.app->OpenDocumentFile(WriteEmptyProject(shell.dir, "proj/P.jpr")));
        QVERIFY(shell.app->CreateNewDocumentOfType("JavaDocument"));
        ActiveView(shell)->ReplaceSel("public class Hello {\r\n}\r\n");
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::FileSave));
        QCOMPARE(shell.host.fileRequests.size(), size_t(1));
        QCOMPARE(shell.host.fileRequests[0].proposedName, std::string("Hello.java"));
        QCOMPARE(shell.host.fileRequests[0].initialFolder, shell.dir.File("proj"));
    }

    void menuCommandsReachTheWindow() {
        CShellFixture shell;
        shell.Start();
        OpenSource(shell, "A.java", "\tint a;\n");
        CSourceView* view = ActiveView(shell);
        CMainFrame& frame = shell.Frame();
        QVERIFY(!frame.CommandState(ECommand::AddWindowToProject).enabled);
        QVERIFY(!frame.CommandState(ECommand::Compile).enabled);
        QVERIFY(frame.CommandState(ECommand::ConvertTabs).enabled);
        QVERIFY(frame.ExecuteCommand(ECommand::ConvertTabs));
        QCOMPARE(view->GetText(), std::string("   int a;\r\n"));
        view->SetSel(0, view->GetLength());
        QVERIFY(frame.ExecuteCommand(ECommand::DecreaseIndent));
        QCOMPARE(view->GetText(), std::string("  int a;\r\n"));
        QVERIFY(frame.ExecuteCommand(ECommand::Undo));
        QCOMPARE(view->GetText(), std::string("   int a;\r\n"));
        QVERIFY(frame.ExecuteCommand(ECommand::SyntaxColourUpdate));
        QCOMPARE(view->GetClassAt(3), ETokenClass::Keyword);

        OpenSource(shell, "page.html", "<p>\n");
        QVERIFY(!frame.CommandState(ECommand::InsertApplet).enabled);
        QVERIFY(!frame.CommandState(ECommand::ConvertTabs).enabled);
        QVERIFY(frame.CommandState(ECommand::AddWindowToProject).enabled);
        QVERIFY(frame.ExecuteCommand(ECommand::OpenInWebBrowser));
        QCOMPARE(shell.host.desktopOpened, std::vector<std::string>{shell.dir.File("page.html")});
    }

    void addWindowToProjectThroughTheMenu() {
        CShellFixture shell;
        shell.Start();
        QVERIFY(shell.app->CreateNewDocumentOfType("JavaProject"));
        CProjectDocument* project = shell.app->CurrentProject();
        QVERIFY(project);
        CEditorDocument* document = OpenSource(shell, "B.java", "class B {}\n");
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::AddWindowToProject));
        const CJavaFile* entry =
            project->Project().JavaFiles().FindByFullPath(document->PathName());
        QVERIFY(entry);
        QCOMPARE(entry->Classes().GetCount(), 1);
        QVERIFY(project->IsModified());
    }

    void secondWindowSharesTheDocument() {
        CShellFixture shell;
        shell.Start();
        CEditorDocument* document = OpenSource(shell, "A.java", "int a;\n");
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::WindowNew));
        QCOMPARE(document->Frames().size(), size_t(2));
        CSourceView* second = ActiveView(shell);
        QTest::keyClicks(second, "long ");
        auto* first = qobject_cast<CSourceView*>(document->Frames().front()->View());
        QCOMPARE(first->GetText(), std::string("long int a;\r\n"));
        QCOMPARE(first->GetClassAt(0), ETokenClass::Keyword);
        QVERIFY(document->IsModified());
        // Closing one window asks nothing; the other keeps the changes.
        QVERIFY(shell.Frame().ActiveFrame()->close());
        CShellFixture::Settle();
        QVERIFY(shell.host.messages.empty());
        QVERIFY(document->IsModified());
        QVERIFY(document->DoFileSave());
        QCOMPARE(ReadFile(shell.dir.File("A.java")), std::string("long int a;\n"));
    }
};

QTEST_MAIN(EditorAppTest)
#include "EditorAppTest.moc"
