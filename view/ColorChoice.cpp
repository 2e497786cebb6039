#include "view/ColorChoice.h"

#include "platform/Dialogs.h"
#include "view/FormHelpers.h"

#include <exception>

namespace {
const char* const ColorDialogUnavailable = "Impossible de charger la boîte de dialogue de sélection de couleurs";
}

void ChooseSwatchColor(int& color, QWidget* swatch)
{
    int chosen = color;
    TColorDialogResult result;
    try {
        result = Dialogs().ChooseColor(chosen);
    } catch (const std::exception&) {
        result = TColorDialogResult::Unavailable;
    }
    if (result == TColorDialogResult::Unavailable) {
        ShowPlainMessage(QString::fromUtf8(ColorDialogUnavailable));
        return;
    }
    if (result == TColorDialogResult::Chosen)
        color = chosen;
    SetSwatchColor(swatch, color);
}
