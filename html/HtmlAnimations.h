#pragma once
// Steps the animated GIFs of a document. After every layout each one
// restarts at its first frame; a 50 ms timer advances those that are on
// the paint surface, so an animation scrolled out of view costs nothing.

#include <QRect>
#include <QTimer>

#include <vector>

class QWidget;
class TGIFImage;

class TAnimationDriver {
public:
    // gifs: the document's list of animated images (not owned).
    explicit TAnimationDriver(const std::vector<TGIFImage*>& gifs);

    static constexpr int TickMs = 50;

    // The window the GIFs are drawn on; without one the timer never runs.
    void SetSurface(QWidget* surface) { FSurface = surface; }

    // Every animation back to frame 1, running.
    void RestartAll();
    // The paint of area (surface coordinates) is about to start: the timer
    // stops, and the GIFs that area covers forget that they were painted
    // (those still there set the flag again as they are drawn).
    void BeforePaint(const QRect& area);
    // The paint is over: the timer runs when there is anything to animate.
    void AfterPaint();
    // The document moved up by dy pixels on the surface.
    void Scrolled(int dy);
    void Stop() { FTimer.stop(); }
    bool Running() const { return FTimer.isActive(); }

    // One timer tick (public for tests).
    void Tick();

private:
    const std::vector<TGIFImage*>& FGifs;
    QWidget* FSurface = nullptr;
    QTimer FTimer;
};
