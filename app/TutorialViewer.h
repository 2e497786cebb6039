#pragma once
// What the page window and the information window share: the settings of
// their viewer, and how a failure to load their page while they are being
// shown is reported (in the standard error box; the showing goes on).

#include "platform/Application.h"
#include "platform/Exceptions.h"

class THtmlPane;

enum class TViewImages { Shown, Hidden };

// Images as given, frame when focused, no history, the page fonts "Times
// New Roman" and "Courier New", text selectable.
void SetUpTutorialViewer(THtmlPane& viewer, TViewImages images);

template <class Action> void ReportFailures(Action&& action)
{
    try {
        action();
    } catch (const Exception& e) {
        TApplication::ShowException(e.Message());
    }
}
