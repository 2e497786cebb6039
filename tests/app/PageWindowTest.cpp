// The tutorial page window on real widgets, over pages held in memory: its
// layout, showing and closing, what clicked links start (through the Shell
// recorder), include directives, timed redirections and dropped files.

#include "app/HtmlPageForm.h"
#include "app/KorvalithForm.h"
#include "html/HtmlPane.h"
#include "platform/Application.h"

#include "QStringPrinting.h"
#include "TestSupport.h"

#include <QGroupBox>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

const QString Docs = QStringLiteral("C:\\Korvalith\\Docs\\");

class PageWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        Files.SetCurrentFolder(QStringLiteral("C:\\Travail\\"));
        Form_Html = new TForm_Html();
        Form = Form_Html;
    }
    void TearDown() override
    {
        delete Form_Html;
        EXPECT_EQ(Form_Html, nullptr);
    }

    void AddPage(const QString& path, const std::string& html) { Files.AddFile(path, QByteArray::fromStdString(html)); }

    void ShowPage(const QString& path, const std::string& html)
    {
        AddPage(path, html);
        Form->PageFile = path;
        Form->resize(640, 480);
        Form->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form));
        Settle();
    }

    void Settle()
    {
        Form->htmlViewer->PaintPanel()->repaint();
        QCoreApplication::processEvents();
    }

    // A page holding one link, shown, and the link clicked as a learner
    // would.
    void ClickLink(const std::string& href)
    {
        const QString page = Docs + QStringLiteral("liens.htm");
        const std::string html = "<p><a href=\"" + href + "\">le lien a suivre</a></p><p>apres</p>";
        if (!Form->isVisible()) {
            ShowPage(page, html);
        } else {
            AddPage(page, html);
            Form->htmlViewer->LoadHtmlFile(page);
            Settle();
        }
        ClickText("lien");
    }

    void ClickText(const std::string& text)
    {
        THtmlPane* viewer = Form->htmlViewer;
        const int index = viewer->SectionList().FindText(0, text, true);
        ASSERT_GE(index, 0) << text;
        int x = 0;
        int y = 0;
        ASSERT_TRUE(viewer->SectionList().CharIndexToXY(index, x, y));
        const QPoint point(x + viewer->MarginWidth() + 2, y - viewer->VScrollPosition() + 4);
        QTest::mouseMove(viewer->PaintPanel(), point);
        QTest::mouseClick(viewer->PaintPanel(), Qt::LeftButton, {}, point);
    }

    bool PageContains(const std::string& text) { return Form->htmlViewer->SectionList().FindText(0, text, true) >= 0; }

    std::string PageText()
    {
        TSectionList& document = Form->htmlViewer->SectionList();
        document.SelB = 0;
        document.SelE = 1 << 20;
        std::string text = document.SelectionText();
        document.SelB = document.SelE = 0;
        return text;
    }

    TMemoryFileSystem Files { QStringLiteral("C:\\Korvalith\\") };
    TScopedFileSystem FilesInstalled { Files };
    TRecordingShell Recorder;
    TScopedShell ShellInstalled { Recorder };
    TRecordingDialogs Boxes;
    TScopedDialogs DialogsInstalled { Boxes };
    TForm_Html* Form = nullptr;
};

TEST_F(PageWindow, ComponentsAsDesigned)
{
    EXPECT_EQ(Form->Caption(), "Introduction au didacticiel");
    EXPECT_EQ(Form->Splitter2->width(), 3);
    EXPECT_EQ(Form->Splitter2->cursor().shape(), Qt::SplitHCursor);
    EXPECT_EQ(Form->GroupBoxHtml->title(), "");
    EXPECT_EQ(Form->HtmlViewerPanel->height(), 41);
    EXPECT_EQ(Form->Button_Sommaire->text(), "Sommaire général");
    EXPECT_EQ(Form->Button_Sommaire->geometry(), QRect(56, 5, 153, 28));
    EXPECT_EQ(Form->Button_Sommaire->font().pixelSize(), 16);
    EXPECT_EQ(Form->Button_SommaireDidacticiel->text(), "Sommaire didacticiel");
    EXPECT_EQ(Form->Button_SommaireDidacticiel->geometry(), QRect(248, 5, 153, 28));
    EXPECT_EQ(Form->Button_SommaireDidacticiel->nextInFocusChain(), Form->Button_Sommaire);

    const THtmlPane* viewer = Form->htmlViewer;
    EXPECT_TRUE(viewer->ViewImages());
    EXPECT_EQ(viewer->BorderStyle(), THTMLBorderStyle::htFocused);
    EXPECT_EQ(viewer->HistoryMaxCount(), 0);
    EXPECT_EQ(viewer->DefFontName(), "Times New Roman");
    EXPECT_EQ(viewer->DefPreFontName(), "Courier New");
    EXPECT_FALSE(viewer->NoSelect());
    EXPECT_TRUE(Form->acceptDrops());

    EXPECT_EQ(Form->MetaTimer->interval(), 1000);
    EXPECT_TRUE(Form->MetaTimer->isActive());
}

TEST_F(PageWindow, EachShowingLoadsThePageFileAndAMissingOneIsReported)
{
    ShowPage(Docs + QStringLiteral("un.htm"), "<p>page un</p>");
    EXPECT_EQ(Form->htmlViewer->ShownFile(), Docs + QStringLiteral("un.htm"));

    Form->hide();
    AddPage(Docs + QStringLiteral("deux.htm"), "<p>page deux</p>");
    Form->PageFile = Docs + QStringLiteral("deux.htm");
    Form->Show();
    EXPECT_TRUE(PageContains("page deux"));

    Form->hide();
    Form->PageFile = Docs + QStringLiteral("absent.htm");
    Form->Show();
    EXPECT_TRUE(Form->isVisible()) << "the showing goes on";
    ASSERT_EQ(Boxes.Shown.size(), 1);
    EXPECT_EQ(Boxes.Shown[0].Kind, "error");
    EXPECT_EQ(Boxes.Shown[0].Text, "Can't locate file: " + Docs + "absent.htm");
    EXPECT_TRUE(PageContains("page deux")) << "the previous page stays";
}

TEST_F(PageWindow, SommaireDidacticielClosesBackToTheTableOfContents)
{
    auto* contents = new TForm();
    contents->hide();
    Form->ReturnWindow = contents;
    ShowPage(Docs + QStringLiteral("un.htm"), "<p>page un</p>");

    QTest::mouseClick(Form->Button_SommaireDidacticiel, Qt::LeftButton);
    EXPECT_FALSE(Form->isVisible());
    EXPECT_FALSE(Form->MetaTimer->isActive());
    EXPECT_TRUE(contents->isVisible());
    EXPECT_EQ(contents->WindowState(), TWindowState::wsMaximized);
    delete contents;
}

TEST_F(PageWindow, SommaireGeneralShowsTheMainWindowAndThePageStays)
{
    Form_Korvalith = new TForm_Korvalith();
    ShowPage(Docs + QStringLiteral("un.htm"), "<p>page un</p>");
    QTest::mouseClick(Form->Button_Sommaire, Qt::LeftButton);
    EXPECT_TRUE(Form_Korvalith->isVisible());
    EXPECT_EQ(Form_Korvalith->WindowState(), TWindowState::wsMaximized);
    EXPECT_TRUE(Form->isVisible());
    delete Form_Korvalith;
    Form_Korvalith = nullptr;
}

TEST_F(PageWindow, ClickedSoundsAndProgramsGoToTheShell)
{
    ClickLink("C:\\Sons\\cloche.wav");
    ClickLink("file:///c|/sons/Gong.Wav");
    ClickLink("carillon.WAV");
    ClickLink("outils/calcul.exe un deux");
    ASSERT_EQ(Recorder.Requests.size(), 4);
    EXPECT_EQ(Recorder.Requests[0].Kind, "play");
    EXPECT_EQ(Recorder.Requests[0].Target, "C:\\Sons\\cloche.wav");
    EXPECT_EQ(Recorder.Requests[1].Kind, "play");
    EXPECT_EQ(Recorder.Requests[1].Target, "c:\\sons\\gong.wav");
    EXPECT_EQ(Recorder.Requests[2].Target, Docs + "carillon.WAV") << "relative to the page's folder";
    EXPECT_EQ(Recorder.Requests[3].Kind, "start");
    EXPECT_EQ(Recorder.Requests[3].Target, Docs + "outils\\calcul.exe");
    EXPECT_EQ(Recorder.Requests[3].Arguments, QStringList({ "un", "deux" }));
    EXPECT_EQ(Form->htmlViewer->ShownFile(), Docs + "liens.htm") << "handled links are not followed";
}

TEST_F(PageWindow, AddressesReachTheShellOnlyForTheirOwnWebOrMailScheme)
{
    ClickLink("mailto:eleve@ecole.fr");
    ClickLink("https://www.exemple.fr/");
    ClickLink("javascript:ouvrir('HTTP://www.exemple.fr')");
    ASSERT_EQ(Recorder.Requests.size(), 1);
    EXPECT_EQ(Recorder.Requests[0].Kind, "open");
    EXPECT_EQ(Recorder.Requests[0].Target, "mailto:eleve@ecole.fr");
    EXPECT_TRUE(Boxes.Shown.isEmpty());
}

TEST_F(PageWindow, PagesAndAnchorsAreLeftToTheViewer)
{
    // Handled stays false: what the viewer makes of a query is its own
    // affair, but nothing is started.
    AddPage(Docs + QStringLiteral("suite.htm"), "<p>la suite</p>");
    ClickLink("suite.htm?partie=2");
    Files.AddFile(Docs + QStringLiteral("Images\\logo.bmp"), "BM");
    ClickLink("Images/logo.bmp");
    EXPECT_EQ(Form->htmlViewer->ShownFile().compare(Docs + "Images\\logo.bmp", Qt::CaseInsensitive), 0)
        << "the viewer shows the picture";
    EXPECT_EQ(Form->htmlViewer->ShownFileKind(), 2);

    const QString page = Docs + QStringLiteral("long.htm");
    std::string html = "<p><a href=\"#bas\">vers le bas</a></p>";
    for (int i = 0; i < 80; ++i)
        html += "<p>ligne " + std::to_string(i) + "</p>";
    html += "<a name=\"bas\"></a><p>fin</p>";
    AddPage(page, html);
    Form->htmlViewer->LoadHtmlFile(page);
    Settle();
    ClickText("vers");
    EXPECT_GT(Form->htmlViewer->VScrollPosition(), 0);
    EXPECT_EQ(Form->htmlViewer->ShownFile(), page);
    EXPECT_TRUE(Recorder.Requests.isEmpty());
}

TEST_F(PageWindow, IncludesInsertTheDateTheTimeAndFilesFromTheCurrentFolder)
{
    Files.AddFile(QStringLiteral("C:\\Travail\\pied.txt"), "contenu du pied");
    ShowPage(Docs + QStringLiteral("inclus.htm"),
        "<p>[<!--#date-->] [<!--#Date-->] [<!--#TIME-->]</p>"
        "<p>(<!--#include file=\"pied.txt\"-->)</p>"
        "<p>(<!--#include file=\"absent.txt\"-->) (<!--#include virtual=\"pied.txt\"-->) (<!--#echo-->)</p>");
    const std::string date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
    const std::string text = PageText();
    EXPECT_NE(text.find("[" + date + "] [" + date + "] ["), std::string::npos) << text;
    EXPECT_TRUE(QRegularExpression(QStringLiteral("\\] \\[[^\\]]*\\d+:\\d\\d:\\d\\d"))
                    .match(QString::fromStdString(text))
                    .hasMatch())
        << text;
    EXPECT_NE(text.find("(contenu du pied)"), std::string::npos) << text;
    EXPECT_NE(text.find("() () ()"), std::string::npos) << text;
    ASSERT_NE(Form->IncludeStream, nullptr);
}

TEST_F(PageWindow, AnIncludeHandlerAnswerForEachCommand)
{
    Files.AddFile(QStringLiteral("C:\\Travail\\bloc.htm"), "<b>bloc</b>");
    auto answer = [&](const QString& command, std::initializer_list<QString> lines) {
        auto params = std::make_unique<TStringList>();
        for (const QString& line : lines)
            params->Add(line);
        QByteArray buffer;
        int size = -1;
        Form->htmlViewerInclude(command, std::move(params), buffer, size);
        return buffer.left(size);
    };
    EXPECT_EQ(answer("include", { "FILE=\"bloc.htm" }), "<b>bloc</b>") << "the name runs to the end of the line";
    EXPECT_EQ(*Form->IncludeStream, "<b>bloc</b>");
    EXPECT_EQ(answer("Include", {}), "");
    EXPECT_EQ(answer("Include", { "FILE=\"absent.htm\"" }), "");
    EXPECT_EQ(answer("date", {}).size(), answer("DATE", { "FILE=\"bloc.htm\"" }).size());
    EXPECT_EQ(answer("flastmod", { "FILE=\"bloc.htm\"" }), "");
}

TEST_F(PageWindow, ARefreshHappensOnceAndOnlyOnTheSamePage)
{
    AddPage(QStringLiteral("C:\\Travail\\arrivee.htm"), "<p>arrivee</p>");
    const QString start = Docs + QStringLiteral("depart.htm");
    ShowPage(start, "<meta http-equiv=\"refresh\" content=\"3; URL=arrivee.htm\"><p>depart</p>");
    EXPECT_EQ(Form->RefreshTarget, "arrivee.htm");
    EXPECT_EQ(Form->RefreshOrigin, start);
    EXPECT_EQ(Form->MetaTimer->interval(), 3000);
    EXPECT_TRUE(Form->MetaTimer->isActive());

    Form->MetaTimerTimer();
    EXPECT_FALSE(Form->MetaTimer->isActive());
    EXPECT_EQ(Form->htmlViewer->ShownFile(), "C:\\Travail\\arrivee.htm") << "from the current folder";

    // The learner moved on before the timer fired: nothing happens.
    Form->htmlViewer->LoadHtmlFile(start);
    AddPage(Docs + QStringLiteral("autre.htm"), "<p>autre</p>");
    Form->htmlViewer->LoadHtmlFile(Docs + QStringLiteral("autre.htm"));
    Form->MetaTimerTimer();
    EXPECT_EQ(Form->htmlViewer->ShownFile(), Docs + QStringLiteral("autre.htm"));
}

TEST_F(PageWindow, RefreshRequestsThatCannotHappenLeaveTheTimerAlone)
{
    ShowPage(Docs + QStringLiteral("un.htm"), "<p>un</p>");
    AddPage(QStringLiteral("C:\\Travail\\cible.htm"), "<p>cible</p>");
    Form->MetaTimer->stop();

    Form->htmlViewerMetaRefresh(nullptr, 5, "manquante.htm");
    EXPECT_EQ(Form->RefreshTarget, "manquante.htm");
    EXPECT_TRUE(Form->RefreshOrigin.isEmpty());
    EXPECT_FALSE(Form->MetaTimer->isActive());

    // 2,147,484 seconds are more milliseconds than 32 bits hold.
    Form->htmlViewerMetaRefresh(nullptr, 2147484, "cible.htm");
    EXPECT_EQ(Form->MetaTimer->interval(), 1000);
    EXPECT_FALSE(Form->MetaTimer->isActive());

    Form->htmlViewerMetaRefresh(nullptr, 1, "cible.htm");
    EXPECT_EQ(Form->MetaTimer->interval(), 1000);
    EXPECT_TRUE(Form->MetaTimer->isActive());
}

TEST_F(PageWindow, APendingRefreshWaitsWhileTheWindowIsClosed)
{
    AddPage(QStringLiteral("C:\\Travail\\arrivee.htm"), "<p>arrivee</p>");
    const QString start = Docs + QStringLiteral("depart.htm");
    ShowPage(start, "<meta http-equiv=\"refresh\" content=\"1;url=arrivee.htm\"><p>depart</p>");
    Form->Close();
    EXPECT_FALSE(Form->MetaTimer->isActive());
    QTest::qWait(1300);
    EXPECT_EQ(Form->htmlViewer->ShownFile(), start);

    // Shown again, the page requests it anew and the timer fires by itself.
    Form->Show();
    EXPECT_TRUE(QTest::qWaitFor([&]() { return Form->htmlViewer->ShownFile() == "C:\\Travail\\arrivee.htm"; }, 3000));
    EXPECT_FALSE(Form->MetaTimer->isActive());
}

TEST_F(PageWindow, WithoutARefreshTheTimerFiresOnceForNothing)
{
    ShowPage(Docs + QStringLiteral("un.htm"), "<p>un</p>");
    EXPECT_TRUE(QTest::qWaitFor([&]() { return !Form->MetaTimer->isActive(); }, 3000));
    EXPECT_EQ(Form->htmlViewer->ShownFile(), Docs + QStringLiteral("un.htm"));
    EXPECT_TRUE(Boxes.Shown.isEmpty());
}

TEST_F(PageWindow, OnlyTheFirstDroppedFileIsShownByItsLowerCaseExtension)
{
    ShowPage(Docs + QStringLiteral("un.htm"), "<p>un</p>");
    AddPage(QStringLiteral("C:\\Bureau\\Page.HTM"), "<p>deposee</p>");
    AddPage(QStringLiteral("C:\\Bureau\\notes.txt"), "des notes");
    AddPage(QStringLiteral("C:\\Bureau\\autre.htm"), "<p>autre</p>");
    Files.AddFile(QStringLiteral("C:\\Bureau\\lettre.doc"), "doc");

    Form->FilesDropped({ QStringLiteral("C:\\Bureau\\Page.HTM"), QStringLiteral("C:\\Bureau\\autre.htm") });
    EXPECT_EQ(Form->htmlViewer->ShownFile(), "C:\\Bureau\\Page.HTM");
    EXPECT_EQ(Form->htmlViewer->ShownFileKind(), 0);

    Form->FilesDropped({ QStringLiteral("C:\\Bureau\\notes.txt") });
    EXPECT_EQ(Form->htmlViewer->ShownFileKind(), 1);

    Files.AddFile(QStringLiteral("C:\\Bureau\\Photo.JPEG"), "pas une vraie image");
    Form->FilesDropped({ QStringLiteral("C:\\Bureau\\Photo.JPEG") });
    EXPECT_EQ(Form->htmlViewer->ShownFileKind(), 2);

    Form->FilesDropped({ QStringLiteral("C:\\Bureau\\lettre.doc") });
    Form->FilesDropped({ QString() });
    Form->FilesDropped({});
    EXPECT_EQ(Form->htmlViewer->ShownFile(), "C:\\Bureau\\Photo.JPEG");
}

TEST_F(PageWindow, ADesktopDropDeliversItsFirstFile)
{
    ShowPage(Docs + QStringLiteral("un.htm"), "<p>un</p>");
    AddPage(QStringLiteral("/bureau/image.JPEG.htm"), "<p>deposee</p>");
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(QStringLiteral("/bureau/image.JPEG.htm")),
        QUrl::fromLocalFile(QStringLiteral("/bureau/autre.txt")) });
    const QPoint centre = Form->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Form, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Form, &drop);
    EXPECT_EQ(Form->htmlViewer->ShownFile(), "/bureau/image.JPEG.htm");
    EXPECT_TRUE(PageContains("deposee"));
}

} // namespace
