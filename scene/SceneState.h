#pragma once
// The state of the 3D experiment that several windows share: the three
// scene roots, the show switches, the display-list counter, the colour of
// points added by hand and the view parameters, with the conversions
// between latitude/longitude and Cartesian coordinates and between
// track-bar positions and parameter values. Values are those at program
// start; only the windows that own a setting write it, and the state
// outlives the windows (hiding the scene window keeps the view).
//
// Angles are degrees; latitude runs from -90 to 90 and becomes the polar
// angle 90 - latitude; longitude is measured from X towards Y; Z is up.
// Degenerate inputs give NaN or infinities, never an error.

#include "scene/MyGObjects.h"

class TGAxes;
class TGSphereRepere;

// A view parameter vector, stored in single precision.
struct TVector3f {
    float x = 0;
    float y = 0;
    float z = 0;
    bool operator==(const TVector3f&) const = default;
};

// Scene roots, created by the scene window ("Ensemble complet des points",
// "Axes XYZ", "Meridiens et parallèles"); null until then, never destroyed.
extern TGObjects* SceneRoot;
extern TGAxes* SceneAxes;
extern TGSphereRepere* SceneFrame;

extern bool ShowFrame; // True
extern bool ShowAxes; // True
// Next display-list number; whoever compiles a root under it adds 1.
extern int NextListId; // 10
extern int NewPointColor; // 255 (red)

// Camera and turn of the scene.
extern float RotationAngle; // 0
extern float RotationStep; // 1
extern TVector3f RotationAxis; // (0, 0, 1)
extern TVector3f EyePosition; // distance 3, longitude 45, latitude 45: (1.5, 1.5, 2.1213203)
extern TVector3f LookAtPoint; // (0, 0, 0)
extern TVector3f UpVector; // (0, 0, 1)
extern float FieldOfView; // 45
extern float ZNear; // 0
extern float ZFar; // 2.8
// The projection must be rebuilt before the next frame.
extern bool ProjectionChanged; // True

// value = position × Slope + Offset; one per track bar.
struct TLinearMap {
    long double Slope = 0;
    long double Offset = 0;
};

// V = (R sin θ cos φ, R sin θ sin φ, R cos θ), θ = 90 - latitude,
// φ = longitude; no special case at the poles.
void LatLongToVector(TVector3& v, long double longitude, long double latitude, long double radius);
// Points start at rest; the position is not consulted.
void InitialVelocity(const TVector3& position, TVector3& velocity);

// The map sending minPosition to valueAtMin and maxPosition to valueAtMax.
void MakeLinearMap(
    TLinearMap& m, long double valueAtMax, long double valueAtMin, long double maxPosition, long double minPosition);
long double MapToValue(const TLinearMap& m, long double position);
// The inverse of MapToValue, unrounded (callers round half to even).
long double MapToPosition(const TLinearMap& m, long double value);

// As LatLongToVector with the radius first and single results, except that
// latitude exactly 90 or -90 gives exactly (0, 0, ±R).
void LatLongToXYZ(float& x, float& y, float& z, long double radius, long double longitude, long double latitude);
// Longitude in -180..180 and latitude from a position; NaN for both at the
// origin.
void XYZToLatLong(long double& longitude, long double& latitude, float x, float y, float z);
