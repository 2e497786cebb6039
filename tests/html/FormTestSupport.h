#pragma once
// A shown viewer over a page with form controls, recording what it submits
// and which controls report clicks.

#include "PaneTestSupport.h"

#include "html/HtmlForms.h"
#include "platform/StringList.h"

#include <QCoreApplication>

#include <string>
#include <vector>

class TFormTest : public TPaneTest {
protected:
    struct TSubmission {
        std::string Action, Target, EncType, Method;
        std::vector<std::string> Results;
    };

    TFormTest()
    {
        // Focus changes reach widgets of the active window only.
        Pane.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Pane));
        Pane.SetOnFormSubmit(
            [this](QObject*, const std::string& action, const std::string& target, const std::string& encType,
                const std::string& method, std::unique_ptr<TStringList> results) {
                TSubmission submission { action, target, encType, method, {} };
                for (int i = 0; i < results->Count(); ++i)
                    submission.Results.push_back(QStringToWin1252(results->Strings(i)));
                Submissions.push_back(std::move(submission));
            });
        Pane.SetOnObjectClick(
            [this](QObject*, TObject* control, const std::string& onClick) { Clicks.emplace_back(control, onClick); });
    }

    void Load(const std::string& html)
    {
        const QString page = QStringLiteral("C:\\Pages\\form.htm");
        AddPage(page, html);
        Pane.LoadHtmlFile(page);
        Settle();
    }

    // The n-th control of class T in page order.
    template <class T> T* Control(int n = 0)
    {
        for (TSectionControl* item : Pane.SectionList().FormControlList)
            if (auto* control = dynamic_cast<T*>(item); control && n-- == 0)
                return control;
        return nullptr;
    }

    template <class W> W* Widget(TFormControlObj* control)
    {
        return control ? qobject_cast<W*>(control->WindowControl()) : nullptr;
    }

    ThtmlForm* Form(int n) { return Pane.SectionList().FormList.ItemAs<ThtmlForm>(n); }

    // Submissions are reported from the event loop.
    void DeliverPosted() { QCoreApplication::processEvents(); }

    std::vector<TSubmission> Submissions;
    std::vector<std::pair<TObject*, std::string>> Clicks;
};
