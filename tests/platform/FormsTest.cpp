#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"

#include "TestSupport.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class TProbeForm : public TForm {
public:
    int Shows = 0;
    int Activations = 0;
    int Deactivations = 0;
    int Closes = 0;
    bool AllowClose = true;

protected:
    bool FormCloseQuery() override { return AllowClose; }
    void FormClose() override { ++Closes; }
    void FormShow() override { ++Shows; }
    void FormActivate() override { ++Activations; }
    void FormDeactivate() override { ++Deactivations; }
};

bool Activate(TForm& form)
{
    form.Show();
    return QTest::qWaitForWindowActive(&form, 3000);
}

} // namespace

TEST(Forms, PlaceFormLeftOfMayGiveANegativeLeftEdge)
{
    TProbeForm reference, form;
    reference.SetBounds(100, 50, 300, 400);
    form.SetBounds(0, 0, 250, 100);
    PlaceFormLeftOf(&form, &reference);
    EXPECT_EQ(form.Left(), -150);
    EXPECT_EQ(form.Top(), 50);
    EXPECT_EQ(form.Height(), 400);
    EXPECT_EQ(form.Width(), 250);
}

TEST(Forms, WindowStatesDoNotShowAHiddenWindow)
{
    TProbeForm form;
    form.SetWindowState(TWindowState::wsMinimized);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.WindowState(), TWindowState::wsMinimized);
    form.SetWindowState(TWindowState::wsMaximized);
    EXPECT_EQ(form.WindowState(), TWindowState::wsMaximized);
    form.SetWindowState(TWindowState::wsNormal);
    EXPECT_EQ(form.WindowState(), TWindowState::wsNormal);
    EXPECT_FALSE(form.Visible());
}

TEST(Forms, CloseAsksFirstAndOnlyHides)
{
    TProbeForm form;
    form.Show();
    EXPECT_EQ(form.Shows, 1);
    form.AllowClose = false;
    EXPECT_FALSE(form.Close());
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.Closes, 0);
    form.AllowClose = true;
    EXPECT_TRUE(form.Close());
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.Closes, 1);
    form.Show();
    EXPECT_EQ(form.Shows, 2);
}

TEST(Forms, AnotherProgramWindowDeactivatesButABoxDoesNot)
{
    TProbeForm first, second;
    ASSERT_TRUE(Activate(first));
    ASSERT_TRUE(Activate(second));
    EXPECT_EQ(first.Deactivations, 1);
    EXPECT_EQ(TForm::ActiveForm(), &second);

    // A message box opened by the active window does not count.
    bool answered = false;
    WhenModalAppears([&](QWidget* box) {
        QTest::keyClick(box, Qt::Key_Escape);
        answered = true;
    });
    TQtDialogs real;
    real.ShowMessage("caption", "text");
    EXPECT_TRUE(answered);
    EXPECT_EQ(second.Deactivations, 0);
    EXPECT_EQ(TForm::ActiveForm(), &second);
}

TEST(Dialogs, ConfirmationBoxAnswersOkOnlyForOk)
{
    TQtDialogs real;
    // Escape and the close box count as "Annuler".
    WhenModalAppears([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_FALSE(real.Confirm("Confirmation", "Quitter l'application ?"));
    WhenModalAppears([](QWidget* box) { box->close(); });
    EXPECT_FALSE(real.Confirm("Confirmation", "Quitter l'application ?"));

    QString caption, text;
    QStringList buttons;
    WhenModalAppears([&](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        for (QAbstractButton* button : box->buttons())
            buttons << button->text();
        EXPECT_EQ(box->defaultButton()->text(), "OK");
        QTest::keyClick(box, Qt::Key_Return); // the default button
    });
    EXPECT_TRUE(real.Confirm("Confirmation", "Quitter l'application ?"));
    EXPECT_EQ(caption, "Confirmation");
    EXPECT_EQ(text, "Quitter l'application ?");
    EXPECT_TRUE(buttons.contains("OK"));
    EXPECT_TRUE(buttons.contains("Annuler"));
}

TEST(Application, AFailureInAHandlerIsShownAndTheProgramGoesOn)
{
    TRecordingDialogs dialogs;
    TScopedDialogs installed(dialogs);
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked, [] { throw EProcessError("Table has too many Columns"); });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    ASSERT_EQ(dialogs.Shown.size(), 1);
    EXPECT_EQ(dialogs.Shown[0].Kind, "error");
    EXPECT_EQ(dialogs.Shown[0].Caption, ApplicationTitle());
    EXPECT_EQ(dialogs.Shown[0].Text, "Table has too many Columns");
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(dialogs.Shown.size(), 2);
}
