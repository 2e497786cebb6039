// The tutorial pages as shipped: chapter 1 reached from the table of
// contents in the page window, the explanations of chapter 2 in a window as
// wide as the information window, and the pages' own links, anchors and
// pictures.

#include "app/InformationForm.h"
#include "html/HtmlPane.h"
#include "html/HtmlSupport.h"
#include "platform/Paths.h"

#include "TutorialFixture.h"

#include <QRegularExpression>

namespace {

using TutorialPages = TTutorialFixture;

TEST_F(TutorialPages, ChapterOneOpensTheIntroductionMaximisedAndComesBack)
{
    TForm_SommaireViewer* toc = Form_SommaireViewer;
    PressChapter(0);
    ASSERT_NE(Form_Html, nullptr);
    TForm_Html* page = Form_Html;
    EXPECT_EQ(page->PageFile, DocsFolder() + "Introduction.htm");
    EXPECT_EQ(page->ReturnWindow, toc);
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(page->WindowState(), TWindowState::wsMaximized);
    EXPECT_FALSE(toc->isVisible());
    EXPECT_TRUE(page->htmlViewer->ShownFile().endsWith(QStringLiteral("Introduction.htm")));
    EXPECT_EQ(page->htmlViewer->PageTitle(), "Introduction au didacticiel");
    EXPECT_TRUE(Boxes.Shown.isEmpty());

    QTest::mouseClick(page->Button_SommaireDidacticiel, Qt::LeftButton);
    EXPECT_FALSE(page->isVisible());
    EXPECT_TRUE(toc->isVisible());
    EXPECT_EQ(toc->WindowState(), TWindowState::wsMaximized);

    PressChapter(0);
    EXPECT_EQ(Form_Html, page) << "one page window, reused";
    EXPECT_TRUE(page->isVisible());
}

// Every HREF and SRC of a shipped page.
QStringList References(const QString& page, const char* attribute)
{
    QByteArray html;
    EXPECT_TRUE(FileSystem().ReadFile(page, html));
    const QRegularExpression pattern(
        QStringLiteral("%1=\"([^\"]*)\"").arg(QLatin1String(attribute)), QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    for (const QRegularExpressionMatch& match : pattern.globalMatch(QString::fromLatin1(html)))
        found.append(match.captured(1));
    return found;
}

bool ImageShows(THtmlPane& viewer, const QString& path)
{
    viewer.LoadImageFile(path);
    for (TObject* item : viewer.SectionList())
        if (auto* section = dynamic_cast<TSection*>(item))
            for (TObject* image : section->Images)
                return !static_cast<TImageObj*>(image)->IsPlaceholder();
    return false;
}

TEST(TutorialContent, EveryLinkLeadsSomewhereAndEveryPictureShows)
{
    THtmlPane viewer;
    viewer.resize(640, 480);
    for (const char* name : { "Introduction.htm", "VisualisationEspaceDeCalcul.htm" }) {
        const QString page = DocsFolder() + QLatin1String(name);
        SCOPED_TRACE(name);
        const QStringList links = References(page, "HREF");
        EXPECT_FALSE(links.isEmpty());
        viewer.LoadHtmlFile(page);
        for (const QString& link : links) {
            SCOPED_TRACE(link.toStdString());
            if (link.startsWith(QLatin1Char('#')))
                EXPECT_GE(viewer.NameList().IndexOf(link.mid(1).toUpper()), 0) << "the anchor exists";
            else
                EXPECT_TRUE(FileSystem().FileExists(viewer.ExpandLinkName(QStringToWin1252(link))));
        }
        const QStringList pictures = References(page, "SRC");
        for (const QString& picture : pictures) {
            SCOPED_TRACE(picture.toStdString());
            const QString path = ExpandFileName(Win1252ToQString(UrlToPath(QStringToWin1252(picture))), DocsFolder());
            EXPECT_TRUE(ImageShows(viewer, path));
        }
        viewer.LoadHtmlFile(page);
    }
}

TEST(TutorialContent, TheExplanationsFitTheInformationWindowsWidth)
{
    TForm_Information information;
    information.resize(436, 521);
    information.PageFile = DocsFolder() + "VisualisationEspaceDeCalcul.htm";
    information.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&information));
    THtmlPane* viewer = information.htmlInformation;
    EXPECT_FALSE(viewer->HScrollBar()->isVisible()) << "widest line " << viewer->MaxWidth();
    EXPECT_TRUE(viewer->VScrollBar()->isVisible());
    EXPECT_FALSE(viewer->ViewImages());
    EXPECT_EQ(viewer->HistoryMaxCount(), 0);
    EXPECT_EQ(viewer->DefFontName(), "Times New Roman");
    EXPECT_EQ(information.Caption(), "Form_Information");
    EXPECT_EQ(viewer->PageTitle(), "Se familiariser avec l'espace de calcul");
}

} // namespace
