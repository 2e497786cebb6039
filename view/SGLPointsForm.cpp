#include "view/SGLPointsForm.h"

#include "platform/GL.h"
#include "scene/MyGOPoints.h"
#include "scene/MyGORepere.h"
#include "scene/SceneState.h"
#include "view/AddClusterForm.h"
#include "view/AddCplxForm.h"
#include "view/AddPointForm.h"
#include "view/ChangeVisuForm.h"
#include "view/PointsTreeViewForm.h"

#include "ui_SGLPointsForm.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>

#include <cmath>

#include <algorithm>

TForm_SGLPoints* Form_SGLPoints = nullptr;

namespace {

// Shows the hourglass until the scope ends, whatever happens inside.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

template <class T>
void CreateIfNull(T*& form)
{
    if (form == nullptr)
        form = new T();
}

void HideIfExists(QWidget* form)
{
    if (form != nullptr)
        form->hide();
}

} // namespace

TForm_SGLPoints::TForm_SGLPoints(QWidget* owner)
    : TForm(owner, Qt::Window), FUi(std::make_unique<Ui::TForm_SGLPoints>())
{
    FUi->setupUi(this);
    move(426, 78); // the form's position (setupUi sets only the size)
    SetFontPixels(FUi->Button_SommaireDidacticiel, QStringLiteral("MS Sans Serif"), 16);
    // Nothing ever shows the rotation panel or the mouse coordinates.
    for (QWidget* hidden : std::initializer_list<QWidget*>{FUi->PanelSglPtsRot, FUi->Label1, FUi->LabelSGLX,
                                                          FUi->Label2, FUi->LabelSGLY})
        hidden->hide();

    // The popup menu carries the items; they are also the window's own
    // actions, so that their shortcuts work while the menu is never shown.
    FPopupMenu = new QMenu(this);
    FPopupMenu->setObjectName(QStringLiteral("PopupMenuSGLPoints"));
    const QList<QAction*> items{FUi->PopItTourne,     FUi->PopItAddOne,    FUi->PopItAddMore,
                                FUi->PopItAddCluster, FUi->PopItShowRepere, FUi->PopItShowAxes,
                                FUi->PopItShowTreeView, FUi->PopItShowVisu};
    FPopupMenu->addActions(items);
    addActions(items);
    connect(FPopupMenu, &QMenu::aboutToShow, this, &TForm_SGLPoints::PopupMenuSGLPointsPopup);
    ConnectMenuItem(FUi->PopItTourne, &TForm_SGLPoints::PopItTourneClick);
    ConnectMenuItem(FUi->PopItAddOne, &TForm_SGLPoints::PopItAddOneClick);
    ConnectMenuItem(FUi->PopItAddMore, &TForm_SGLPoints::PopItAddMoreClick);
    ConnectMenuItem(FUi->PopItAddCluster, &TForm_SGLPoints::PopItAddClusterClick);
    ConnectMenuItem(FUi->PopItShowRepere, &TForm_SGLPoints::PopItShowRepereClick);
    ConnectMenuItem(FUi->PopItShowAxes, &TForm_SGLPoints::PopItShowAxesClick);
    ConnectMenuItem(FUi->PopItShowTreeView, &TForm_SGLPoints::PopItShowTreeViewClick);
    ConnectMenuItem(FUi->PopItShowVisu, &TForm_SGLPoints::PopItShowVisuClick);

    connect(FUi->BQuit, &QPushButton::clicked, this, &TForm_SGLPoints::BQuitClick);
    connect(FUi->Button_SommaireDidacticiel, &QPushButton::clicked, this,
            &TForm_SGLPoints::Button_SommaireDidacticielClick);
    connect(FUi->ButtonResetRotation, &QPushButton::clicked, this, &TForm_SGLPoints::ButtonResetRotationClick);
    // A check box reports every change of its state, also one made by code.
    connect(FUi->CBCoord, &QCheckBox::toggled, this, &TForm_SGLPoints::CBCoordClick);
    connect(FUi->CBAxes, &QCheckBox::toggled, this, &TForm_SGLPoints::CBAxesClick);
    connect(FUi->TBDrawRot, &QSlider::valueChanged, this, &TForm_SGLPoints::TBDrawRotChange);

    FTimer = new QTimer(this);
    FTimer->setObjectName(QStringLiteral("TimerSGLPoints"));
    FTimer->setInterval(1);
    connect(FTimer, &QTimer::timeout, this, &TForm_SGLPoints::TimerSGLPointsTimer);

    // The panel as the form describes it, then its context (Loaded).
    TSetupGL* panel = FUi->SGLPoints;
    panel->SetProfondeurCouleur(t16bits);
    panel->SetProfondeurTampon(t16bits);
    panel->SetProfondeurStencil(t16bits);
    panel->SetProfondeurAccum(t16bits);
    panel->SetUtiliserDoubleTampon(true);
    panel->SetUtiliserStencilTampon(false);
    panel->SetUtiliserAccumulationTampon(false);
    panel->SetFormatPixels({pxDoubleBuffer, pxDrawToWindow, pxSupportOpenGL});
    panel->OnInit = [this](QObject* sender) { SGLPointsInit(sender); };
    panel->OnResize = [this](QObject* sender) { SGLPointsResize(sender); };
    panel->OnDraw = [this](QObject* sender) { SGLPointsDraw(sender); };
    panel->OnMouseDown = [this](QObject* sender, Qt::MouseButton button, Qt::MouseButtons buttons,
                                Qt::KeyboardModifiers modifiers, int x, int y) {
        SGLPointsMouseDown(sender, button, buttons, modifiers, x, y);
    };
    panel->OnMouseUp = [this](QObject* sender, Qt::MouseButton button, Qt::MouseButtons buttons,
                              Qt::KeyboardModifiers modifiers, int x, int y) {
        SGLPointsMouseUp(sender, button, buttons, modifiers, x, y);
    };
    panel->OnMouseMove = [this](QObject* sender, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x,
                                int y) { SGLPointsMouseMove(sender, buttons, modifiers, x, y); };
    OnDestroy = [this](QObject* sender) { FormDestroy(sender); };
    panel->ChainOwnerDestroy(OnDestroy);
    panel->Loaded();

    FormCreate();
}

TForm_SGLPoints::~TForm_SGLPoints()
{
    if (OnDestroy)
        OnDestroy(this);
    if (Form_ChangeVisu != nullptr && Form_ChangeVisu->SceneWindow == this)
        Form_ChangeVisu->SceneWindow = nullptr;
    if (Form_SGLPoints == this)
        Form_SGLPoints = nullptr;
}

void TForm_SGLPoints::ConnectMenuItem(QAction* item, void (TForm_SGLPoints::*handler)())
{
    // Qt flips a checkable item before reporting the click; here each
    // handler sets its own check mark, so that flip is undone first.
    connect(item, &QAction::triggered, this, [this, item, handler]() {
        if (item->isCheckable())
            item->setChecked(!item->isChecked());
        (this->*handler)();
    });
}

TSetupGL* TForm_SGLPoints::SGLPoints() const { return FUi->SGLPoints; }

void TForm_SGLPoints::FormCreate()
{
    CreateCompanions();
    CreateSceneRoots();
    PerspectiveChange();
    PlaceFormLeftOf(Form_PointsTreeView, this);
    if (Form_Information != nullptr)
        PlaceFormLeftOf(Form_Information, this);
    if (Form_Information != nullptr)
        Form_Information->Show();
    Show();
    FTimer->start();
}

void TForm_SGLPoints::CreateCompanions()
{
    // Creating the view dialog already writes its rounded readings back
    // into the view parameters; it redraws nothing until it knows us.
    CreateIfNull(Form_AddPoint);
    CreateIfNull(Form_AddCplx);
    CreateIfNull(Form_AddCluster);
    CreateIfNull(Form_ChangeVisu);
    Form_ChangeVisu->SceneWindow = this;
    CreateIfNull(Form_PointsTreeView);
}

void TForm_SGLPoints::CreateSceneRoots()
{
    // Each root compiles its subtree into a list of its own, numbered in
    // creation order: 10, 11 and 12 on a first run.
    const auto compile = [this](TGObjectL* root) {
        root->SetGLPanel(SGLPoints());
        root->BuildList(NextListId);
        ++NextListId;
    };
    if (SceneRoot == nullptr) {
        SceneRoot = new TGObjects(QStringLiteral("Ensemble complet des points"), nullptr);
        compile(SceneRoot);
    }
    if (SceneAxes == nullptr) {
        SceneAxes = new TGAxes(QStringLiteral("Axes XYZ"), 255, 32768, 16711680, 1.0L, 1.1L, 0.05L, nullptr);
        compile(SceneAxes);
    }
    if (SceneFrame == nullptr) {
        SceneFrame = new TGSphereRepere(QString::fromUtf8("Meridiens et parallèles"), 255, 32768, 16711680, 16776960,
                                        1.0L, nullptr);
        compile(SceneFrame);
    }
}

void TForm_SGLPoints::FormShow()
{
    if (Form_Information != nullptr)
        Form_Information->Show();
    FTimer->start();
}

void TForm_SGLPoints::FormClose()
{
    HideIfExists(Form_Information);
    HideIfExists(Form_AddCplx);
    HideIfExists(Form_AddPoint);
    HideIfExists(Form_ChangeVisu);
    HideIfExists(Form_PointsTreeView);
    HideIfExists(Form_AddCluster);
    FTimer->stop();
    if (ReturnWindow != nullptr) {
        ReturnWindow->Show();
        ReturnWindow->SetWindowState(TWindowState::wsMaximized);
    }
}

void TForm_SGLPoints::FormDestroy(QObject*) {}

void TForm_SGLPoints::RefreshView()
{
    if (!FTimer->isActive())
        SGLPoints()->Redraw();
}

// The panel's size in device pixels, as the viewport wants it.
int TForm_SGLPoints::PanelWidth() const
{
    return static_cast<int>(std::lround(SGLPoints()->width() * SGLPoints()->devicePixelRatioF()));
}

int TForm_SGLPoints::PanelHeight() const
{
    return static_cast<int>(std::lround(SGLPoints()->height() * SGLPoints()->devicePixelRatioF()));
}

void TForm_SGLPoints::SGLPointsInit(QObject*)
{
    SGLPoints()->MakeCurrent();
    GL().ClearColor(0, 0, 0, 0);
}

void TForm_SGLPoints::PerspectiveChange()
{
    SGLPoints()->MakeCurrent();
    const int height = std::max(PanelHeight(), 1); // never divide the aspect by zero
    GL().MatrixMode(GL_PROJECTION);
    GL().LoadIdentity();
    GL().Perspective(FieldOfView, static_cast<double>(PanelWidth()) / height, ZNear, ZFar);
    ProjectionChanged = false;
}

void TForm_SGLPoints::SGLPointsResize(QObject*)
{
    SGLPoints()->MakeCurrent();
    GL().Viewport(0, 0, PanelWidth(), std::max(PanelHeight(), 1));
    PerspectiveChange();
}

void TForm_SGLPoints::SGLPointsDraw(QObject*)
{
    GL().Clear(GL_COLOR_BUFFER_BIT); // no depth buffer use: no depth test
    GL().ClearColor(0, 0, 0, 0);
    GL().Viewport(0, 0, PanelWidth(), std::max(PanelHeight(), 1));
    if (ProjectionChanged)
        PerspectiveChange();
    GL().MatrixMode(GL_MODELVIEW);
    GL().LoadIdentity();
    // A failing scene object must not stop the frame: the panel still
    // flushes and swaps.
    try {
        GL().LookAt(EyePosition.x, EyePosition.y, EyePosition.z, LookAtPoint.x, LookAtPoint.y, LookAtPoint.z,
                    UpVector.x, UpVector.y, UpVector.z);
        GL().Rotated(RotationAngle, RotationAxis.x, RotationAxis.y, RotationAxis.z);
        if (SceneRoot != nullptr)
            SceneRoot->CallList();
        if (ShowFrame && SceneFrame != nullptr)
            SceneFrame->CallList();
        if (ShowAxes && SceneAxes != nullptr)
            SceneAxes->CallList();
    } catch (...) {
    }
}

void TForm_SGLPoints::TimerSGLPointsTimer()
{
    // Stopped while the frame is drawn and restarted after it, so ticks never
    // pile up and the interval counts from the end of the frame.
    FTimer->stop();
    RotationAngle += RotationStep;
    if (RotationAngle > 360)
        RotationAngle -= 360;
    SGLPoints()->Redraw();
    FTimer->start();
}

void TForm_SGLPoints::TBDrawRotChange()
{
    const QSlider* bar = FUi->TBDrawRot;
    FTimer->setInterval((bar->maximum() - bar->value()) * 10 + 1);
    if (bar->value() != bar->minimum())
        FTimer->start();
    else
        FTimer->stop();
}

void TForm_SGLPoints::SGLPointsMouseDown(QObject*, Qt::MouseButton, Qt::MouseButtons, Qt::KeyboardModifiers, int x,
                                         int y)
{
    DragX = x;
    DragY = y;
}

void TForm_SGLPoints::SGLPointsMouseUp(QObject*, Qt::MouseButton, Qt::MouseButtons, Qt::KeyboardModifiers, int, int)
{
    DragX = -1;
    DragY = -1;
}

void TForm_SGLPoints::SGLPointsMouseMove(QObject*, Qt::MouseButtons buttons, Qt::KeyboardModifiers, int x, int y)
{
    FUi->LabelSGLX->setText(QString::number(x));
    FUi->LabelSGLY->setText(QString::number(y));
    if (!(buttons & Qt::LeftButton) || DragX <= -1 || DragY <= -1)
        return;
    // A drag over the whole window turns the observer by 180 degrees; the
    // divisors are the window's outer size. The latitude is not clamped.
    const long double latitudeChange = static_cast<long double>(y - DragY) / Height() * 180;
    const long double longitudeChange = -static_cast<long double>(x - DragX) / Width() * 180;
    const long double ex = EyePosition.x, ey = EyePosition.y, ez = EyePosition.z;
    long double longitude, latitude;
    XYZToLatLong(longitude, latitude, EyePosition.x, EyePosition.y, EyePosition.z);
    const long double distance = std::sqrt(ex * ex + ey * ey + ez * ez);
    LatLongToXYZ(EyePosition.x, EyePosition.y, EyePosition.z, distance, longitude + longitudeChange,
                 latitude + latitudeChange);
    DragX = x;
    DragY = y;
    RefreshView();
}

void TForm_SGLPoints::ButtonResetRotationClick()
{
    RotationAngle = 0;
    RefreshView();
}

void TForm_SGLPoints::CBCoordClick()
{
    ShowFrame = FUi->CBCoord->isChecked();
    FUi->PopItShowRepere->setChecked(ShowFrame);
}

void TForm_SGLPoints::CBAxesClick()
{
    ShowAxes = FUi->CBAxes->isChecked();
    FUi->PopItShowAxes->setChecked(ShowAxes);
}

void TForm_SGLPoints::PopupMenuSGLPointsPopup()
{
    FUi->PopItShowRepere->setChecked(ShowFrame);
    FUi->PopItShowTreeView->setChecked(Form_PointsTreeView != nullptr && Form_PointsTreeView->isVisible());
    FUi->PopItTourne->setChecked(FTimer->isActive());
    FUi->PopItShowVisu->setChecked(Form_ChangeVisu != nullptr && Form_ChangeVisu->isVisible());
}

void TForm_SGLPoints::PopItTourneClick()
{
    if (FTimer->isActive())
        FTimer->stop();
    else
        FTimer->start();
    FUi->PopItTourne->setChecked(FTimer->isActive());
}

void TForm_SGLPoints::PopItShowRepereClick()
{
    const bool checked = !FUi->PopItShowRepere->isChecked();
    FUi->PopItShowRepere->setChecked(checked);
    ShowFrame = checked;
    FUi->CBCoord->setChecked(checked);
}

void TForm_SGLPoints::PopItShowAxesClick()
{
    const bool checked = !FUi->PopItShowAxes->isChecked();
    FUi->PopItShowAxes->setChecked(checked);
    ShowAxes = checked;
    FUi->CBAxes->setChecked(checked);
}

void TForm_SGLPoints::PopItShowTreeViewClick()
{
    Form_PointsTreeView->SetVisible(!Form_PointsTreeView->isVisible());
    FUi->PopItShowTreeView->setChecked(Form_PointsTreeView->isVisible());
}

void TForm_SGLPoints::PopItShowVisuClick()
{
    Form_ChangeVisu->SetVisible(!Form_ChangeVisu->isVisible());
    FUi->PopItShowVisu->setChecked(Form_ChangeVisu->isVisible());
}

void TForm_SGLPoints::PopItAddOneClick()
{
    if (Form_AddPoint->ShowModal() != TModalForm::mrOk)
        return;
    TVector3 position, velocity;
    LatLongToVector(position, NewPointLongitude, NewPointLatitude, 1);
    InitialVelocity(position, velocity);
    AddPointTo(NewPointName, NewPointColor, position, NewPointMass, velocity, SceneRoot);
    SceneRoot->BuildList(NextListId);
    ++NextListId;
}

void TForm_SGLPoints::AddRandomClusterToRoot()
{
    TWaitCursor hourglass;
    std::unique_ptr<TG2DPoints> cluster(NewRandomCluster(NewClusterSize, NewClusterName, NewClusterColor, SceneRoot));
    if (SceneRoot->Add(cluster.get()))
        cluster.release(); // the root owns it now
    SceneRoot->BuildList(NextListId);
    ++NextListId;
}

void TForm_SGLPoints::PopItAddMoreClick()
{
    if (Form_AddCluster->ShowModal() == TModalForm::mrOk)
        AddRandomClusterToRoot();
}

void TForm_SGLPoints::PopItAddClusterClick() { PopItAddMoreClick(); }

void TForm_SGLPoints::BQuitClick()
{
    if (TForm* main = TForm::MainForm(); main != nullptr && main != this)
        main->Close();
}

void TForm_SGLPoints::Button_SommaireDidacticielClick() { Close(); }

void TForm_SGLPoints::BCloseClick() { Close(); }
