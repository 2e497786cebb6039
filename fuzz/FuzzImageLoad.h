#pragma once
// Image data through the page's image loader, as a page's IMG tag has it
// loaded: GetImage with the data served by the viewer's image request, at
// both display depths, again from the cache with a TRANSP mask, and an
// image object sized and painted with it.

#include <cstddef>
#include <cstdint>

void LoadThroughImageLoader(const uint8_t* data, size_t size, const char* name);
