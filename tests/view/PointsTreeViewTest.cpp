// The object tree window on a scene root of its own (no GL panel: the
// root's list requests are refused, which the window does not mind).

#include "ViewTestSupport.h"

#include "platform/Dialogs.h"
#include "scene/MyGOPoints.h"
#include "view/AddClusterForm.h"
#include "view/AddCplxForm.h"
#include "view/AddPointForm.h"
#include "view/PointsTreeViewForm.h"
#include "view/SpinEdit.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

template <class T>
void CreateIfNull(T*& form)
{
    if (form == nullptr)
        form = new T();
}

class PointsTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetScene();
        SceneRoot = new TGObjects(QStringLiteral("Ensemble complet des points"), nullptr);
        CreateIfNull(Form_AddPoint);
        CreateIfNull(Form_AddCluster);
        CreateIfNull(Form_AddCplx);
        Window.Show();
    }
    void TearDown() override { ResetScene(); }

    TRecordingDialogs Boxes;
    TScopedDialogs Installed{Boxes};
    TForm_PointsTreeView Window;

    QTreeWidget* Tree() const { return Window.TVWGobj(); }
    QAction* Item(const char* name) const { return Part<QAction>(&Window, name); }
    QTreeWidgetItem* Root() const { return Tree()->topLevelItem(0); }

    void Select(QTreeWidgetItem* node) { Tree()->setCurrentItem(node); }

    // Opens the menu's enabling step on the current selection.
    void OpenMenu() { Window.PopupMenuTreeViewPopup(); }

    static void AnswerOk(std::function<void(QWidget*)> fill = {})
    {
        WhenModalAppears([fill](QWidget* dialog) {
            if (fill)
                fill(dialog);
            for (const char* ok : {"BAddOK", "BAddCplxOK"})
                if (auto* button = dialog->findChild<QPushButton*>(ok))
                    QTest::mouseClick(button, Qt::LeftButton);
        });
    }

    TG2DPoints* AddClusterToRoot(int count)
    {
        auto* cluster = NewRandomCluster(count, "Amas", 255, SceneRoot);
        EXPECT_TRUE(SceneRoot->Add(cluster));
        Window.RefreshTree();
        return cluster;
    }
};

TEST_F(PointsTree, ShowingBuildsTheTreeUnderTheRootNode)
{
    ASSERT_EQ(Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(Root()->text(0), "Ensemble complet des points");
    EXPECT_EQ(TreeNodeObject(Root()), SceneRoot);
    EXPECT_EQ(Window.windowTitle(), QString::fromUtf8("Vue détaillée des points"));
    EXPECT_EQ(Window.PopupMenuTreeView()->defaultAction(), Item("PopItHighLigth"));
    EXPECT_EQ(Tree()->indentation(), 19);
}

TEST_F(PointsTree, WithNothingSelectedCommandsActOnTheRoot)
{
    EXPECT_EQ(Window.SelectedObject(), SceneRoot);
    AddClusterToRoot(2);
    AnswerOk([](QWidget* dialog) { dialog->findChild<QLineEdit*>("EPtName")->setText("Soleil"); });
    Window.PopItAddPointClick();
    ASSERT_EQ(SceneRoot->Count(), 2);
    auto* point = dynamic_cast<TG2DPoint*>(SceneRoot->GetChild(1));
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(point->Name(), "Soleil");
    EXPECT_EQ(point->Number(), 1); // the root's child count before it
    EXPECT_EQ(Root()->childCount(), 2);

    Window.PopItDeleteClick(); // nothing selected: the root stays
    EXPECT_EQ(SceneRoot->Count(), 2);
    EXPECT_EQ(Root()->childCount(), 2);
}

TEST_F(PointsTree, PointsAddedToAClusterAreNumberedWithItsPointCount)
{
    TG2DPoints* cluster = AddClusterToRoot(3);
    Select(Root()->child(0));
    EXPECT_EQ(Window.SelectedObject(), cluster);
    AnswerOk();
    Window.PopItAddPointClick();
    ASSERT_EQ(cluster->PointCount(), 4);
    EXPECT_EQ(cluster->Point(3)->Number(), 3);
    EXPECT_EQ(cluster->Point(3)->Color(), NewPointColor);
}

TEST_F(PointsTree, EnablingFollowsTheSelectedKind)
{
    TG2DPoints* cluster = AddClusterToRoot(2);
    AddClusterToRoot(0);
    const auto enabled = [this]() {
        QString flags;
        for (const char* name : {"PopItHighLigth", "PopItAddPoint", "PopItAddCluster", "PopItAddCplx", "PopItDelete"})
            flags += Item(name)->isEnabled() ? '1' : '0';
        return flags;
    };
    OpenMenu(); // the root, holding points
    EXPECT_EQ(enabled(), "11111");
    Select(Root()->child(0));
    OpenMenu();
    EXPECT_EQ(enabled(), "11001");
    Select(Root()->child(1)); // an empty cluster: nothing to highlight
    OpenMenu();
    EXPECT_EQ(enabled(), "01001");
    // A detail line of a point stands for the point.
    Select(Root()->child(0)->child(0)->child(1));
    EXPECT_EQ(Window.SelectedObject(), cluster->Point(0));
    OpenMenu();
    EXPECT_EQ(enabled(), "10001");
}

TEST_F(PointsTree, HighlightTogglesTheObjectAndItsPoints)
{
    TG2DPoints* cluster = AddClusterToRoot(2);
    Select(Root()->child(0));
    OpenMenu();
    EXPECT_FALSE(Item("PopItHighLigth")->isChecked());
    Item("PopItHighLigth")->trigger();
    EXPECT_TRUE(cluster->Highlighted());
    EXPECT_TRUE(cluster->Point(1)->Highlighted());
    OpenMenu();
    EXPECT_TRUE(Item("PopItHighLigth")->isChecked());
    Item("PopItHighLigth")->trigger();
    EXPECT_FALSE(cluster->Point(0)->Highlighted());
}

TEST_F(PointsTree, RemovingAPointRebuildsTheTreeWithoutIt)
{
    TG2DPoints* cluster = AddClusterToRoot(3);
    Select(Root()->child(0)->child(0));
    Item("PopItDelete")->trigger();
    EXPECT_EQ(cluster->PointCount(), 2);
    EXPECT_EQ(cluster->Point(0)->Name(), "Pt : 1");
    EXPECT_EQ(Root()->child(0)->childCount(), 2);
    EXPECT_EQ(Root()->child(0)->text(0), "Amas (2)");
}

TEST_F(PointsTree, ClustersAndComplexesGoUnderTheSelectedContainerOnly)
{
    AnswerOk([](QWidget* dialog) { dialog->findChild<QLineEdit*>("EClxName")->setText("Amas 1"); });
    Window.PopItAddCplxClick();
    ASSERT_EQ(SceneRoot->Count(), 1);
    auto* complex = dynamic_cast<TGObjects*>(SceneRoot->GetChild(0));
    ASSERT_NE(complex, nullptr);
    Select(Root()->child(0));
    AnswerOk([](QWidget* dialog) { dialog->findChild<TSpinEdit*>("SpENbClusPt")->SetValue(4); });
    Window.PopItAddClusterClick();
    ASSERT_EQ(complex->Count(), 1);
    EXPECT_EQ(complex->PointCount(), 4);
    EXPECT_EQ(Root()->child(0)->text(0), "Amas 1 (1)");

    // A point selected: the guards raise before anything is made.
    Select(Root()->child(0)->child(0)->child(0));
    AnswerOk();
    EXPECT_THROW(Window.PopItAddClusterClick(), Exception);
    AnswerOk();
    EXPECT_THROW(Window.PopItAddCplxClick(), Exception);
    EXPECT_EQ(complex->PointCount(), 4);
    EXPECT_EQ(complex->Count(), 1);
}

} // namespace
