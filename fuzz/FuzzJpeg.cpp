// JPEG: files decoded by libjpeg-turbo through our error manager, scan cap
// and palette conversion, as the image loader runs them.

#include "fuzz/FuzzImageLoad.h"
#include "fuzz/FuzzTarget.h"

KORVALITH_FUZZ_TARGET(jpeg)(const uint8_t* data, size_t size)
{
    LoadThroughImageLoader(data, size, "fuzz.jpg");
    return 0;
}
