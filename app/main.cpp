// Start-up: the application object, its title, the main window; then the
// message loop until the main window closes.

#include "app/KorvalithForm.h"
#include "platform/Application.h"
#include "platform/Forms.h"

int main(int argc, char** argv)
{
    TApplication application(argc, argv);
    SetApplicationTitle(QStringLiteral("Korvalith - didacticiel V1"));
    Form_Korvalith = new TForm_Korvalith();
    Form_Korvalith->Show();
    const int result = application.exec();
    DestroyApplicationWindows();
    return result;
}
