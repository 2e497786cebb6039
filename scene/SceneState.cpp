#include "scene/SceneState.h"

#include <cmath>
#include <numbers>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

long double DegToRad(long double degrees) { return degrees * Pi / 180.0L; }
long double RadToDeg(long double radians) { return radians * 180.0L / Pi; }

TVector3f InitialEyePosition()
{
    // Distance 3, longitude 45, latitude 45 (polar angle 45).
    const long double a = DegToRad(45.0L);
    return { static_cast<float>(3.0L * std::sin(a) * std::cos(a)), static_cast<float>(3.0L * std::sin(a) * std::sin(a)),
        static_cast<float>(3.0L * std::cos(a)) };
}

} // namespace

TGObjects* SceneRoot = nullptr;
TGAxes* SceneAxes = nullptr;
TGSphereRepere* SceneFrame = nullptr;

bool ShowFrame = true;
bool ShowAxes = true;
int NextListId = 10;
int NewPointColor = 255;

float RotationAngle = 0.0f;
float RotationStep = 1.0f;
TVector3f RotationAxis { 0.0f, 0.0f, 1.0f };
TVector3f EyePosition = InitialEyePosition();
TVector3f LookAtPoint { 0.0f, 0.0f, 0.0f };
TVector3f UpVector { 0.0f, 0.0f, 1.0f };
float FieldOfView = 45.0f;
float ZNear = 0.0f;
float ZFar = 2.8f;
bool ProjectionChanged = true;

void LatLongToVector(TVector3& v, long double longitude, long double latitude, long double radius)
{
    const long double theta = DegToRad(90.0L - latitude);
    const long double phi = DegToRad(longitude);
    v.x = radius * std::sin(theta) * std::cos(phi);
    v.y = radius * std::sin(theta) * std::sin(phi);
    v.z = radius * std::cos(theta);
}

void InitialVelocity(const TVector3& /*position*/, TVector3& velocity) { velocity = ZeroVector; }

void MakeLinearMap(
    TLinearMap& m, long double valueAtMax, long double valueAtMin, long double maxPosition, long double minPosition)
{
    m.Slope = (valueAtMin - valueAtMax) / (minPosition - maxPosition);
    m.Offset = valueAtMax - m.Slope * maxPosition;
}

long double MapToValue(const TLinearMap& m, long double position) { return position * m.Slope + m.Offset; }

long double MapToPosition(const TLinearMap& m, long double value) { return (value - m.Offset) / m.Slope; }

void LatLongToXYZ(float& x, float& y, float& z, long double radius, long double longitude, long double latitude)
{
    // The poles are exact, so that an observer dragged onto a pole sits on
    // the Z axis and not a rounding error away from it.
    if (latitude == 90.0L) {
        x = 0.0f;
        y = 0.0f;
        z = static_cast<float>(radius);
        return;
    }
    if (latitude == -90.0L) {
        x = 0.0f;
        y = 0.0f;
        z = static_cast<float>(-radius);
        return;
    }
    TVector3 v;
    LatLongToVector(v, longitude, latitude, radius);
    x = static_cast<float>(v.x);
    y = static_cast<float>(v.y);
    z = static_cast<float>(v.z);
}

void XYZToLatLong(long double& longitude, long double& latitude, float x, float y, float z)
{
    const long double lx = x;
    const long double ly = y;
    const long double lz = z;
    const long double d = std::sqrt(lx * lx + ly * ly + lz * lz);
    latitude = 90.0L - RadToDeg(std::acos(lz / d));
    // Dividing by the distance keeps the direction and makes the origin
    // (0 / 0) give NaN here too, where atan2(0, 0) alone would give 0.
    longitude = RadToDeg(std::atan2(ly / d, lx / d));
}
