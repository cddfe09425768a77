// The Preferences sheet: its pages and what they show, the ranges of the number fields, the
// choosers, and what reaches the settings on OK, Apply and Cancel.

#include "ShellTestSupport.h"
#include "core/app/SettingsStore.h"
#include "gui/editor/ScintillaEdit.h"
#include "gui/prefs/FormatPage.h"
#include "gui/prefs/IDEPage.h"
#include "gui/prefs/JavaOptionsPage.h"
#include "gui/prefs/PrefsSheet.h"
#include "gui/prefs/ProcessFontPage.h"
#include "gui/prefs/WorkingDirPage.h"
#include "gui/project/ClassPathList.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <Qsci/qsciscintillabase.h>
#include <tuple>

using namespace tovin;
using namespace tovin::test;

namespace {

// Settings unlike every default, so each field shows it was loaded.
CSettings UnusualSettings() {
    CSettings settings;
    settings.saveComp = 0;
    settings.loadLast = 0;
    settings.showArgs = 1;
    settings.showDrops = 0;
    settings.javaBin = "/opt/jdk";
    settings.jython = "/opt/jython";
    settings.msJavaBin = "/opt/ant";
    settings.languageServer = "\"/opt/a server\" --stdio";
    settings.helpPath = "/doc/api/index.html";
    settings.fontName = "No Such Face";
    settings.fontSize = 95;
    settings.tabWidth = 7;
    settings.spaceTabs = 1;
    settings.keyColor = 0x010203;
    settings.dlgFontName = "Another Missing Face";
    settings.dlgFontSize = 125;
    settings.javaOptions = "-Xmx64m";
    settings.javac = "-g";
    settings.javaVersion = 1;
    settings.workingDir = "/work";
    settings.classPath = "/a;/b.jar"; // written on Windows: the list would rewrite it
    return settings;
}

// Runs the Preferences command and hands the open sheet to `edit`.
void WithSheet(CShellFixture& shell, ECommand command,
               const std::function<void(CPrefsSheet&)>& edit) {
    bool seen = false;
    WithModal(
        [&](QWidget* modal) {
            auto* sheet = qobject_cast<CPrefsSheet*>(modal);
            QVERIFY(sheet);
            seen = true;
            edit(*sheet);
        },
        [&] { shell.Frame().ExecuteCommand(command); });
    QVERIFY(seen);
}

} // namespace

class PrefsTest : public QObject {
    Q_OBJECT
private slots:
    void sheetOpensOnThePageItsCommandAsks() {
        CShellFixture shell;
        shell.Start();
        int page = -1;
        QStringList tabs;
        WithSheet(shell, ECommand::Preferences, [&](CPrefsSheet& sheet) {
            QCOMPARE(sheet.windowTitle(), QStringLiteral("Tovin Preferences"));
            for (int i = 0; i < sheet.Tabs()->count(); ++i) {
                tabs << sheet.Tabs()->tabText(i);
            }
            page = sheet.Tabs()->currentIndex();
            sheet.reject();
        });
        QCOMPARE(tabs, (QStringList{"Configure", "Editor", "Process Window", "Java", "Paths"}));
        QCOMPARE(page, 0);

        shell.app->OpenDocumentFile(shell.dir.Write("A.java", "class A {}\n"));
        WithSheet(shell, ECommand::SourceFont, [&](CPrefsSheet& sheet) {
            page = sheet.Tabs()->currentIndex();
            sheet.reject();
        });
        QCOMPARE(page, 1);
    }

    void pagesShowTheSettingsAndGiveThemBack() {
        CFakeUiHost host;
        CPrefsSheet sheet(host, 0);
        const CSettings loaded = UnusualSettings();
        sheet.Load(loaded);
        CIDEPage& ide = *sheet.IdePage();
        QCOMPARE(ide.AskArguments()->isChecked(), true);
        QCOMPARE(ide.SaveBeforeCompile()->isChecked(), false);
        QCOMPARE(ide.AntFolder()->text(), QStringLiteral("/opt/ant"));
        CFormatPage& format = *sheet.FormatPage();
        QCOMPARE(format.FontSize()->text(), QStringLiteral("9"));
        QCOMPARE(format.FontList()->currentText(), QStringLiteral("No Such Face"));
        QCOMPARE(format.Colour(CFormatPage::Keywords), QColor(3, 2, 1));
        QCOMPARE(sheet.ProcessFontPage()->FontSize()->text(), QStringLiteral("12"));
        QAbstractButton* microsoft = sheet.JavaOptionsPage()->Version()->button(1);
        QVERIFY(microsoft->isChecked());
        QVERIFY(!microsoft->isEnabled());
        QCOMPARE(microsoft->text(), QStringLiteral("Microsoft"));

        CSettings stored;
        sheet.Store(stored);
        CSettings expected = loaded;
        expected.fontSize = 90;     // shown in whole points
        expected.dlgFontSize = 120; // likewise
        QCOMPARE(stored, expected); // the Paths page was never shown: its class path as loaded

        sheet.show();
        sheet.Tabs()->setCurrentIndex(CPrefsSheet::Paths);
        QCOMPARE(sheet.WorkingDirPage()->ClassPaths()->topLevelItemCount(), 2);
        host.folderAnswers.push_back("/c");
        sheet.WorkingDirPage()->AddFolderButton()->click();
        sheet.Store(stored);
        QCOMPARE(stored.classPath, std::string("/a:/b.jar:/c"));
    }

    void numberFieldsKeepTheirRanges_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message"); // empty: accepted
        const QString fontSize = "Font size (points): please enter a whole number from 6 to 24.";
        const QString tabs = "Character width of tabs: please enter a whole number from 2 to 10.";
        QTest::newRow("font 5") << 1 << "font"
                                << "5" << fontSize;
        QTest::newRow("font 6") << 1 << "font"
                                << "6"
                                << "";
        QTest::newRow("font 24") << 1 << "font"
                                 << "24"
                                 << "";
        QTest::newRow("font 25") << 1 << "font"
                                 << "25" << fontSize;
        QTest::newRow("font empty") << 1 << "font"
                                    << "" << fontSize;
        QTest::newRow("tabs 1") << 1 << "tabs"
                                << "1" << tabs;
        QTest::newRow("tabs 2") << 1 << "tabs"
                                << "2"
                                << "";
        QTest::newRow("tabs 10") << 1 << "tabs"
                                 << "10"
                                 << "";
        QTest::newRow("tabs 11") << 1 << "tabs"
                                 << "11" << tabs;
        QTest::newRow("tabs not a number") << 1 << "tabs"
                                           << "4x" << tabs;
        QTest::newRow("process font 5") << 2 << "process"
                                        << "5" << fontSize;
        QTest::newRow("process font 24") << 2 << "process"
                                         << "24"
                                         << "";
    }
    void numberFieldsKeepTheirRanges() {
        QFETCH(int, page);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        CFakeUiHost host;
        CPrefsSheet sheet(host, 0);
        sheet.Load(CSettings());
        QLineEdit* edit = field == "font"   ? sheet.FormatPage()->FontSize()
                          : field == "tabs" ? sheet.FormatPage()->TabWidth()
                                            : sheet.ProcessFontPage()->FontSize();
        edit->setText(value);
        sheet.accept();
        if (message.isEmpty()) {
            QVERIFY(host.messages.empty());
            QCOMPARE(sheet.result(), int(QDialog::Accepted));
        } else {
            QCOMPARE(host.MessageTexts(), std::vector<std::string>{message.toStdString()});
            QCOMPARE(sheet.result(), int(QDialog::Rejected));
            QCOMPARE(sheet.Tabs()->currentIndex(), page);
        }
    }

    void coloursRepaintEverySampleAndCancelKeepsThem() {
        CFormatPage page;
        page.Load(CSettings());
        std::optional<QColor> answer = QColor(10, 20, 30);
        QColor offered;
        page.SetColourChooser([&](const QColor& current) {
            offered = current;
            return answer;
        });
        page.ColourButton(CFormatPage::Strings)->click();
        QCOMPARE(offered, QColor(0, 102, 0));
        const QColor expected[] = {QColor(0, 0, 221), QColor(221, 0, 0), QColor(10, 20, 30),
                                   QColor(119, 17, 0)};
        for (int colour = 0; colour < CFormatPage::ColourCount; ++colour) {
            QCOMPARE(page.Sample(CFormatPage::EColour(colour))->palette().color(QPalette::Text),
                     expected[colour]);
        }
        QCOMPARE(page.Sample(CFormatPage::HtmlTags)->text(), QStringLiteral("<HTML TAG>"));
        answer.reset();
        page.ColourButton(CFormatPage::Strings)->click();
        CSettings stored;
        page.Store(stored);
        QCOMPARE(stored.stringColor, std::uint32_t(30 << 16 | 20 << 8 | 10));
    }

    // Each folder button asks with its own title, starting from its own field, and fills that
    // field; a cancelled chooser leaves it.
    void choosersAskWithTheirTitles() {
        const std::pair<std::string, std::string> titlesAndFields[] = {
            {"Find the JDK Folder:", "/opt/jdk"},
            {"Find the Jython install Folder:", "/opt/jython"},
            {"Find the MS Java SDK Folder:", "/opt/ant"},
            {"Locate Working Directory", "/work"}};
        for (int field = 0; field < 4; ++field) {
            const auto& [title, loaded] = titlesAndFields[field];
            CFakeUiHost host;
            CPrefsSheet sheet(host, 0);
            sheet.Load(UnusualSettings());
            QLineEdit* const edits[] = {
                sheet.IdePage()->JdkFolder(), sheet.IdePage()->JythonFolder(),
                sheet.IdePage()->AntFolder(), sheet.WorkingDirPage()->WorkingDir()};
            QPushButton* button = edits[field]->parentWidget()->findChild<QPushButton*>();
            button->click(); // cancelled
            QCOMPARE(edits[field]->text().toStdString(), loaded);
            host.folderAnswers = {"/chosen"};
            button->click();
            QCOMPARE(host.folderRequests, (std::vector<std::pair<std::string, std::string>>(
                                              2, std::make_pair(title, loaded))));
            for (QLineEdit* edit : edits) {
                QCOMPARE(edit->text() == "/chosen", edit == edits[field]);
            }
        }
    }

    void helpFileIsChosenAmongPages() {
        CFakeUiHost host;
        CPrefsSheet sheet(host, 0);
        sheet.Load(UnusualSettings());
        host.fileAnswers.push_back({"/usr/share/doc/api/index.html"});
        sheet.IdePage()->HelpPath()->parentWidget()->findChild<QPushButton*>()->click();
        QCOMPARE(host.fileRequests.size(), size_t(1));
        QCOMPARE(host.fileRequests.front().filter,
                 std::string("HTML Files (*.html)|*.html|All Files (*.*)|*.*||"));
        CSettings stored;
        sheet.Store(stored);
        QCOMPARE(stored.helpPath, std::string("/usr/share/doc/api/index.html"));
    }

    // OK and Apply store at once and reach the open editors; Cancel stores nothing and
    // changes no member and no editor.
    void okApplyAndCancel() {
        CShellFixture shell;
        CEditorApp& app = shell.Start();
        const CSettings before = app.Settings();
        shell.app->OpenDocumentFile(shell.dir.Write("B.java", "class B {}\n"));
        auto* editor = shell.Frame().ActiveFrame()->findChild<CScintillaEdit*>();
        QVERIFY(editor);
        auto shown = [editor] {
            using Sci = QsciScintillaBase;
            return std::make_tuple(
                editor->Send(Sci::SCI_GETTABWIDTH),
                editor->Send(Sci::SCI_STYLEGETSIZEFRACTIONAL, Sci::STYLE_DEFAULT) /
                    Sci::SC_FONT_SIZE_MULTIPLIER,
                editor->Send(Sci::SCI_STYLEGETFORE,
                             static_cast<unsigned long>(StyleOfClass(ETokenClass::Keyword))));
        };
        const auto shownBefore = shown();
        auto editEditorPage = [](CPrefsSheet& sheet, const char* tabs, const char* size) {
            sheet.FormatPage()->TabWidth()->setText(QLatin1String(tabs));
            sheet.FormatPage()->FontSize()->setText(QLatin1String(size));
            sheet.FormatPage()->SetColourChooser(
                [](const QColor&) { return std::optional<QColor>(QColor(1, 2, 3)); });
            sheet.FormatPage()->ColourButton(CFormatPage::Keywords)->click();
        };
        WithSheet(shell, ECommand::Preferences, [&](CPrefsSheet& sheet) {
            editEditorPage(sheet, "8", "20");
            sheet.IdePage()->LoadLast()->setChecked(false);
            sheet.reject();
        });
        QCOMPARE(app.Settings(), before);
        QCOMPARE(shell.Stored("OPTIONS", "TABWIDTH"), std::string("<missing>"));
        QCOMPARE(shown(), shownBefore);

        // Checked after the sheet closes: a failed check in it would leave it open.
        std::string storedAfterApply;
        auto shownAfterApply = shownBefore;
        WithSheet(shell, ECommand::Preferences, [&](CPrefsSheet& sheet) {
            editEditorPage(sheet, "5", "20");
            sheet.ApplyButton()->click();
            storedAfterApply = shell.Stored("OPTIONS", "TABWIDTH");
            shownAfterApply = shown();
            sheet.FormatPage()->FontSize()->setText("12");
            sheet.accept();
        });
        QCOMPARE(storedAfterApply, std::string("5"));
        QCOMPARE(shownAfterApply, std::make_tuple(5L, 20L, long(RefFromColour(QColor(1, 2, 3)))));
        QCOMPARE(shell.Stored("OPTIONS", "FONTSIZE"), std::string("120"));
        QCOMPARE(shell.Stored("PATHS", "JAVABIN"), before.javaBin);
        QCOMPARE(shell.Stored("PATHS", "CLASSPATH"), std::string());
        QCOMPARE(app.Settings().tabWidth, 5);
        QCOMPARE(std::get<1>(shown()), 12L);

        shell.app->OpenDocumentFile(shell.dir.Write("C.java", "class C {}\n"));
        auto* later = shell.Frame().ActiveFrame()->findChild<CScintillaEdit*>();
        QVERIFY(later && later != editor);
        QCOMPARE(later->Appearance().tabWidth, 5);
    }
};

QTEST_MAIN(PrefsTest)
#include "PrefsTest.moc"
