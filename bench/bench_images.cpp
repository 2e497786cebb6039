// Image loading throughput: a 4000 x 3000 baseline and progressive JPEG
// through GetImage, against bare libjpeg-turbo decoding the same bytes
// (jpeg_read_scanlines into a buffer), and BMP loading against QImage's own
// load. Compare each pair as a ratio of the figures of one run.

#include "html/HtmlImageCache.h"
#include "html/HtmlImages.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <random>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int Width = 4000;
constexpr int Height = 3000;

// A photograph-like picture: smooth gradients, a few shapes and some grain,
// so that the coded size and decode work resemble a real photo.
std::vector<uint8_t> TestPicture(int width, int height)
{
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> grain(-12, 12);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            const double wave = std::sin(x / 97.0) * std::cos(y / 61.0);
            const int r = 128 + static_cast<int>(90 * wave) + grain(random);
            const int g = (x * 255) / width + grain(random) / 2;
            const int b = (y * 255) / height + ((x / 250 + y / 250) % 2) * 40;
            p[0] = static_cast<uint8_t>(std::clamp(r, 0, 255));
            p[1] = static_cast<uint8_t>(std::clamp(g, 0, 255));
            p[2] = static_cast<uint8_t>(std::clamp(b, 0, 255));
        }
    return rgb;
}

QByteArray EncodeJpeg(const std::vector<uint8_t>& rgb, int width, int height, bool progressive)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(&rgb[static_cast<size_t>(info.next_scanline) * width * 3]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray result(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return result;
}

const QByteArray& Jpeg(bool progressive)
{
    static const std::vector<uint8_t> picture = TestPicture(Width, Height);
    static const QByteArray baseline = EncodeJpeg(picture, Width, Height, false);
    static const QByteArray multiScan = EncodeJpeg(picture, Width, Height, true);
    return progressive ? multiScan : baseline;
}

const QByteArray& Bmp()
{
    static const QByteArray data = [] {
        const std::vector<uint8_t> picture = TestPicture(2000, 1500);
        const QImage image(picture.data(), 2000, 1500, 2000 * 3, QImage::Format_RGB888);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
        return bytes;
    }();
    return data;
}

// Our path: the viewer's image-request handler hands the bytes to GetImage,
// which recognises the type, decodes, converts for the display and caches.
void LoadThroughGetImage(benchmark::State& state, const QByteArray& data)
{
    TImageContext document;
    document.OnImageRequest = [&data](QObject*, const std::string&, const QByteArray*& stream) { stream = &data; };
    for (auto _ : state) {
        TTransparency mode = TTransparency::None;
        TImageResult result = GetImage(document, "bench", mode);
        if (!result.Loaded())
            state.SkipWithError("GetImage failed");
        benchmark::DoNotOptimize(result.Image.constBits());
        state.PauseTiming();
        result = TImageResult();
        BitmapList().Clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * data.size());
}

struct TBareError {
    jpeg_error_mgr Public;
    std::jmp_buf Jump;
};

void BareErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<TBareError*>(info->err)->Jump, 1);
}

// The reference: libjpeg-turbo alone, RGB rows into one buffer.
bool BareDecode(const QByteArray& data, std::vector<uint8_t>& pixels)
{
    jpeg_decompress_struct info{};
    TBareError error{};
    info.err = jpeg_std_error(&error.Public);
    error.Public.error_exit = BareErrorExit;
    if (setjmp(error.Jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    const size_t stride = static_cast<size_t>(info.output_width) * 3;
    pixels.resize(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &pixels[info.output_scanline * stride];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

void BareLibjpeg(benchmark::State& state, const QByteArray& data)
{
    for (auto _ : state) {
        std::vector<uint8_t> pixels;
        if (!BareDecode(data, pixels))
            state.SkipWithError("libjpeg failed");
        benchmark::DoNotOptimize(pixels.data());
        state.PauseTiming();
        pixels = {};
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * data.size());
}

void BM_JpegBaseline_GetImage(benchmark::State& state) { LoadThroughGetImage(state, Jpeg(false)); }
void BM_JpegBaseline_BareLibjpeg(benchmark::State& state) { BareLibjpeg(state, Jpeg(false)); }
void BM_JpegProgressive_GetImage(benchmark::State& state) { LoadThroughGetImage(state, Jpeg(true)); }
void BM_JpegProgressive_BareLibjpeg(benchmark::State& state) { BareLibjpeg(state, Jpeg(true)); }
void BM_Bmp_GetImage(benchmark::State& state) { LoadThroughGetImage(state, Bmp()); }

void BM_Bmp_QImageLoad(benchmark::State& state)
{
    const QByteArray& data = Bmp();
    for (auto _ : state) {
        QImage image;
        image.loadFromData(data, "BMP");
        benchmark::DoNotOptimize(image.constBits());
        state.PauseTiming();
        image = QImage();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * data.size());
}

} // namespace

// Pairs run side by side so that each ratio comes from one run.
BENCHMARK(BM_JpegBaseline_GetImage)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_JpegBaseline_BareLibjpeg)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_JpegProgressive_GetImage)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_JpegProgressive_BareLibjpeg)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Bmp_GetImage)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Bmp_QImageLoad)->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char** argv)
{
    // The display depth decides the pixel format; an offscreen application
    // gives the usual 32-bit one without a display.
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
