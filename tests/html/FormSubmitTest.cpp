// What forms submit, driven through their real widgets: Enter in a single
// field, radio groups per form, check boxes, lists, memos, submit, reset
// and image buttons, and controls outside any FORM.

#include "FormTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

namespace {

using Pairs = std::vector<std::string>;

class FormSubmitTest : public TFormTest {
protected:
    void PressEnterIn(TEditFormControlObj* control)
    {
        QLineEdit* edit = Widget<QLineEdit>(control);
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        DeliverPosted();
    }
    void Click(TButtonFormControlObj* control)
    {
        QPushButton* button = Widget<QPushButton>(control);
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        DeliverPosted();
    }
    void Click(TRadioButtonFormControlObj* control)
    {
        ASSERT_NE(control, nullptr);
        QTest::mouseClick(qobject_cast<QRadioButton*>(control->Button.data()), Qt::LeftButton);
    }
};

TEST_F(FormSubmitTest, EnterSubmitsAFormWithOneVisibleFieldOnly)
{
    Load("<form action=\"cherche.htm\" method=\"POST\" target=\"t\" enctype=\"text/plain\">"
         "<input name=q value=\"d\xE9j\xE0\"><input type=hidden name=h value=1></form>"
         "<form action=\"deux.htm\"><input name=a value=1><input name=b value=2></form>");
    PressEnterIn(Control<TEditFormControlObj>(0));
    ASSERT_EQ(Submissions.size(), 1u);
    EXPECT_EQ(Submissions[0].Action, "cherche.htm");
    EXPECT_EQ(Submissions[0].Method, "POST");
    EXPECT_EQ(Submissions[0].Target, "t");
    EXPECT_EQ(Submissions[0].EncType, "text/plain");
    EXPECT_EQ(Submissions[0].Results, (Pairs { "q=d\xE9j\xE0", "h=1" }));

    PressEnterIn(Control<TEditFormControlObj>(1));
    PressEnterIn(Control<TEditFormControlObj>(2));
    EXPECT_EQ(Submissions.size(), 1u) << "two text fields: Enter does not submit";
}

TEST_F(FormSubmitTest, TypedTextIsSubmittedAndResetRestoresThePage)
{
    Load("<form><input name=q value=abc> <input type=checkbox name=c checked>"
         "<input type=submit name=go value=\"Envoyer\"> <input type=reset></form>");
    QLineEdit* edit = Widget<QLineEdit>(Control<TEditFormControlObj>());
    edit->clear();
    QTest::keyClicks(edit, "xyz");
    QTest::mouseClick(Widget<QCheckBox>(Control<TCheckBoxFormControlObj>()), Qt::LeftButton);
    Click(Control<TButtonFormControlObj>(0));
    ASSERT_EQ(Submissions.size(), 1u);
    EXPECT_EQ(Submissions[0].Method, "Get");
    EXPECT_EQ(Submissions[0].Results, (Pairs { "q=xyz", "go=Envoyer" }));

    Click(Control<TButtonFormControlObj>(1));
    EXPECT_EQ(edit->text(), "abc");
    EXPECT_TRUE(Control<TCheckBoxFormControlObj>()->Checked());
    EXPECT_EQ(Submissions.size(), 1u) << "reset submits nothing";
    EXPECT_EQ(Widget<QPushButton>(Control<TButtonFormControlObj>(1))->text(), "Reset");
}

TEST_F(FormSubmitTest, RadioNamesMatchWithoutCaseWithinOneFormOnly)
{
    Load("<form><input type=radio name=a value=1 checked onclick=\"choix(1)\">"
         "<input type=radio name=A value=2><input type=radio value=3 checked>"
         "<input type=submit></form>"
         "<form><input type=radio name=a value=4 checked></form>");
    auto* first = Control<TRadioButtonFormControlObj>(0);
    auto* second = Control<TRadioButtonFormControlObj>(1);
    auto* unnamed = Control<TRadioButtonFormControlObj>(2);
    auto* otherForm = Control<TRadioButtonFormControlObj>(3);
    Click(second);
    EXPECT_FALSE(first->Checked());
    EXPECT_TRUE(second->Checked());
    EXPECT_TRUE(unnamed->Checked()) << "a radio without NAME is in no group";
    EXPECT_TRUE(otherForm->Checked()) << "the same name in another form is another group";

    Click(second);
    EXPECT_TRUE(second->Checked()) << "clicking a checked radio keeps it checked";
    Click(first);
    EXPECT_FALSE(second->Checked());
    ASSERT_EQ(Clicks.size(), 3u);
    EXPECT_EQ(Clicks[2].first, first);
    EXPECT_EQ(Clicks[2].second, "choix(1)");

    Click(Control<TButtonFormControlObj>());
    ASSERT_EQ(Submissions.size(), 1u);
    EXPECT_EQ(Submissions[0].Results, (Pairs { "a=1", "=3" }));
}

TEST_F(FormSubmitTest, CheckBoxWithoutValueSubmitsOn)
{
    Load("<form><input type=checkbox name=c onclick=\"coche\"><input type=checkbox name=d value=oui>"
         "<input type=checkbox name=e value=non checked><input type=submit></form>");
    QTest::mouseClick(Widget<QCheckBox>(Control<TCheckBoxFormControlObj>(0)), Qt::LeftButton);
    QTest::mouseClick(Widget<QCheckBox>(Control<TCheckBoxFormControlObj>(2)), Qt::LeftButton);
    Click(Control<TButtonFormControlObj>());
    ASSERT_EQ(Submissions.size(), 1u);
    EXPECT_EQ(Submissions[0].Results, (Pairs { "c=On" }));
    ASSERT_GE(Clicks.size(), 2u);
    EXPECT_EQ(Clicks[0].second, "coche");
}

TEST_F(FormSubmitTest, ListsSubmitValuesElseCaptions)
{
    Load("<form><select name=m multiple><option value=1 selected>Un<option selected>Deux"
         "<option value=3>Trois</select>"
         "<select name=s><option value=a selected>A<option selected>Bee<option>C</select>"
         "<select name=n size=3><option>X<option selected>Y<option selected>Z</select>"
         "<select name=none><option>Premier<option>Second</select>"
         "<input type=submit></form>");
    Click(Control<TButtonFormControlObj>());
    ASSERT_EQ(Submissions.size(), 1u);
    EXPECT_EQ(Submissions[0].Results, (Pairs { "m=1", "m=Deux", "s=Bee", "n=Z", "none=Premier" }));

    // The learner's own choice replaces the page's.
    QListWidget* list = Widget<QListWidget>(Control<TListBoxFormControlObj>(0));
    list->item(0)->setSelected(false);
    list->item(2)->setSelected(true);
    Widget<QComboBox>(Control<TComboFormControlObj>(0))->setCurrentIndex(2);
    Click(Control<TButtonFormControlObj>());
    ASSERT_EQ(Submissions.size(), 2u);
    EXPECT_EQ(Submissions[1].Results, (Pairs { "m=Deux", "m=3", "s=C", "n=Z", "none=Premier" }));
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::MultiSelection);
    EXPECT_EQ(
        Widget<QListWidget>(Control<TListBoxFormControlObj>(1))->selectionMode(), QAbstractItemView::SingleSelection);
}

TEST_F(FormSubmitTest, TextAreaSubmitsOnePairPerLine)
{
    Load("<form><textarea name=t>un\ndeux &amp; <b>trois</b>\n</TEXTAREA>"
         "<textarea name=vide></textarea><input type=submit></form>");
    QPlainTextEdit* memo = Widget<QPlainTextEdit>(Control<TTextAreaFormControlObj>());
    EXPECT_EQ(memo->textCursor().position(), 0) << "the caret starts at the top";
    Click(Control<TButtonFormControlObj>());
    ASSERT_EQ(Submissions.size(), 1u);
    EXPECT_EQ(Submissions[0].Results, (Pairs { "t=un", "t=deux & <b>trois</b>" }));

    memo->setPlainText("a\nb\nc");
    Click(Control<TButtonFormControlObj>());
    ASSERT_EQ(Submissions.size(), 2u);
    EXPECT_EQ(Submissions[1].Results, (Pairs { "t=a", "t=b", "t=c" }));
}

TEST_F(FormSubmitTest, ControlsOutsideAnyFormGetAFormOfTheirOwn)
{
    Load("<input name=a value=1><form action=f.htm><input name=b value=2><input name=c></form>"
         "<input name=d value=4>");
    ASSERT_EQ(Pane.SectionList().FormList.Count(), 3);
    EXPECT_EQ(Form(0)->Method, "Get");
    EXPECT_TRUE(Form(0)->Action.empty());
    EXPECT_EQ(Form(1)->ControlList.size(), 2u);
    EXPECT_EQ(Form(2)->ControlList.size(), 1u) << "after the end of FORM a control is alone again";
    PressEnterIn(Control<TEditFormControlObj>(0));
    PressEnterIn(Control<TEditFormControlObj>(3));
    ASSERT_EQ(Submissions.size(), 2u);
    EXPECT_EQ(Submissions[0].Results, (Pairs { "a=1" }));
    EXPECT_EQ(Submissions[1].Results, (Pairs { "d=4" }));
}

TEST_F(FormSubmitTest, ImageButtonSubmitsTheClickPositionOnce)
{
    AddPicture(QStringLiteral("C:\\Pages\\bouton.bmp"), 40, 30);
    Load("<form action=img.htm><input type=hidden name=h value=v>"
         "<input type=image name=pic src=\"bouton.bmp\"> <input type=image src=\"bouton.bmp\">"
         "<input type=submit name=s></form>");
    std::vector<TImageObj*> images;
    for (TObject* item : Pane.SectionList())
        if (auto* section = dynamic_cast<TSection*>(item))
            for (TObject* image : section->Images)
                images.push_back(static_cast<TImageObj*>(image));
    ASSERT_EQ(images.size(), 2u);
    ASSERT_NE(images[0]->MyFormControl, nullptr);
    QTest::mouseClick(Pane.PaintPanel(), Qt::LeftButton, {}, images[0]->HitRect().topLeft() + QPoint(7, 11));
    DeliverPosted();
    QTest::mouseClick(Pane.PaintPanel(), Qt::LeftButton, {}, images[1]->HitRect().topLeft() + QPoint(3, 4));
    DeliverPosted();
    Click(Control<TButtonFormControlObj>());
    ASSERT_EQ(Submissions.size(), 3u);
    EXPECT_EQ(Submissions[0].Action, "img.htm");
    EXPECT_EQ(Submissions[0].Results, (Pairs { "h=v", "pic.x=7", "pic.y=11" }));
    EXPECT_EQ(Submissions[1].Results, (Pairs { "h=v", "x=3", "y=4" }));
    EXPECT_EQ(Submissions[2].Results, (Pairs { "h=v", "s=Submit" }));
}

TEST_F(FormSubmitTest, AClickHandlerMayReplaceThePage)
{
    Load("<form><input type=button value=Suite onclick=\"suite\"><input type=checkbox></form>");
    const QString next = QStringLiteral("C:\\Pages\\suite.htm");
    AddPage(next, "<p>Page suivante</p>");
    Pane.SetOnObjectClick([&](QObject*, TObject*, const std::string& onClick) {
        if (onClick == "suite")
            Pane.LoadHtmlFile(next);
    });
    QPointer<QPushButton> button = Widget<QPushButton>(Control<TButtonFormControlObj>());
    QTest::mouseClick(button, Qt::LeftButton);
    DeliverPosted();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(Pane.SectionList().FormControlList.empty());
    EXPECT_GE(IndexOfText("suivante"), 0);
    EXPECT_TRUE(button.isNull()) << "the old page's widgets are gone";
}

TEST_F(FormSubmitTest, NothingIsCollectedWithoutASubmitHandler)
{
    Load("<form><input name=q value=1></form>");
    Pane.SetOnFormSubmit(nullptr);
    PressEnterIn(Control<TEditFormControlObj>());
    EXPECT_TRUE(Submissions.empty());
}

} // namespace
