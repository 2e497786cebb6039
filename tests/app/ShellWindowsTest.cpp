// The main window and the table of contents driven as a learner would.

#include "app/KorvalithForm.h"
#include "app/SommaireDidacticielForm.h"
#include "app/SommaireTreeView.h"
#include "platform/Application.h"
#include "view/SGLPointsForm.h"

#include "TestSupport.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString NothingYet = QStringLiteral(" On a dit :  \"Rien pour l'instant \"   !!!   <:o) ");

class ShellWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetApplicationTerminated();
        Form_Korvalith = new TForm_Korvalith();
        Form_Korvalith->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form_Korvalith));
    }
    void TearDown() override
    {
        delete Form_SommaireViewer;
        Form_SommaireViewer = nullptr;
        delete Form_Korvalith;
        Form_Korvalith = nullptr;
        ResetApplicationTerminated();
    }

    TForm_SommaireViewer* EnterTutorial()
    {
        QTest::mouseClick(Form_Korvalith->Button_didactitiel, Qt::LeftButton);
        return Form_SommaireViewer;
    }

    static QPoint LabelPoint(TSommaireTreeView* tree, int index, int dx = 5)
    {
        const QRect rect = tree->visualItemRect(tree->topLevelItem(index));
        return QPoint(rect.left() + dx, rect.center().y());
    }

    TRecordingDialogs Dialogs;
    TScopedDialogs Installed{Dialogs};
};

} // namespace

TEST_F(ShellWindows, MainWindowShowsItsComponentsAsDesigned)
{
    TForm_Korvalith* form = Form_Korvalith;
    EXPECT_EQ(form->Caption(), "Korvalith");
    EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
    EXPECT_EQ(form->Label1->text(), "Korvalith");
    EXPECT_EQ(form->Label1->font().pixelSize(), 64);
    EXPECT_EQ(form->Label1->geometry(), QRect(312, 88, 344, 73));
    EXPECT_TRUE(form->Label2->font().bold());
    EXPECT_FALSE(form->Label2->text().isEmpty());
    EXPECT_EQ(form->Button_didactitiel->text(), "Entrer dans le Didacticiel");
    EXPECT_EQ(form->Button_didactitiel->geometry(), QRect(216, 360, 249, 57));
    EXPECT_FALSE(form->Button_simulations->isEnabled());
    EXPECT_EQ(form->Button_simulations->text(), "Concevoir et exécuter une simulation");
    EXPECT_EQ(form->Button_simulations->toolTip(), "Cette partie n''est pas encore implémentée....");
    EXPECT_EQ(form->Button1->text(), "Quitter");
    EXPECT_EQ(form->Button_didactitiel->nextInFocusChain(), form->Button_simulations);
    EXPECT_EQ(form->Button_simulations->nextInFocusChain(), form->Button1);
}

TEST_F(ShellWindows, AnnulerKeepsEverythingAndTheQuestionComesBack)
{
    Dialogs.ConfirmAnswer = false;
    QTest::mouseClick(Form_Korvalith->Button1, Qt::LeftButton);
    ASSERT_EQ(Dialogs.Shown.size(), 1);
    EXPECT_EQ(Dialogs.Shown[0].Kind, "confirm");
    EXPECT_EQ(Dialogs.Shown[0].Caption, "Confirmation");
    EXPECT_EQ(Dialogs.Shown[0].Text, "Quitter l'application ?");
    EXPECT_TRUE(Form_Korvalith->Visible());
    EXPECT_FALSE(ApplicationTerminated());

    Form_Korvalith->close(); // the close box asks as well
    EXPECT_EQ(Dialogs.Shown.size(), 2);
    EXPECT_TRUE(Form_Korvalith->Visible());

    Dialogs.ConfirmAnswer = true;
    QTest::mouseClick(Form_Korvalith->Button1, Qt::LeftButton);
    EXPECT_EQ(Dialogs.Shown.size(), 3);
    EXPECT_TRUE(ApplicationTerminated());
}

TEST_F(ShellWindows, TheRealConfirmationBoxDoesNotMinimiseTheMainWindow)
{
    SetDialogs(nullptr); // the real boxes for this test
    Form_Korvalith->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form_Korvalith));
    TWindowState stateWhileAsked = TWindowState::wsNormal;
    WhenModalAppears([&](QWidget* box) {
        QTest::qWait(100);
        stateWhileAsked = Form_Korvalith->WindowState();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    QTest::mouseClick(Form_Korvalith->Button1, Qt::LeftButton);
    EXPECT_EQ(stateWhileAsked, TWindowState::wsMaximized);
    EXPECT_FALSE(ApplicationTerminated());
    SetDialogs(&Dialogs);
}

TEST_F(ShellWindows, EnteringTheTutorialOpensTheTableOfContentsOnce)
{
    TForm_SommaireViewer* toc = EnterTutorial();
    ASSERT_NE(toc, nullptr);
    EXPECT_TRUE(toc->Visible());
    EXPECT_EQ(toc->WindowState(), TWindowState::wsMaximized);
    EXPECT_EQ(toc->ReturnWindow, Form_Korvalith);
    EXPECT_EQ(Form_Korvalith->WindowState(), TWindowState::wsMinimized);
    EXPECT_EQ(toc->Caption(), "Didactitiel Korvalith");

    TSommaire* model = toc->Sommaire;
    QTreeWidgetItem* firstNode = toc->TreeViewSommaire->topLevelItem(0);
    toc->Close();
    EXPECT_FALSE(toc->Visible());
    EXPECT_EQ(Form_Korvalith->WindowState(), TWindowState::wsMaximized);

    EXPECT_EQ(EnterTutorial(), toc);
    EXPECT_EQ(toc->Sommaire, model);
    EXPECT_EQ(toc->TreeViewSommaire->topLevelItem(0), firstNode);
    EXPECT_TRUE(toc->Visible());
}

TEST_F(ShellWindows, TheTreeHoldsTheFourChaptersWithTheirBlanks)
{
    TForm_SommaireViewer* toc = EnterTutorial();
    TSommaireTreeView* tree = toc->TreeViewSommaire;
    ASSERT_EQ(tree->topLevelItemCount(), 4);
    const QStringList titles = {"1 - Introduction", "2 - Se familiariser avec l'espace de calcul ",
                                "3 - rien pour l'instant ", "4 - etc ..."};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tree->topLevelItem(i)->text(0), titles[i]);
        EXPECT_EQ(tree->topLevelItem(i)->childCount(), 0);
        EXPECT_EQ(toc->Sommaire->Strings(i), titles[i]);
    }
    const QString folder = FileSystem().ProgramFolder();
    auto item = [&](int i) { return CheckedCast<TSommaireItem>(toc->Sommaire->Objects(i)); };
    EXPECT_EQ(item(0)->FileName, folder + "Docs\\Introduction.htm");
    EXPECT_EQ(item(1)->FileName, folder + "Docs\\VisualisationEspaceDeCalcul.htm");
    EXPECT_EQ(item(3)->FileName, folder + "Docs\\Introduction.htm");
    EXPECT_EQ(toc->Sommaire->SommaireName, "Sommaire");
    EXPECT_EQ(tree->indentation(), 19);
    EXPECT_EQ(toc->Panel1->text(), "Sommaire du Didacticiel");
    EXPECT_EQ(toc->BQuit->text(), "Quitter");
    EXPECT_EQ(toc->Button_Sommaire->text(), "Sommaire général");
}

TEST_F(ShellWindows, OnlyAPressOnALabelRunsTheAction)
{
    TForm_SommaireViewer* toc = EnterTutorial();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(toc));
    TSommaireTreeView* tree = toc->TreeViewSommaire;
    QWidget* viewport = tree->viewport();
    const QRect third = tree->visualItemRect(tree->topLevelItem(2));
    const QRect last = tree->visualItemRect(tree->topLevelItem(3));

    // Right of the text, on the indent, below the last node: nothing.
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(third.left() + 600, third.center().y()));
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(third.left() - 8, third.center().y()));
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(last.left() + 5, last.bottom() + 30));
    EXPECT_TRUE(Dialogs.Shown.isEmpty());
    EXPECT_TRUE(tree->selectedItems().isEmpty());

    // A right press selects without acting.
    QTest::mousePress(viewport, Qt::RightButton, {}, LabelPoint(tree, 2));
    EXPECT_TRUE(Dialogs.Shown.isEmpty());
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(2));

    // The left press on the label acts at once, and the window stays.
    QTest::mousePress(viewport, Qt::LeftButton, {}, LabelPoint(tree, 3));
    ASSERT_EQ(Dialogs.Shown.size(), 1);
    EXPECT_EQ(Dialogs.Shown[0].Kind, "message");
    EXPECT_EQ(Dialogs.Shown[0].Caption, "Korvalith - didacticiel V1");
    EXPECT_EQ(Dialogs.Shown[0].Text, NothingYet);
    QTest::mousePress(viewport, Qt::LeftButton, {}, LabelPoint(tree, 2));
    ASSERT_EQ(Dialogs.Shown.size(), 2);
    EXPECT_EQ(Dialogs.Shown[1].Text, NothingYet);
    EXPECT_TRUE(toc->Visible());
}

TEST_F(ShellWindows, TheKeyboardOnlySelects)
{
    TForm_SommaireViewer* toc = EnterTutorial();
    TSommaireTreeView* tree = toc->TreeViewSommaire;
    tree->setFocus();
    tree->setCurrentItem(tree->topLevelItem(1));
    QTest::keyClick(tree, Qt::Key_Down);
    QTest::keyClick(tree, Qt::Key_Return);
    QTest::keyClick(tree, Qt::Key_Space);
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(2));
    EXPECT_TRUE(Dialogs.Shown.isEmpty());
}

TEST_F(ShellWindows, QuitterOfTheTableOfContentsAsksTheSameQuestion)
{
    TForm_SommaireViewer* toc = EnterTutorial();
    Dialogs.ConfirmAnswer = false;
    QTest::mouseClick(toc->BQuit, Qt::LeftButton);
    ASSERT_EQ(Dialogs.Shown.size(), 1);
    EXPECT_EQ(Dialogs.Shown[0].Text, "Quitter l'application ?");
    EXPECT_TRUE(toc->Visible());
    EXPECT_FALSE(ApplicationTerminated());
    Dialogs.ConfirmAnswer = true;
    QTest::mouseClick(toc->BQuit, Qt::LeftButton);
    EXPECT_TRUE(ApplicationTerminated());
}

TEST_F(ShellWindows, SommaireGeneralAndTheCloseBoxReturnToTheMainWindow)
{
    TForm_SommaireViewer* toc = EnterTutorial();
    QTest::mouseClick(toc->Button_Sommaire, Qt::LeftButton);
    EXPECT_FALSE(toc->Visible());
    EXPECT_EQ(Form_Korvalith->WindowState(), TWindowState::wsMaximized);

    EnterTutorial();
    EXPECT_EQ(Form_Korvalith->WindowState(), TWindowState::wsMinimized);
    toc->close();
    EXPECT_FALSE(toc->Visible());
    EXPECT_EQ(Form_Korvalith->WindowState(), TWindowState::wsMaximized);
    EXPECT_TRUE(Dialogs.Shown.isEmpty());
}

TEST_F(ShellWindows, AWindowOfTheProgramBecomingActiveMinimisesTheOthers)
{
    TForm_SommaireViewer* toc = EnterTutorial();
    ASSERT_TRUE(QTest::qWaitForWindowActive(toc));
    Form_Korvalith->SetWindowState(TWindowState::wsMaximized);
    Form_Korvalith->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form_Korvalith));
    EXPECT_EQ(toc->WindowState(), TWindowState::wsMinimized);
    toc->SetWindowState(TWindowState::wsMaximized);
    toc->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(toc));
    EXPECT_EQ(Form_Korvalith->WindowState(), TWindowState::wsMinimized);
}

TEST_F(ShellWindows, ChapterTwoOpensTheExperimentAndItsCloseReturnsHere)
{
    TForm_SommaireViewer* toc = EnterTutorial();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(toc));
    TSommaireTreeView* tree = toc->TreeViewSommaire;
    QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, LabelPoint(tree, 1));
    ASSERT_NE(Form_SGLPoints, nullptr);
    TForm_SGLPoints* scene = Form_SGLPoints;
    EXPECT_TRUE(scene->Visible());
    EXPECT_EQ(scene->ReturnWindow, toc);
    EXPECT_FALSE(toc->Visible());
    EXPECT_TRUE(Dialogs.Shown.isEmpty());

    scene->Close();
    EXPECT_FALSE(scene->Visible());
    EXPECT_TRUE(toc->Visible());
    EXPECT_EQ(toc->WindowState(), TWindowState::wsMaximized);

    QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, LabelPoint(tree, 1));
    EXPECT_EQ(Form_SGLPoints, scene);
    EXPECT_TRUE(scene->Visible());
    scene->Close();
    // The scene window refers to this table of contents: it goes first.
    scene->ReturnWindow = nullptr;
}

TEST(Sommaire, FillTreeRefusesAForeignObjectAndIgnoresANullTree)
{
    TSommaire sommaire("Sommaire");
    int runs = 0;
    sommaire.AddItem("Un", "a.htm", [&] { ++runs; });
    QTreeWidget tree;
    sommaire.FillTree(nullptr);
    sommaire.FillTree(&tree);
    sommaire.FillTree(&tree); // rebuilds, never doubles
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    auto* item = dynamic_cast<TSommaireItem*>(TSommaireItem::NodeData(tree.topLevelItem(0)));
    ASSERT_NE(item, nullptr);
    item->Execute();
    EXPECT_EQ(runs, 1);

    TStringList foreign;
    sommaire.AddObject("Deux", &foreign);
    EXPECT_THROW(sommaire.FillTree(&tree), EInvalidCast);
    sommaire.SetObject(1, nullptr);
}
