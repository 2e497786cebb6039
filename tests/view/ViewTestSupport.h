#pragma once
// Shared by the 3D window tests: the program-wide scene state put back to
// its values at program start, and components found by name.

#include "common/TestSupport.h"

#include "platform/Forms.h"
#include "scene/MyGORepere.h"
#include "scene/SceneState.h"

#include <QWidget>

#include <gtest/gtest.h>

// The view parameters and switches as the program starts with them.
inline void ResetViewParameters()
{
    LatLongToXYZ(EyePosition.x, EyePosition.y, EyePosition.z, 3, 45, 45);
    LookAtPoint = {0, 0, 0};
    UpVector = {0, 0, 1};
    RotationAxis = {0, 0, 1};
    RotationAngle = 0;
    RotationStep = 1;
    FieldOfView = 45;
    ZNear = 0;
    ZFar = 2.8f;
    ProjectionChanged = true;
    ShowFrame = true;
    ShowAxes = true;
    NewPointColor = 255;
}

// No scene roots yet and list numbers from 10 again. The old roots' lists
// belong to panels that are gone, so their deletion is only recorded.
inline void ResetScene()
{
    TGLRecorder nowhere;
    TScopedGL installed(nowhere);
    FreeObjectAndClear(SceneRoot);
    FreeObjectAndClear(SceneAxes);
    FreeObjectAndClear(SceneFrame);
    NextListId = 10;
}

// A component of a window, by its name.
template <class T>
T* Part(const QObject* form, const char* name)
{
    T* part = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(part, nullptr) << name;
    return part;
}
