// The view settings dialog against the view parameters: what its creation
// and each showing write back, and what each control changes.

#include "ViewTestSupport.h"

#include "platform/Dialogs.h"
#include "view/ChangeVisuForm.h"

#include <QApplication>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include <cmath>

#include <gtest/gtest.h>

namespace {

long double Length(const TVector3f& v) { return std::sqrt((long double)v.x * v.x + (long double)v.y * v.y + (long double)v.z * v.z); }

class ChangeVisuDialog : public ::testing::Test {
protected:
    // Before the dialog below is made: its creation reads the parameters.
    bool Reset = (ResetViewParameters(), true);
    TRecordingDialogs Boxes;
    TScopedDialogs Installed{Boxes};
    std::unique_ptr<TForm_ChangeVisu> Dialog = std::make_unique<TForm_ChangeVisu>();

    QSlider* Bar(const char* name) { return Part<QSlider>(Dialog.get(), name); }
    QLineEdit* ZoomBox() { return Part<QLineEdit>(Dialog.get(), "EditZoomFactor"); }
    void ShowAgain()
    {
        Dialog->hide();
        Dialog->Show();
    }
};

TEST_F(ChangeVisuDialog, CreationRoundsTheInitialViewOntoTheBars)
{
    const char* names[] = {"TrackBarPosDis",  "TrackBarPosLong", "TrackBarPosLat", "TrackBarZoomFin", "TrackBarZoomGros",
                           "TrackBarZNear",   "TrackBarZfar",    "TrackBarRotLong", "TrackBarRotLat"};
    const int expected[] = {30, 315, -45, 45, 20, 33, 72, 360, 0};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(Bar(names[i])->value(), expected[i]) << names[i];
    EXPECT_EQ(ZoomBox()->text(), "45");
    EXPECT_FLOAT_EQ(ZNear, 1.7f);
    EXPECT_FLOAT_EQ(ZFar, 2.8f);
    EXPECT_FLOAT_EQ(FieldOfView, 45);
    EXPECT_TRUE(ProjectionChanged);
    long double longitude, latitude;
    XYZToLatLong(longitude, latitude, EyePosition.x, EyePosition.y, EyePosition.z);
    EXPECT_NEAR(Length(EyePosition), 3, 1e-6);
    EXPECT_NEAR(longitude, 45, 1e-4);
    EXPECT_NEAR(latitude, 45, 1e-4);
    EXPECT_EQ(RotationAxis, (TVector3f{0, 0, 1}));
    EXPECT_TRUE(Boxes.Shown.isEmpty());
    // Fixed border, top bars at their minimum.
    EXPECT_EQ(Dialog->minimumSize(), QSize(463, 239));
    EXPECT_EQ(Dialog->maximumSize(), QSize(463, 239));
    EXPECT_TRUE(Bar("TrackBarPosDis")->invertedAppearance());
}

TEST_F(ChangeVisuDialog, NearDistanceDriftsAtEachShowingUntilTheBarStops)
{
    const float expected[] = {4.5f, 9.2f, 10, 10};
    for (float near : expected) {
        ShowAgain();
        EXPECT_FLOAT_EQ(ZNear, near);
    }
    EXPECT_EQ(Bar("TrackBarZNear")->value(), -50);
    EXPECT_FLOAT_EQ(ZFar, 2.8f); // the far bar reads what it places
}

TEST_F(ChangeVisuDialog, WestLongitudesComeBackAsZero)
{
    LatLongToXYZ(EyePosition.x, EyePosition.y, EyePosition.z, 3, -90, 20);
    ShowAgain();
    EXPECT_EQ(Bar("TrackBarPosLong")->value(), 360);
    long double longitude, latitude;
    XYZToLatLong(longitude, latitude, EyePosition.x, EyePosition.y, EyePosition.z);
    EXPECT_NEAR(longitude, 0, 1e-4);
    EXPECT_NEAR(latitude, 20, 1e-4);
}

TEST_F(ChangeVisuDialog, ObserverBarsSetTheEyeFromAllThree)
{
    Bar("TrackBarPosDis")->setValue(0); // the top: distance 0
    EXPECT_EQ(EyePosition, (TVector3f{0, 0, 0}));
    Bar("TrackBarPosDis")->setValue(20);
    Bar("TrackBarPosLat")->setValue(-90); // the top: north pole, exactly
    EXPECT_EQ(EyePosition, (TVector3f{0, 0, 2}));
}

TEST_F(ChangeVisuDialog, DecimalZoomBarLeavesTheProjectionAlone)
{
    ProjectionChanged = false;
    Bar("TrackBarZoomGros")->setValue(0);
    EXPECT_EQ(ZoomBox()->text(), "45");
    EXPECT_NEAR(FieldOfView, 45, 1e-6);
    EXPECT_FALSE(ProjectionChanged);
    Bar("TrackBarZoomFin")->setValue(60);
    EXPECT_EQ(ZoomBox()->text(), "60");
    EXPECT_FLOAT_EQ(FieldOfView, 60);
    EXPECT_TRUE(ProjectionChanged);
}

TEST_F(ChangeVisuDialog, ZoomBoxChecksEveryKeystrokeAndPlacesTheBarsOnExit)
{
    Dialog->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Dialog.get()));
    QLineEdit* box = ZoomBox();
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace); // empty: refused at once
    ASSERT_EQ(Boxes.Shown.size(), 1);
    EXPECT_EQ(Boxes.Shown[0].Text, "Bad floating point format");
    EXPECT_FLOAT_EQ(FieldOfView, 45);
    EXPECT_EQ(QApplication::focusWidget(), box);

    ProjectionChanged = false;
    QTest::keyClicks(box, "30");
    EXPECT_FLOAT_EQ(FieldOfView, 30);
    EXPECT_TRUE(ProjectionChanged);
    EXPECT_EQ(Bar("TrackBarZoomFin")->value(), 45); // not before leaving the box
    Bar("TrackBarRotLat")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Bar("TrackBarZoomFin")->value(), 30);
    EXPECT_EQ(ZoomBox()->text(), "30");
}

TEST_F(ChangeVisuDialog, AxisBarsKeepTheAxisInTheUpperHalfSpace)
{
    Bar("TrackBarRotLat")->setValue(180); // latitude 0
    EXPECT_NEAR(RotationAxis.x, 1, 1e-6);
    EXPECT_NEAR(RotationAxis.z, 0, 1e-6);
    Bar("TrackBarRotLong")->setValue(180); // longitude 90
    EXPECT_NEAR(RotationAxis.y, 1, 1e-6);
    Bar("TrackBarRotLong")->setValue(0); // longitude 180
    EXPECT_NEAR(RotationAxis.x, -1, 1e-6);
    EXPECT_NEAR(RotationAxis.y, 0, 1e-6);
    // Far bar: (100 - p) / 10.
    Bar("TrackBarZfar")->setValue(0);
    EXPECT_FLOAT_EQ(ZFar, 10);
}

} // namespace
