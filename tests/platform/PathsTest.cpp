#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(Paths, PartsOfWindowsFormPaths)
{
    EXPECT_EQ(ExtractFilePath("C:\\Prog\\Docs\\Intro.htm"), "C:\\Prog\\Docs\\");
    EXPECT_EQ(ExtractFilePath("/usr/bin/Docs/a.htm"), "/usr/bin/Docs/");
    EXPECT_EQ(ExtractFilePath("C:Intro.htm"), "C:");
    EXPECT_EQ(ExtractFilePath("Intro.htm"), "");
    EXPECT_EQ(ExtractFileName("/x\\y/Intro.HTM"), "Intro.HTM");
    EXPECT_EQ(ExtractFileExt("a\\b.c\\Intro.HTM"), ".HTM");
    EXPECT_EQ(ExtractFileExt("a.d\\Intro"), "");
    EXPECT_TRUE(IsAbsolutePath("c:\\x"));
    EXPECT_TRUE(IsAbsolutePath("/x"));
    EXPECT_FALSE(IsAbsolutePath("x\\y"));
}

TEST(Paths, ExpandFileNameFoldsDotsAgainstItsBase)
{
    EXPECT_EQ(ExpandFileName("Docs\\..\\Images\\.\\a.gif", "C:\\Prog\\"), "C:\\Prog\\Images\\a.gif");
    EXPECT_EQ(ExpandFileName("..\\..\\..\\a.gif", "C:\\Prog\\"), "C:\\a.gif");
    EXPECT_EQ(ExpandFileName("D:\\x\\y.htm", "C:\\Prog\\"), "D:\\x\\y.htm");
    EXPECT_EQ(ExpandFileName("b/c.htm", "/base/dir/"), "/base/dir/b/c.htm");
}

class NativeFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Folder.isValid());
        ASSERT_TRUE(QDir(Folder.path()).mkpath("Docs/Images"));
        QFile file(Folder.path() + "/Docs/Images/Logo.GIF");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("GIF89a");
    }
    // The folder as a program path with a drive prefix and '\' separators.
    QString WindowsForm() const { return "C:" + QString(Folder.path()).replace('/', '\\'); }

    QTemporaryDir Folder;
    TNativeFileSystem Files;
};

TEST_F(NativeFiles, MixedSeparatorsAndCaseFindTheFile)
{
    const QString expected = Folder.path() + "/Docs/Images/Logo.GIF";
    EXPECT_EQ(Files.NativePath(Folder.path() + "\\docs/IMAGES\\logo.gif"), expected);
    EXPECT_EQ(Files.NativePath(WindowsForm() + "\\DOCS\\images\\LOGO.gif"), expected);
    EXPECT_TRUE(Files.FileExists(WindowsForm() + "\\docs\\images\\logo.gif"));
    QByteArray data;
    ASSERT_TRUE(Files.ReadFile(WindowsForm() + "\\Docs\\Images\\Logo.GIF", data));
    EXPECT_EQ(data, "GIF89a");
    EXPECT_EQ(Files.FileSize(Folder.path() + "/docs/images/logo.gif"), 6);
}

TEST_F(NativeFiles, MissingFilesFoldersAndLimitsAreRefused)
{
    QByteArray data = "untouched";
    EXPECT_FALSE(Files.FileExists(WindowsForm() + "\\Docs\\Missing.htm"));
    EXPECT_FALSE(Files.ReadFile(WindowsForm() + "\\Docs\\Missing.htm", data));
    EXPECT_FALSE(Files.FileExists(WindowsForm() + "\\Docs"));
    EXPECT_FALSE(Files.ReadFile(WindowsForm() + "\\Docs", data));
    EXPECT_FALSE(Files.ReadFile(WindowsForm() + "\\Docs\\Images\\Logo.GIF", data, 5));
    EXPECT_EQ(data, "untouched");
    EXPECT_FALSE(Files.FileExists(""));
    EXPECT_FALSE(Files.FileExists("/dev/null"));
    // A missing component keeps its own spelling.
    EXPECT_EQ(Files.NativePath(Folder.path() + "/docs/Nope/x.htm"), Folder.path() + "/Docs/Nope/x.htm");
}

TEST(FileSystemBoundary, ProgramFolderEndsWithASeparatorAndDoublesInstall)
{
    EXPECT_TRUE(FileSystem().ProgramFolder().endsWith('/'));
    TMemoryFileSystem memory("C:\\Prog\\");
    memory.AddFile("C:\\Prog\\Docs\\Intro.htm", "<p>");
    {
        TScopedFileSystem installed(memory);
        EXPECT_EQ(FileSystem().ProgramFolder(), "C:\\Prog\\");
        EXPECT_TRUE(FileSystem().FileExists("c:/prog/docs/INTRO.htm"));
        EXPECT_TRUE(FileSystem().FileExists("Docs\\Intro.htm")); // relative to the current folder
        EXPECT_FALSE(FileSystem().FileExists("C:\\Prog\\Docs"));
    }
    EXPECT_NE(FileSystem().ProgramFolder(), "C:\\Prog\\");
}

TEST(Shell, CommandLinesSplitWithoutAShell)
{
    EXPECT_EQ(SplitCommandLine("prog.exe a b"), QStringList({"prog.exe", "a", "b"}));
    EXPECT_EQ(SplitCommandLine("  \"C:\\My Prog\\p.exe\"  \"x y\" z "), QStringList({"C:\\My Prog\\p.exe", "x y", "z"}));
    EXPECT_EQ(SplitCommandLine("p \"\" \"say \"\"hi\"\"\""), QStringList({"p", "", "say \"hi\""}));
    EXPECT_EQ(SplitCommandLine("p ;rm -rf $(x) | y"), QStringList({"p", ";rm", "-rf", "$(x)", "|", "y"}));
    EXPECT_TRUE(SplitCommandLine("   ").isEmpty());
}
