// The class-path list widget: splitting, rows and icons, the rebuilt text, the compile
// directory and its context menu, and the choosers it asks through the host.

#include "gui/project/ClassPathList.h"

#include "FakeUiHost.h"
#include "TempDir.h"

#include <QDir>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

using namespace tovin;
using namespace tovin::test;

namespace {

QStringList Column(const CClassPathList& list, int column) {
    QStringList texts;
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        texts << list.topLevelItem(row)->text(column);
    }
    return texts;
}

QList<int> Icons(const CClassPathList& list) {
    QList<int> icons;
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        icons << list.topLevelItem(row)->data(0, Qt::UserRole).toInt();
    }
    return icons;
}

QStringList Entries(QMenu& menu) {
    QStringList texts;
    for (QAction* action : menu.actions()) {
        texts << action->text() + (action->isChecked() ? QStringLiteral(" [x]") : QString());
    }
    return texts;
}

void Select(CClassPathList& list, int row) {
    list.setCurrentItem(list.topLevelItem(row));
}

} // namespace

class ProjectClassPathListTest : public QObject {
    Q_OBJECT

    CFakeUiHost host;

private slots:
    void split_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("archive and folder") << "/a/b.jar:/c/d" << QStringList{"/a/b.jar", "/c/d"};
        QTest::newRow("trailing separator") << "/a:/b:" << QStringList{"/a", "/b"};
        QTest::newRow("adjacent separators") << "/a::/b" << QStringList{"/a", "", "/b"};
        QTest::newRow("leading separator") << ":/a" << QStringList{"", "/a"};
        QTest::newRow("written on Windows")
            << "C:\\lib\\x.jar;C:\\classes;" << QStringList{"C:\\lib\\x.jar", "C:\\classes"};
    }
    void split() {
        QFETCH(QString, text);
        QFETCH(QStringList, entries);
        QStringList got;
        for (const std::string& entry : CClassPathList::Split(text.toStdString())) {
            got << QString::fromStdString(entry);
        }
        QCOMPARE(got, entries);
    }

    void fillShowsNamesPathsAndIconsAndRebuildsWithColons() {
        CClassPathList list(host, true, nullptr);
        QCOMPARE(list.headerItem()->text(0), QStringLiteral("Name"));
        QCOMPARE(list.headerItem()->text(1), QStringLiteral("Full Path"));
        list.Fill("/a/b.jar:/c/d::/e/f.zip:", "/c/d");
        QCOMPARE(Column(list, 0), (QStringList{"b.jar", "d", "", "f.zip"}));
        QCOMPARE(Column(list, 1), (QStringList{"/a/b.jar", "/c/d", "", "/e/f.zip"}));
        QCOMPARE(Icons(list),
                 (QList<int>{CClassPathList::ArchiveIcon, CClassPathList::CompileDirIcon,
                             CClassPathList::FolderIcon, CClassPathList::ArchiveIcon}));
        QCOMPARE(list.Text(), std::string("/a/b.jar:/c/d::/e/f.zip"));
        list.Fill("C:\\x.jar;D:\\y");
        QCOMPARE(list.CompileDir(), std::string());
    }

    // The rebuilt text reads back as the same entries, whatever separator the text had.
    void rebuiltTextReadsBackTheSameEntries() {
        for (const std::string text : {"/a/b.jar:/c/d::/e/f.zip:", "C:\\x.jar;D:\\y;;E:\\z"}) {
            CClassPathList list(host, true, nullptr), again(host, true, nullptr);
            list.Fill(text);
            QCOMPARE(CClassPathList::Split(list.Text()), CClassPathList::Split(text));
            again.Fill(list.Text());
            QCOMPARE(Column(again, 1), Column(list, 1));
        }
    }

    // Folder or archive is what the disk says; for entries that are not there, the extension.
    void foldersAndArchivesAsOnDisk() {
        CTempDir dir;
        const std::string dottedFolder = dir.File("my.classes");
        QVERIFY(QDir().mkpath(QString::fromStdString(dottedFolder)));
        const std::string bareFile = dir.Write("lib", "jar");
        CClassPathList list(host, true, nullptr);
        list.Fill(dottedFolder + ":" + bareFile + ":/gone/x.JAR:/gone/y.zip:/gone/my.classes",
                  dottedFolder);
        QCOMPARE(Icons(list),
                 (QList<int>{CClassPathList::CompileDirIcon, CClassPathList::ArchiveIcon,
                             CClassPathList::ArchiveIcon, CClassPathList::ArchiveIcon,
                             CClassPathList::FolderIcon}));
        Select(list, 0);
        list.ToggleCompileDir(); // a folder: it can be unmarked
        QCOMPARE(list.CompileDir(), std::string());
    }

    void removeFirstRowLeavesTheFolder() {
        CClassPathList list(host, true, nullptr);
        list.Fill("/a/b.jar:/c/d");
        QSignalSpy changed(&list, &CClassPathList::ClassPathChanged);
        QCOMPARE(list.RemoveSelected(), std::string()); // nothing selected
        QCOMPARE(changed.count(), 0);
        Select(list, 0);
        QCOMPARE(list.RemoveSelected(), std::string("/a/b.jar"));
        QCOMPARE(list.Text(), std::string("/c/d"));
        QCOMPARE(changed.count(), 1);
    }

    void compileDirectoryTogglesOnFoldersOnlyAndGoesWithItsRow() {
        CClassPathList list(host, true, nullptr);
        list.Fill("/a/b.jar:/c/d:/e");
        QSignalSpy compileDir(&list, &CClassPathList::CompileDirChanged);
        Select(list, 0);
        list.ToggleCompileDir(); // a jar: nothing
        QCOMPARE(compileDir.count(), 0);
        QCOMPARE(list.CompileDir(), std::string());

        Select(list, 1);
        list.ToggleCompileDir();
        QCOMPARE(list.CompileDir(), std::string("/c/d"));
        Select(list, 2);
        list.ToggleCompileDir(); // moves to the other folder
        QCOMPARE(Icons(list), (QList<int>{CClassPathList::ArchiveIcon, CClassPathList::FolderIcon,
                                          CClassPathList::CompileDirIcon}));
        list.ToggleCompileDir(); // again: unmarked
        QCOMPARE(list.CompileDir(), std::string());
        QCOMPARE(Icons(list).count(CClassPathList::CompileDirIcon), 0);

        list.ToggleCompileDir();
        QCOMPARE(list.RemoveSelected(), std::string("/e"));
        QCOMPARE(list.CompileDir(), std::string());
        QCOMPARE(compileDir.count(), 5);
        QCOMPARE(compileDir.last().at(0).toString(), QString());
    }

    void contextMenuByRowKind() {
        CClassPathList list(host, true, nullptr);
        list.Fill("/a/b.jar:/c/d", "/c/d");
        {
            QMenu menu;
            QCOMPARE(list.FillContextMenu(menu), false); // no selection: no menu
        }
        Select(list, 0);
        QMenu jar;
        QVERIFY(list.FillContextMenu(jar));
        QCOMPARE(Entries(jar), QStringList{"Remove"});
        Select(list, 1);
        QMenu folder;
        QVERIFY(list.FillContextMenu(folder));
        QCOMPARE(Entries(folder), (QStringList{"Remove", "Set as Compile Directory [x]"}));
        folder.actions().at(1)->trigger();
        QCOMPARE(list.CompileDir(), std::string());

        CClassPathList plain(host, false, nullptr);
        plain.Fill("/c/d", "/c/d");
        QCOMPARE(plain.CompileDir(), std::string());
        Select(plain, 0);
        QMenu menu;
        QVERIFY(plain.FillContextMenu(menu));
        QCOMPARE(Entries(menu), QStringList{"Remove"});
        plain.ToggleCompileDir();
        QCOMPARE(plain.CompileDir(), std::string());
    }

    void addAsksTheHostAndAppendsWhatWasChosen() {
        CClassPathList list(host, true, nullptr);
        list.Fill("/c/d");
        QSignalSpy changed(&list, &CClassPathList::ClassPathChanged);
        QCOMPARE(list.AddJar(), false); // cancelled
        QCOMPARE(list.AddFolder(), false);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(
            host.fileRequests.back().filter,
            std::string("Jar Files (*.jar)|*.jar|Zip Files (*.zip)|*zip|All Files (*.*)|*.*||"));
        QCOMPARE(host.folderRequests.back().first,
                 std::string("Locate folder to add to classpaths:"));

        host.fileAnswers.push_back({"/lib/x.jar"});
        host.folderAnswers.push_back("/my.classes");
        QVERIFY(list.AddJar());
        QVERIFY(list.AddFolder());
        QCOMPARE(list.Text(), std::string("/c/d:/lib/x.jar:/my.classes"));
        QCOMPARE(Icons(list), (QList<int>{CClassPathList::FolderIcon, CClassPathList::ArchiveIcon,
                                          CClassPathList::FolderIcon}));
        QCOMPARE(changed.count(), 2);
    }
};

QTEST_MAIN(ProjectClassPathListTest)
#include "ProjectClassPathListTest.moc"
