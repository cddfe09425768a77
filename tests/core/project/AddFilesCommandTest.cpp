#include "core/app/Settings.h"
#include "core/project/JavaProjectDoc.h"

#include "FakeUiHost.h"

#include <gtest/gtest.h>

using namespace tovin;
using tovin::test::CFakeUiHost;

namespace {

struct AddFilesCommand : ::testing::Test {
    CSettings settings;
    CFakeUiHost host;
    CJavaProjectDoc project{settings, host};
    int refreshes = 0;

    AddFilesCommand() {
        host.openAnyAs = EDocumentKind::JavaSource;
        project.SetRefreshCallback([this] { ++refreshes; });
    }
};

} // namespace

TEST_F(AddFilesCommand, AddsEverySelectedFileAndOpensThoseThatJoined) {
    project.AddFile("/p/A.java");
    project.SetModifiedFlag(false);
    host.fileAnswers.push_back({"/p/A.java", "/p/B.java", "/p/page.html", "/p/build.xml"});
    project.AddFilesCommand();

    ASSERT_EQ(host.fileRequests.size(), 1u);
    EXPECT_TRUE(host.fileRequests[0].multiSelect);
    EXPECT_FALSE(host.fileRequests[0].save);
    EXPECT_EQ(host.fileRequests[0].defaultExtension, "txt");
    EXPECT_EQ(host.fileRequests[0].filter,
              "Source Files (.java;.py;.html;.xml)|*.jav;*.java;*.py;*.html;*.xml|"
              "All Files (*.*)|*.*||");
    // A.java was already there, so it is not opened again; the page joins the free files.
    EXPECT_EQ(host.openedPaths,
              (std::vector<std::string>{"/p/B.java", "/p/page.html", "/p/build.xml"}));
    EXPECT_EQ(project.GetFullPath("B.java"), "/p/B.java");
    EXPECT_EQ(project.GetFreeFilePath("page.html"), "/p/page.html");
    EXPECT_TRUE(project.IsModified());
}

TEST_F(AddFilesCommand, SingleFileAlreadyInTheProjectChangesNothing) {
    project.AddFile("/p/A.java");
    project.SetModifiedFlag(false);
    refreshes = 0;
    host.fileAnswers.push_back({"/p/A.java"});
    project.AddFilesCommand();
    EXPECT_TRUE(host.openedPaths.empty());
    EXPECT_FALSE(project.IsModified());
    EXPECT_EQ(refreshes, 0);
}

TEST_F(AddFilesCommand, CancelChangesNothing) {
    project.AddFilesCommand();
    project.AddAppletPageCommand();
    EXPECT_EQ(host.fileRequests.size(), 2u);
    EXPECT_FALSE(project.IsModified());
}

TEST_F(AddFilesCommand, AppletPageGoesToTheFreeFilesWithItsMessages) {
    host.fileAnswers.push_back({"/p/page.htm"});
    host.fileAnswers.push_back({"/p/page.htm"});
    project.AddAppletPageCommand();
    project.AddAppletPageCommand();
    ASSERT_EQ(host.fileRequests.size(), 2u);
    EXPECT_EQ(host.fileRequests[0].defaultExtension, "html");
    EXPECT_EQ(host.fileRequests[0].filter, "HTML Files (*.htm;*.html)|*.htm;*.html||");
    EXPECT_EQ(project.GetFreeFilePath("page.htm"), "/p/page.htm");
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"File is already in project."});
}
