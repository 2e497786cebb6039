#pragma once
// The objects of the section model that are not sections: fonts and font
// runs, inline images, the image cache and the bitmap helpers.

#include "html/HtmlBitmaps.h"
#include "html/HtmlFonts.h"
#include "html/HtmlImageCache.h"
#include "html/HtmlImages.h"
