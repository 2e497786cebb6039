#pragma once
// The picture budget of the harnesses. The decoders accept up to 64 M
// pixels, which the sanitizers take longer than the fuzzing time limit to
// fill; files beyond a small budget are only scanned (their structure and
// size checks), and the tests decode the large ones. The budget keeps
// thousands of inputs a second going through the code that matters.

#include <QByteArray>

#include <cstdint>

class TGIFImage;

constexpr int64_t MaxFuzzedPixels = 256 * 1024;

// Pixels decoding allocates: the picture and every frame.
int64_t PixelsToDecode(const TGIFImage& gif);
// Pixels an animation composes per round: each step composes the picture.
int64_t PixelsToPlay(const TGIFImage& gif);

// Whether a picture file may be decoded within the budget: a GIF by its
// scanned structure, other formats by the size in their header. Files
// whose size cannot be read are allowed (they fail early).
bool PictureWithinFuzzBudget(const QByteArray& bytes);
