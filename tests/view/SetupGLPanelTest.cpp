// The OpenGL panel on a real context (Mesa under Xvfb): the order of its
// events, buffer swapping, the owner's destroy chain, and the failure path.

#include "TestSupport.h"

#include "platform/Forms.h"
#include "view/clSetupGL/clSetupGL.h"

#include <QOpenGLContext>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A panel that counts the buffer swaps it asks for and can be told to fail
// one set-up step.
class TProbeSetupGL : public TSetupGL {
public:
    enum class TFailingStep { None, Choose, Set, Create, Activate };
    using TSetupGL::TSetupGL;

    TFailingStep Failing = TFailingStep::None;
    int Swaps = 0;

protected:
    bool ChoosePixelFormat(const QSurfaceFormat& format, QString& errorText) override
    {
        return Refuse(TFailingStep::Choose, errorText) && TSetupGL::ChoosePixelFormat(format, errorText);
    }
    bool SetPixelFormat(QString& errorText) override
    {
        return Refuse(TFailingStep::Set, errorText) && TSetupGL::SetPixelFormat(errorText);
    }
    bool CreateRenderingContext(const QSurfaceFormat& format, QString& errorText) override
    {
        return Refuse(TFailingStep::Create, errorText) && TSetupGL::CreateRenderingContext(format, errorText);
    }
    bool ActivateContext(QString& errorText) override
    {
        return Refuse(TFailingStep::Activate, errorText) && TSetupGL::ActivateContext(errorText);
    }
    void SwapBuffers() override
    {
        ++Swaps;
        TSetupGL::SwapBuffers();
    }

private:
    // False (with a system-like text) when `step` is the one to fail.
    bool Refuse(TFailingStep step, QString& errorText)
    {
        if (Failing != step)
            return true;
        errorText = QStringLiteral("Opération refusée par le test");
        return false;
    }
};

// A window holding one panel, the way the scene window holds its own.
struct THost {
    THost()
    {
        form = std::make_unique<TForm>();
        form->resize(200, 150);
        panel = new TProbeSetupGL(form.get());
        panel->setGeometry(0, 0, 200, 150);
        panel->OnInit = [this](QObject* sender) { Log(sender, "init"); };
        panel->OnResize = [this](QObject* sender) { Log(sender, "resize"); };
        panel->OnDraw = [this](QObject* sender) { Log(sender, "draw"); };
    }
    void Log(QObject* sender, const char* what)
    {
        EXPECT_EQ(sender, panel);
        events.append(QString::fromLatin1(what));
    }
    std::unique_ptr<TForm> form;
    TProbeSetupGL* panel;
    QStringList events;
};

} // namespace

TEST(SetupGLPanel, InitFiresOnceBeforeTheFirstResizeAndDraw)
{
    THost host;
    host.panel->Loaded();
    ASSERT_TRUE(host.panel->Initialised());
    ASSERT_NE(host.panel->RC(), nullptr);
    EXPECT_EQ(host.events, QStringList({ "init", "resize", "draw" }));

    host.form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host.panel->GLWindow()));
    host.panel->Redraw();
    host.form->resize(260, 180);
    QTest::qWait(50);
    EXPECT_EQ(host.events.count("init"), 1);
    EXPECT_GE(host.events.count("draw"), 3); // the first frame, the expose, the explicit redraw
    EXPECT_GE(host.events.count("resize"), 2);
    // Its context is the current one after each frame.
    EXPECT_EQ(QOpenGLContext::currentContext(), host.panel->RC());
}

TEST(SetupGLPanel, SwapsOnlyWithDoubleBufferWhateverUtiliserDoubleTamponSays)
{
    THost single;
    single.panel->SetFormatPixels({ pxDrawToWindow, pxSupportOpenGL });
    single.panel->SetUtiliserDoubleTampon(true);
    single.panel->Loaded();
    ASSERT_TRUE(single.panel->Initialised());
    single.panel->Redraw();
    single.panel->Redraw();
    EXPECT_EQ(single.panel->Swaps, 0);
    EXPECT_EQ(single.panel->RC()->format().swapBehavior(), QSurfaceFormat::SingleBuffer);

    THost twin;
    twin.panel->SetUtiliserDoubleTampon(false);
    twin.panel->Loaded();
    ASSERT_TRUE(twin.panel->Initialised());
    const int before = twin.panel->Swaps; // the first frame of the set-up
    twin.panel->Redraw();
    twin.panel->Redraw();
    EXPECT_EQ(before, 1);
    EXPECT_EQ(twin.panel->Swaps, 3);
}

TEST(SetupGLPanel, EveryFrameIsFlushedThroughTheGateway)
{
    THost host;
    host.panel->Loaded();
    TGLRecorder recorder(/*forward=*/true);
    TScopedGL scoped(recorder);
    host.panel->Redraw();
    EXPECT_EQ(recorder.Count("glFlush"), 1);
    // The panel itself draws nothing else and never sets a viewport.
    EXPECT_EQ(recorder.Calls.size(), 1u);
}

TEST(SetupGLPanel, ResizeAndPaintBeforeSetUpFireNothing)
{
    THost host;
    TGLRecorder recorder;
    TScopedGL scoped(recorder);
    host.panel->Resize();
    host.panel->Paint();
    host.panel->Redraw();
    EXPECT_TRUE(host.events.isEmpty());
    EXPECT_EQ(recorder.Count("glFlush"), 0);
    EXPECT_FALSE(host.panel->MakeCurrent());
}

TEST(SetupGLPanel, EachFailedStepShowsItsCaptionAndLeavesThePanelDead)
{
    const std::pair<TProbeSetupGL::TFailingStep, const char*> steps[] = {
        { TProbeSetupGL::TFailingStep::Choose, "Choix du format de pixels" },
        { TProbeSetupGL::TFailingStep::Set, "Affectation du format de pixels" },
        { TProbeSetupGL::TFailingStep::Create, "Création de la passerelle OpenGL" },
        { TProbeSetupGL::TFailingStep::Activate, "Activation de la passerelle OpenGL" },
    };
    for (const auto& [step, caption] : steps) {
        SCOPED_TRACE(caption);
        TRecordingDialogs dialogs;
        TScopedDialogs scopedDialogs(dialogs);
        THost host;
        host.panel->Failing = step;
        host.panel->Loaded();

        ASSERT_EQ(dialogs.Shown.size(), 1);
        EXPECT_EQ(dialogs.Shown[0].Kind, "message");
        EXPECT_EQ(dialogs.Shown[0].Caption, QString::fromUtf8(caption));
        EXPECT_EQ(dialogs.Shown[0].Text, "Opération refusée par le test");
        EXPECT_FALSE(host.panel->Initialised());
        EXPECT_EQ(host.panel->RC(), nullptr);

        TGLRecorder recorder;
        TScopedGL scopedGL(recorder);
        host.panel->Redraw();
        host.panel->Resize();
        host.form->show();
        QTest::qWait(20);
        EXPECT_TRUE(host.events.isEmpty());
        EXPECT_EQ(recorder.Count("glFlush"), 0);
        EXPECT_EQ(host.panel->Swaps, 0);
    }
}

TEST(SetupGLPanel, ReleaseRunsBeforeTheOwnersEarlierDestroyHandler)
{
    THost host;
    bool contextGoneFirst = false;
    QObject* seenSender = nullptr;
    TNotifyEvent ownerDestroy = [&](QObject* sender) {
        seenSender = sender;
        contextGoneFirst = host.panel->RC() == nullptr && !host.panel->Initialised();
    };
    host.panel->ChainOwnerDestroy(ownerDestroy);
    host.panel->Loaded();
    ASSERT_TRUE(host.panel->Initialised());

    ownerDestroy(host.form.get());
    EXPECT_EQ(seenSender, host.form.get());
    EXPECT_TRUE(contextGoneFirst);
    // Released for good: frames do nothing.
    host.events.clear();
    host.panel->Redraw();
    EXPECT_TRUE(host.events.isEmpty());
}

TEST(SetupGLPanel, OwnerWithoutDestroyHandlerStillReleases)
{
    THost host;
    TNotifyEvent ownerDestroy;
    host.panel->ChainOwnerDestroy(ownerDestroy);
    EXPECT_FALSE(host.panel->SavedOwnerDestroy);
    host.panel->Loaded();
    ownerDestroy(host.form.get());
    EXPECT_EQ(host.panel->RC(), nullptr);
}

TEST(SetupGLPanel, MouseOnTheGLWindowReachesThePanelsEvents)
{
    THost host;
    QStringList seen;
    host.panel->OnMouseDown = [&](QObject*, Qt::MouseButton button, Qt::MouseButtons, Qt::KeyboardModifiers, int x,
                                  int y) {
        seen.append(QStringLiteral("down %1 %2 %3").arg(button == Qt::LeftButton ? "left" : "other").arg(x).arg(y));
    };
    host.panel->OnMouseMove = [&](QObject*, Qt::MouseButtons buttons, Qt::KeyboardModifiers, int x, int y) {
        seen.append(QStringLiteral("move %1 %2 %3").arg((buttons & Qt::LeftButton) ? "held" : "free").arg(x).arg(y));
    };
    host.panel->OnMouseUp = [&](QObject*, Qt::MouseButton, Qt::MouseButtons, Qt::KeyboardModifiers, int x, int y) {
        seen.append(QStringLiteral("up %1 %2").arg(x).arg(y));
    };
    host.panel->OnClick = [&](QObject*) { seen.append("click"); };
    host.panel->Loaded();
    host.form->show();
    QWindow* window = host.panel->GLWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));

    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(10, 20));
    QTest::mouseMove(window, QPoint(30, 40));
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(30, 40));
    // The test driver moves the mouse onto the press position first.
    const qsizetype down = seen.indexOf("down left 10 20");
    ASSERT_GE(down, 0) << seen.join(", ").toStdString();
    EXPECT_EQ(seen.indexOf("move held 30 40"), down + 1) << seen.join(", ").toStdString();
    EXPECT_EQ(seen.mid(down + 2), QStringList({ "up 30 40", "click" })) << seen.join(", ").toStdString();
}

TEST(SetupGLPanelLate, SetUpAfterTheOwnerIsShownGetsTheRequestedFormat)
{
    // The window already exists with a default format when the owner is
    // shown first; the set-up must still give it the requested one.
    auto form = std::make_unique<TForm>();
    form->resize(120, 90);
    auto* panel = new TSetupGL(form.get());
    panel->setGeometry(0, 0, 120, 90);
    panel->SetFormatPixels({ pxDrawToWindow, pxSupportOpenGL });
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    int draws = 0;
    panel->OnDraw = [&](QObject*) { ++draws; };
    panel->Loaded();
    ASSERT_TRUE(panel->Initialised());
    EXPECT_EQ(panel->GLWindow()->format().swapBehavior(), QSurfaceFormat::SingleBuffer);
    EXPECT_TRUE(panel->MakeCurrent());
    // Still on screen inside the panel, painting on exposure.
    EXPECT_TRUE(QTest::qWaitForWindowExposed(panel->GLWindow()));
    EXPECT_GE(draws, 1);
}
