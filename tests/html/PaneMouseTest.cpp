// The viewer control's mouse and keyboard on real widgets: link tracking,
// word selection, drag selection with auto-scroll, right clicks, one-line
// scrolls that repaint only the uncovered strip, and posted submissions.

#include "PaneTestSupport.h"

#include <QMouseEvent>

namespace {

const QString Page = QStringLiteral("C:\\Pages\\m.htm");

class PaneMouseTest : public TPaneTest {
protected:
    void Load(const std::string& html)
    {
        AddPage(Page, html);
        Pane.LoadHtmlFile(Page);
        Settle();
    }
    void SendMove(const QPoint& point, Qt::MouseButtons buttons)
    {
        QMouseEvent move(
            QEvent::MouseMove, point, Pane.PaintPanel()->mapToGlobal(point), Qt::NoButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(Pane.PaintPanel(), &move);
    }
    TImageObj* ImageNamed(const std::string& source)
    {
        for (TObject* item : Pane.SectionList())
            if (auto* section = dynamic_cast<TSection*>(item))
                for (TObject* image : section->Images)
                    if (static_cast<TImageObj*>(image)->Source == source)
                        return static_cast<TImageObj*>(image);
        return nullptr;
    }
};

TEST_F(PaneMouseTest, DoubleClickSelectsAWordWithAccentsAndNothingOnPunctuation)
{
    Load("<p>Le mot \xE9l\xE9phant, puis la fin.</p>");
    const int start = IndexOfText("\xE9l\xE9phant");
    ASSERT_GE(start, 0);
    QTest::mouseDClick(Pane.PaintPanel(), Qt::LeftButton, {}, PointOfChar(start + 3));
    EXPECT_EQ(Pane.SelStart(), start);
    EXPECT_EQ(Pane.SelEnd(), start + 8);
    EXPECT_EQ(Pane.SelectedText(), "\xE9l\xE9phant");

    // The press of a double click clears the selection first.
    const int comma = IndexOfText(",");
    QTest::mouseClick(Pane.PaintPanel(), Qt::LeftButton, {}, PointOfChar(comma) + QPoint(-1, 0));
    QTest::mouseDClick(Pane.PaintPanel(), Qt::LeftButton, {}, PointOfChar(comma) + QPoint(-1, 0));
    EXPECT_EQ(Pane.SelStart(), Pane.SelEnd()) << "punctuation selects nothing";

    Pane.SetNoSelect(true);
    QTest::mouseDClick(Pane.PaintPanel(), Qt::LeftButton, {}, PointOfChar(start + 3));
    EXPECT_EQ(Pane.SelStart(), Pane.SelEnd());
}

TEST_F(PaneMouseTest, LinkUnderTheMouseShowsTheHandAndReportsItsText)
{
    Load("<p><a href=\"suite.htm\" target=\"cadre\">la suite</a> et du texte simple</p>");
    std::vector<std::string> covered;
    Pane.OnHotSpotCovered = [&](QObject*, const std::string& src) { covered.push_back(src); };
    SendMove(PointOfChar(IndexOfText("suite")), Qt::NoButton);
    EXPECT_EQ(Pane.PaintPanel()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(Pane.LinkURL(), "suite.htm");
    EXPECT_EQ(Pane.LinkTarget(), "cadre");
    SendMove(PointOfChar(IndexOfText("texte")), Qt::NoButton);
    EXPECT_EQ(Pane.PaintPanel()->cursor().shape(), Qt::IBeamCursor);
    EXPECT_TRUE(Pane.LinkURL().empty());
    EXPECT_EQ(covered, (std::vector<std::string> { "suite.htm", "" }));
}

TEST_F(PaneMouseTest, DragSelectsAndAReleaseOverALinkAfterASelectionDoesNotFollowIt)
{
    Load("<p>Un deux trois <a href=\"b.htm\">quatre</a></p>");
    int clicks = 0;
    Pane.OnHotSpotClick = [&](QObject*, const std::string&, bool&) { ++clicks; };
    const QPoint from = PointOfChar(IndexOfText("deux"));
    const QPoint to = PointOfChar(IndexOfText("quatre") + 2);
    QTest::mousePress(Pane.PaintPanel(), Qt::LeftButton, {}, from);
    SendMove(to, Qt::LeftButton);
    QTest::mouseRelease(Pane.PaintPanel(), Qt::LeftButton, {}, to);
    EXPECT_EQ(Pane.SelectedText().substr(0, 10), "deux trois");
    EXPECT_EQ(clicks, 0);
}

TEST_F(PaneMouseTest, RightClickParametersForTextLinksImagesAndLinkedImages)
{
    AddPicture(QStringLiteral("C:\\Pages\\plain.bmp"), 40, 30);
    AddPicture(QStringLiteral("C:\\Pages\\linked.bmp"), 40, 30);
    Load("<p><a href=\"t.htm\" target=\"f\">texte</a> <img src=\"plain.bmp\"> "
         "<a href=\"i.htm\"><img src=\"linked.bmp\"></a></p>");
    struct TSeen {
        std::string LinkURL, LinkTarget;
        TImageObj* ClickedImage;
        int ImageClickX, ImageClickY;
    };
    std::vector<TSeen> seen;
    Pane.OnRightClick = [&](QObject*, TRightClickParameters& p) {
        seen.push_back({ p.LinkURL, p.LinkTarget, p.ClickedImage, p.ImageClickX, p.ImageClickY });
    };
    TImageObj* plain = ImageNamed("plain.bmp");
    TImageObj* linked = ImageNamed("linked.bmp");
    ASSERT_TRUE(plain && linked);
    QTest::mouseClick(Pane.PaintPanel(), Qt::RightButton, {}, PointOfChar(IndexOfText("texte")));
    QTest::mouseClick(Pane.PaintPanel(), Qt::RightButton, {}, plain->HitRect().topLeft() + QPoint(5, 7));
    QTest::mouseClick(Pane.PaintPanel(), Qt::RightButton, {}, linked->HitRect().center());
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].LinkURL, "t.htm");
    EXPECT_EQ(seen[0].LinkTarget, "f");
    EXPECT_EQ(seen[0].ClickedImage, nullptr);
    EXPECT_TRUE(seen[1].LinkURL.empty());
    EXPECT_EQ(seen[1].ClickedImage, plain);
    EXPECT_EQ(seen[1].ImageClickX, 5);
    EXPECT_EQ(seen[1].ImageClickY, 7);
    EXPECT_EQ(seen[2].LinkURL, "i.htm");
    EXPECT_EQ(seen[2].ClickedImage, linked);
}

TEST_F(PaneMouseTest, AutoScrollStepsAboveAndBelowTheControl)
{
    EXPECT_EQ(Pane.AutoScrollStep(0), -16);
    EXPECT_EQ(Pane.AutoScrollStep(-15), -16);
    EXPECT_EQ(Pane.AutoScrollStep(-16), -128);
    EXPECT_EQ(Pane.AutoScrollStep(Pane.height() + 15), 16);
    EXPECT_EQ(Pane.AutoScrollStep(Pane.height() + 16), 128);
}

TEST_F(PaneMouseTest, DraggingAboveTheControlScrollsUpEveryHundredMilliseconds)
{
    Load(LongBody(80));
    Pane.ScrollToY(2000);
    Settle();
    const QPoint start(60, 100);
    QTest::mousePress(Pane.PaintPanel(), Qt::LeftButton, {}, start);
    SendMove(QPoint(60, -40), Qt::LeftButton);
    EXPECT_TRUE(Pane.AutoScrolling());
    QTest::qWait(350);
    const int moved = 2000 - Pane.VScrollPosition();
    EXPECT_GE(moved, 2 * 128);
    EXPECT_EQ(moved % 128, 0);
    SendMove(QPoint(60, -5), Qt::LeftButton);
    const int before = Pane.VScrollPosition();
    QTest::qWait(250);
    EXPECT_EQ((before - Pane.VScrollPosition()) % 16, 0);
    EXPECT_GT(before, Pane.VScrollPosition());
    QTest::mouseRelease(Pane.PaintPanel(), Qt::LeftButton, {}, QPoint(60, 10));
    EXPECT_FALSE(Pane.AutoScrolling());
    EXPECT_LT(Pane.SelStart(), Pane.SelEnd()) << "the selection grew while scrolling";
}

TEST_F(PaneMouseTest, OneLineScrollRepaintsOnlyTheUncoveredStrip)
{
    Load(LongBody(80));
    Pane.setFocus();
    TPaintPanel* panel = Pane.PaintPanel();
    QTest::keyClick(&Pane, Qt::Key_Down);
    EXPECT_EQ(Pane.VScrollPosition(), 16);
    const int count = panel->PaintCount;
    QCoreApplication::processEvents();
    QTest::qWait(20);
    ASSERT_GT(panel->PaintCount, count);
    EXPECT_EQ(panel->LastPaintRect, QRect(0, panel->height() - 16, panel->width(), 16));

    QTest::keyClick(&Pane, Qt::Key_Up);
    QTest::qWait(20);
    EXPECT_EQ(Pane.VScrollPosition(), 0);
    EXPECT_EQ(panel->LastPaintRect, QRect(0, 0, panel->width(), 16));

    QTest::keyClick(&Pane, Qt::Key_End);
    EXPECT_EQ(Pane.VScrollPosition(), Pane.DocHeight() - panel->height());
    QTest::keyClick(&Pane, Qt::Key_Home);
    EXPECT_EQ(Pane.VScrollPosition(), 0);
    QTest::keyClick(&Pane, Qt::Key_PageDown);
    EXPECT_EQ(Pane.VScrollPosition(), panel->height() - 16);
}

TEST_F(PaneMouseTest, ScrollBarArrowMovesOneLine)
{
    Load(LongBody(80));
    Pane.VScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Pane.VScrollPosition(), 16);
    EXPECT_EQ(Pane.SectionList().YOff, 16);
    Pane.VScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(Pane.VScrollPosition(), Pane.DocHeight() - Pane.PaintPanel()->height());
}

TEST_F(PaneMouseTest, SubmissionIsReportedFromTheEventLoopWithItsResults)
{
    auto results = std::make_unique<TStringList>();
    results->Add(QStringLiteral("nom=Lune"));
    Pane.SubmitForm("envoi.htm", "", "", "GET", std::move(results));
    EXPECT_FALSE(Pane.SubmitInstalled()) << "without a handler forms do nothing";

    std::vector<std::string> reports;
    Pane.SetOnFormSubmit([&](QObject*, const std::string& action, const std::string&, const std::string&,
                             const std::string& method, std::unique_ptr<TStringList> list) {
        reports.push_back(action + " " + method + " " + list->Strings(0).toStdString());
    });
    results = std::make_unique<TStringList>();
    results->Add(QStringLiteral("nom=Terre"));
    Pane.SubmitForm("envoi.htm", "", "", "POST", std::move(results));
    EXPECT_TRUE(reports.empty()) << "posted, not called at once";
    QCoreApplication::processEvents();
    EXPECT_EQ(reports, (std::vector<std::string> { "envoi.htm POST nom=Terre" }));
}

} // namespace
