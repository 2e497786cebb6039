// The link rules of the page window on their own: which texts are local
// files, how names and parameters split, what each kind of file starts, and
// which addresses reach the desktop.

#include "app/LinkDispatch.h"

#include "QStringPrinting.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

// Stands for the viewer's ExpandLinkName: remembers the names asked for and
// puts a page folder in front of relative ones.
class TExpandRecorder {
public:
    QString operator()(const std::string& name)
    {
        Names.push_back(name);
        const QString text = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())).trimmed();
        if (text.size() >= 2 && text.at(1) == QLatin1Char(':'))
            return text;
        return QStringLiteral("C:\\Korvalith\\Docs\\") + text;
    }
    std::vector<std::string> Names;
};

class LinkDispatch : public ::testing::Test {
protected:
    TLinkAction Classify(const std::string& link)
    {
        return ClassifyLink(link, [this](const std::string& name) { return Expand(name); });
    }
    bool Dispatch(const std::string& link)
    {
        return DispatchLink(link, [this](const std::string& name) { return Expand(name); });
    }

    TExpandRecorder Expand;
    TRecordingShell Recorder;
    TScopedShell Installed { Recorder };
    TMemoryFileSystem Files { QStringLiteral("C:\\Korvalith\\") };
    TScopedFileSystem FilesInstalled { Files };
};

TEST_F(LinkDispatch, DriveLettersAndTheFileSchemeInAnyCaseAreLocalFiles)
{
    TLinkAction drive = Classify("C:\\Sons\\cloche.wav");
    EXPECT_EQ(drive.Kind, TLinkActionKind::PlaySound);
    EXPECT_EQ(drive.Target, "C:\\Sons\\cloche.wav");

    // The whole link goes to the expansion, which turns the URL into a path.
    Expand.Names.clear();
    Classify("file:///c|/sons/cloche.wav");
    ASSERT_EQ(Expand.Names.size(), 1u);
    EXPECT_EQ(Expand.Names[0], "file:///c|/sons/cloche.wav");

    EXPECT_EQ(Classify("Son.WaV").Kind, TLinkActionKind::PlaySound) << "extensions compare in upper case";
    EXPECT_EQ(Classify("Son.WaV").Target, "C:\\Korvalith\\Docs\\Son.WaV");
}

TEST_F(LinkDispatch, AnchorsPagesAndImagesAreLeftToTheViewer)
{
    for (const char* link : { "#chapitres", "Introduction.htm", "Images/logo.bmp", "notes.txt", "x:" }) {
        SCOPED_TRACE(link);
        EXPECT_EQ(Classify(link).Kind, TLinkActionKind::LeaveToViewer);
        EXPECT_FALSE(Dispatch(link));
    }
    EXPECT_TRUE(Recorder.Requests.isEmpty());
}

TEST_F(LinkDispatch, ABlankOrElseAQuestionMarkStartsTheParameters)
{
    Expand.Names.clear();
    TLinkAction program = Classify("outils\\calcul.exe un deux");
    EXPECT_EQ(Expand.Names.at(0), "outils\\calcul.exe");
    EXPECT_EQ(program.Kind, TLinkActionKind::StartProgram);
    EXPECT_EQ(program.Target, "C:\\Korvalith\\Docs\\outils\\calcul.exe");
    EXPECT_EQ(program.Arguments, QStringList({ "un", "deux" }));

    Expand.Names.clear();
    TLinkAction page = Classify("Suite.htm?section=2&x=1");
    EXPECT_EQ(Expand.Names.at(0), "Suite.htm");
    EXPECT_EQ(page.Kind, TLinkActionKind::LeaveToViewer);

    // The blank wins over an earlier question mark.
    Expand.Names.clear();
    Classify("a?b.exe c");
    EXPECT_EQ(Expand.Names.at(0), "a?b.exe");
}

TEST_F(LinkDispatch, ProgramParametersAreSeparateArgumentsThatNoShellSees)
{
    ASSERT_TRUE(Dispatch("calcul.exe \"deux mots\" ; rm -rf / | tee $(x)"));
    ASSERT_EQ(Recorder.Requests.size(), 1);
    const TRecordingShell::TRequest& start = Recorder.Requests[0];
    EXPECT_EQ(start.Kind, "start");
    EXPECT_EQ(start.Target, "C:\\Korvalith\\Docs\\calcul.exe");
    EXPECT_EQ(start.Arguments, QStringList({ "deux mots", ";", "rm", "-rf", "/", "|", "tee", "$(x)" }));

    Recorder.Requests.clear();
    ASSERT_TRUE(Dispatch("calcul.exe"));
    EXPECT_TRUE(Recorder.Requests.at(0).Arguments.isEmpty());
}

TEST_F(LinkDispatch, OnlyTheFirst255CharactersOfALocalLinkCount)
{
    // The extension lies past the limit: the cut name is a plain file.
    const std::string longName = std::string(260, 'a') + ".wav";
    EXPECT_EQ(Classify(longName).Kind, TLinkActionKind::LeaveToViewer);

    const std::string longParameters = "p.exe " + std::string(300, 'x');
    const TLinkAction program = Classify(longParameters);
    ASSERT_EQ(program.Arguments.size(), 1);
    EXPECT_EQ(program.Arguments[0].size(), 255 - 6);
}

TEST_F(LinkDispatch, MediaFilesGoToThePlayerOrElseToTheDesktop)
{
    ASSERT_TRUE(Dispatch("film.AVI"));
    ASSERT_EQ(Recorder.Requests.size(), 1);
    EXPECT_EQ(Recorder.Requests[0].Kind, "start");
    EXPECT_EQ(Recorder.Requests[0].Target, "MPlayer.exe");
    EXPECT_EQ(Recorder.Requests[0].Arguments, QStringList({ "/play", "/close", "C:\\Korvalith\\Docs\\film.AVI" }));

    // No player: an existing file goes to the desktop's default handler.
    Recorder.StartAnswer = false;
    Recorder.Requests.clear();
    Files.AddFile(QStringLiteral("C:\\Korvalith\\Docs\\air.mid"), "MThd");
    ASSERT_TRUE(Dispatch("air.mid"));
    ASSERT_EQ(Recorder.Requests.size(), 2);
    EXPECT_EQ(Recorder.Requests[1].Kind, "open");
    EXPECT_EQ(Recorder.Requests[1].Target, Files.NativePath(QStringLiteral("C:\\Korvalith\\Docs\\air.mid")));

    // A missing file is not handed over.
    Recorder.Requests.clear();
    EXPECT_TRUE(Dispatch("absent.mid"));
    ASSERT_EQ(Recorder.Requests.size(), 1);
    EXPECT_EQ(Recorder.Requests[0].Kind, "start");
}

TEST_F(LinkDispatch, OnlyWebAndMailAddressesReachTheDesktopAsWritten)
{
    ASSERT_TRUE(Dispatch("mailto:eleve@ecole.fr"));
    ASSERT_TRUE(Dispatch("HTTP://www.exemple.fr/page.htm"));
    ASSERT_EQ(Recorder.Requests.size(), 2);
    EXPECT_EQ(Recorder.Requests[0].Kind, "open");
    EXPECT_EQ(Recorder.Requests[0].Target, "mailto:eleve@ecole.fr");
    EXPECT_EQ(Recorder.Requests[1].Target, "HTTP://www.exemple.fr/page.htm");

    Recorder.Requests.clear();
    // The secure scheme has a letter before its colon; the others merely
    // contain a web scheme further on.
    for (const char* link : { "https://www.exemple.fr/", "javascript:window.open('HTTP://x')", "news:fr.comp",
             "xmailto:a@b", " http://espace.fr" }) {
        SCOPED_TRACE(link);
        EXPECT_EQ(Classify(link).Kind, TLinkActionKind::LeaveToViewer);
        EXPECT_FALSE(Dispatch(link));
    }
    EXPECT_TRUE(Recorder.Requests.isEmpty());
}

} // namespace
