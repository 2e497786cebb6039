#pragma once
// The colour button of the add dialogs: runs the colour dialog from the
// current colour and repaints the swatch with whatever colour is current
// afterwards, even when the choice is cancelled.

class QWidget;

void ChooseSwatchColor(int& color, QWidget* swatch);
