// Program-wide view parameters and the geometry helpers between them.

#include "scene/SceneState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

void ExpectXYZ(
    long double radius, long double longitude, long double latitude, float x, float y, float z, float tolerance = 1e-6f)
{
    float rx = -1, ry = -1, rz = -1;
    LatLongToXYZ(rx, ry, rz, radius, longitude, latitude);
    EXPECT_NEAR(rx, x, tolerance);
    EXPECT_NEAR(ry, y, tolerance);
    EXPECT_NEAR(rz, z, tolerance);
}

} // namespace

TEST(SceneState, StartsWithTheDocumentedValues)
{
    EXPECT_EQ(SceneRoot, nullptr);
    EXPECT_EQ(SceneAxes, nullptr);
    EXPECT_EQ(SceneFrame, nullptr);
    EXPECT_TRUE(ShowFrame);
    EXPECT_TRUE(ShowAxes);
    EXPECT_EQ(NextListId, 10);
    EXPECT_EQ(NewPointColor, 255);
    EXPECT_EQ(RotationAngle, 0.0f);
    EXPECT_EQ(RotationStep, 1.0f);
    EXPECT_EQ(RotationAxis, (TVector3f { 0, 0, 1 }));
    EXPECT_FLOAT_EQ(EyePosition.x, 1.5f);
    EXPECT_FLOAT_EQ(EyePosition.y, 1.5f);
    EXPECT_FLOAT_EQ(EyePosition.z, 2.1213203f);
    EXPECT_EQ(LookAtPoint, (TVector3f { 0, 0, 0 }));
    EXPECT_EQ(UpVector, (TVector3f { 0, 0, 1 }));
    EXPECT_EQ(FieldOfView, 45.0f);
    EXPECT_EQ(ZNear, 0.0f);
    EXPECT_EQ(ZFar, 2.8f);
    EXPECT_TRUE(ProjectionChanged);
}

TEST(SceneState, LatLongToXYZHasExactPoles)
{
    ExpectXYZ(3, 45, 45, 1.5f, 1.5f, 2.1213203f);
    float x = -1, y = -1, z = -1;
    LatLongToXYZ(x, y, z, 2.5L, 123, 90);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 0.0f);
    EXPECT_EQ(z, 2.5f);
    LatLongToXYZ(x, y, z, 2.5L, 123, -90);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 0.0f);
    EXPECT_EQ(z, -2.5f);
    ExpectXYZ(1, 90, 0, 0, 1, 0);
    // Beyond a pole: the other side, not refused.
    ExpectXYZ(
        1, 0, 100, -std::sin(10 * std::numbers::pi_v<float> / 180), 0, std::cos(10 * std::numbers::pi_v<float> / 180));
}

TEST(SceneState, XYZToLatLongInvertsIt)
{
    long double longitude = 0, latitude = 0;
    XYZToLatLong(longitude, latitude, 1.5f, 1.5f, 2.1213203f);
    EXPECT_NEAR(double(longitude), 45.0, 1e-5);
    EXPECT_NEAR(double(latitude), 45.0, 1e-5);
    XYZToLatLong(longitude, latitude, 0, -1, 0);
    EXPECT_NEAR(double(longitude), -90.0, 1e-12);
    EXPECT_NEAR(double(latitude), 0.0, 1e-12);
    XYZToLatLong(longitude, latitude, -1, 0, 0);
    EXPECT_NEAR(double(longitude), 180.0, 1e-12);
    XYZToLatLong(longitude, latitude, 0, 0, -4);
    EXPECT_NEAR(double(latitude), -90.0, 1e-12);
}

TEST(SceneState, DegenerateInputsGiveNaNOrInfinityWithoutRaising)
{
    long double longitude = 0, latitude = 0;
    XYZToLatLong(longitude, latitude, 0, 0, 0);
    EXPECT_TRUE(std::isnan(longitude));
    EXPECT_TRUE(std::isnan(latitude));
    XYZToLatLong(longitude, latitude, INFINITY, 0, 0);
    EXPECT_TRUE(std::isnan(longitude) || std::isnan(latitude));

    TLinearMap flat;
    MakeLinearMap(flat, 10, 0, 5, 5);
    EXPECT_FALSE(std::isfinite(flat.Slope));
    TLinearMap zero { 0, 1 };
    EXPECT_TRUE(std::isinf(MapToPosition(zero, 3)));

    float x = 0, y = 0, z = 0;
    LatLongToXYZ(x, y, z, 1, NAN, 10);
    EXPECT_TRUE(std::isnan(x));
}

TEST(SceneState, LatLongToVectorWorksInExtendedPrecision)
{
    TVector3 v;
    LatLongToVector(v, 0, 0, 1);
    EXPECT_EQ(v.x, 1.0L);
    EXPECT_EQ(v.y, 0.0L);
    EXPECT_LT(std::fabs(v.z), 1e-18L);
    LatLongToVector(v, 180, 90, 2);
    EXPECT_NEAR(double(v.z), 2.0, 1e-18);

    TVector3 velocity { 1, 2, 3 };
    InitialVelocity({ 5, 6, 7 }, velocity);
    EXPECT_EQ(velocity, ZeroVector);
}

TEST(SceneState, LinearMapsLinkTrackBarsAndValuesBothWays)
{
    TLinearMap m;
    MakeLinearMap(m, 10, 0, 100, 0);
    EXPECT_NEAR(double(MapToValue(m, 30)), 3.0, 1e-15);
    EXPECT_NEAR(double(MapToPosition(m, 3)), 30.0, 1e-13);

    // A decreasing map over a range that straddles zero.
    MakeLinearMap(m, -1, 5, 50, -50);
    EXPECT_NEAR(double(MapToValue(m, -50)), 5.0, 1e-15);
    EXPECT_NEAR(double(MapToValue(m, 50)), -1.0, 1e-15);
    EXPECT_NEAR(double(MapToPosition(m, 0)), 100.0 / 3, 1e-12);
}
