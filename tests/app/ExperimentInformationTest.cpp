// Chapter 2 of the table of contents: the information window gets its
// caption and page and stands beside the scene window. (The scene window's
// header and the viewer's cannot share a unit: both name their mouse
// events alike, so the viewer itself is checked in TutorialPagesTest.)

#include "app/InformationForm.h"
#include "view/SGLPointsForm.h"

#include "TutorialFixture.h"

namespace {

class ExperimentInformation : public TTutorialFixture {
protected:
    void TearDown() override
    {
        if (Form_SGLPoints != nullptr)
            Form_SGLPoints->ReturnWindow = nullptr;
        TTutorialFixture::TearDown();
    }
};

TEST_F(ExperimentInformation, ChapterTwoGivesTheInformationWindowItsPageBesideTheScene)
{
    PressChapter(1);
    ASSERT_NE(Form_SGLPoints, nullptr);
    ASSERT_NE(Form_Information, nullptr);
    TForm_Information* information = InformationWindow();
    EXPECT_EQ(information, Form_Information);
    EXPECT_EQ(information->Caption(), "Quelques explications...");
    EXPECT_EQ(information->PageFile, DocsFolder() + "VisualisationEspaceDeCalcul.htm");
    EXPECT_TRUE(information->isVisible());
    EXPECT_EQ(information->Left() + information->Width(), Form_SGLPoints->Left());
    EXPECT_EQ(information->Top(), Form_SGLPoints->Top());
    EXPECT_TRUE(Boxes.Shown.isEmpty()) << "the page was found and loaded";

    Form_SGLPoints->Close();
    EXPECT_FALSE(information->isVisible());
    PressChapter(1);
    EXPECT_EQ(InformationWindow(), information) << "one information window, reused";
    EXPECT_TRUE(information->isVisible());
    Form_SGLPoints->Close();
}

} // namespace
