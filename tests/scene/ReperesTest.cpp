// The axes and the sphere frame as compiled call streams.

#include "RecordedPrimitives.h"
#include "TestSupport.h"

#include "scene/MyGORepere.h"

#include <QTreeWidgetItem>

#include <gtest/gtest.h>

#include <memory>
#include <numbers>

namespace {

constexpr double Tolerance = 1e-12;
constexpr long double Pi = std::numbers::pi_v<long double>;

class Reperes : public ::testing::Test {
protected:
    std::vector<TRecordedPrimitive> Compile(TGObjectL& object)
    {
        object.SetGLPanel(&Panel);
        Recorder.Reset();
        EXPECT_TRUE(object.BuildList(11));
        return RecordedPrimitives(Recorder);
    }

    TSetupGL Panel;
    TGLRecorder Recorder;
    TScopedGL ScopedGL { Recorder };
    // Held by pointer: scene destructors may throw, a fixture's may not.
    std::unique_ptr<TGAxes> AxesObject
        = std::make_unique<TGAxes>("Axes XYZ", 255, 32768, 16711680, 1.0L, 1.1L, 0.05L, nullptr);
    std::unique_ptr<TGSphereRepere> FrameObject
        = std::make_unique<TGSphereRepere>("Meridiens et parallèles", 255, 32768, 16711680, 16776960, 1.0L, nullptr);
    TGAxes& Axes = *AxesObject;
    TGSphereRepere& Frame = *FrameObject;
};

} // namespace

TEST_F(Reperes, EachAxisIsASegmentOutOfTheSphereAndAnOpenCone)
{
    const auto primitives = Compile(Axes);
    ASSERT_EQ(Recorder.CallsNamed("glPolygonMode").size(), 1u);
    EXPECT_EQ(Recorder.CallsNamed("glPolygonMode")[0].Args, (std::vector<double> { GL_FRONT_AND_BACK, GL_FILL }));
    ASSERT_EQ(primitives.size(), 6u);
    const std::array<double, 3> colours[] = { RedBits, GreenBits, BlueBits };
    for (int axis = 0; axis < 3; ++axis) {
        SCOPED_TRACE(axis);
        const TRecordedPrimitive& line = primitives[2 * axis];
        const TRecordedPrimitive& fan = primitives[2 * axis + 1];
        EXPECT_EQ(line.Mode, GLenum(GL_LINES));
        EXPECT_EQ(fan.Mode, GLenum(GL_TRIANGLE_FAN));
        EXPECT_EQ(line.Color, colours[axis]);
        EXPECT_EQ(fan.Color, colours[axis]);
        ASSERT_EQ(line.Vertices.size(), 2u);
        ASSERT_EQ(fan.Vertices.size(), 9u);
        const auto along = [axis](const TVector3& v) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; };
        EXPECT_NEAR(along(line.Vertices[0]), 1.0, Tolerance);
        EXPECT_NEAR(along(line.Vertices[1]), 1.1, Tolerance);
        EXPECT_NEAR(Distance(fan.Vertices[0], line.Vertices[1]), 0.0, Tolerance); // the tip
        for (size_t k = 1; k < fan.Vertices.size(); ++k) {
            // The ring: 1.045 out along the axis, radius 0.0275 around it.
            EXPECT_NEAR(along(fan.Vertices[k]), 1.045, Tolerance);
            const TVector3 centre { axis == 0 ? 1.045L : 0, axis == 1 ? 1.045L : 0, axis == 2 ? 1.045L : 0 };
            EXPECT_NEAR(Distance(fan.Vertices[k], centre), 0.0275, Tolerance);
        }
        EXPECT_NEAR(Distance(fan.Vertices[1], fan.Vertices[8]), 0.0, Tolerance);
    }
    // The ring's first entry lies at angle 0: along Y for the X axis.
    EXPECT_NEAR(primitives[1].Vertices[1].y, 0.0275, Tolerance);
}

TEST_F(Reperes, MeridiansRunPoleToPoleEveryFifteenDegrees)
{
    const auto primitives = Compile(Frame);
    const auto modes = Recorder.CallsNamed("glPolygonMode");
    ASSERT_EQ(modes.size(), 2u);
    EXPECT_EQ(modes[0].Args, (std::vector<double> { GL_FRONT, GL_LINE }));
    EXPECT_EQ(modes[1].Args, (std::vector<double> { GL_BACK, GL_POINT }));
    ASSERT_EQ(primitives.size(), 12u + 9u);
    for (int m = 0; m < 12; ++m) {
        SCOPED_TRACE(m);
        const TRecordedPrimitive& strip = primitives[m];
        EXPECT_EQ(strip.Mode, GLenum(GL_LINE_STRIP));
        EXPECT_EQ(strip.Color, m == 0 ? RedBits : m == 6 ? GreenBits : CyanBits);
        ASSERT_EQ(strip.Vertices.size(), 100u);
        EXPECT_NEAR(Distance(strip.Vertices[0], { 0, 0, 1 }), 0.0, Tolerance);
        EXPECT_NEAR(Distance(strip.Vertices[99], strip.Vertices[0]), 0.0, Tolerance);
        // k = 50 is a little past the south pole, on the far side.
        const long double a = 100 * Pi / 99;
        const long double phi = m * Pi / 12;
        const TVector3 expected { std::sin(a) * std::cos(phi), std::sin(a) * std::sin(phi), std::cos(a) };
        EXPECT_NEAR(Distance(strip.Vertices[50], expected), 0.0, Tolerance);
        EXPECT_LT(strip.Vertices[50].z, -0.99);
    }
    // Longitude 90 is the Y-Z plane.
    for (const TVector3& v : primitives[6].Vertices)
        EXPECT_NEAR(v.x, 0.0, Tolerance);
}

TEST_F(Reperes, ParallelsEveryEighteenDegreesWithABlueEquator)
{
    const auto primitives = Compile(Frame);
    ASSERT_EQ(primitives.size(), 21u);
    for (int p = 1; p <= 9; ++p) {
        SCOPED_TRACE(p);
        const TRecordedPrimitive& strip = primitives[11 + p];
        EXPECT_EQ(strip.Color, p == 5 ? BlueBits : CyanBits);
        ASSERT_EQ(strip.Vertices.size(), 100u);
        const double z = std::cos(p * std::numbers::pi / 10);
        for (const TVector3& v : strip.Vertices) {
            EXPECT_NEAR(v.z, z, Tolerance);
            EXPECT_NEAR(std::hypot(double(v.x), double(v.y)), std::sin(p * std::numbers::pi / 10), Tolerance);
        }
    }
    EXPECT_NEAR(primitives[16].Vertices[0].z, 0.0, 1e-15);
    EXPECT_NEAR(primitives[12].Vertices[0].z, std::cos(18 * std::numbers::pi / 180), Tolerance);
}

TEST_F(Reperes, HighlightRecompilesButNeitherFlagNorDrawingChanges)
{
    for (TGObjectL* object : { static_cast<TGObjectL*>(&Axes), static_cast<TGObjectL*>(&Frame) }) {
        const auto before = Compile(*object);
        Recorder.Reset();
        object->Highlight(true);
        EXPECT_FALSE(object->Highlighted());
        EXPECT_EQ(Recorder.Count("glNewList"), 1);
        const auto after = RecordedPrimitives(Recorder);
        ASSERT_EQ(after.size(), before.size());
        for (size_t i = 0; i < after.size(); ++i) {
            EXPECT_EQ(after[i].Color, before[i].Color);
            EXPECT_EQ(after[i].Vertices, before[i].Vertices);
        }
        EXPECT_EQ(object->PointCount(), 0);
    }
}

TEST_F(Reperes, NeitherAppearsInTheObjectTree)
{
    QTreeWidgetItem top;
    Axes.FillTreeNode(&top);
    Frame.FillTreeNode(&top);
    EXPECT_EQ(top.childCount(), 0);
    EXPECT_EQ(Frame.Radius(), 1.0L);
    EXPECT_EQ(Axes.ListId(), -1);
}
