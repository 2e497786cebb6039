#pragma once
// The 3D experiment window. It shows the three scene roots (the points, the
// sphere frame and the axes) in its OpenGL panel, turns the scene by one
// degree per timer tick, moves the observer around the origin while the
// learner drags, and creates, places and hides its companion windows (the
// information window, the object tree, the view settings and the add
// dialogs). It owns no scene data: roots, switches and view parameters are
// program-wide and survive while the window is hidden.

#include "platform/Forms.h"
#include "view/clSetupGL/clSetupGL.h"

#include <memory>

class QAction;
class QMenu;
class QTimer;

namespace Ui {
class TForm_SGLPoints;
}

class TForm_SGLPoints : public TForm {
    Q_OBJECT
public:
    explicit TForm_SGLPoints(QWidget* owner = nullptr);
    ~TForm_SGLPoints() override;

    // The window that closing hands control back to (the table of contents).
    TForm* ReturnWindow = nullptr;

    // The mouse position at the previous drag step; -1 while no drag runs.
    int DragX = 0;
    int DragY = 0;

    // Draws at once when the rotation is stopped; otherwise the next tick
    // shows the change.
    void RefreshView();

    TSetupGL* SGLPoints() const;
    QTimer* TimerSGLPoints() const { return FTimer; }
    QMenu* PopupMenuSGLPoints() const { return FPopupMenu; }

    // Handlers, sender first where the component passes one.
    void SGLPointsInit(QObject* sender);
    void SGLPointsResize(QObject* sender);
    void PerspectiveChange();
    void SGLPointsDraw(QObject* sender);
    void TimerSGLPointsTimer();
    void TBDrawRotChange();
    void SGLPointsMouseDown(QObject* sender, Qt::MouseButton button, Qt::MouseButtons buttons,
                            Qt::KeyboardModifiers modifiers, int x, int y);
    void SGLPointsMouseUp(QObject* sender, Qt::MouseButton button, Qt::MouseButtons buttons,
                          Qt::KeyboardModifiers modifiers, int x, int y);
    void SGLPointsMouseMove(QObject* sender, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void ButtonResetRotationClick();
    void CBCoordClick();
    void CBAxesClick();
    void PopupMenuSGLPointsPopup();
    void PopItTourneClick();
    void PopItAddOneClick();
    void PopItAddMoreClick();
    void PopItAddClusterClick();
    void PopItShowRepereClick();
    void PopItShowAxesClick();
    void PopItShowTreeViewClick();
    void PopItShowVisuClick();
    void BQuitClick();
    void Button_SommaireDidacticielClick();
    void BCloseClick();

protected:
    void FormCreate();
    void FormShow() override;
    void FormClose() override;
    void FormDestroy(QObject* sender);

private:
    void ConnectMenuItem(QAction* item, void (TForm_SGLPoints::*handler)());
    void CreateCompanions();
    void CreateSceneRoots();
    void AddRandomClusterToRoot();
    int PanelWidth() const;
    int PanelHeight() const;

    std::unique_ptr<Ui::TForm_SGLPoints> FUi;
    QTimer* FTimer = nullptr;
    QMenu* FPopupMenu = nullptr;
    // Called from the destructor; the panel chains its context release in
    // front of FormDestroy.
    TNotifyEvent OnDestroy;
};

extern TForm_SGLPoints* Form_SGLPoints;
