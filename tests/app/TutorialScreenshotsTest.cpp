// Pictures of the tutorial's two pages in their running windows, for the
// documentation. Disabled: run on request, with the folder to write to,
//   KORVALITH_SHOTS=docs app_tests --gtest_also_run_disabled_tests
//       --gtest_filter='TutorialScreenshots.*'

#include "app/InformationForm.h"
#include "view/SGLPointsForm.h"

#include "TutorialFixture.h"

#include <QDir>
#include <QPixmap>

namespace {

class TutorialScreenshots : public TTutorialFixture {
protected:
    void TearDown() override
    {
        if (Form_SGLPoints != nullptr)
            Form_SGLPoints->ReturnWindow = nullptr;
        TTutorialFixture::TearDown();
    }

    static void Save(QWidget* window, const char* name)
    {
        QTest::qWait(1500); // the page's animated picture and the scene settle
        const QString path = QDir(qEnvironmentVariable("KORVALITH_SHOTS")).filePath(QLatin1String(name));
        EXPECT_TRUE(window->grab().save(path)) << path.toStdString();
    }
};

TEST_F(TutorialScreenshots, DISABLED_BothPages)
{
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("KORVALITH_SHOTS"));
    PressChapter(0);
    ASSERT_NE(Form_Html, nullptr);
    Form_Html->SetWindowState(TWindowState::wsNormal);
    Form_Html->resize(1000, 740);
    Save(Form_Html, "page-introduction.png");
    Form_Html->Close();

    PressChapter(1);
    ASSERT_NE(Form_Information, nullptr);
    Save(Form_Information, "page-experiment-information.png");
    Form_SGLPoints->Close();
    EXPECT_TRUE(Boxes.Shown.isEmpty());
}

} // namespace
