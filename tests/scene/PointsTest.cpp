// Points and clusters: the ball drawn for each point, clusters on the
// sphere, their texts, removal and the helpers that create them.

#include "RecordedPrimitives.h"
#include "TestSupport.h"

#include "scene/MyGOPoints.h"

#include <QTreeWidgetItem>

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr double Tolerance = 1e-12;

class Points : public ::testing::Test {
protected:
    std::vector<TRecordedPrimitive> Draw(TGObject& object)
    {
        Recorder.Reset();
        object.FillOpenList();
        return RecordedPrimitives(Recorder);
    }

    TSetupGL Panel;
    TGLRecorder Recorder;
    TScopedGL ScopedGL { Recorder };
};

// Every vertex of a ball lies at distance `radius` from its centre.
void ExpectBall(const std::vector<TRecordedPrimitive>& primitives, const TVector3& centre, double radius,
    const std::array<double, 3>& colour)
{
    ASSERT_EQ(primitives.size(), 6u);
    const GLenum modes[]
        = { GL_TRIANGLE_FAN, GL_QUAD_STRIP, GL_QUAD_STRIP, GL_QUAD_STRIP, GL_QUAD_STRIP, GL_TRIANGLE_FAN };
    const size_t sizes[] = { 10, 18, 18, 18, 18, 10 };
    size_t total = 0;
    for (size_t i = 0; i < primitives.size(); ++i) {
        EXPECT_EQ(primitives[i].Mode, modes[i]);
        EXPECT_EQ(primitives[i].Vertices.size(), sizes[i]);
        EXPECT_EQ(primitives[i].Color, colour);
        for (const TVector3& v : primitives[i].Vertices)
            EXPECT_NEAR(Distance(v, centre), radius, Tolerance);
        total += primitives[i].Vertices.size();
    }
    EXPECT_EQ(total, size_t(VerticesPerPoint));
    // The caps' centres are the ball's poles along Z.
    EXPECT_NEAR(Distance(primitives[0].Vertices[0], { centre.x, centre.y, centre.z + radius }), 0.0, Tolerance);
    EXPECT_NEAR(Distance(primitives[5].Vertices[0], { centre.x, centre.y, centre.z - radius }), 0.0, Tolerance);
}

} // namespace

TEST(PointMeshTable, RingsEveryThirtyDegreesClosedInLongitude)
{
    EXPECT_EQ(VerticesPerPoint, 92);
    const TPointMesh& mesh = PointMesh;
    EXPECT_NEAR(mesh[0][0].x, 0.5, Tolerance);
    EXPECT_NEAR(mesh[0][0].z, std::sqrt(3.0) / 2, Tolerance);
    EXPECT_NEAR(Distance(mesh[2][2], { 0, 1, 0 }), 0.0, Tolerance);
    EXPECT_NEAR(mesh[4][4].z, -std::sqrt(3.0) / 2, Tolerance);
    for (int i = 0; i < PointMeshLatCount; ++i)
        EXPECT_NEAR(Distance(mesh[8][i], mesh[0][i]), 0.0, Tolerance);
}

TEST_F(Points, ABallIsTwoFansAndFourStripsSizedByMass)
{
    const TVector3 centre { 0.6L, 0.0L, 0.8L };
    TG2DPoint point("P", 32768, 1.0L, centre, ZeroVector, 1, nullptr);
    auto primitives = Draw(point);
    EXPECT_EQ(Recorder.CallsNamed("glPolygonMode")[0].Args, (std::vector<double> { GL_FRONT_AND_BACK, GL_FILL }));
    ExpectBall(primitives, centre, 0.008, GreenBits);

    TG2DPoint light("Léger", 255, 0.0L, centre, ZeroVector, 2, nullptr);
    ExpectBall(Draw(light), centre, 0.006, RedBits);

    // Highlighted: white and twice the size.
    point.SetHighlighted(true);
    ExpectBall(Draw(point), centre, 0.016, WhiteBits);
}

TEST_F(Points, AMassBelowMinusThreeMirrorsTheBall)
{
    TG2DPoint point("P", 255, -5.0L, ZeroVector, ZeroVector, 1, nullptr);
    const auto primitives = Draw(point);
    ASSERT_EQ(primitives.size(), 6u);
    EXPECT_NEAR(primitives[0].Vertices[0].z, -0.004, Tolerance); // the north cap points down
}

TEST_F(Points, ClustersSpreadPointsOverTheUnitSphereAtRest)
{
    TGObjects root("Racine", nullptr);
    TG2DPoints* cluster = NewRandomCluster(300, "Amas", 16711680, &root);
    std::unique_ptr<TG2DPoints> owned(cluster);
    EXPECT_EQ(cluster->Parent(), &root);
    EXPECT_EQ(root.Count(), 0); // not added by the generator
    ASSERT_EQ(cluster->PointCount(), 300);
    int north = 0;
    for (int i = 0; i < cluster->PointCount(); ++i) {
        const TG2DPoint* point = cluster->Point(i);
        const TVector3& p = point->Position();
        EXPECT_NEAR(double(p.x * p.x + p.y * p.y + p.z * p.z), 1.0, 1e-15);
        EXPECT_EQ(point->Mass(), 1.0L);
        EXPECT_EQ(point->Velocity(), ZeroVector);
        EXPECT_EQ(point->Number(), i + 1);
        EXPECT_EQ(point->Name(), QStringLiteral("Pt : %1").arg(i));
        EXPECT_EQ(point->Parent(), cluster);
        EXPECT_EQ(point->ColorBits(), (TColorBits { 0, 0, 1 }));
        north += p.z > 0;
    }
    // Uniform over the sphere: about half above the equator.
    EXPECT_GT(north, 100);
    EXPECT_LT(north, 200);
    EXPECT_EQ(cluster->Point(-1), nullptr);
    EXPECT_EQ(cluster->Point(300), nullptr);
}

TEST_F(Points, EmptyClustersAreListedAndDrawNothing)
{
    for (int count : { 0, -7 }) {
        std::unique_ptr<TG2DPoints> cluster(NewRandomCluster(count, "Vide", 255, nullptr));
        EXPECT_EQ(cluster->PointCount(), 0);
        EXPECT_TRUE(Draw(*cluster).empty());
        QTreeWidgetItem top;
        cluster->FillTreeNode(&top);
        ASSERT_EQ(top.childCount(), 1);
        EXPECT_EQ(top.child(0)->text(0), "Vide (0)");
        EXPECT_EQ(top.child(0)->childCount(), 0);
    }
}

TEST_F(Points, BadClusterRequestsFailWithClearErrors)
{
    EXPECT_THROW(NewRandomCluster(3, "Amas", -128, nullptr), ERangeError);
    try {
        NewRandomCluster(INT_MAX, "Immense", 255, nullptr);
        FAIL() << "no exception";
    } catch (const EOutOfResources& e) {
        EXPECT_TRUE(e.Message().contains("2147483647")) << e.what();
    }
    EXPECT_THROW(TG2DPoint("P", -200, 1.0L, ZeroVector, ZeroVector, 0, nullptr), ERangeError);
}

TEST_F(Points, HighlightingAClusterWhitensEveryPoint)
{
    TGObjects root("Racine", nullptr);
    root.SetGLPanel(&Panel);
    TG2DPoints* cluster = NewRandomCluster(3, "Amas", 255, nullptr);
    root.Add(cluster);
    root.BuildList(10);
    Recorder.Reset();
    cluster->Highlight(true);
    EXPECT_EQ(Recorder.Count("glNewList"), 1);
    const auto primitives = RecordedPrimitives(Recorder);
    ASSERT_EQ(primitives.size(), 18u);
    for (const auto& primitive : primitives)
        EXPECT_EQ(primitive.Color, WhiteBits);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(cluster->Point(i)->Highlighted());
}

TEST_F(Points, RemovingAPointShiftsTheRestAndKeepsTheirNames)
{
    std::unique_ptr<TG2DPoints> cluster(NewRandomCluster(3, "Amas", 255, nullptr));
    TG2DPoint* first = cluster->Point(0);
    TG2DPoint stranger("Autre", 255, 1.0L, ZeroVector, ZeroVector, 0, nullptr);
    EXPECT_FALSE(cluster->RemoveChild(&stranger));
    EXPECT_FALSE(cluster->RemoveChild(nullptr));
    EXPECT_TRUE(first->RemoveFromParent());
    ASSERT_EQ(cluster->PointCount(), 2);
    EXPECT_EQ(cluster->Point(0)->Name(), "Pt : 1");
    EXPECT_EQ(cluster->Point(1)->Name(), "Pt : 2");

    std::unique_ptr<TG2DPoints> empty(NewRandomCluster(0, "Vide", 255, nullptr));
    EXPECT_FALSE(empty->RemoveChild(&stranger));
}

TEST_F(Points, NewPointNamesByCountAndPassesThePanel)
{
    TG2DPoints cluster("Amas", nullptr);
    cluster.SetGLPanel(&Panel);
    cluster.NewPoint(255, { 0, 0, 1 }, 2.0L, ZeroVector, 42);
    cluster.AddPoint(new TG2DPoint("Ajouté", 255, 1.0L, ZeroVector, ZeroVector, 7, nullptr));
    cluster.NewPoint(255, { 0, 0, 1 }, 2.0L, ZeroVector, 43);
    ASSERT_EQ(cluster.PointCount(), 3);
    EXPECT_EQ(cluster.Point(0)->Name(), "Pt : 0");
    EXPECT_EQ(cluster.Point(0)->Number(), 42);
    EXPECT_EQ(cluster.Point(0)->GLPanel(), &Panel);
    EXPECT_EQ(cluster.Point(1)->Parent(), &cluster);
    EXPECT_EQ(cluster.Point(1)->GLPanel(), nullptr); // a cluster does not hand its panel on
    EXPECT_EQ(cluster.Point(2)->Name(), "Pt : 2");
}

TEST_F(Points, TreeAndInfoTextsOfAPoint)
{
    TG2DPoint point("Vert", 32768, 1.0L, { 0.5L, -0.25L, 1.0L }, { 0, 0, 0 }, 3, nullptr);
    QTreeWidgetItem top;
    point.FillTreeNode(&top);
    ASSERT_EQ(top.childCount(), 1);
    QTreeWidgetItem* node = top.child(0);
    EXPECT_EQ(node->text(0), "Vert (3)");
    ASSERT_EQ(node->childCount(), 4);
    EXPECT_EQ(node->child(0)->text(0), "Couleur = (0 , 1 , 0 ) ");
    EXPECT_EQ(node->child(1)->text(0), "Masse = 1");
    EXPECT_EQ(node->child(2)->text(0), "Position = ( 0.5 ; -0.25 ; 1 )");
    EXPECT_EQ(node->child(3)->text(0), "Vitesse = (0 ; 0 ; 0 )");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(TreeNodeObject(node->child(i)), &point);

    TStringList lines;
    point.AddInfo(lines, "-");
    ASSERT_EQ(lines.Count(), 5);
    EXPECT_EQ(lines.Strings(0), "-Vert");
    EXPECT_EQ(lines.Strings(1), "-  Couleur = (0 , 1 , 0 ) ");
    EXPECT_EQ(lines.Strings(3), "-  Position = ( 0.5 ; -0.25 ; 1 )");

    // Five significant digits; tiny values in scientific notation.
    TG2DPoint precise("P", 255, 1.234567L, { 1.0L / 3, 1e-20L, 123456.0L }, ZeroVector, 0, nullptr);
    EXPECT_EQ(precise.DetailTexts()[1], "Masse = 1.2346");
    EXPECT_EQ(precise.DetailTexts()[2], "Position = ( 0.33333 ; 1E-20 ; 1.2346E5 )");
}

TEST_F(Points, TreeAndInfoTextsOfACluster)
{
    TG2DPoints cluster("Amas", nullptr);
    cluster.NewPoint(255, { 1, 0, 0 }, 1.0L, ZeroVector, 1);
    cluster.NewPoint(255, { 0, 1, 0 }, 1.0L, ZeroVector, 2);
    QTreeWidgetItem top;
    cluster.FillTreeNode(&top);
    QTreeWidgetItem* node = top.child(0);
    EXPECT_EQ(node->text(0), "Amas (2)");
    EXPECT_EQ(node->child(1)->text(0), "Pt : 1 (2)");
    EXPECT_EQ(TreeNodeObject(node), &cluster);

    // Points are listed with two spaces whatever the cluster's indent.
    TStringList lines;
    cluster.AddInfo(lines, "      ");
    ASSERT_EQ(lines.Count(), 11);
    EXPECT_EQ(lines.Strings(0), "      Amas");
    EXPECT_EQ(lines.Strings(1), "  Pt : 0");
    EXPECT_EQ(lines.Strings(2), "    Couleur = (1 , 0 , 0 ) ");
}

TEST_F(Points, AddPointToNumbersByChildCountAndRecompilesTheRoot)
{
    TGObjects root("Racine", nullptr);
    root.SetGLPanel(&Panel);
    auto* inner = new TGObjects("Complexe", nullptr);
    root.Add(inner);
    root.Add(new TGObjects("Autre", nullptr));
    root.BuildList(10);
    Recorder.Reset();

    AddPointTo("Nouveau", 255, { 0, 0, 1 }, 2.0L, ZeroVector, &root);
    ASSERT_EQ(root.Count(), 3);
    auto* point = dynamic_cast<TG2DPoint*>(root.GetChild(2));
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(point->Number(), 2);
    EXPECT_EQ(point->Mass(), 2.0L);
    EXPECT_EQ(point->GLPanel(), &Panel);
    ASSERT_EQ(Recorder.Count("glNewList"), 1);
    EXPECT_EQ(Recorder.CallsNamed("glNewList")[0].Args[0], 10);

    AddPointTo("Dedans", 255, { 0, 0, 1 }, 1.0L, ZeroVector, inner);
    EXPECT_EQ(dynamic_cast<TG2DPoint*>(inner->GetChild(0))->Number(), 0);
    EXPECT_EQ(Recorder.Count("glNewList"), 2);

    TG2DPoints* cluster = NewRandomCluster(1, "Amas", 255, nullptr);
    root.Add(cluster);
    EXPECT_THROW(AddPointTo("Non", 255, ZeroVector, 1.0L, ZeroVector, cluster), EInvalidCast);
    EXPECT_THROW(AddPointTo("Non", 255, ZeroVector, 1.0L, ZeroVector, nullptr), EInvalidCast);
    EXPECT_EQ(cluster->PointCount(), 1);
}
