// BMP: files decoded by Qt's reader behind our size caps, as the image
// loader runs them.

#include "fuzz/FuzzImageLoad.h"
#include "fuzz/FuzzTarget.h"

KORVALITH_FUZZ_TARGET(bmp)(const uint8_t* data, size_t size)
{
    LoadThroughImageLoader(data, size, "fuzz.bmp");
    return 0;
}
