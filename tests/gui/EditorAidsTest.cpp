// The editing aids of the source windows, offscreen: indentation that follows the file, Go to
// Line, Redo, the line numbers and their View item, matching braces, and the compiler's messages
// marked in the editors after a Build with the real JDK.

#include "gui/editor/EditorAids.h"
#include "EditorTestSupport.h"
#include "ModalAnswers.h"
#include "ShellTestSupport.h"
#include "gui/editor/LiveXMLView.h"
#include "gui/editor/SyntaxWindowView.h"
#include "gui/process/ProcessWindow.h"
#include "gui/project/ProjectDocument.h"

#include <QHelpEvent>
#include <QInputDialog>
#include <QProgressBar>
#include <QToolTip>

using namespace tovin;
using namespace tovin::test;

namespace {

using Window = SEditorWindow<CSyntaxWindowDoc, CSyntaxWindowView>;
using Sci = QsciScintillaBase;

constexpr int kWaitMs = 120000;

long MarginWidth(const CSourceView& view, int margin) {
    return view.Send(Sci::SCI_GETMARGINWIDTHN, static_cast<unsigned long>(margin));
}

long Markers(const CSourceView& view, int line) {
    return view.Send(Sci::SCI_MARKERGET, static_cast<unsigned long>(line));
}

void ReplaceLine(CSourceView& view, int line, const std::string& text) {
    view.SetSel(view.LineIndex(line), view.LineIndex(line + 1) - 2);
    view.ReplaceSel(text);
}

CSourceView* ActiveView(CMainFrame& frame) {
    return qobject_cast<CSourceView*>(frame.ActiveFrame()->View());
}

// The text with a '|' where the caret is.
std::string WithCaret(const CTextControl& text) {
    int start = 0, end = 0;
    text.GetSel(start, end);
    return text.GetText().insert(static_cast<size_t>(end), "|");
}

// Opens the text (CR LF line breaks) with the caret where its '|' was.
Window OpenWithCaret(SEditorFixture& f, std::string marked) {
    const auto caret = marked.find('|');
    marked.erase(caret, 1);
    Window w = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>("A.java", marked);
    PlaceCaret(w.View(), static_cast<int>(caret));
    ProcessQueuedEvents(); // the caret's brace is matched as the view paints
    return w;
}

} // namespace

class EditorAidsTest : public QObject {
    Q_OBJECT

private slots:
    void typingInASpaceIndentedFileKeepsItsStep() {
        SEditorFixture f;
        Window w = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>(
            "A.java", "class A {\n    int f(int x) {\n        return 0;\n    }\n}\n");
        auto& v = w.View();
        QCOMPARE(v.IndentStatusText(), QStringLiteral("Spaces: 4"));
        PlaceCaret(v, v.LineIndex(2) - 2);
        for (const char* line : {"return switch (x) {", "case 1 -> 10;", "default -> 20;"}) {
            QTest::keyClick(&v, Qt::Key_Return);
            QTest::keyClicks(&v, line);
        }
        QTest::keyClick(&v, Qt::Key_Return);
        QTest::keyClicks(&v, "};");
        QCOMPARE(v.GetText(), std::string("class A {\r\n    int f(int x) {\r\n"
                                          "        return switch (x) {\r\n"
                                          "            case 1 -> 10;\r\n"
                                          "            default -> 20;\r\n"
                                          "        };\r\n"
                                          "        return 0;\r\n    }\r\n}\r\n"));
    }

    // The keys that re-indent, as the windows wire them: each is one undo step, and a key that
    // breaks no line indents nothing.
    void keysReindentAsOneUndoStep_data() {
        QTest::addColumn<bool>("xml");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        const int none = Qt::NoModifier;
        QTest::newRow("Enter") << false << "\tif (x) {|" << int(Qt::Key_Return) << none << ""
                               << "\tif (x) {\r\n\t\t|";
        QTest::newRow("closing brace") << false << "\tif (x) {\r\n\t\t|" << 0 << none << "}"
                                       << "\tif (x) {\r\n\t}|";
        QTest::newRow("closing tag") << true << "<a>\r\n\t</a|" << 0 << none << ">"
                                     << "<a>\r\n</a>|";
        QTest::newRow("Ctrl+Enter")
            << false << "\tx {\r\n|y" << int(Qt::Key_Return) << int(Qt::ControlModifier) << ""
            << "\tx {\r\n|y";
        QTest::newRow("Alt+Enter")
            << false << "\tx {\r\n|y" << int(Qt::Key_Return) << int(Qt::AltModifier) << ""
            << "\tx {\r\n|y";
    }
    void keysReindentAsOneUndoStep() {
        QFETCH(bool, xml);
        QFETCH(QString, before);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        SEditorFixture f;
        std::string text = before.toStdString();
        const auto caret = text.find('|');
        text.erase(caret, 1);
        SEditorWindow<CLiveEditorDoc, CLiveXMLView> page;
        Window java;
        CSourceView* v = nullptr;
        if (xml) {
            page = f.OpenText<CLiveEditorDoc, CLiveXMLView>("a.xml", text, EDocumentKind::Xml);
            v = page.view.get();
        } else {
            java = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>("A.java", text);
            v = java.view.get();
        }
        PlaceCaret(*v, static_cast<int>(caret));
        if (key != 0) {
            QTest::keyClick(v, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        } else {
            QTest::keyClicks(v, typed);
        }
        QCOMPARE(WithCaret(*v), after.toStdString());
        v->undo();
        QCOMPARE(v->GetText(), text);
    }

    // Every window of a file takes the indentation of the text read again.
    void reloadGivesEveryWindowTheFilesIndentation() {
        SEditorFixture f;
        Window w = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>("A.java", "a {\n\tb;\n}\n");
        CSyntaxWindowView second(w.Doc(), nullptr);
        second.OnInitialUpdate();
        QCOMPARE(second.IndentStatusText(), QStringLiteral("Tabs"));
        f.dir.Write("A.java", "a {\n    b;\n}\n");
        QVERIFY(w.Doc().Reload());
        QCOMPARE(w.View().IndentStatusText(), QStringLiteral("Spaces: 4"));
        QCOMPARE(second.IndentStatusText(), QStringLiteral("Spaces: 4"));
    }

    void goToLineMovesTheCaretToTheLineStart() {
        SEditorFixture f;
        std::string text;
        for (int i = 1; i <= 300; ++i) {
            text += "    line " + std::to_string(i) + "\n";
        }
        Window w = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>("A.java", text);
        auto& v = w.View();
        PlaceCaret(v, v.LineIndex(4) + 6);
        int offered = 0, highest = 0;
        const int answered = WithModals({[&](QWidget* modal) {
                                            auto* dialog = qobject_cast<QInputDialog*>(modal);
                                            QVERIFY(dialog);
                                            offered = dialog->intValue();
                                            highest = dialog->intMaximum();
                                            dialog->setIntValue(250);
                                            dialog->accept();
                                        }},
                                        [&] { v.OnGoToLine(); });
        QCOMPARE(answered, 1);
        QCOMPARE(offered, 5);
        QCOMPARE(highest, 301);
        int start = 0, end = 0;
        v.GetSel(start, end);
        QCOMPARE(start, v.LineIndex(249));
        QCOMPARE(end, start);
        const long first = v.Send(Sci::SCI_GETFIRSTVISIBLELINE);
        QVERIFY(first <= 249 && 249 < first + v.Send(Sci::SCI_LINESONSCREEN));
    }

    void bracePairIsFoundAcrossLinesButNotInLiterals_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("brace");
        QTest::addColumn<int>("partner");
        QTest::addColumn<int>("unmatched");
        QTest::newRow("across lines") << "class A {\r\n  int x;\r\n}|" << 21 << 8 << -1;
        QTest::newRow("after the caret") << "f|(a[1])" << 1 << 6 << -1;
        QTest::newRow("partner skips a string") << "f(|x, \")\")" << 1 << 8 << -1;
        QTest::newRow("in a string") << "s = \"{|\";" << -1 << -1 << -1;
        QTest::newRow("in a char literal") << "c = '{|';" << -1 << -1 << -1;
        QTest::newRow("in a comment") << "// (|\r\nint a;" << -1 << -1 << -1;
        QTest::newRow("unmatched") << "int a = (|1 + 2;" << -1 << -1 << 8;
    }
    void bracePairIsFoundAcrossLinesButNotInLiterals() {
        QFETCH(QString, text);
        QFETCH(int, brace);
        QFETCH(int, partner);
        QFETCH(int, unmatched);
        SEditorFixture f;
        Window w = OpenWithCaret(f, text.toStdString());
        const CViewAids& aids = w.View().Aids();
        QCOMPARE(aids.BraceAt(), brace);
        QCOMPARE(aids.BracePartner(), partner);
        QCOMPARE(aids.UnmatchedBrace(), unmatched);
    }

    void redoFollowsUndo() {
        CShellFixture shell;
        shell.Start();
        QVERIFY(shell.app->OpenDocumentFile(shell.dir.Write("A.java", "x\n")));
        CMainFrame& frame = shell.Frame();
        CSourceView* v = ActiveView(frame);
        QCOMPARE(frame.PaneText(CMainFrame::kIndentPane), QStringLiteral("Tabs"));
        QVERIFY(!frame.CommandState(ECommand::Redo).enabled);
        QTest::keyClicks(v, "ab");
        QVERIFY(frame.ExecuteCommand(ECommand::Undo));
        QCOMPARE(v->GetText(), std::string("x\r\n"));
        QVERIFY(frame.CommandState(ECommand::Redo).enabled);
        QVERIFY(frame.ExecuteCommand(ECommand::Redo));
        QCOMPARE(v->GetText(), std::string("abx\r\n"));
        QVERIFY(!frame.CommandState(ECommand::Redo).enabled);
        frame.ExecuteCommand(ECommand::Undo);
        QTest::keyClick(v, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(v->GetText(), std::string("abx\r\n"));
    }

    void lineNumbersItemTogglesEveryWindowAndIsStored() {
        CShellFixture shell;
        shell.Start();
        QVERIFY(shell.app->OpenDocumentFile(shell.dir.Write("A.java", std::string(98, '\n'))));
        CSourceView* java = ActiveView(shell.Frame());
        // Room for the digits of the line count, measured again only when their number changes.
        const long twoDigits = MarginWidth(*java, 0);
        QVERIFY(twoDigits > 0);
        java->SetSel(0, 0);
        java->ReplaceSel("\r\n");
        ProcessQueuedEvents();
        const long threeDigits = MarginWidth(*java, 0);
        QVERIFY(threeDigits > twoDigits);
        java->ReplaceSel("\r\n");
        ProcessQueuedEvents();
        QCOMPARE(MarginWidth(*java, 0), threeDigits);
        QVERIFY(shell.app->OpenDocumentFile(shell.dir.Write("b.html", "<p>\n")));
        CSourceView* page = ActiveView(shell.Frame());
        QCOMPARE(MarginWidth(*page, 0), twoDigits);

        QVERIFY(shell.Frame().Action(ECommand::ViewLineNumbers)->isChecked());
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::ViewLineNumbers));
        QCOMPARE(MarginWidth(*java, 0), 0L);
        QCOMPARE(MarginWidth(*page, 0), 0L);
        QVERIFY(!shell.Frame().Action(ECommand::ViewLineNumbers)->isChecked());
        QCOMPARE(shell.Stored("SETTINGS", "LINENUMBERS"), std::string("0"));

        shell.Restart({shell.dir.File("b.html")});
        QCOMPARE(MarginWidth(*ActiveView(shell.Frame()), 0), 0L);
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::ViewLineNumbers));
        QVERIFY(MarginWidth(*ActiveView(shell.Frame()), 0) > 0);
        QCOMPARE(shell.Stored("SETTINGS", "LINENUMBERS"), std::string("1"));
    }

    // A project with an error in one file and a warning in another, built with the real javac:
    // the file open during the Build and the one opened after it are marked on the lines the
    // compiler named, with its messages; a clean Build takes the marks away.
    void buildMarksTheCompilersMessages() {
        CTempDir dir;
        const std::string a = dir.Write("A.java", "public class A {\n"
                                                  "    public static void main(String[] args) {\n"
                                                  "        int x = \"text\";\n"
                                                  "    }\n"
                                                  "}\n");
        const std::string b = dir.Write("B.java", "public class B {\n"
                                                  "    Integer f() {\n"
                                                  "        return new Integer(5);\n"
                                                  "    }\n"
                                                  "}\n");
        {
            CSettings settings;
            CFakeUiHost host;
            CJavaProjectDoc project(settings, host);
            project.AddFile(a);
            project.AddFile(b);
            project.SetMainFile("A.java");
            QCOMPARE(project.Save(dir.File("P.jpr")), std::string());
        }
        auto app = std::make_unique<CEditorApp>(dir.File("Tovin.conf"));
        app->SetStartupTip([] {});
        QVERIFY(app->Start({dir.File("P.jpr")}));
        CMainFrame& frame = *app->MainFrame();
        QVERIFY(app->OpenDocumentFile(a));
        CSourceView* editorA = ActiveView(frame);
        const auto build = [&] {
            QVERIFY(frame.ExecuteCommand(ECommand::Build));
            QProgressBar* progress = app->ProcessWindow()->Progress();
            QTRY_COMPARE_WITH_TIMEOUT(progress->value(), progress->maximum(), kWaitMs);
        };
        build();
        QVERIFY(app->OpenDocumentFile(b));
        CSourceView* editorB = ActiveView(frame);

        const QString output = QString::fromStdString(app->ProcessWindow()->Text());
        QCOMPARE(Markers(*editorA, 2), 1L << CViewAids::kErrorMarker);
        QVERIFY2(editorA->Aids().MessagesOnLine(2).startsWith("error: incompatible types"),
                 qPrintable(output));
        QCOMPARE(Markers(*editorB, 2), 1L << CViewAids::kWarningMarker);
        QVERIFY(editorB->Aids().MessagesOnLine(2).startsWith("warning: [removal]"));
        QVERIFY(MarginWidth(*editorB, 1) > 0);

        // The message as the marker's tool tip, and in the status bar as the caret enters.
        const int y =
            static_cast<int>(editorB->Send(Sci::SCI_POINTYFROMPOSITION, 0, editorB->LineIndex(2))) +
            2;
        QHelpEvent tip(QEvent::ToolTip, QPoint(2, y),
                       editorB->viewport()->mapToGlobal(QPoint(2, y)));
        QApplication::sendEvent(editorB->viewport(), &tip);
        QCOMPARE(QToolTip::text(), editorB->Aids().MessagesOnLine(2));
        PlaceCaret(*editorB, editorB->LineIndex(2) + 4);
        QTRY_COMPARE(frame.PaneText(0), editorB->Aids().MessagesOnLine(2));

        // The marker moves with its line, and stays on it as the line is corrected.
        PlaceCaret(*editorB, 0);
        editorB->ReplaceSel("// note\r\n");
        ReplaceLine(*editorB, 3, "        return 5;");
        QCOMPARE(Markers(*editorB, 3), 1L << CViewAids::kWarningMarker);
        ReplaceLine(*editorA, 2, "        int x = 1;");
        QCOMPARE(Markers(*editorA, 2), 1L << CViewAids::kErrorMarker);

        build(); // saves the corrected files first
        QVERIFY(app->ProcessWindow()->Text().ends_with("No Errors"));
        QCOMPARE(Markers(*editorA, 2) | Markers(*editorB, 3), 0L);
        QCOMPARE(MarginWidth(*editorA, 1) + MarginWidth(*editorB, 1), 0L);
        app.reset();
        CShellFixture::Settle();
    }
};

QTEST_MAIN(EditorAidsTest)
#include "EditorAidsTest.moc"
