// The shell's smaller parts on their own: document types, file filters, the recent-file list,
// help addresses, our SVG pictures and the About box.

#include "ShellTestSupport.h"
#include "app/AboutDialog.h"
#include "app/DocTemplate.h"
#include "app/FileFilter.h"
#include "app/HelpLocations.h"
#include "app/RecentFileList.h"
#include "app/SettingsStore.h"
#include "app/SvgIcon.h"

#include <QDirIterator>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

using namespace tovin;
using namespace tovin::test;

class ShellPartsTest : public QObject {
    Q_OBJECT
private slots:
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

    void pathsMatchTypesByExactExtension_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("documentName");
        QTest::newRow("java") << "/p/A.java"
                              << "JavaDocument";
        QTest::newRow("project") << "/p/A.jpr"
                                 << "JavaProject";
        QTest::newRow("upper-case project is no project") << "/p/A.JPR"
                                                          << "JavaDocument";
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
    void pathsMatchTypesByExactExtension() {
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

    void svgPicturesReadTheirShapes_data() {
        QTest::addColumn<QByteArray>("svg");
        QTest::addColumn<QRectF>("bounds"); // of everything painted, in picture units
        auto svg = [](const char* body) {
            return QByteArray("<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 16 16'>") +
                   body + "</svg>";
        };
        QTest::newRow("rect") << svg("<rect x='2' y='3' width='4' height='5'/>")
                              << QRectF(2, 3, 4, 5);
        QTest::newRow("packed path numbers")
            << svg("<path d='M1.5-2.5.5 4L4 4z'/>") << QRectF(0.5, -2.5, 3.5, 6.5);
        QTest::newRow("relative path") << svg("<path d='m2 2h4v4h-4z'/>") << QRectF(2, 2, 4, 4);
        QTest::newRow("half-circle arc")
            << svg("<path d='M0 8a4 4 0 0 1 8 0z'/>") << QRectF(0, 4, 8, 4);
        QTest::newRow("circle") << svg("<circle cx='8' cy='8' r='3'/>") << QRectF(5, 5, 6, 6);
        QTest::newRow("translated group")
            << svg("<g transform='translate(10,1)'><rect width='2' height='2'/></g>")
            << QRectF(10, 1, 2, 2);
        QTest::newRow("unknown elements are skipped")
            << svg("<defs><rect width='9' height='9'/></defs><blink/><rect width='1' height='1'/>")
            << QRectF(0, 0, 1, 1);
    }
    void svgPicturesReadTheirShapes() {
        QFETCH(QByteArray, svg);
        QFETCH(QRectF, bounds);
        CSvgPicture picture = CSvgPicture::FromData(svg);
        QVERIFY(!picture.IsNull());
        QImage image(160, 160, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        picture.Render(painter, QRectF(0, 0, 160, 160));
        painter.end();
        // The painted pixels lie inside the expected bounds (scaled by 10) and reach their
        // corners' neighbourhood.
        QRect painted;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(image.pixel(x, y)) > 128) {
                    painted |= QRect(x, y, 1, 1);
                }
            }
        }
        QRectF scaled(bounds.x() * 10, bounds.y() * 10, bounds.width() * 10, bounds.height() * 10);
        scaled = scaled.intersected(QRectF(0, 0, 160, 160));
        QVERIFY2(qAbs(painted.left() - scaled.left()) <= 2 &&
                     qAbs(painted.top() - scaled.top()) <= 2 &&
                     qAbs(painted.right() + 1 - scaled.right()) <= 2 &&
                     qAbs(painted.bottom() + 1 - scaled.bottom()) <= 2,
                 qPrintable(QStringLiteral("painted %1,%2 %3x%4")
                                .arg(painted.x())
                                .arg(painted.y())
                                .arg(painted.width())
                                .arg(painted.height())));
    }

    void damagedSvgGivesNoPicture() {
        for (const char* bytes : {"", "<svg", "not xml at all", "<svg><path d='M1 1 L'/></svg"}) {
            QVERIFY(CSvgPicture::FromData(bytes).IsNull());
        }
        // A path that breaks off keeps what it had.
        auto cut = CSvgPicture::FromData("<svg viewBox='0 0 4 4'><path d='M0 0L4 0L4 4Q'/></svg>");
        QVERIFY(!cut.IsNull());
    }

    void everyPictureOfOursReads() {
        for (QDirIterator it(":/tovin/icons", {"*.svg"}); it.hasNext();) {
            const QString path = it.next();
            QVERIFY2(!CSvgPicture::FromFile(path).IsNull(), qPrintable(path));
        }
        QVERIFY(!ApplicationIcon().pixmap(32, 32).isNull());
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
            if (button->text() == "Visit Web Site") {
                button->click();
            }
        }
        QCOMPARE(visited, std::string(kWebSiteUrl));
    }
};

QTEST_MAIN(ShellPartsTest)
#include "ShellPartsTest.moc"
