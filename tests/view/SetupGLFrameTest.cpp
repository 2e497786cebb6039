// A real frame: the panel replays the axes' and the sphere frame's lists
// from the observer's starting position, and the pixels read back show
// their colours.

#include "TestSupport.h"

#include "platform/Forms.h"
#include "scene/MyGORepere.h"
#include "scene/SceneState.h"
#include "view/clSetupGL/clSetupGL.h"

#include <QTest>
#include <QWindow>

#include <GL/gl.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace {

enum class TPixelColor { Black, Red, Green, Blue, Cyan, Other };

TPixelColor Classify(const unsigned char* rgb)
{
    const auto on = [](unsigned char c) { return c >= 200; };
    const auto off = [](unsigned char c) { return c <= 50; };
    const bool r = on(rgb[0]), g = on(rgb[1]), b = on(rgb[2]);
    if (!(r || off(rgb[0])) || !(g || off(rgb[1])) || !(b || off(rgb[2])))
        return TPixelColor::Other;
    if (!r && !g && !b)
        return TPixelColor::Black;
    if (r && !g && !b)
        return TPixelColor::Red;
    if (!r && g && !b)
        return TPixelColor::Green;
    if (!r && !g && b)
        return TPixelColor::Blue;
    if (!r && g && b)
        return TPixelColor::Cyan;
    return TPixelColor::Other;
}

} // namespace

TEST(SetupGLFrame, AxesAndFrameListsReadBackInTheirColours)
{
    auto form = std::make_unique<TForm>();
    form->resize(320, 320);
    auto* panel = new TSetupGL(form.get());
    panel->setGeometry(0, 0, 320, 320);
    std::map<TPixelColor, int> counts;
    std::unique_ptr<TGAxes> axes;
    std::unique_ptr<TGSphereRepere> frame;

    panel->OnInit = [&](QObject*) { GL().ClearColor(0, 0, 0, 0); };
    panel->OnResize = [&](QObject*) {
        GL().Viewport(0, 0, panel->width(), panel->height());
        GL().MatrixMode(GL_PROJECTION);
        GL().LoadIdentity();
        GL().Perspective(45.0, double(panel->width()) / panel->height(), 1.7, 2.8);
    };
    panel->OnDraw = [&](QObject*) {
        GL().Clear(GL_COLOR_BUFFER_BIT);
        GL().Viewport(0, 0, panel->width(), panel->height());
        GL().MatrixMode(GL_MODELVIEW);
        GL().LoadIdentity();
        GL().LookAt(EyePosition.x, EyePosition.y, EyePosition.z, 0, 0, 0, 0, 0, 1);
        if (frame)
            frame->CallList();
        if (axes)
            axes->CallList();
        if (!frame || !axes)
            return;
        GL().Finish();
        const int w = panel->width(), h = panel->height();
        std::vector<unsigned char> pixels(size_t(w) * h * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        counts.clear();
        for (size_t i = 0; i < pixels.size(); i += 3)
            ++counts[Classify(&pixels[i])];
    };
    panel->Loaded();
    ASSERT_TRUE(panel->Initialised());

    axes = std::make_unique<TGAxes>("Axes XYZ", 255, 32768, 16711680, 1.0L, 1.1L, 0.05L, nullptr);
    frame = std::make_unique<TGSphereRepere>("Meridiens et parallèles", 255, 32768, 16711680, 16776960, 1.0L, nullptr);
    axes->SetGLPanel(panel);
    frame->SetGLPanel(panel);
    ASSERT_TRUE(axes->BuildList(11));
    ASSERT_TRUE(frame->BuildList(12));

    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel->GLWindow()));
    panel->Redraw();

    EXPECT_GT(counts[TPixelColor::Black], 320 * 320 / 2);
    EXPECT_GT(counts[TPixelColor::Red], 20);
    EXPECT_GT(counts[TPixelColor::Green], 20);
    EXPECT_GT(counts[TPixelColor::Blue], 20);
    EXPECT_GT(counts[TPixelColor::Cyan], 200);

    // The lists go with their objects, while the context still exists.
    axes.reset();
    frame.reset();
    ASSERT_TRUE(panel->MakeCurrent());
    EXPECT_FALSE(glIsList(11));
    EXPECT_FALSE(glIsList(12));
}
