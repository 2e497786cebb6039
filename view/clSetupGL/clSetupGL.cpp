#include "view/clSetupGL/clSetupGL.h"

#include "platform/Dialogs.h"
#include "platform/GL.h"

#include <QExposeEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPalette>
#include <QResizeEvent>
#include <QStringList>
#include <QSurfaceFormat>
#include <QVBoxLayout>
#include <QWindow>

// The panel's own window: the OpenGL surface. It hands exposes, size
// changes and the mouse to the panel. It never takes the keyboard focus, so
// that the owner window's shortcuts keep working while the learner drags.
class TSetupGLWindow : public QWindow {
public:
    explicit TSetupGLWindow(TSetupGL* panel)
        : FPanel(panel)
    {
        setSurfaceType(QSurface::OpenGLSurface);
        setFlag(Qt::WindowDoesNotAcceptFocus);
    }

protected:
    void exposeEvent(QExposeEvent*) override
    {
        if (isExposed())
            FPanel->Paint();
    }
    void resizeEvent(QResizeEvent*) override { FPanel->Resize(); }
    void mousePressEvent(QMouseEvent* event) override
    {
        FPanel->MouseDown(event->button(), event->buttons(), event->modifiers(), event->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        FPanel->MouseUp(event->button(), event->buttons(), event->modifiers(), event->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        FPanel->MouseMove(event->buttons(), event->modifiers(), event->position().toPoint());
    }
    void mouseDoubleClickEvent(QMouseEvent*) override { FPanel->DoubleClick(); }

private:
    TSetupGL* FPanel;
};

namespace {

// The window system explains its refusals in warnings; while a set-up step
// runs they are collected so that the failure box can show them.
class TSystemMessages {
public:
    TSystemMessages()
        : FPrevious(qInstallMessageHandler(&TSystemMessages::Collect))
    {
        Active() = this;
    }
    ~TSystemMessages()
    {
        qInstallMessageHandler(FPrevious);
        Active() = nullptr;
    }
    TSystemMessages(const TSystemMessages&) = delete;
    TSystemMessages& operator=(const TSystemMessages&) = delete;

    // The collected text, or `fallback` when the system said nothing.
    QString Text(const QString& fallback) const { return FLines.isEmpty() ? fallback : FLines.join('\n'); }

private:
    static TSystemMessages*& Active()
    {
        static TSystemMessages* active = nullptr;
        return active;
    }
    static void Collect(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        TSystemMessages* self = Active();
        if (self == nullptr)
            return;
        self->FLines.append(message);
        if (self->FPrevious != nullptr)
            self->FPrevious(type, context, message);
    }

    QtMessageHandler FPrevious;
    QStringList FLines;
};

QString DescribeRequest(const TPixelFormatRequest& request)
{
    QString text
        = (request.Flags & PFD_DOUBLEBUFFER) ? QStringLiteral("double tampon") : QStringLiteral("simple tampon");
    text += QStringLiteral(", couleur %1 bits, profondeur %2 bits").arg(request.ColorBits).arg(request.DepthBits);
    if (request.StencilBits > 0)
        text += QStringLiteral(", stencil %1 bits").arg(request.StencilBits);
    if (request.AccumBits > 0)
        text += QStringLiteral(", accumulation %1 bits").arg(request.AccumBits);
    if (request.Flags & PFD_STEREO)
        text += QStringLiteral(", stéréo");
    return text;
}

} // namespace

uint16_t BuildPixelFlags(TFormatPixels formatPixels)
{
    uint16_t flags = 0;
    const auto add = [&](TFPixels member, uint16_t flag) {
        if (formatPixels.Contains(member))
            flags = static_cast<uint16_t>(flags | flag);
    };
    add(pxDrawToWindow, PFD_DRAW_TO_WINDOW);
    add(pxDrawToBitmap, PFD_DRAW_TO_BITMAP);
    add(pxSupportOpenGL, PFD_SUPPORT_OPENGL);
    add(pxGenericAccelerated, PFD_GENERIC_ACCELERATED);
    add(pxStereo, PFD_STEREO);
    add(pxDoubleBuffer, PFD_DOUBLEBUFFER);
    if (!formatPixels.Contains(pxDoubleBuffer))
        add(pxSupportGDI, PFD_SUPPORT_GDI);
    return flags;
}

TTamponBits BitsToTampon(int bits)
{
    switch (bits) {
    case 24:
        return t24bits;
    case 32:
        return t32bits;
    default:
        return t16bits;
    }
}

int TamponToBits(TTamponBits tampon)
{
    switch (tampon) {
    case t24bits:
        return 24;
    case t32bits:
        return 32;
    default:
        return 16;
    }
}

QSurfaceFormat SurfaceFormatFor(const TPixelFormatRequest& request)
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setSwapBehavior(
        (request.Flags & PFD_DOUBLEBUFFER) ? QSurfaceFormat::DoubleBuffer : QSurfaceFormat::SingleBuffer);
    format.setStereo((request.Flags & PFD_STEREO) != 0);
    if (request.ColorBits >= 24) {
        format.setRedBufferSize(8);
        format.setGreenBufferSize(8);
        format.setBlueBufferSize(8);
        format.setAlphaBufferSize(request.ColorBits >= 32 ? 8 : 0);
    } else {
        format.setRedBufferSize(5);
        format.setGreenBufferSize(6);
        format.setBlueBufferSize(5);
        format.setAlphaBufferSize(0);
    }
    format.setDepthBufferSize(request.DepthBits);
    format.setStencilBufferSize(request.StencilBits);
    return format;
}

TSetupGL::TSetupGL(QWidget* parent)
    : QWidget(parent)
{
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    FWindow = new TSetupGLWindow(this);
    FContainer = QWidget::createWindowContainer(FWindow, this);
    FContainer->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FContainer);
}

TSetupGL::~TSetupGL()
{
    // The owner normally released the context already; a panel that goes
    // on its own must not leave a context behind on a vanished window.
    if (FRC)
        ReleaseSteps();
}

QWindow* TSetupGL::GLWindow() const { return FWindow; }

void TSetupGL::ChainOwnerDestroy(TNotifyEvent& ownerDestroy)
{
    SavedOwnerDestroy = ownerDestroy;
    ownerDestroy = [this](QObject* sender) { ReleaseContext(sender); };
}

TPixelFormatRequest TSetupGL::PixelFormatRequest() const
{
    TPixelFormatRequest request;
    request.Flags = BuildPixelFlags(FFormatPixels);
    request.ColorBits = FColourBits;
    request.DepthBits = FDepthBits;
    request.AccumBits = FUtiliserAccumulationTampon ? FAccumBits : 0;
    request.StencilBits = FUtiliserStencilTampon ? FStencilBits : 0;
    return request;
}

void TSetupGL::Loaded()
{
    if (!CreateContext())
        ReleaseSteps();
}

bool TSetupGL::CreateContext()
{
    // 1-2. Flags and the descriptor of what is asked.
    FPixelFlags = BuildPixelFlags(FFormatPixels);
    const TPixelFormatRequest request = PixelFormatRequest();
    const QSurfaceFormat format = SurfaceFormatFor(request);

    // 3-4. The panel's window, made with a matching configuration.
    QString errorText;
    if (!ChoosePixelFormat(format, errorText)) {
        ReportFailure(QStringLiteral("Choix du format de pixels"), errorText);
        return false;
    }
    // 5. It must be usable as an OpenGL surface.
    if (!SetPixelFormat(errorText)) {
        ReportFailure(QStringLiteral("Affectation du format de pixels"), errorText);
        return false;
    }
    // 6-7. A fresh context (a previous one is dropped first).
    if (FRC) {
        FRC->doneCurrent();
        FRC.reset();
    }
    if (!CreateRenderingContext(format, errorText)) {
        ReportFailure(QStringLiteral("Création de la passerelle OpenGL"), errorText);
        return false;
    }
    // 8. Current on the panel's window.
    if (!ActivateContext(errorText)) {
        ReportFailure(QStringLiteral("Activation de la passerelle OpenGL"), errorText);
        return false;
    }
    // 9. Ready: the owner sets up its state, its viewport, and a first frame.
    FInitialised = true;
    if (OnInit)
        OnInit(this);
    if (OnResize)
        OnResize(this);
    Redraw();
    return true;
}

bool TSetupGL::ChoosePixelFormat(const QSurfaceFormat& format, QString& errorText)
{
    TSystemMessages messages;
    // Shown before the set-up, the window was made with a default format:
    // make it again with the requested one.
    const bool wasVisible = FWindow->isVisible();
    if (FWindow->handle() != nullptr)
        FWindow->destroy();
    FWindow->setFormat(format);
    FWindow->create();
    if (wasVisible)
        FWindow->setVisible(true);
    if (FWindow->handle() != nullptr)
        return true;
    errorText = messages.Text(QStringLiteral("Aucune fenêtre OpenGL ne peut être créée avec ce format (%1).")
                                  .arg(DescribeRequest(PixelFormatRequest())));
    return false;
}

bool TSetupGL::SetPixelFormat(QString& errorText)
{
    if (FWindow->supportsOpenGL())
        return true;
    errorText = QStringLiteral("La fenêtre du panneau ne peut pas recevoir de dessin OpenGL.");
    return false;
}

bool TSetupGL::CreateRenderingContext(const QSurfaceFormat& format, QString& errorText)
{
    TSystemMessages messages;
    auto context = std::make_unique<QOpenGLContext>();
    context->setFormat(format);
    if (!context->create()) {
        errorText = messages.Text(QStringLiteral("Le système n'a pas pu créer de contexte OpenGL (%1).")
                                      .arg(DescribeRequest(PixelFormatRequest())));
        return false;
    }
    FRC = std::move(context);
    return true;
}

bool TSetupGL::ActivateContext(QString& errorText)
{
    if (!FRC || FWindow->handle() == nullptr) {
        errorText = QStringLiteral("Aucun contexte OpenGL n'est attaché au panneau.");
        return false;
    }
    TSystemMessages messages;
    if (FRC->makeCurrent(FWindow))
        return true;
    errorText = messages.Text(QStringLiteral("Le contexte OpenGL n'a pas pu être activé sur la fenêtre du panneau."));
    return false;
}

void TSetupGL::SwapBuffers()
{
    // Presenting a window that is not on screen has no defined result.
    if (FRC && FWindow->isExposed())
        FRC->swapBuffers(FWindow);
}

void TSetupGL::ReportFailure(const QString& caption, const QString& errorText)
{
    Dialogs().ShowMessage(caption, errorText);
}

bool TSetupGL::MakeCurrent()
{
    try {
        QString ignored;
        return ActivateContext(ignored);
    } catch (...) {
        return false;
    }
}

void TSetupGL::Redraw()
{
    if (!MakeCurrent())
        return;
    if (OnDraw && FInitialised)
        OnDraw(this);
    FlushAndSwap();
}

void TSetupGL::FlushAndSwap()
{
    GL().Flush();
    if (FFormatPixels.Contains(pxDoubleBuffer))
        SwapBuffers();
}

void TSetupGL::Paint() { Redraw(); }

void TSetupGL::Resize()
{
    MakeCurrent();
    if (OnResize && FInitialised)
        OnResize(this);
}

void TSetupGL::ReleaseSteps()
{
    if (FRC) {
        FRC->doneCurrent();
        FRC.reset();
    }
    FInitialised = false;
}

void TSetupGL::ReleaseContext(QObject* sender)
{
    ReleaseSteps();
    if (SavedOwnerDestroy)
        SavedOwnerDestroy(sender);
}

void TSetupGL::MouseDown(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint at)
{
    if (button == Qt::LeftButton)
        FLeftPressed = true;
    if (OnMouseDown)
        OnMouseDown(this, button, buttons, modifiers, at.x(), at.y());
}

void TSetupGL::MouseUp(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint at)
{
    if (OnMouseUp)
        OnMouseUp(this, button, buttons, modifiers, at.x(), at.y());
    // A click is a left press and release that both happen on the panel.
    if (button == Qt::LeftButton && FLeftPressed) {
        FLeftPressed = false;
        if (rect().contains(at) && OnClick)
            OnClick(this);
    }
}

void TSetupGL::MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint at)
{
    if (OnMouseMove)
        OnMouseMove(this, buttons, modifiers, at.x(), at.y());
}

void TSetupGL::DoubleClick()
{
    if (OnDblClick)
        OnDblClick(this);
}
