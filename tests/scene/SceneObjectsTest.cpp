// The scene object hierarchy: display-list ownership by roots, the
// container's collection, highlighting, tree and info texts, colour bits.

#include "RecordedPrimitives.h"
#include "TestSupport.h"

#include "scene/MyGOPoints.h"

#include <QTreeWidgetItem>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A drawable leaf that reports its destruction and emits one marker.
class TTracked : public TGObject {
public:
    TTracked(const QString& name, TGObject* parent, bool* destroyed = nullptr)
        : TGObject(name, parent)
        , FDestroyed(destroyed)
    {
    }
    ~TTracked() override
    {
        if (FDestroyed != nullptr)
            *FDestroyed = true;
    }
    void FillOpenList() override { GL().Vertex3d(FName.size(), 0, 0); }

private:
    bool* FDestroyed;
};

// A root that forgot to say how it draws.
class TUndrawable : public TGObjectL {
public:
    using TGObjectL::TGObjectL;
};

TG2DPoint* NewPoint(const QString& name, TGObject* parent, int color = 255)
{
    return new TG2DPoint(name, color, 1.0L, { 1, 0, 0 }, ZeroVector, 0, parent);
}

class SceneObjects : public ::testing::Test {
protected:
    TSetupGL Panel; // never set up: the recorder stands in for GL
    TGLRecorder Recorder;
    TScopedGL ScopedGL { Recorder };
};

} // namespace

TEST_F(SceneObjects, BuildListIsRefusedWithoutPanelForBadNumbersAndBelowARoot)
{
    TGObjects root("Racine", nullptr);
    EXPECT_FALSE(root.BuildList(10));
    root.CallList();
    EXPECT_TRUE(Recorder.Calls.empty());
    EXPECT_EQ(root.ListId(), -1);

    root.SetGLPanel(&Panel);
    ASSERT_TRUE(root.BuildList(10));
    Recorder.Reset();
    EXPECT_FALSE(root.BuildList(0));
    EXPECT_FALSE(root.BuildList(-5));
    EXPECT_TRUE(Recorder.Calls.empty());
    EXPECT_EQ(root.ListId(), 10);

    auto* inner = new TGObjects("Complexe", nullptr);
    ASSERT_TRUE(root.Add(inner));
    EXPECT_EQ(inner->GLPanel(), &Panel);
    EXPECT_FALSE(inner->BuildList(20));
    EXPECT_TRUE(Recorder.Calls.empty());
}

TEST_F(SceneObjects, RecompilingDeletesTheOldListEvenUnderTheSameNumber)
{
    TGObjects root("Racine", nullptr);
    root.SetGLPanel(&Panel);
    root.Add(new TTracked("ab", nullptr));
    ASSERT_TRUE(root.BuildList(10));
    EXPECT_EQ(Recorder.Count("glDeleteLists"), 0);
    ASSERT_EQ(Recorder.Calls.front().Name, "glNewList");
    EXPECT_EQ(Recorder.Calls.front().Args, (std::vector<double> { 10, GL_COMPILE }));
    EXPECT_EQ(Recorder.Calls.back().Name, "glEndList");

    Recorder.Reset();
    ASSERT_TRUE(root.BuildList(root.ListId()));
    ASSERT_GE(Recorder.Calls.size(), 2u);
    EXPECT_EQ(Recorder.Calls[0].Name, "glDeleteLists");
    EXPECT_EQ(Recorder.Calls[0].Args, (std::vector<double> { 10, 1 }));
    EXPECT_EQ(Recorder.Calls[1].Name, "glNewList");
    EXPECT_EQ(Recorder.Calls[1].Args[0], 10);

    Recorder.Reset();
    ASSERT_TRUE(root.BuildList(13));
    EXPECT_EQ(Recorder.Calls[0].Args, (std::vector<double> { 10, 1 }));
    EXPECT_EQ(root.ListId(), 13);
    root.CallList();
    EXPECT_EQ(Recorder.Calls.back().Name, "glCallList");
    EXPECT_EQ(Recorder.Calls.back().Args[0], 13);
}

TEST_F(SceneObjects, ChildrenAreCompiledInInsertionOrderIntoTheRootsList)
{
    TGObjects root("Racine", nullptr);
    root.SetGLPanel(&Panel);
    auto* inner = new TGObjects("Complexe", nullptr);
    inner->Add(new TTracked("b", nullptr));
    inner->Add(new TTracked("ccc", nullptr));
    root.Add(new TTracked("", nullptr));
    root.Add(inner);
    root.Add(new TTracked("dddd", nullptr));
    ASSERT_TRUE(root.BuildList(10));
    std::vector<double> order;
    for (const auto& call : Recorder.CallsNamed("glVertex3d"))
        order.push_back(call.Args[0]);
    EXPECT_EQ(order, (std::vector<double> { 0, 1, 3, 4 }));
    EXPECT_EQ(Recorder.Count("glNewList"), 1);
}

TEST_F(SceneObjects, DestroyingACompiledRootDeletesItsList)
{
    auto root = std::make_unique<TGObjects>("Racine", nullptr);
    root->SetGLPanel(&Panel);
    root->BuildList(10);
    Recorder.Reset();
    root.reset();
    ASSERT_EQ(Recorder.Count("glDeleteLists"), 1);
    EXPECT_EQ(Recorder.CallsNamed("glDeleteLists")[0].Args, (std::vector<double> { 10, 1 }));
}

TEST_F(SceneObjects, AnObjectWithoutDrawingRaisesAndTheListIsClosed)
{
    TUndrawable root("Sans dessin", nullptr);
    root.SetGLPanel(&Panel);
    try {
        root.BuildList(10);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "procedure FillOpenList not defined");
    }
    EXPECT_EQ(Recorder.Count("glNewList"), 1);
    EXPECT_EQ(Recorder.Count("glEndList"), 1);
    EXPECT_EQ(Recorder.Calls.back().Name, "glEndList");
}

TEST_F(SceneObjects, HighlightRecompilesTheRootOnlyWhenTheFlagChanges)
{
    TGObjects root("Racine", nullptr);
    root.SetGLPanel(&Panel);
    auto* inner = new TGObjects("Complexe", nullptr);
    TG2DPoint* point = NewPoint("P", nullptr);
    inner->Add(point);
    root.Add(inner);
    root.BuildList(10);
    Recorder.Reset();

    point->Highlight(true);
    point->Highlight(true);
    EXPECT_TRUE(point->Highlighted());
    EXPECT_EQ(Recorder.Count("glNewList"), 1);

    // A container passes its flag down; the comparison is on its own flag.
    Recorder.Reset();
    inner->Highlight(true);
    EXPECT_EQ(Recorder.Count("glNewList"), 1);
    inner->Highlight(false);
    EXPECT_FALSE(point->Highlighted());
    EXPECT_EQ(Recorder.Count("glNewList"), 2);
}

TEST_F(SceneObjects, PointCountSumsTheSubtree)
{
    TGObjects root("Racine", nullptr);
    EXPECT_EQ(root.PointCount(), 0);
    TG2DPoints* five = NewRandomCluster(5, "Amas", 255, &root);
    root.Add(five);
    root.Add(new TGObjects("Vide", nullptr));
    root.Add(NewRandomCluster(0, "Rien", 255, &root));
    EXPECT_EQ(root.PointCount(), 5);
    auto* inner = new TGObjects("Complexe", nullptr);
    inner->Add(NewPoint("P", nullptr));
    root.Add(inner);
    EXPECT_EQ(root.PointCount(), 6);
    EXPECT_EQ(root.Count(), 4);
}

TEST_F(SceneObjects, ChildrenAreFoundByIndexAndByNameIgnoringCase)
{
    TGObjects root("Racine", nullptr);
    TGObject* first = NewPoint("abc", nullptr);
    TGObject* second = NewPoint("ABC", nullptr);
    root.Add(first);
    root.Add(second);
    EXPECT_EQ(root.GetChild(-1), nullptr);
    EXPECT_EQ(root.GetChild(root.Count()), nullptr);
    EXPECT_EQ(root.GetChild(1), second);
    EXPECT_EQ(root.FindChild("ABC"), first);
    EXPECT_EQ(root.FindChild("Abc"), first);
    EXPECT_EQ(root.FindChild("abcd"), nullptr);
}

TEST_F(SceneObjects, RemovalIsByIdentityAndOnlyOfDirectChildren)
{
    bool firstGone = false, secondGone = false, deepGone = false; // outlive the root
    TGObjects root("Racine", nullptr);
    auto* first = new TTracked("x", nullptr, &firstGone);
    auto* second = new TTracked("x", nullptr, &secondGone);
    auto* inner = new TGObjects("Complexe", nullptr);
    auto* deep = new TTracked("y", nullptr, &deepGone);
    root.Add(first);
    root.Add(second);
    root.Add(inner);
    inner->Add(deep);

    EXPECT_FALSE(root.RemoveChild(deep));
    EXPECT_FALSE(root.RemoveChild(nullptr));
    EXPECT_FALSE(deepGone);
    EXPECT_TRUE(root.RemoveChild(second));
    EXPECT_TRUE(secondGone);
    EXPECT_FALSE(firstGone);
    EXPECT_EQ(root.GetChild(0), first);
    EXPECT_EQ(root.GetChild(1), inner);

    EXPECT_TRUE(deep->RemoveFromParent());
    EXPECT_TRUE(deepGone);
    EXPECT_EQ(inner->Count(), 0);
    EXPECT_FALSE(root.RemoveFromParent());
    // A leaf holds nothing to remove.
    EXPECT_FALSE(first->RemoveChild(first));
}

TEST_F(SceneObjects, AddAdoptsTheChildAndRefusesCycles)
{
    TGObjects root("Racine", nullptr);
    TGObjects other("Autre", nullptr);
    root.SetGLPanel(&Panel);
    auto* inner = new TGObjects("Complexe", &other);
    EXPECT_TRUE(root.Add(inner));
    EXPECT_EQ(inner->Parent(), &root);
    EXPECT_EQ(other.Count(), 0);

    EXPECT_FALSE(root.Add(nullptr));
    EXPECT_FALSE(root.Add(&root));
    EXPECT_FALSE(inner->Add(&root));
    EXPECT_FALSE(inner->Add(inner));
    EXPECT_EQ(root.Count(), 1);
    EXPECT_EQ(inner->Count(), 0);
}

TEST_F(SceneObjects, RootAndContainerAreFoundUpTheTree)
{
    TGObjects root("Racine", nullptr);
    auto* inner = new TGObjects("Complexe", nullptr);
    root.Add(inner);
    TG2DPoints* cluster = NewRandomCluster(2, "Amas", 255, inner);
    inner->Add(cluster);
    TG2DPoint* point = cluster->Point(0);
    EXPECT_EQ(point->GetRootL(), &root);
    EXPECT_EQ(point->GetContainer(), inner); // the cluster is not a container
    EXPECT_EQ(root.GetContainer(), &root);

    TG2DPoint loose("Seul", 255, 1.0L, ZeroVector, ZeroVector, 0, nullptr);
    EXPECT_THROW(loose.GetRootL(), EInvalidCast);
    EXPECT_THROW(loose.GetContainer(), EInvalidCast);
    TGObjectL list("Liste", nullptr);
    EXPECT_EQ(list.GetRootL(), &list);
}

TEST_F(SceneObjects, TreeTextsShowContainersWithTheirChildCount)
{
    TGObjects root("Ensemble complet des points", nullptr);
    auto* complexe = new TGObjects("Complexe", nullptr);
    complexe->Add(NewPoint("A", nullptr));
    complexe->Add(new TGObjects("Vide", nullptr));
    root.Add(complexe);
    root.Add(new TTracked("Feuille", nullptr));

    QTreeWidgetItem top(QStringList("Ensemble complet des points"));
    SetTreeNodeObject(&top, &root);
    root.FillTreeNode(&top);
    ASSERT_EQ(top.childCount(), 2); // no node of the root's own
    QTreeWidgetItem* node = top.child(0);
    EXPECT_EQ(node->text(0), "Complexe (2)");
    EXPECT_EQ(TreeNodeObject(node), complexe);
    EXPECT_EQ(node->child(0)->text(0), "A (0)");
    EXPECT_EQ(node->child(1)->text(0), "Vide (0)");
    EXPECT_EQ(top.child(1)->text(0), "Feuille");
    EXPECT_EQ(TreeNodeObject(&top), &root);
    EXPECT_EQ(TreeNodeObject(nullptr), nullptr);
    QTreeWidgetItem bare;
    EXPECT_EQ(TreeNodeObject(&bare), nullptr);
    root.FillTreeNode(nullptr); // nothing to add to: no crash
}

TEST_F(SceneObjects, InfoLinesIndentEachLevelByTwoSpaces)
{
    TGObjects root("Racine", nullptr);
    auto* inner = new TGObjects("Complexe", nullptr);
    inner->Add(new TTracked("Feuille", nullptr));
    root.Add(inner);
    root.Add(new TGObjects("Vide", nullptr));
    TStringList lines;
    root.AddInfo(lines, "> ");
    ASSERT_EQ(lines.Count(), 4);
    EXPECT_EQ(lines.Strings(0), "> Racine");
    EXPECT_EQ(lines.Strings(1), ">   Complexe");
    EXPECT_EQ(lines.Strings(2), ">     Feuille");
    EXPECT_EQ(lines.Strings(3), ">   Vide");
}

TEST(ColorBits, ChannelsOfHalfOrMoreAreOn)
{
    EXPECT_EQ(ColorToBits(0x008000), (TColorBits { 0, 1, 0 }));
    EXPECT_EQ(ColorToBits(0x7F7F7F), (TColorBits { 0, 0, 0 }));
    EXPECT_EQ(ColorToBits(0x808080), (TColorBits { 1, 1, 1 }));
    EXPECT_EQ(ColorToBits(255), (TColorBits { 1, 0, 0 }));
    EXPECT_EQ(ColorToBits(16711680), (TColorBits { 0, 0, 1 }));
    EXPECT_EQ(HighlightBits, (TColorBits { 1, 1, 1 }));
    // Small negative values still round to 0; system colour codes do not.
    EXPECT_EQ(ColorToBits(-1), (TColorBits { 0, 0, 0 }));
    EXPECT_THROW(ColorToBits(-128), ERangeError);
    EXPECT_THROW(ColorToBits(static_cast<int>(0x8000000F)), ERangeError);
}
