// The add dialogs driven as the learner does: typed text, clicks, the colour
// button, with the dialogs double answering the boxes.

#include "ViewTestSupport.h"

#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Numbers.h"
#include "view/AddClusterForm.h"
#include "view/AddCplxForm.h"
#include "view/AddPointForm.h"
#include "scene/SceneState.h"
#include "view/FormHelpers.h"
#include "view/SpinEdit.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {


void Retype(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

// Shows the dialog modally and runs `answer` inside it.
template <class TDialog>
int RunModal(TDialog& dialog, std::function<void()> answer)
{
    WhenModalAppears([answer](QWidget*) { answer(); });
    return dialog.ShowModal();
}

class AddClusterDialog : public ::testing::Test {
protected:
    TRecordingDialogs Boxes;
    TScopedDialogs Installed{Boxes};
    TForm_AddCluster Dialog;
    QPushButton* BAddOK = Part<QPushButton>(&Dialog, "BAddOK");
    QPushButton* BAddKO = Part<QPushButton>(&Dialog, "BAddKO");
    QPushButton* BAddCol = Part<QPushButton>(&Dialog, "BAddCol");
    QLineEdit* EClusName = Part<QLineEdit>(&Dialog, "EClusName");
    QLineEdit* EClusCol = Part<QLineEdit>(&Dialog, "EClusCol");
    TSpinEdit* SpENbClusPt = Part<TSpinEdit>(&Dialog, "SpENbClusPt");

    int TypeCountAndConfirm(const QString& count)
    {
        return RunModal(Dialog, [this, count]() {
            Retype(SpENbClusPt->findChild<QLineEdit*>(), count);
            QTest::mouseClick(BAddOK, Qt::LeftButton);
        });
    }
};

TEST_F(AddClusterDialog, CountIsReadAsAnIntegerAndKeptInRange)
{
    EXPECT_EQ(TypeCountAndConfirm("9999"), TModalForm::mrOk);
    EXPECT_EQ(NewClusterSize, 5000);
    EXPECT_EQ(TypeCountAndConfirm("0"), TModalForm::mrOk);
    EXPECT_EQ(NewClusterSize, 1);
    EXPECT_EQ(TypeCountAndConfirm("-"), TModalForm::mrOk);
    EXPECT_EQ(NewClusterSize, 1);
    EXPECT_EQ(TypeCountAndConfirm("250"), TModalForm::mrOk);
    EXPECT_EQ(NewClusterSize, 250);
    EXPECT_EQ(NewClusterName, "Galaxie 1");
    EXPECT_TRUE(Boxes.Shown.isEmpty());
}

TEST_F(AddClusterDialog, CancelAndCloseBoxLeaveTheResultsAlone)
{
    NewClusterName = "avant";
    NewClusterSize = 7;
    EXPECT_EQ(RunModal(Dialog, [this]() {
                  Retype(EClusName, "Autre");
                  QTest::mouseClick(BAddKO, Qt::LeftButton);
              }),
              TModalForm::mrCancel);
    EXPECT_EQ(RunModal(Dialog, [this]() { Dialog.Close(); }), TModalForm::mrCancel);
    EXPECT_EQ(NewClusterName, "avant");
    EXPECT_EQ(NewClusterSize, 7);
    EXPECT_FALSE(Dialog.isVisible());
    // The text of the last use stays for the next one.
    EXPECT_EQ(EClusName->text(), "Autre");
}

TEST_F(AddClusterDialog, ColourButtonRepaintsTheSwatchWhateverTheAnswer)
{
    NewClusterColor = 255;
    RunModal(Dialog, [this]() {
        SetSwatchColor(EClusCol, 0); // something else, to see the repaint
        Boxes.ColorAnswer = TColorDialogResult::Cancelled;
        QTest::mouseClick(BAddCol, Qt::LeftButton);
        EXPECT_EQ(SwatchColor(EClusCol), 255);
        EXPECT_EQ(NewClusterColor, 255);

        Boxes.ColorAnswer = TColorDialogResult::Chosen;
        Boxes.ChosenColor = 0x00FF00;
        QTest::mouseClick(BAddCol, Qt::LeftButton);
        EXPECT_EQ(SwatchColor(EClusCol), 0x00FF00);

        Boxes.ColorAnswer = TColorDialogResult::Unavailable;
        Boxes.ChosenColor = 0x0000FF;
        QTest::mouseClick(BAddCol, Qt::LeftButton);
        QTest::mouseClick(BAddKO, Qt::LeftButton);
    });
    // Confirmed colours stay even though the dialog was cancelled.
    EXPECT_EQ(NewClusterColor, 0x00FF00);
    EXPECT_EQ(Boxes.ColorRequests, 3);
    ASSERT_EQ(Boxes.Shown.size(), 1);
    EXPECT_EQ(Boxes.Shown[0].Text, QString::fromUtf8("Impossible de charger la boîte de dialogue de sélection de couleurs"));
    NewClusterColor = 255;
}

TEST_F(AddClusterDialog, IsCentredOnEachShowing)
{
    RunModal(Dialog, [this]() {
        const QRect screen = Dialog.screen()->geometry();
        const auto half = [](int size) { return static_cast<int>(Round(size / 2.0L)); };
        // A window manager adds its frame after the first placement, which
        // then counted the client area only: allow half the frame.
        const int slackX = (Dialog.Width() - Dialog.width()) / 2;
        const int slackY = (Dialog.Height() - Dialog.height()) / 2;
        EXPECT_NEAR(Dialog.Left(), half(screen.width()) - half(Dialog.Width()), slackX);
        EXPECT_NEAR(Dialog.Top(), half(screen.height()) - half(Dialog.Height()), slackY);
        EXPECT_TRUE(Dialog.windowFlags() & Qt::WindowStaysOnTopHint);
        QTest::mouseClick(BAddKO, Qt::LeftButton);
    });
}

TEST(AddCplxDialog, StoresTheNameOnOkOnly)
{
    TForm_AddCplx dialog;
    auto* EClxName = Part<QLineEdit>(&dialog, "EClxName");
    auto* BAddCplxOK = Part<QPushButton>(&dialog, "BAddCplxOK");
    auto* BAddCplxKO = Part<QPushButton>(&dialog, "BAddCplxKO");
    EXPECT_EQ(RunModal(dialog, [&]() {
                  Retype(EClxName, "");
                  QTest::mouseClick(BAddCplxOK, Qt::LeftButton);
              }),
              TModalForm::mrOk);
    EXPECT_EQ(NewComplexName, ""); // an empty name is accepted
    EXPECT_EQ(RunModal(dialog, [&]() {
                  Retype(EClxName, "Amas 2");
                  QTest::mouseClick(BAddCplxKO, Qt::LeftButton);
              }),
              TModalForm::mrCancel);
    EXPECT_EQ(NewComplexName, "");
    // Enter does not confirm.
    EXPECT_EQ(RunModal(dialog, [&]() {
                  QTest::keyClick(EClxName, Qt::Key_Return);
                  EXPECT_TRUE(dialog.isVisible());
                  QTest::mouseClick(BAddCplxOK, Qt::LeftButton);
              }),
              TModalForm::mrOk);
    EXPECT_EQ(NewComplexName, "Amas 2");
    EXPECT_EQ(dialog.size(), QSize(281, 90));
}

} // namespace

namespace {

class AddPointDialog : public ::testing::Test {
protected:
    TRecordingDialogs Boxes;
    TScopedDialogs Installed{Boxes};
    TForm_AddPoint Dialog;
    QLineEdit* EPtName = Part<QLineEdit>(&Dialog, "EPtName");
    QLineEdit* EAddPtLat = Part<QLineEdit>(&Dialog, "EAddPtLat");
    QLineEdit* EAddPtLong = Part<QLineEdit>(&Dialog, "EAddPtLong");
    QLineEdit* EAddPtMass = Part<QLineEdit>(&Dialog, "EAddPtMass");
    QLineEdit* EPtCol = Part<QLineEdit>(&Dialog, "EPtCol");
    QPushButton* BAddOK = Part<QPushButton>(&Dialog, "BAddOK");
    QPushButton* BAddKO = Part<QPushButton>(&Dialog, "BAddKO");
    QPushButton* BAddCol = Part<QPushButton>(&Dialog, "BAddCol");
};

TEST_F(AddPointDialog, OkStoresTheValuesUncheckedAgainstTheirRanges)
{
    EXPECT_EQ(RunModal(Dialog, [this]() {
                  EXPECT_EQ(SwatchColor(EPtCol), NewPointColor);
                  Retype(EPtName, "");
                  Retype(EAddPtLat, "120");
                  Retype(EAddPtLong, "-30");
                  Retype(EAddPtMass, "2.5");
                  QTest::mouseClick(BAddOK, Qt::LeftButton);
              }),
              TModalForm::mrOk);
    EXPECT_EQ(NewPointName, "");
    EXPECT_EQ(NewPointLatitude, 120);
    EXPECT_EQ(NewPointLongitude, -30);
    EXPECT_EQ(NewPointMass, 2.5L);
    EXPECT_TRUE(Boxes.Shown.isEmpty());
    // The next showing starts from the texts of this one.
    EXPECT_EQ(EAddPtLat->text(), "120");
}

TEST_F(AddPointDialog, LeavingANumericBoxWithBadTextKeepsTheFocusThere)
{
    RunModal(Dialog, [this]() {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Dialog));
        Retype(EAddPtLat, "12x");
        EXPECT_TRUE(Boxes.Shown.isEmpty()); // typing alone says nothing
        EPtName->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(QApplication::focusWidget(), EAddPtLat);
        ASSERT_EQ(Boxes.Shown.size(), 1);
        EXPECT_EQ(Boxes.Shown[0].Text, "Bad floating point format");
        EXPECT_EQ(Boxes.Shown[0].Caption, ApplicationTitle());

        Retype(EAddPtLat, "12.5");
        EPtName->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(QApplication::focusWidget(), EPtName);
        EXPECT_EQ(Boxes.Shown.size(), 1);
        QTest::mouseClick(BAddKO, Qt::LeftButton);
    });
}

TEST_F(AddPointDialog, OkWithAnUnconvertibleBoxFailsAfterTheBoxesBeforeIt)
{
    NewPointName = "avant";
    NewPointLatitude = 5;
    RunModal(Dialog, [this]() {
        Retype(EPtName, "Lune");
        Retype(EAddPtMass, "3");
        EAddPtLat->setText("nord");
        QTest::mouseClick(BAddOK, Qt::LeftButton); // the application reports the error
        EXPECT_TRUE(Dialog.isVisible());
        EXPECT_EQ(Dialog.ModalResult(), TModalForm::mrNone);
        EAddPtLat->setText("0");
        QTest::mouseClick(BAddKO, Qt::LeftButton);
    });
    EXPECT_EQ(NewPointName, "Lune");
    EXPECT_EQ(NewPointMass, 3);
    EXPECT_EQ(NewPointLatitude, 5);
    ASSERT_FALSE(Boxes.Shown.isEmpty());
    EXPECT_EQ(Boxes.Shown.last().Kind, "error");
}

TEST_F(AddPointDialog, ColourChoiceChangesTheHandAddedPointColour)
{
    const int before = NewPointColor;
    RunModal(Dialog, [this]() {
        Boxes.ColorAnswer = TColorDialogResult::Chosen;
        Boxes.ChosenColor = 0xFF0000;
        QTest::mouseClick(BAddCol, Qt::LeftButton);
        EXPECT_EQ(SwatchColor(EPtCol), 0xFF0000);
        QTest::mouseClick(BAddKO, Qt::LeftButton);
    });
    EXPECT_EQ(NewPointColor, 0xFF0000);
    NewPointColor = before;
}

} // namespace
