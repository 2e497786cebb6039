// Include directives and refresh delays as the page window reads them: the
// file name of an include, which files are read, and which delays are
// accepted.

#include "app/PageDirectives.h"

#include "QStringPrinting.h"
#include "TestSupport.h"
#include "platform/StringList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

std::unique_ptr<TStringList> Params(std::initializer_list<const char*> lines)
{
    auto list = std::make_unique<TStringList>();
    for (const char* line : lines)
        list->Add(QString::fromLatin1(line));
    return list;
}

} // namespace

TEST(PageDirectives, CommandsCompareWithoutRegardToCase)
{
    EXPECT_EQ(IncludeCommandOf("date"), TIncludeCommand::Date);
    EXPECT_EQ(IncludeCommandOf("TIME"), TIncludeCommand::Time);
    EXPECT_EQ(IncludeCommandOf("include"), TIncludeCommand::Include);
    EXPECT_EQ(IncludeCommandOf("Includes"), TIncludeCommand::Other);
    EXPECT_EQ(IncludeCommandOf(""), TIncludeCommand::Other);
}

TEST(PageDirectives, TheIncludedNameRunsFromTheQuoteToTheNextOne)
{
    EXPECT_EQ(IncludedFileName(*Params({ "FILE=\"bas de page.htm\"" })), "bas de page.htm");
    EXPECT_EQ(IncludedFileName(*Params({ "FILE=\"sans-fin.txt" })), "sans-fin.txt") << "no closing quote";
    EXPECT_EQ(IncludedFileName(*Params({ "FILE=\"\"" })), "");
    EXPECT_EQ(IncludedFileName(*Params({ "VIRTUAL=\"x.htm\"", "FILE=\"y.htm\"" })), "") << "first line only";
    EXPECT_EQ(IncludedFileName(*Params({})), "");
    EXPECT_EQ(IncludedFileName(*Params({ (std::string("FILE=\"") + std::string(400, 'n')).c_str() })).size(), 255);
}

TEST(PageDirectives, DateAndTimeUseTheSystemFormats)
{
    // Read twice around the call, in case the date changes in between.
    const QString before = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    const QByteArray date = DateText();
    const QString after = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    EXPECT_TRUE(date == before.toLatin1() || date == after.toLatin1()) << date.constData();
    EXPECT_FALSE(TimeText().isEmpty());
    EXPECT_LE(TimeText().size(), MaxDateTimeLength);
}

TEST(PageDirectives, IncludedFilesComeFromTheCurrentFolderUpToTheSizeLimit)
{
    TMemoryFileSystem files(QStringLiteral("C:\\Korvalith\\"));
    files.SetCurrentFolder(QStringLiteral("C:\\Travail\\"));
    TScopedFileSystem installed(files);
    files.AddFile(QStringLiteral("C:\\Travail\\pied.htm"), "<b>pied</b>");
    files.AddFile(QStringLiteral("C:\\Korvalith\\Docs\\pied.htm"), "ailleurs");

    QByteArray contents;
    ASSERT_TRUE(ReadIncludedFile(QStringLiteral("pied.htm"), contents));
    EXPECT_EQ(contents, "<b>pied</b>");
    EXPECT_FALSE(ReadIncludedFile(QStringLiteral("absent.htm"), contents));
    EXPECT_FALSE(ReadIncludedFile(QString(), contents));

    files.AddFile(QStringLiteral("C:\\Travail\\juste.bin"), QByteArray(MaxIncludeFileSize, 'x'));
    EXPECT_TRUE(ReadIncludedFile(QStringLiteral("juste.bin"), contents));
    files.AddFile(QStringLiteral("C:\\Travail\\gros.bin"), QByteArray(MaxIncludeFileSize + 1, 'x'));
    EXPECT_FALSE(ReadIncludedFile(QStringLiteral("gros.bin"), contents));
}

TEST(PageDirectives, OnlyRegularFilesAreIncluded)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString pipe = folder.filePath(QStringLiteral("tube"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("dossier")));

    QByteArray contents;
    // Reading a pipe with no writer would block for ever.
    EXPECT_FALSE(ReadIncludedFile(pipe, contents));
    EXPECT_FALSE(ReadIncludedFile(folder.filePath(QStringLiteral("dossier")), contents));
    EXPECT_FALSE(ReadIncludedFile(QStringLiteral("/dev/zero"), contents));
}

TEST(PageDirectives, RefreshDelaysWhoseMillisecondsOverflowAreRefused)
{
    EXPECT_EQ(RefreshIntervalMs(1), 1000);
    EXPECT_EQ(RefreshIntervalMs(2147483), 2147483000);
    EXPECT_EQ(RefreshIntervalMs(2147484), std::nullopt);
    EXPECT_EQ(RefreshIntervalMs(0), std::nullopt);
    EXPECT_EQ(RefreshIntervalMs(-5), std::nullopt);
}
