#pragma once
// Reads a recorded GL call stream back as primitives: each glBegin/glEnd
// pair with the colour in effect and its vertices.

#include "platform/GL.h"
#include "scene/MyGObjects.h"

#include <array>
#include <cmath>
#include <vector>

struct TRecordedPrimitive {
    GLenum Mode = 0;
    std::array<double, 3> Color { -1, -1, -1 };
    std::vector<TVector3> Vertices;
};

inline std::vector<TRecordedPrimitive> RecordedPrimitives(const TGLRecorder& recorder)
{
    std::vector<TRecordedPrimitive> primitives;
    std::array<double, 3> color { -1, -1, -1 };
    bool open = false;
    for (const TGLRecorder::TCall& call : recorder.Calls) {
        if (call.Name == "glColor3f") {
            color = { call.Args[0], call.Args[1], call.Args[2] };
        } else if (call.Name == "glBegin") {
            primitives.push_back({ static_cast<GLenum>(call.Args[0]), color, {} });
            open = true;
        } else if (call.Name == "glEnd") {
            open = false;
        } else if (call.Name == "glVertex3d" && open) {
            primitives.back().Vertices.push_back({ call.Args[0], call.Args[1], call.Args[2] });
        }
    }
    return primitives;
}

inline long double Distance(const TVector3& a, const TVector3& b)
{
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

constexpr std::array<double, 3> RedBits { 1, 0, 0 };
constexpr std::array<double, 3> GreenBits { 0, 1, 0 };
constexpr std::array<double, 3> BlueBits { 0, 0, 1 };
constexpr std::array<double, 3> CyanBits { 0, 1, 1 };
constexpr std::array<double, 3> WhiteBits { 1, 1, 1 };
