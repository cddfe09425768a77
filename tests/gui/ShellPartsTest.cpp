// The shell's smaller parts on their own: document types, file filters, the recent-file list,
// help addresses, our SVG pictures, the About box, and the Alt+letters of the small dialogs.

#include "ShellTestSupport.h"
#include "core/app/SettingsStore.h"
#include "core/app/TipOfTheDay.h"
#include "gui/app/DocumentTypes.h"
#include "gui/desktop/FileFilter.h"
#include "gui/desktop/HelpLocations.h"
#include "gui/desktop/Icons.h"
#include "gui/dialogs/AboutDialog.h"
#include "gui/dialogs/ArgumentsDialog.h"
#include "gui/dialogs/NewDocumentDialog.h"
#include "gui/dialogs/NewProjectWizard.h"
#include "gui/dialogs/RecentProjectsDialog.h"
#include "gui/dialogs/TipOfTheDayDialog.h"
#include "gui/framework/DocTemplate.h"
#include "gui/framework/RecentFileList.h"
#include "gui/process/FindInFilesDialog.h"

#include <QDialogButtonBox>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

using namespace tovin;
using namespace tovin::test;

namespace {

QChar Mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '&') {
            if (text[i + 1] != '&') {
                return text[i + 1].toLower();
            }
            ++i;
        }
    }
    return {};
}

// Every button and every label that leads to a control has an Alt+letter, none twice in the
// dialog. OK and Cancel of a button box are left out: Enter and Escape are their keys.
void CheckMnemonics(QDialog& dialog) {
    dialog.show();
    QString seen;
    auto take = [&](const QString& text, bool required) {
        const QChar letter = Mnemonic(text);
        QVERIFY2(!required || !letter.isNull(),
                 qPrintable(dialog.windowTitle() + ": no Alt+letter on " + text));
        if (!letter.isNull()) {
            QVERIFY2(!seen.contains(letter),
                     qPrintable(dialog.windowTitle() + ": a second '" + letter + "' on " + text));
            seen += letter;
        }
    };
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(&dialog) || button->text().isEmpty()) {
            continue;
        }
        auto* box = qobject_cast<QDialogButtonBox*>(button->parentWidget());
        const auto role = box ? box->buttonRole(button) : QDialogButtonBox::InvalidRole;
        take(button->text(),
             role != QDialogButtonBox::AcceptRole && role != QDialogButtonBox::RejectRole);
    }
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->isVisibleTo(&dialog) && label->buddy()) {
            take(label->text(), true);
        }
    }
}

} // namespace

class ShellPartsTest : public QObject {
    Q_OBJECT
private slots:
    void everyControlOfTheSmallDialogsHasItsOwnAltLetter() {
        CTempDir dir;
        CFakeUiHost host;
        CSettings settings;
        settings.recentProjects = {dir.File("P.jpr")};
        CMemorySettingsStore store;
        CTipOfTheDay tips(store, host, dir.File("tips.dat"));
        CAboutDialog about([](const std::string&) {});
        CArgumentsDialog arguments(QStringLiteral("a b"));
        CNewDocumentDialog newDocument;
        CNewProjectDialog newProject(host);
        CRecentProjectsDialog recent(settings, host);
        CTipOfTheDayDialog tip(tips);
        CFindInFilesDialog findInFiles;
        for (QDialog* dialog : std::initializer_list<QDialog*>{
                 &about, &arguments, &newDocument, &newProject, &recent, &tip, &findInFiles}) {
            CheckMnemonics(*dialog);
            dialog->hide();
        }
    }

    void documentTypesAreRegisteredInOrder() {
        QStringList names, filters, extensions;
        for (const SDocumentTypeRow& row : DocumentTypeRows()) {
            auto strings = SDocTypeStrings::Parse(row.resourceString);
            QVERIFY(strings);
            QCOMPARE(strings->windowTitle, std::string());
            names << QString::fromStdString(strings->documentName);
            filters << QString::fromStdString(strings->filterName);
            extensions << QString::fromStdString(strings->filterExtension);
        }
        QCOMPARE(names, (QStringList{"JavaDocument", "JavaProject", "HTMLDocument", "XMLDocument",
                                     "JythonDocument"}));
        QCOMPARE(filters,
                 (QStringList{"Java Source Files (*.java)", "Java Project Files (*.jpr)",
                              "HTML Files (*.html)", "XML Files (*.xml)", "Jython Files (*.py)"}));
        QCOMPARE(extensions, (QStringList{".java", ".jpr", ".html", ".xml", ".py"}));
        QVERIFY(!SDocTypeStrings::Parse("\nJavaDocument\nonly three"));
    }

    void pathsMatchTypesByExtensionInAnyCase_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("documentName");
        QTest::newRow("java") << "/p/A.java"
                              << "JavaDocument";
        QTest::newRow("project") << "/p/A.jpr"
                                 << "JavaProject";
        QTest::newRow("upper-case project") << "/p/A.JPR"
                                            << "JavaProject";
        QTest::newRow("upper-case html") << "/p/Index.HTML"
                                         << "HTMLDocument";
        QTest::newRow("upper-case xml") << "/p/build.XML"
                                        << "XMLDocument";
        QTest::newRow("upper-case python") << "/p/tool.PY"
                                           << "JythonDocument";
        QTest::newRow("html") << "/p/a.html"
                              << "HTMLDocument";
        QTest::newRow("htm opens as the first type") << "/p/a.htm"
                                                     << "JavaDocument";
        QTest::newRow("xml") << "/p/build.xml"
                             << "XMLDocument";
        QTest::newRow("python") << "/p/run.py"
                                << "JythonDocument";
        QTest::newRow("no extension") << "/p.d/Makefile"
                                      << "JavaDocument";
    }
    void pathsMatchTypesByExtensionInAnyCase() {
        QFETCH(QString, path);
        QFETCH(QString, documentName);
        CShellFixture shell;
        shell.Start();
        CDocTemplate* found = shell.app->Templates().TemplateForPath(path.toStdString());
        QCOMPARE(QString::fromStdString(found->DocumentName()), documentName);
    }

    void productFiltersBecomeQtFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one type") << "Java Project Files (*.jpr)|*.jpr||"
                                  << "Java Project Files (*.jpr)";
        QTest::newRow("all files") << "Java Source Files (*.java)|*.java|All Files (*.*)|*.*||"
                                   << "Java Source Files (*.java);;All Files (*)";
        QTest::newRow("several patterns")
            << "Source Files (.java;.py;.html;.xml)|*.jav;*.java;*.py;*.html;*.xml||"
            << "Source Files (*.jav *.java *.py *.html *.xml)";
        QTest::newRow("name without patterns") << "Shell Scripts|*.sh||"
                                               << "Shell Scripts (*.sh)";
        QTest::newRow("empty") << ""
                               << "";
    }
    void productFiltersBecomeQtFilters() {
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        QCOMPARE(ToQtFileFilter(filter.toStdString()), expected);
    }

    void recentFileListKeepsEightNewestFirstAcrossRuns() {
        CMemorySettingsStore store;
        {
            CRecentFileList list(store);
            for (int i = 1; i <= 10; ++i) {
                list.Add("/f" + std::to_string(i));
            }
            list.Add("/f8"); // already listed: moves to the top, no duplicate
            list.Add({});
            list.Remove(7);
        }
        CRecentFileList reread(store);
        QCOMPARE(reread.Entries(),
                 (std::vector<std::string>{"/f8", "/f10", "/f9", "/f7", "/f6", "/f5", "/f4"}));
        QCOMPARE(store.GetString("Recent File List", "File8", "<missing>"), std::string());
    }

    void recentFileMenuTextsShortenLongPaths() {
        QCOMPARE(RecentFileMenuText(0, "/home/me/A&B.java"),
                 QStringLiteral("&1 /home/me/A&&B.java"));
        const std::string longPath =
            "/home/someone/projects/" + std::string(60, 'x') + "/Main.java";
        QString text = RecentFileMenuText(7, longPath);
        QVERIFY(text.startsWith("&8 /home/someone/"));
        QVERIFY(text.endsWith(".../Main.java"));
        QCOMPARE(text.size(), 3 + 60);
    }

    void jdkHelpAddresses_data() {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no selection") << ""
                                      << "/doc/api/index.html";
        QTest::newRow("word") << "String"
                              << "file:///doc/api/search.html?q=String";
        QTest::newRow("characters that need quoting")
            << "Map<K, V>&x"
            << "file:///doc/api/search.html?q=Map%3CK%2C%20V%3E%26x";
    }
    void jdkHelpAddresses() {
        QFETCH(QString, keyword);
        QFETCH(QString, expected);
        QCOMPARE(
            QString::fromStdString(JdkHelpAddress("/doc/api/index.html", keyword.toStdString())),
            expected);
    }

    void everyPictureOfOursReads() {
        for (QDirIterator it(":/tovin/icons", {"*.svg"}); it.hasNext();) {
            const QString path = it.next();
            QVERIFY2(!OwnIcon(QFileInfo(path).baseName()).isNull(), qPrintable(path));
        }
        QVERIFY(!ApplicationIcon().pixmap(32, 32).isNull());
        // Drawn for the size asked, so a 2x screen gets a picture of twice the pixels.
        const QImage twice = OwnIcon(QStringLiteral("build")).pixmap(QSize(32, 32)).toImage();
        QCOMPARE(twice.size(), QSize(32, 32));
        int painted = 0;
        for (int y = 0; y < twice.height(); ++y) {
            for (int x = 0; x < twice.width(); ++x) {
                painted += qAlpha(twice.pixel(x, y)) > 128;
            }
        }
        QVERIFY(painted > 32);
    }

    void aboutBoxShowsVersionAndVisitsTheSite() {
        std::string visited;
        CAboutDialog about([&](const std::string& url) { visited = url; });
        QCOMPARE(about.windowTitle(), QStringLiteral("About Tovin"));
        QStringList texts;
        for (QLabel* label : about.findChildren<QLabel*>()) {
            texts << label->text();
        }
        QVERIFY(texts.contains("Version 3.7 Beta January 2003"));
        for (QPushButton* button : about.findChildren<QPushButton*>()) {
            if (button->text() == "&Visit Web Site") {
                button->click();
            }
        }
        QCOMPARE(visited, std::string(kWebSiteUrl));
    }
};

QTEST_MAIN(ShellPartsTest)
#include "ShellPartsTest.moc"
