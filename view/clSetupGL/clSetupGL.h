#pragma once
// TSetupGL: a panel that owns one OpenGL rendering context on a window of
// its own, embedded in the panel. The owner window does all its drawing in
// three events: OnInit (once, when the context exists), OnResize (each size
// change) and OnDraw (each frame). Only GL 1.1 calls are made in that
// context, so it asks for a compatibility profile; make-current and buffer
// swapping are explicit.
//
// Life of a panel:
//   1. construction, then ChainOwnerDestroy with the owner form's destroy
//      event, so that the context is released before the form's own
//      destroy handler runs;
//   2. Loaded, once the owner has set the published properties: the
//      context is created and OnInit, OnResize and a first Redraw follow;
//      a failed set-up is reported under the step's caption and leaves the
//      panel uninitialised for good;
//   3. Redraw per frame (also on every expose), Resize on each size change;
//   4. ReleaseContext when the owner goes.

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>

class QOpenGLContext;
class QSurfaceFormat;
class QWindow;
class TSetupGLWindow;

// Events carry their sender, as every handler of the program expects.
using TNotifyEvent = std::function<void(QObject* sender)>;
// Button pressed or released: the button, the buttons and modifier keys
// held, and the position in the panel (logical pixels).
using TMouseEvent = std::function<void(
    QObject* sender, Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y)>;
using TMouseMoveEvent
    = std::function<void(QObject* sender, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y)>;

// Bit depth of one buffer: 16, 24 or 32 bits. A fixed underlying type, so
// that any streamed value is a valid one (read back as 16 bits).
enum TTamponBits : int { t16bits, t24bits, t32bits };

// Pixel-format options; ordinal n is bit n of TFormatPixels.
enum TFPixels {
    pxDoubleBuffer,
    pxDrawToWindow,
    pxSupportGDI,
    pxSupportOpenGL,
    pxDrawToBitmap,
    pxStereo,
    pxGenericAccelerated
};

// A set of TFPixels held in one byte.
class TFormatPixels {
public:
    constexpr TFormatPixels() = default;
    constexpr TFormatPixels(std::initializer_list<TFPixels> members)
    {
        for (TFPixels member : members)
            FBits = static_cast<uint8_t>(FBits | Bit(member));
    }
    static constexpr TFormatPixels FromByte(uint8_t bits)
    {
        TFormatPixels set;
        set.FBits = static_cast<uint8_t>(bits & 0x7F);
        return set;
    }

    constexpr bool Contains(TFPixels member) const { return (FBits & Bit(member)) != 0; }
    void Include(TFPixels member) { FBits = static_cast<uint8_t>(FBits | Bit(member)); }
    void Exclude(TFPixels member) { FBits = static_cast<uint8_t>(FBits & ~Bit(member)); }
    constexpr uint8_t Byte() const { return FBits; }
    constexpr bool operator==(const TFormatPixels&) const = default;

private:
    static constexpr uint8_t Bit(TFPixels member) { return static_cast<uint8_t>(1u << member); }
    uint8_t FBits = 0;
};

// Pixel-format descriptor flags, with the values the window system gives
// them; PixelFlags is built from these.
constexpr uint16_t PFD_DOUBLEBUFFER = 1;
constexpr uint16_t PFD_STEREO = 2;
constexpr uint16_t PFD_DRAW_TO_WINDOW = 4;
constexpr uint16_t PFD_DRAW_TO_BITMAP = 8;
constexpr uint16_t PFD_SUPPORT_GDI = 16;
constexpr uint16_t PFD_SUPPORT_OPENGL = 32;
constexpr uint16_t PFD_GENERIC_ACCELERATED = 4096;

// The descriptor flags of a set of options. GDI drawing is only possible
// into a single buffer, so pxSupportGDI counts only without pxDoubleBuffer.
uint16_t BuildPixelFlags(TFormatPixels formatPixels);

// Depth properties: 24 reads as t24bits, 32 as t32bits, anything else as
// t16bits; writing stores 16, 24 or 32.
TTamponBits BitsToTampon(int bits);
int TamponToBits(TTamponBits tampon);

// What the panel asks of the window system: the descriptor flags and the
// bit counts (0 for a buffer that is not wanted).
struct TPixelFormatRequest {
    uint16_t Flags = 0;
    int ColorBits = 0;
    int DepthBits = 0;
    int AccumBits = 0;
    int StencilBits = 0;
    bool operator==(const TPixelFormatRequest&) const = default;
};

// The request as a surface format: compatibility profile, double or single
// buffering from PFD_DOUBLEBUFFER, stereo from PFD_STEREO, the colour depth
// split into channels (16: 5-6-5, 24: 8-8-8, 32: 8-8-8 with 8 alpha), depth
// and stencil sizes. Surface formats have no accumulation buffer; its bit
// count stays in the request only.
QSurfaceFormat SurfaceFormatFor(const TPixelFormatRequest& request);

class TSetupGL : public QWidget {
    Q_OBJECT
    Q_PROPERTY(TTamponBits ProfondeurCouleur READ ProfondeurCouleur WRITE SetProfondeurCouleur)
    Q_PROPERTY(TTamponBits ProfondeurTampon READ ProfondeurTampon WRITE SetProfondeurTampon)
    Q_PROPERTY(TTamponBits ProfondeurStencil READ ProfondeurStencil WRITE SetProfondeurStencil)
    Q_PROPERTY(TTamponBits ProfondeurAccum READ ProfondeurAccum WRITE SetProfondeurAccum)
    Q_PROPERTY(bool UtiliserDoubleTampon READ UtiliserDoubleTampon WRITE SetUtiliserDoubleTampon)
    Q_PROPERTY(bool UtiliserStencilTampon READ UtiliserStencilTampon WRITE SetUtiliserStencilTampon)
    Q_PROPERTY(bool UtiliserAccumulationTampon READ UtiliserAccumulationTampon WRITE SetUtiliserAccumulationTampon)
    Q_PROPERTY(int FormatPixels READ FormatPixelsByte WRITE SetFormatPixelsByte)

public:
    // Starts with 16 bits everywhere, UtiliserDoubleTampon set, no stencil
    // or accumulation buffer and [pxDoubleBuffer, pxDrawToWindow,
    // pxSupportOpenGL]; the owner sets its own values before Loaded.
    explicit TSetupGL(QWidget* parent = nullptr);
    ~TSetupGL() override;

    // Published properties.
    TTamponBits ProfondeurCouleur() const { return BitsToTampon(FColourBits); }
    void SetProfondeurCouleur(TTamponBits value) { FColourBits = TamponToBits(value); }
    TTamponBits ProfondeurTampon() const { return BitsToTampon(FDepthBits); }
    void SetProfondeurTampon(TTamponBits value) { FDepthBits = TamponToBits(value); }
    TTamponBits ProfondeurStencil() const { return BitsToTampon(FStencilBits); }
    void SetProfondeurStencil(TTamponBits value) { FStencilBits = TamponToBits(value); }
    TTamponBits ProfondeurAccum() const { return BitsToTampon(FAccumBits); }
    void SetProfondeurAccum(TTamponBits value) { FAccumBits = TamponToBits(value); }
    // Kept for the form description; buffering follows pxDoubleBuffer.
    bool UtiliserDoubleTampon() const { return FUtiliserDoubleTampon; }
    void SetUtiliserDoubleTampon(bool value) { FUtiliserDoubleTampon = value; }
    bool UtiliserStencilTampon() const { return FUtiliserStencilTampon; }
    void SetUtiliserStencilTampon(bool value) { FUtiliserStencilTampon = value; }
    bool UtiliserAccumulationTampon() const { return FUtiliserAccumulationTampon; }
    void SetUtiliserAccumulationTampon(bool value) { FUtiliserAccumulationTampon = value; }
    TFormatPixels FormatPixels() const { return FFormatPixels; }
    void SetFormatPixels(TFormatPixels value) { FFormatPixels = value; }
    int FormatPixelsByte() const { return FFormatPixels.Byte(); }
    void SetFormatPixelsByte(int value) { FFormatPixels = TFormatPixels::FromByte(static_cast<uint8_t>(value)); }

    // Events, all with the panel as sender. Each is tested before it is
    // called.
    TNotifyEvent OnInit;
    TNotifyEvent OnResize;
    TNotifyEvent OnDraw;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // The owner form's destroy handler that ChainOwnerDestroy replaced;
    // ReleaseContext calls it last.
    TNotifyEvent SavedOwnerDestroy;

    // Saves the owner form's destroy handler in SavedOwnerDestroy and puts
    // ReleaseContext in its place. The form calls that event from its
    // destructor, while the panel and its window still exist.
    void ChainOwnerDestroy(TNotifyEvent& ownerDestroy);

    // After the owner has set the properties: creates the context. A failed
    // set-up releases what was made and is never retried.
    void Loaded();
    // Makes the panel's context current on its window; false when there is
    // no context or the window system refuses (never raises).
    bool MakeCurrent();
    // One frame: OnDraw (while initialised), glFlush, and a buffer swap
    // when pxDoubleBuffer is set. Does nothing when MakeCurrent fails.
    void Redraw();
    // Each system repaint of the panel's window draws a frame.
    void Paint();
    // Each size change: OnResize while initialised. Sets no viewport.
    void Resize();
    // Deletes the context, marks the panel uninitialised and then calls
    // SavedOwnerDestroy with the same sender.
    void ReleaseContext(QObject* sender);

    bool Initialised() const { return FInitialised; }
    uint16_t PixelFlags() const { return FPixelFlags; }
    int ColourBits() const { return FColourBits; }
    int DepthBits() const { return FDepthBits; }
    int StencilBits() const { return FStencilBits; }
    int AccumBits() const { return FAccumBits; }
    // What the last set-up asked of the window system.
    TPixelFormatRequest PixelFormatRequest() const;
    // The rendering context (null until created and after release) and the
    // window it draws on.
    QOpenGLContext* RC() const { return FRC.get(); }
    QWindow* GLWindow() const;

protected:
    // The window-system steps of the set-up, one per reported stage. Each
    // returns false on failure and then gives the system's explanation in
    // `errorText`. Tests replace them to simulate a refusing system.
    // "Choix du format de pixels": make the panel's window with the format.
    virtual bool ChoosePixelFormat(const QSurfaceFormat& format, QString& errorText);
    // "Affectation du format de pixels": the window must be an OpenGL surface.
    virtual bool SetPixelFormat(QString& errorText);
    // "Création de la passerelle OpenGL".
    virtual bool CreateRenderingContext(const QSurfaceFormat& format, QString& errorText);
    // "Activation de la passerelle OpenGL"; also behind MakeCurrent.
    virtual bool ActivateContext(QString& errorText);
    // Presents the back buffer.
    virtual void SwapBuffers();

private:
    friend class TSetupGLWindow;
    bool CreateContext();
    void FlushAndSwap();
    void ReleaseSteps();
    void ReportFailure(const QString& caption, const QString& errorText);
    void MouseDown(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint at);
    void MouseUp(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint at);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint at);
    void DoubleClick();

    bool FInitialised = false;
    std::unique_ptr<QOpenGLContext> FRC;
    int FColourBits = 16;
    int FDepthBits = 16;
    int FStencilBits = 16;
    int FAccumBits = 16;
    TFormatPixels FFormatPixels { pxDoubleBuffer, pxDrawToWindow, pxSupportOpenGL };
    bool FUtiliserDoubleTampon = true;
    bool FUtiliserStencilTampon = false;
    bool FUtiliserAccumulationTampon = false;
    uint16_t FPixelFlags = 0;
    TSetupGLWindow* FWindow = nullptr; // owned by its container widget
    QWidget* FContainer = nullptr; // child widget embedding FWindow
    bool FLeftPressed = false; // a left press on the panel waits for its release (OnClick)
};
