#pragma once
// The main window and the table of contents opened as a learner would, with
// the dialogs and the shell recorded; the chapters are pressed on their
// labels.

#include "app/HtmlPageForm.h"
#include "app/KorvalithForm.h"
#include "app/SommaireDidacticielForm.h"
#include "app/SommaireTreeView.h"
#include "platform/Application.h"

#include "QStringPrinting.h"
#include "TestSupport.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

inline QString DocsFolder() { return FileSystem().ProgramFolder() + QStringLiteral("Docs\\"); }

class TTutorialFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetApplicationTerminated();
        Form_Korvalith = new TForm_Korvalith();
        Form_Korvalith->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form_Korvalith));
        QTest::mouseClick(Form_Korvalith->Button_didactitiel, Qt::LeftButton);
        ASSERT_NE(Form_SommaireViewer, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form_SommaireViewer));
    }
    void TearDown() override
    {
        delete Form_Html;
        delete Form_SommaireViewer;
        Form_SommaireViewer = nullptr;
        delete Form_Korvalith;
        Form_Korvalith = nullptr;
    }

    void PressChapter(int index)
    {
        TSommaireTreeView* tree = Form_SommaireViewer->TreeViewSommaire;
        const QRect rect = tree->visualItemRect(tree->topLevelItem(index));
        QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 5, rect.center().y()));
    }

    TRecordingDialogs Boxes;
    TScopedDialogs DialogsInstalled { Boxes };
    TRecordingShell Recorder;
    TScopedShell ShellInstalled { Recorder };
};
