// GIF decoding speed against giflib in the same run: a 2000 x 2000 still
// picture, its interlaced twin, and a 100-frame 500 x 500 animation decoded
// and composed frame by frame. giflib (DGifSlurp, then the frames composed
// onto an RGBA canvas) serves only as the reference here; the files are made
// with its encoder. Prints ours / giflib at the end.

#include "html/GifImage.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Test pictures, written with giflib's encoder

struct TMemoryOut {
    QByteArray Bytes;
};

int WriteToMemory(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<TMemoryOut*>(gif->UserData)->Bytes.append(reinterpret_cast<const char*>(data), length);
    return length;
}

uint32_t NextRandom(uint32_t& state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

// Smooth rings with some noise: compresses about as well as a drawing.
std::vector<GifPixelType> Picture(int width, int height, int phase)
{
    std::vector<GifPixelType> pixels(size_t(width) * size_t(height));
    uint32_t random = 2463534242u + uint32_t(phase);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int dx = x - width / 2 + phase, dy = y - height / 3;
            pixels[size_t(y) * size_t(width) + size_t(x)]
                = GifPixelType((dx * dx + dy * dy) / 211 + (NextRandom(random) & 3));
        }
    return pixels;
}

ColorMapObject* Palette()
{
    GifColorType colors[256];
    for (int i = 0; i < 256; ++i)
        colors[i] = { GifByteType(i), GifByteType((i * 5) & 255), GifByteType(255 - i) };
    return GifMakeMapObject(256, colors);
}

void PutFrame(GifFileType* gif, const std::vector<GifPixelType>& pixels, int width, int height, bool interlaced,
    int transparentIndex)
{
    GraphicsControlBlock control {};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = 2;
    control.TransparentColor = transparentIndex;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
    EGifPutImageDesc(gif, 0, 0, width, height, interlaced, nullptr);
    auto put = [&](int y) { EGifPutLine(gif, const_cast<GifPixelType*>(&pixels[size_t(y) * size_t(width)]), width); };
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            put(y);
        return;
    }
    static constexpr int start[4] = { 0, 4, 2, 1 }, step[4] = { 8, 8, 4, 2 };
    for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < height; y += step[pass])
            put(y);
}

QByteArray MakeGif(int width, int height, int frames, bool interlaced)
{
    TMemoryOut out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToMemory, &error);
    EGifSetGifVersion(gif, true);
    ColorMapObject* palette = Palette();
    EGifPutScreenDesc(gif, width, height, 8, 0, palette);
    for (int i = 0; i < frames; ++i)
        PutFrame(gif, Picture(width, height, i * 3), width, height, interlaced,
            frames > 1 && i > 0 ? 7 : NO_TRANSPARENT_COLOR);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(palette);
    return out.Bytes;
}

const QByteArray& Still()
{
    static const QByteArray data = MakeGif(2000, 2000, 1, false);
    return data;
}
const QByteArray& StillInterlaced()
{
    static const QByteArray data = MakeGif(2000, 2000, 1, true);
    return data;
}
const QByteArray& Animation()
{
    static const QByteArray data = MakeGif(500, 500, 100, false);
    return data;
}

// ---------------------------------------------------------------------------
// giflib: slurp, then compose every frame onto an RGBA canvas

struct TMemoryIn {
    const QByteArray* Bytes;
    qsizetype Pos = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length)
{
    auto* in = static_cast<TMemoryIn*>(gif->UserData);
    const int n = int(std::min<qsizetype>(length, in->Bytes->size() - in->Pos));
    std::memcpy(buffer, in->Bytes->constData() + in->Pos, size_t(n));
    in->Pos += n;
    return n;
}

size_t GiflibDecodeAndCompose(const QByteArray& data)
{
    TMemoryIn in { &data };
    int error = 0;
    GifFileType* gif = DGifOpen(&in, ReadFromMemory, &error);
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK)
        return 0;
    const int width = gif->SWidth, height = gif->SHeight;
    std::vector<uint32_t> canvas(size_t(width) * size_t(height), 0), saved;
    size_t checksum = 0;
    for (int f = 0; f < gif->ImageCount; ++f) {
        const SavedImage& image = gif->SavedImages[f];
        const GifImageDesc& d = image.ImageDesc;
        GraphicsControlBlock control {};
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, f, &control);
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        uint32_t lookup[256] = {};
        for (int i = 0; i < map->ColorCount; ++i)
            lookup[i] = 0xFF000000u | (uint32_t(map->Colors[i].Red) << 16) | (uint32_t(map->Colors[i].Green) << 8)
                | map->Colors[i].Blue;
        if (control.DisposalMode == DISPOSE_PREVIOUS)
            saved = canvas;
        for (int y = 0; y < d.Height && d.Top + y < height; ++y) {
            const GifPixelType* row = image.RasterBits + size_t(y) * size_t(d.Width);
            uint32_t* target = &canvas[size_t(d.Top + y) * size_t(width) + size_t(d.Left)];
            const int w = std::min(d.Width, width - d.Left);
            for (int x = 0; x < w; ++x)
                if (row[x] != control.TransparentColor)
                    target[x] = lookup[row[x]];
        }
        checksum += canvas[size_t(f) % canvas.size()];
        if (control.DisposalMode == DISPOSE_BACKGROUND)
            for (int y = d.Top; y < std::min(height, d.Top + d.Height); ++y)
                std::fill_n(&canvas[size_t(y) * size_t(width) + size_t(d.Left)], std::min(d.Width, width - d.Left), 0u);
        else if (control.DisposalMode == DISPOSE_PREVIOUS)
            canvas = saved;
    }
    DGifCloseFile(gif, &error);
    return checksum;
}

// Ours: the loader's entry point (structure pass, then full decoding and
// frame 1 composed), then every later frame composed in turn.
size_t OursDecodeAndCompose(const QByteArray& data)
{
    bool isStill = false;
    auto gif = LoadGifFromBytes(data, isStill);
    if (!gif)
        return 0;
    size_t checksum = gif->ComposedBitmap.pixel(0, 0);
    for (int i = 2; i <= gif->FrameCount; ++i) {
        gif->SetFrameIndex(i);
        checksum += gif->ComposedBitmap.pixel(i % gif->ImageWidth, 0);
    }
    return checksum;
}

template <size_t (*Decode)(const QByteArray&), const QByteArray& (*File)()> void Bench(benchmark::State& state)
{
    const QByteArray& data = File();
    for (auto _ : state)
        benchmark::DoNotOptimize(Decode(data));
    state.SetBytesProcessed(int64_t(state.iterations()) * data.size());
}

BENCHMARK(Bench<OursDecodeAndCompose, Still>)->Name("still_2000x2000/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(Bench<GiflibDecodeAndCompose, Still>)->Name("still_2000x2000/giflib")->Unit(benchmark::kMillisecond);
BENCHMARK(Bench<OursDecodeAndCompose, StillInterlaced>)
    ->Name("interlaced_2000x2000/ours")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Bench<GiflibDecodeAndCompose, StillInterlaced>)
    ->Name("interlaced_2000x2000/giflib")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Bench<OursDecodeAndCompose, Animation>)->Name("animation_100x500x500/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(Bench<GiflibDecodeAndCompose, Animation>)
    ->Name("animation_100x500x500/giflib")
    ->Unit(benchmark::kMillisecond);

// Keeps each benchmark's times (the mean when repeated) so that the ratios
// can be printed at the end.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    struct TTimes {
        double Real = 0, Cpu = 0;
    };

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const bool mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
            if (mean || (run.run_type == Run::RT_Iteration && !Means.count(run.run_name.str())))
                Times[run.run_name.str()] = { run.GetAdjustedRealTime(), run.GetAdjustedCPUTime() };
            if (mean)
                Means.insert(run.run_name.str());
        }
    }

    std::map<std::string, TTimes> Times;
    std::set<std::string> Means;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // CPU time is the fairer figure on a loaded machine; both are shown.
    for (const char* name : { "still_2000x2000", "interlaced_2000x2000", "animation_100x500x500" }) {
        const std::string base = name;
        const auto ours = reporter.Times.find(base + "/ours"), theirs = reporter.Times.find(base + "/giflib");
        if (ours != reporter.Times.end() && theirs != reporter.Times.end() && theirs->second.Real > 0)
            std::printf("%-24s ours / giflib: real time %.2f, CPU time %.2f\n", name,
                ours->second.Real / theirs->second.Real, ours->second.Cpu / theirs->second.Cpu);
    }
    benchmark::Shutdown();
    return 0;
}
