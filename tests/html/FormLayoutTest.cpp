// Form controls as page objects: sizes from their fonts, caps on absurd
// attributes, placement on the line, the radio panel's background, focus
// handling on long pages, scrolling, and many controls on one page.

#include "FormTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace {

class FormLayoutTest : public TFormTest {
protected:
    static int CharWidth(const QWidget* widget)
    {
        return QFontMetrics(widget->font()).horizontalAdvance(QLatin1Char('A'));
    }
    // Loads, lays out and paints a page; milliseconds.
    qint64 TimeLoadAndPaint(const std::string& html)
    {
        QElapsedTimer timer;
        timer.start();
        Load(html);
        return timer.elapsed();
    }
};

TEST_F(FormLayoutTest, SizesFollowTheControlFonts)
{
    Load("<form><input name=a size=10><input name=b size=\"7, 2\"><input name=c>"
         "<input type=submit value=\"Envoyer\"><input type=checkbox><input type=radio>"
         "<select name=s><option>Court<option>Bien plus long</select>"
         "<select name=l size=4><option>Un<option>Deux</select>"
         "<select name=m multiple><option>Un<option>Deux</select>"
         "<textarea name=t></textarea></form>");
    auto* sized = Widget<QLineEdit>(Control<TEditFormControlObj>(0));
    const int a = CharWidth(sized);
    EXPECT_EQ(sized->font().pixelSize(), 13) << "pre font at 10 points";
    EXPECT_EQ(sized->width(), 10 * a + 5);
    EXPECT_EQ(sized->height(), 20);
    EXPECT_EQ(Widget<QLineEdit>(Control<TEditFormControlObj>(1))->width(), 7 * a + 5);
    EXPECT_EQ(Widget<QLineEdit>(Control<TEditFormControlObj>(2))->width(), 20 * a + 5);

    auto* button = Widget<QPushButton>(Control<TButtonFormControlObj>());
    const QFontMetrics buttonMetrics(button->font());
    EXPECT_EQ(button->width(), buttonMetrics.horizontalAdvance("Envoyer") + 20);
    EXPECT_EQ(button->height(), buttonMetrics.height() + 8);

    EXPECT_EQ(Control<TCheckBoxFormControlObj>()->WindowControl()->size(), QSize(13, 13));
    EXPECT_EQ(Control<TRadioButtonFormControlObj>()->WindowControl()->size(), QSize(13, 14));

    auto* combo = Widget<QComboBox>(Control<TComboFormControlObj>());
    EXPECT_EQ(combo->width(), 14 * QFontMetrics(QApplication::font()).horizontalAdvance(QLatin1Char('A')) + 30);

    auto* rows4 = Widget<QListWidget>(Control<TListBoxFormControlObj>(0));
    const QFontMetrics listMetrics(rows4->font());
    const int frame = 2 * rows4->frameWidth();
    EXPECT_EQ(rows4->height(), 4 * listMetrics.height() + frame);
    EXPECT_EQ(rows4->width(), 4 * CharWidth(rows4) + 15 + frame) << "longest caption, at least 3";
    EXPECT_EQ(Widget<QListWidget>(Control<TListBoxFormControlObj>(1))->height(), 2 * listMetrics.height() + frame)
        << "without SIZE: one row per option";

    auto* memo = Widget<QPlainTextEdit>(Control<TTextAreaFormControlObj>());
    EXPECT_EQ(memo->viewport()->width(), 30 * CharWidth(memo) + 5);
    EXPECT_EQ(memo->viewport()->height(), 5 * QFontMetrics(memo->font()).height() + 5);
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(FormLayoutTest, AbsurdAttributesGiveBoundedWidgets)
{
    Load("<form><input name=a size=2147483647 maxlength=-5><input name=b size=99999999999 maxlength=4>"
         "<input name=c size=-3 maxlength=0><input type=submit value=\""
        + std::string(5000, 'W')
        + "\">"
          "<select name=s size=2147483647><option>x</select><select name=m multiple size=-1>"
        + std::string(3000, 'o')
        + "</select>"
          "<textarea rows=2147483647 cols=2147483647 wrap=HARD>x</textarea><textarea rows=-1 cols=0></textarea>"
          "</form>");
    const TSectionList& doc = Pane.SectionList();
    ASSERT_EQ(doc.FormControlList.size(), 8u);
    for (TSectionControl* item : doc.FormControlList) {
        auto* control = dynamic_cast<TFormControlObj*>(item);
        ASSERT_NE(control, nullptr);
        const QWidget* widget = control->WindowControl();
        ASSERT_NE(widget, nullptr);
        EXPECT_LE(widget->width(), TFormControlObj::MaxExtent);
        EXPECT_LE(widget->height(), TFormControlObj::MaxExtent);
        EXPECT_GT(widget->width(), 0);
        EXPECT_GT(widget->height(), 0);
    }
    auto* unlimited = Widget<QLineEdit>(Control<TEditFormControlObj>(0));
    QTest::keyClicks(unlimited, "0123456789");
    EXPECT_EQ(unlimited->text().size(), 10) << "a negative MAXLENGTH sets no limit";
    auto* limited = Widget<QLineEdit>(Control<TEditFormControlObj>(1));
    QTest::keyClicks(limited, "0123456789");
    EXPECT_EQ(limited->text(), "0123");
    EXPECT_EQ(limited->width(), 20 * CharWidth(limited) + 5) << "a SIZE that does not fit counts as none";
    auto* memo = Control<TTextAreaFormControlObj>(1);
    EXPECT_EQ(memo->Rows, TTextAreaFormControlObj::DefaultRows);
    EXPECT_EQ(memo->Cols, TTextAreaFormControlObj::DefaultCols);
    EXPECT_TRUE(Control<TTextAreaFormControlObj>(0)->Wrap);
}

TEST_F(FormLayoutTest, APageMakesAtMostItsShareOfControlsAndOptions)
{
    std::string html = "<form><select name=s>";
    for (int i = 0; i < TListFormControlObj::MaxOptions + 5; ++i)
        html += "<option>o" + std::to_string(i);
    html += "</select>";
    for (size_t i = 0; i < MaxControlsPerPage + 5; ++i)
        html += "<input type=hidden name=h value=" + std::to_string(i) + ">";
    Load(html + "<p>fin</p></form>");
    EXPECT_EQ(Pane.SectionList().FormControlList.size(), MaxControlsPerPage);
    EXPECT_EQ(Control<TComboFormControlObj>()->TheOptions.Count(), TListFormControlObj::MaxOptions);
    EXPECT_EQ(Widget<QComboBox>(Control<TComboFormControlObj>())->count(), TListFormControlObj::MaxOptions);
    EXPECT_GE(IndexOfText("fin"), 0) << "the page goes on after the last control";
}

TEST_F(FormLayoutTest, PasswordsShowStars)
{
    Load("<form><input type=PASSWORD name=p value=\"abc\"></form>");
    auto* edit = Widget<QLineEdit>(Control<TEditFormControlObj>());
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit), '*');
}

TEST_F(FormLayoutTest, ControlsStandOnTheirLinesAndRadiosTakeThePageBackground)
{
    Load("<body bgcolor=\"#00FF00\"><p>Nom <input name=n> choix <input type=radio name=r> fin</p></body>");
    QWidget* edit = Control<TEditFormControlObj>()->WindowControl();
    QWidget* panel = Control<TRadioButtonFormControlObj>()->WindowControl();
    EXPECT_TRUE(edit->isVisible());
    EXPECT_TRUE(panel->isVisible());
    EXPECT_GT(edit->x(), PointOfChar(IndexOfText("Nom")).x());
    EXPECT_LT(edit->x() + edit->width(), PointOfChar(IndexOfText("choix")).x());
    EXPECT_GT(panel->x(), PointOfChar(IndexOfText("choix")).x());
    // Radios sit on the baseline, a descent above the bottom of the edit.
    EXPECT_LT(panel->geometry().bottom(), edit->geometry().bottom());
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(0, 255, 0));
}

TEST_F(FormLayoutTest, ControlsOutOfViewWaitOffScreenAndTabbingBringsThemIntoView)
{
    Load("<form><input name=haut>" + LongBody(80) + "<input name=bas></form>");
    QWidget* top = Control<TEditFormControlObj>(0)->WindowControl();
    QWidget* bottom = Control<TEditFormControlObj>(1)->WindowControl();
    EXPECT_LT(bottom->y(), 0) << "never painted: waits above the page";
    top->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(bottom->x(), TFormControlObj::OffScreenX);
    EXPECT_FALSE(bottom->isHidden()) << "kept in the tab order";
    EXPECT_EQ(Pane.VScrollPosition(), 0);

    QTest::keyClick(top, Qt::Key_Tab);
    Settle();
    EXPECT_TRUE(bottom->hasFocus());
    EXPECT_GT(Pane.VScrollPosition(), 0);
    const QRect panel = Pane.PaintPanel()->rect();
    EXPECT_TRUE(panel.contains(bottom->geometry())) << "the focused control is brought into view";
    EXPECT_EQ(top->x(), TFormControlObj::OffScreenX) << "scrolled away while a control has the focus";
}

TEST_F(FormLayoutTest, OneLineScrollKeepsVisibleControlsAndHidesScrolledAway)
{
    Load("<p>Avant</p><form><input name=a></form>" + LongBody(60));
    QWidget* edit = Control<TEditFormControlObj>()->WindowControl();
    ASSERT_TRUE(edit->isVisible());
    const int y = edit->y();
    Pane.setFocus();
    QTest::keyClick(&Pane, Qt::Key_Down);
    Settle();
    EXPECT_TRUE(edit->isVisible()) << "carried along by the pixel scroll";
    EXPECT_EQ(edit->y(), y - Pane.VScrollPosition());

    QTest::keyClick(&Pane, Qt::Key_End);
    Settle();
    EXPECT_TRUE(edit->isHidden()) << "no control of the page has the focus";
}

TEST_F(FormLayoutTest, RelayoutMovesControlsWithTheirText)
{
    std::string words;
    for (int i = 0; i < 40; ++i)
        words += "mot" + std::to_string(i) + " ";
    Load("<p>" + words + "<input name=a> fin</p>" + LongBody(40) + "<p><input name=loin></p>");
    QWidget* edit = Control<TEditFormControlObj>(0)->WindowControl();
    QWidget* far = Control<TEditFormControlObj>(1)->WindowControl();
    ASSERT_TRUE(edit->isVisible());
    const QPoint before = edit->pos();
    Pane.resize(250, Pane.height());
    Settle();
    EXPECT_TRUE(edit->isVisible());
    EXPECT_GT(edit->y(), before.y()) << "a narrower page has more lines above the control";
    EXPECT_TRUE(far->isHidden()) << "never in view";
}

TEST_F(FormLayoutTest, ManyControlsGrowLinearly)
{
    auto page = [](int count) {
        std::string html = "<form>";
        for (int i = 0; i < count; ++i)
            html += "<input name=f" + std::to_string(i) + " size=4> " + (i % 10 == 9 ? "<br>" : "");
        return html + "</form>";
    };
    TimeLoadAndPaint(page(100)); // warm the font caches
    qint64 small = TimeLoadAndPaint(page(500));
    qint64 large = TimeLoadAndPaint(page(4000));
    small = std::min(small, TimeLoadAndPaint(page(500)));
    large = std::min(large, TimeLoadAndPaint(page(4000)));
    RecordProperty("LoadAndPaint500Controls_ms", static_cast<int>(small));
    RecordProperty("LoadAndPaint4000Controls_ms", static_cast<int>(large));
    EXPECT_EQ(Pane.SectionList().FormControlList.size(), 4000u);
    // Eight times the controls: a quadratic cost would be 64 times.
    EXPECT_LT(large, std::max<qint64>(20, small) * 20) << small << " ms for 500, " << large << " ms for 4000";
    // Still usable: the last control shows at the end of the page and takes typing.
    Pane.ScrollToY(Pane.DocHeight());
    Settle();
    auto* last = Widget<QLineEdit>(Control<TEditFormControlObj>(3999));
    EXPECT_TRUE(last->isVisible());
    EXPECT_TRUE(Pane.PaintPanel()->rect().contains(last->geometry()));
    QTest::keyClicks(last, "ok");
    EXPECT_EQ(last->text(), "ok");
}

} // namespace
