#include "html/HtmlJpeg.h"

#include "html/HtmlBitmaps.h"

#include <QtGlobal>

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors through error_exit, which by default ends the
// process. Ours formats the message and jumps back to the decoding function;
// only libjpeg's own C frames lie in between, so nothing is left undestroyed.
struct TJpegErrorManager {
    jpeg_error_mgr Public; // first: libjpeg sees a jpeg_error_mgr*
    std::jmp_buf JumpBuffer;
    char Message[JMSG_LENGTH_MAX];
};

// Progressive files can hold any number of scans, each a full pass over the
// coefficients; past MaxScans the file is refused (as djpeg -maxscans does).
struct TJpegProgress {
    jpeg_progress_mgr Public;
    TJpegErrorManager* Error;
};

[[noreturn]] void JumpBack(TJpegErrorManager* error)
{
    std::longjmp(error->JumpBuffer, 1);
}

void ErrorExit(j_common_ptr info)
{
    auto* error = reinterpret_cast<TJpegErrorManager*>(info->err);
    (*info->err->format_message)(info, error->Message);
    JumpBack(error);
}

// Warnings (corrupt or truncated data) are not printed; decoding goes on.
void OutputMessage(j_common_ptr) {}

void ProgressMonitor(j_common_ptr info)
{
    if (!info->is_decompressor)
        return;
    auto* decompressor = reinterpret_cast<j_decompress_ptr>(info);
    auto* progress = reinterpret_cast<TJpegProgress*>(info->progress);
    if (decompressor->input_scan_number > TJpegMod::MaxScans) {
        std::snprintf(progress->Error->Message, sizeof progress->Error->Message,
                      "Progressive JPEG with more than %d scans", TJpegMod::MaxScans);
        JumpBack(progress->Error);
    }
}

// Start-of-frame markers of the lossless processes (SOF3, 7, 11, 15).
bool IsLosslessFrame(uint8_t marker)
{
    return marker == 0xC3 || marker == 0xC7 || marker == 0xCB || marker == 0xCF;
}

// Walks the marker segments up to the first start-of-frame and reports
// whether it announces lossless coding, which we do not show.
bool IsLosslessJpeg(const uint8_t* data, size_t size)
{
    size_t pos = 2;
    while (pos + 4 <= size) {
        if (data[pos] != 0xFF)
            return false;
        const uint8_t marker = data[pos + 1];
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return IsLosslessFrame(marker);
        const size_t length = (static_cast<size_t>(data[pos + 2]) << 8) | data[pos + 3];
        if (length < 2)
            return false;
        pos += 2 + length;
    }
    return false;
}

// Adobe CMYK and YCCK files store inverted inks (what libjpeg hands out as
// CMYK): red = C x K / 255, rounded, as djpeg converts them.
void CmykRowToRgb32(uchar* row, int width)
{
    auto* pixel = reinterpret_cast<QRgb*>(row);
    for (int x = 0; x < width; ++x) {
        const uchar* ink = row + 4 * x;
        const int c = ink[0], m = ink[1], y = ink[2], k = ink[3];
        pixel[x] = qRgb((c * k + 127) / 255, (m * k + 127) / 255, (y * k + 127) / 255);
    }
}

// Everything the decoding touches lives here, outside the function that
// calls setjmp, so its values are defined after a jump back.
struct TJpegJob {
    jpeg_decompress_struct Info{};
    TJpegErrorManager Error{};
    TJpegProgress Progress{};
    bool Created = false;
    bool Cmyk = false;
    QImage Image;
    QString Refusal;
};

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE Rgb32ColorSpace = JCS_EXT_BGRA; // B, G, R, 0xFF in memory
#else
constexpr J_COLOR_SPACE Rgb32ColorSpace = JCS_EXT_ARGB;
#endif

// Checks what the header announces; false with job.Refusal set.
bool AcceptHeader(TJpegJob& job)
{
    jpeg_decompress_struct& info = job.Info;
    if (info.data_precision != 8) {
        job.Refusal = QStringLiteral("JPEG with %1-bit samples").arg(info.data_precision);
        return false;
    }
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
        info.out_color_space = Rgb32ColorSpace;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        info.out_color_space = JCS_CMYK;
        job.Cmyk = true;
        break;
    default:
        job.Refusal = QStringLiteral("JPEG colour space not supported");
        return false;
    }
    if (!ImageSizeAllowed(info.image_width, info.image_height, 4)) {
        job.Refusal = QStringLiteral("JPEG too large (%1 x %2)").arg(info.image_width).arg(info.image_height);
        return false;
    }
    return true;
}

bool AllocateImage(TJpegJob& job)
{
    job.Image = QImage(static_cast<int>(job.Info.output_width), static_cast<int>(job.Info.output_height),
                       QImage::Format_RGB32);
    if (job.Image.isNull())
        job.Refusal = QStringLiteral("Not enough memory for the JPEG picture");
    return !job.Image.isNull();
}

// Drives libjpeg. It may be left through longjmp from any library call: it
// has no local object with a destructor and reads no local after a jump.
bool DecodeProtected(TJpegJob& job, const uint8_t* data, size_t size)
{
    if (setjmp(job.Error.JumpBuffer))
        return false;
    jpeg_create_decompress(&job.Info);
    job.Created = true;
    job.Info.mem->max_memory_to_use = TJpegMod::MaxMemory;
    job.Info.progress = &job.Progress.Public;
    jpeg_mem_src(&job.Info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&job.Info, TRUE);
    if (!AcceptHeader(job))
        return false;
    jpeg_calc_output_dimensions(&job.Info);
    if (!ImageSizeAllowed(job.Info.output_width, job.Info.output_height, 4) || !AllocateImage(job))
        return false;
    jpeg_start_decompress(&job.Info);
    while (job.Info.output_scanline < job.Info.output_height) {
        JSAMPROW rows[16];
        const JDIMENSION first = job.Info.output_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(16, job.Info.output_height - first);
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = job.Image.scanLine(static_cast<int>(first + i));
        if (jpeg_read_scanlines(&job.Info, rows, count) == 0)
            break;
    }
    jpeg_finish_decompress(&job.Info);
    return true;
}

} // namespace

bool TJpegMod::LoadFromData(const uint8_t* data, size_t size)
{
    FBitmap = QImage();
    FError.clear();
    if (data == nullptr || size < 4 || data[0] != 0xFF || data[1] != 0xD8) {
        FError = QStringLiteral("Not a JPEG file");
        return false;
    }
    if (IsLosslessJpeg(data, size)) {
        FError = QStringLiteral("Lossless JPEG not supported");
        return false;
    }
    TJpegJob job;
    job.Info.err = jpeg_std_error(&job.Error.Public);
    job.Error.Public.error_exit = ErrorExit;
    job.Error.Public.output_message = OutputMessage;
    job.Progress.Public.progress_monitor = ProgressMonitor;
    job.Progress.Error = &job.Error;

    const bool complete = DecodeProtected(job, data, size);
    const JDIMENSION rowsDone = job.Created ? job.Info.output_scanline : 0;
    if (job.Created)
        jpeg_destroy_decompress(&job.Info);

    if (!complete) {
        FError = !job.Refusal.isEmpty() ? job.Refusal : QString::fromLatin1(job.Error.Message);
        // Rows already decoded are kept; the rest of the picture is white.
        if (rowsDone == 0 || job.Image.isNull())
            return false;
        for (int y = static_cast<int>(rowsDone); y < job.Image.height(); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(job.Image.scanLine(y)), job.Image.width(), qRgb(255, 255, 255));
    }
    if (job.Cmyk)
        for (int y = 0; y < static_cast<int>(rowsDone); ++y)
            CmykRowToRgb32(job.Image.scanLine(y), job.Image.width());
    FBitmap = PixelFormat == TPixelFormat::pf8bit
                  ? job.Image.convertToFormat(QImage::Format_Indexed8, SharedPalette(), Qt::ThresholdDither)
                  : std::move(job.Image);
    return true;
}
