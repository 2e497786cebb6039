#include "scene/MyGORepere.h"

#include "platform/GL.h"
#include "platform/Numbers.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

// Arrowheads are cones of 7 segments: 8 ring entries, the last repeating
// the first so that the fan closes.
constexpr int ArrowRingCount = 8;
// The wire-frame: 12 meridian circles (24 half-meridians, one every 15
// degrees), 11 parallel steps of which the 9 between the poles are drawn,
// 100 samples per circle (the last repeating the first).
constexpr int MeridianCount = 12;
constexpr int ParallelSteps = 11;
constexpr int CircleSamples = 100;

struct TPlanePoint {
    long double c; // cosine
    long double s; // sine
};

template <size_t N> std::array<TPlanePoint, N> UnitCircle()
{
    std::array<TPlanePoint, N> circle {};
    for (size_t k = 0; k < N; ++k) {
        const long double a = static_cast<long double>(k) * 2.0L * Pi / static_cast<long double>(N - 1);
        circle[k] = { std::cos(a), std::sin(a) };
    }
    return circle;
}

void Color(const TColorBits& bits) { GL().Color3f(bits.Red, bits.Green, bits.Blue); }

void Vertex(long double x, long double y, long double z)
{
    GL().Vertex3d(static_cast<GLdouble>(x), static_cast<GLdouble>(y), static_cast<GLdouble>(z));
}

} // namespace

// TGAxes

TGAxes::TGAxes(const QString& name, int colorX, int colorY, int colorZ, long double axisStart, long double axisEnd,
    long double arrowRatio, TGObject* parent)
    : TGObjectL(name, parent)
    , FColorBitsX(ColorToBits(colorX))
    , FColorBitsY(ColorToBits(colorY))
    , FColorBitsZ(ColorToBits(colorZ))
    , FAxisStart(axisStart)
    , FAxisEnd(axisEnd)
    , FArrowRatio(arrowRatio)
{
}

void TGAxes::FillOpenList()
{
    const long double a = FAxisStart;
    const long double b = FAxisEnd;
    const long double c = FArrowRatio;
    const long double ringRadius = c / 2.0L;
    const long double ringAt = (1.0L - c) * b; // distance of the cone's base
    const auto ring = UnitCircle<ArrowRingCount>();

    GL().PolygonMode(GL_FRONT_AND_BACK, GL_FILL);

    // Each axis: a segment from the sphere out to the tip, then an open cone
    // (a fan around the tip) whose base ring lies across the axis.
    // `place` puts (along, across1, across2) on the axis' own coordinates.
    const auto axis = [&](const TColorBits& color, auto place) {
        Color(color);
        GL().Begin(GL_LINES);
        place(a, 0.0L, 0.0L);
        place(b, 0.0L, 0.0L);
        GL().End();
        GL().Begin(GL_TRIANGLE_FAN);
        place(b, 0.0L, 0.0L);
        for (const TPlanePoint& p : ring)
            place(ringAt, b * ringRadius * p.c, b * ringRadius * p.s);
        GL().End();
    };
    axis(FColorBitsX, [](long double along, long double u, long double v) { Vertex(along, u, v); });
    axis(FColorBitsY, [](long double along, long double u, long double v) { Vertex(u, along, v); });
    axis(FColorBitsZ, [](long double along, long double u, long double v) { Vertex(u, v, along); });
}

void TGAxes::SetHighlighted(bool /*value*/) { }

void TGAxes::FillTreeNode(QTreeWidgetItem* /*node*/) { }

// TGSphereRepere

TGSphereRepere::TGSphereRepere(const QString& name, int colorMeridian0, int colorMeridian90, int colorEquator,
    int colorLines, long double radius, TGObject* parent)
    : TGObjectL(name, parent)
    , FMeridian0Bits(ColorToBits(colorMeridian0))
    , FMeridian90Bits(ColorToBits(colorMeridian90))
    , FEquatorBits(ColorToBits(colorEquator))
    , FLineBits(ColorToBits(colorLines))
    , FRadius(radius)
{
}

void TGSphereRepere::FillOpenList()
{
    const auto circle = UnitCircle<CircleSamples>();

    // Lines for the faces turned towards the observer, dots for the others;
    // this stays in effect after the list until someone else sets it.
    GL().PolygonMode(GL_FRONT, GL_LINE);
    GL().PolygonMode(GL_BACK, GL_POINT);

    // Meridians: great circles through both poles, starting at the north
    // pole; the ones at longitude 0 and 90 in their own colours.
    const int meridian90 = static_cast<int>(Round(MeridianCount / 2.0L));
    for (int m = 0; m < MeridianCount; ++m) {
        Color(m == 0 ? FMeridian0Bits : m == meridian90 ? FMeridian90Bits : FLineBits);
        const long double phi = m * Pi / MeridianCount;
        const long double cosPhi = std::cos(phi);
        const long double sinPhi = std::sin(phi);
        GL().Begin(GL_LINE_STRIP);
        for (const TPlanePoint& p : circle)
            Vertex(p.s * cosPhi, p.s * sinPhi, p.c);
        GL().End();
    }

    // Parallels between the poles, one every 18 degrees of latitude; the
    // equator in its own colour.
    const int equator = static_cast<int>(Round((ParallelSteps - 1) / 2.0L));
    for (int p = 1; p <= ParallelSteps - 2; ++p) {
        Color(p == equator ? FEquatorBits : FLineBits);
        const long double theta = p * Pi / (ParallelSteps - 1);
        const long double sinTheta = std::sin(theta);
        const long double cosTheta = std::cos(theta);
        GL().Begin(GL_LINE_STRIP);
        for (const TPlanePoint& q : circle)
            Vertex(sinTheta * q.c, sinTheta * q.s, cosTheta);
        GL().End();
    }
}

void TGSphereRepere::SetHighlighted(bool /*value*/) { }

void TGSphereRepere::FillTreeNode(QTreeWidgetItem* /*node*/) { }
