#include "app/TutorialViewer.h"

#include "html/HtmlPane.h"

void SetUpTutorialViewer(THtmlPane& viewer, TViewImages images)
{
    viewer.SetViewImages(images == TViewImages::Shown);
    viewer.SetBorderStyle(THTMLBorderStyle::htFocused);
    viewer.SetHistoryMaxCount(0);
    viewer.SetDefFontName("Times New Roman");
    viewer.SetDefPreFontName("Courier New");
    viewer.SetNoSelect(false);
}
