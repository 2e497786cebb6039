// Display lists of the scene on Mesa: the cost of compiling a cluster
// through the scene objects and the GL gateway, and of replaying the
// compiled root each frame, each against a bare loop that sends the same
// calls straight to GL, measured side by side in the same iterations.
//
// Run under Xvfb: xvfb-run -a env QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1 bench_scene
// Counters: scene_ms and reference_ms per iteration, ratio = scene / reference.

#include "platform/Application.h"
#include "platform/Forms.h"
#include "platform/GL.h"
#include "scene/MyGOPoints.h"
#include "view/clSetupGL/clSetupGL.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWindow>

#include <GL/gl.h>
#include <GL/glu.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

using TClock = std::chrono::steady_clock;

// The window and panel every benchmark draws with.
struct TBenchHost {
    std::unique_ptr<TForm> Form;
    TSetupGL* Panel = nullptr;
};
TBenchHost* Host = nullptr;

constexpr GLuint SceneListId = 10;
constexpr GLuint ReferenceListId = 20;

// The reference: the same calls per point as TG2DPoint::FillOpenList, made
// directly on GL from plain data, without objects or the gateway.
void ReferenceVertex(const TVector3& p, long double s, const TVector3& unit)
{
    glVertex3d(static_cast<GLdouble>(p.x + s * unit.x), static_cast<GLdouble>(p.y + s * unit.y),
        static_cast<GLdouble>(p.z + s * unit.z));
}

void ReferenceCompile(const TG2DPoints& cluster)
{
    constexpr TVector3 north { 0, 0, 1 };
    constexpr TVector3 south { 0, 0, -1 };
    glNewList(ReferenceListId, GL_COMPILE);
    for (int n = 0; n < cluster.PointCount(); ++n) {
        const TG2DPoint& point = *cluster.Point(n);
        const TVector3& p = point.Position();
        const long double s = (point.Mass() + 3.0L) * 0.002L;
        const TColorBits bits = point.ColorBits();
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glColor3f(bits.Red, bits.Green, bits.Blue);
        glBegin(GL_TRIANGLE_FAN);
        ReferenceVertex(p, s, north);
        for (int j = 0; j < PointMeshLongCount; ++j)
            ReferenceVertex(p, s, PointMesh[j][0]);
        glEnd();
        for (int i = 0; i < PointMeshLatCount - 1; ++i) {
            glBegin(GL_QUAD_STRIP);
            for (int j = 0; j < PointMeshLongCount; ++j) {
                ReferenceVertex(p, s, PointMesh[j][i]);
                ReferenceVertex(p, s, PointMesh[j][i + 1]);
            }
            glEnd();
        }
        glBegin(GL_TRIANGLE_FAN);
        ReferenceVertex(p, s, south);
        for (int j = 0; j < PointMeshLongCount; ++j)
            ReferenceVertex(p, s, PointMesh[j][PointMeshLatCount - 1]);
        glEnd();
    }
    glEndList();
    glFinish();
}

// A root holding one cluster of `count` points, on the host's panel.
std::unique_ptr<TGObjects> NewRoot(int count)
{
    auto root = std::make_unique<TGObjects>("Ensemble complet des points", nullptr);
    root->SetGLPanel(Host->Panel);
    root->Add(NewRandomCluster(count, "Amas", 255, nullptr));
    return root;
}

bool WaitForExposure(QWindow* window)
{
    QElapsedTimer timer;
    timer.start();
    while (!window->isExposed() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return window->isExposed();
}

double Milliseconds(TClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void ReportRatio(benchmark::State& state, double sceneMs, double referenceMs)
{
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["scene_ms"] = sceneMs / iterations;
    state.counters["reference_ms"] = referenceMs / iterations;
    state.counters["ratio"] = referenceMs > 0 ? sceneMs / referenceMs : 0;
}

void BM_CompileCluster(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    auto root = NewRoot(count);
    const auto* cluster = dynamic_cast<const TG2DPoints*>(root->GetChild(0));
    double sceneMs = 0, referenceMs = 0;
    bool sceneFirst = true;
    for (auto _ : state) {
        Host->Panel->MakeCurrent();
        // Alternate the order so that neither side always runs on a warm
        // cache or right after the other's memory was freed.
        const auto scene = [&] {
            const auto start = TClock::now();
            root->BuildList(SceneListId);
            glFinish();
            sceneMs += Milliseconds(TClock::now() - start);
        };
        const auto reference = [&] {
            const auto start = TClock::now();
            ReferenceCompile(*cluster);
            referenceMs += Milliseconds(TClock::now() - start);
        };
        if (sceneFirst) {
            scene();
            reference();
        } else {
            reference();
            scene();
        }
        sceneFirst = !sceneFirst;
    }
    ReportRatio(state, sceneMs, referenceMs);
    state.SetItemsProcessed(state.iterations() * count);
    glDeleteLists(ReferenceListId, 1);
}
BENCHMARK(BM_CompileCluster)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FrameReplay(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    auto root = NewRoot(count);
    Host->Panel->MakeCurrent();
    root->BuildList(SceneListId);
    ReferenceCompile(*dynamic_cast<const TG2DPoints*>(root->GetChild(0)));

    // The scene window's camera: the whole sphere in view.
    const int w = Host->Panel->width(), h = Host->Panel->height();
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, double(w) / h, 1.0, 5.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(1.5, 1.5, 2.1213203, 0, 0, 0, 0, 0, 1);

    const auto frame = [](GLuint list) {
        const auto start = TClock::now();
        glClear(GL_COLOR_BUFFER_BIT);
        glCallList(list);
        glFinish();
        return Milliseconds(TClock::now() - start);
    };
    frame(SceneListId); // warm both up
    frame(ReferenceListId);
    double sceneMs = 0, referenceMs = 0;
    bool sceneFirst = true;
    for (auto _ : state) {
        if (sceneFirst) {
            sceneMs += frame(SceneListId);
            referenceMs += frame(ReferenceListId);
        } else {
            referenceMs += frame(ReferenceListId);
            sceneMs += frame(SceneListId);
        }
        sceneFirst = !sceneFirst;
    }
    ReportRatio(state, sceneMs, referenceMs);
    glDeleteLists(ReferenceListId, 1);
}
// Frames are seconds long on llvmpipe; a few alternating pairs even out the
// noise of a shared machine.
BENCHMARK(BM_FrameReplay)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(4);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TApplication app(argc, argv);
    TBenchHost host;
    host.Form = std::make_unique<TForm>();
    host.Form->resize(600, 480);
    host.Panel = new TSetupGL(host.Form.get());
    host.Panel->setGeometry(0, 0, 600, 480);
    host.Panel->Loaded();
    host.Form->show();
    if (!host.Panel->Initialised() || !WaitForExposure(host.Panel->GLWindow())) {
        std::fprintf(stderr, "bench_scene: no OpenGL context (run under Xvfb with Mesa)\n");
        return 1;
    }
    Host = &host;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Host = nullptr;
    return 0;
}
