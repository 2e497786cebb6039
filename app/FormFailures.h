#pragma once
// A window that loads its page while it is being shown reports a failure in
// the application's standard error box and goes on showing.

#include "platform/Application.h"
#include "platform/Exceptions.h"

template <class Action> void ReportFailures(Action&& action)
{
    try {
        action();
    } catch (const Exception& e) {
        TApplication::ShowException(e.Message());
    }
}
