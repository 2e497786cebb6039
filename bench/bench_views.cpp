// Frame time of the scene window with 10 clusters of 5000 points: its
// Redraw (clear, viewport, camera, turn, the three root lists, flush and
// swap) against a bare panel of the same size that replays the same
// geometry, compiled into its own lists, with the same camera, measured side
// by side in the same iterations.
//
// Run under Xvfb: xvfb-run -a env QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1 bench_views
// Counters: window_ms and bare_ms per frame, ratio = window / bare.

#include "platform/Application.h"
#include "platform/Forms.h"
#include "platform/GL.h"
#include "scene/MyGOPoints.h"
#include "scene/MyGORepere.h"
#include "scene/SceneState.h"
#include "view/SGLPointsForm.h"
#include "view/clSetupGL/clSetupGL.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWindow>

#include <GL/gl.h>
#include <GL/glu.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

using TClock = std::chrono::steady_clock;

constexpr int ClusterCount = 10;
constexpr int PointsPerCluster = 5000;
constexpr GLuint BareFirstList = 100; // points, frame, axes

TForm_SGLPoints* Window = nullptr;
TSetupGL* BarePanel = nullptr;

double Milliseconds(TClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

bool WaitForExposure(QWindow* window)
{
    QElapsedTimer timer;
    timer.start();
    while (!window->isExposed() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return window->isExposed();
}

// The bare panel's frame: the same camera and lists as the scene window's,
// sent straight to GL.
void BareDraw(QObject*)
{
    const int w = BarePanel->width(), h = BarePanel->height();
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FieldOfView, double(w) / h, ZNear, ZFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(EyePosition.x, EyePosition.y, EyePosition.z, 0, 0, 0, 0, 0, 1);
    glRotated(RotationAngle, RotationAxis.x, RotationAxis.y, RotationAxis.z);
    for (GLuint list = BareFirstList; list < BareFirstList + 3; ++list)
        glCallList(list);
}

// The scene's geometry compiled a second time, into the bare panel's lists.
void CompileBareLists()
{
    BarePanel->MakeCurrent();
    TGObject* roots[] = {SceneRoot, SceneFrame, SceneAxes};
    for (GLuint i = 0; i < 3; ++i) {
        glNewList(BareFirstList + i, GL_COMPILE);
        roots[i]->FillOpenList();
        glEndList();
    }
    glFinish();
}

double TimeFrame(TSetupGL* panel)
{
    const auto start = TClock::now();
    panel->Redraw();
    panel->MakeCurrent();
    glFinish();
    return Milliseconds(TClock::now() - start);
}

void BM_SceneWindowFrame(benchmark::State& state)
{
    TimeFrame(Window->SGLPoints()); // warm both up
    TimeFrame(BarePanel);
    double windowMs = 0, bareMs = 0;
    bool windowFirst = true;
    for (auto _ : state) {
        // Alternate the order, so that neither side always follows the other.
        if (windowFirst) {
            windowMs += TimeFrame(Window->SGLPoints());
            bareMs += TimeFrame(BarePanel);
        } else {
            bareMs += TimeFrame(BarePanel);
            windowMs += TimeFrame(Window->SGLPoints());
        }
        windowFirst = !windowFirst;
        RotationAngle += 1;
    }
    const auto frames = static_cast<double>(state.iterations());
    state.counters["window_ms"] = windowMs / frames;
    state.counters["bare_ms"] = bareMs / frames;
    state.counters["ratio"] = bareMs > 0 ? windowMs / bareMs : 0;
    state.counters["points"] = SceneRoot->PointCount();
}
BENCHMARK(BM_SceneWindowFrame)->Unit(benchmark::kMillisecond)->MinTime(5.0);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TApplication app(argc, argv);
    auto window = std::make_unique<TForm_SGLPoints>();
    Window = window.get();
    Window->TimerSGLPoints()->stop(); // frames only when the benchmark asks
    for (int i = 0; i < ClusterCount; ++i)
        SceneRoot->Add(NewRandomCluster(PointsPerCluster, QStringLiteral("Galaxie %1").arg(i + 1), 0x00FFFF, SceneRoot));
    SceneRoot->BuildList(NextListId++);

    TForm bareForm;
    BarePanel = new TSetupGL(&bareForm);
    BarePanel->setGeometry(0, 0, Window->SGLPoints()->width(), Window->SGLPoints()->height());
    bareForm.resize(BarePanel->size());
    BarePanel->OnDraw = BareDraw;
    BarePanel->Loaded();
    bareForm.move(Window->Left(), Window->Top());
    bareForm.show();
    if (!BarePanel->Initialised() || !Window->SGLPoints()->Initialised() || !WaitForExposure(BarePanel->GLWindow()) ||
        !WaitForExposure(Window->SGLPoints()->GLWindow())) {
        std::fprintf(stderr, "bench_views: no OpenGL context (run under Xvfb with Mesa)\n");
        return 1;
    }
    CompileBareLists();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    BarePanel->MakeCurrent();
    glDeleteLists(BareFirstList, 3);
    Window = nullptr;
    return 0;
}
