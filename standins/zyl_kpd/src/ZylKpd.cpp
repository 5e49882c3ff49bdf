// The KPD_ calls: each process is a small record of what the caller named; KPD_doProcess does
// all the work at once.

#include <algorithm>
#include <cctype>
#include <mutex>
#include <set>
#include <string>

#include "WicCodec.h"
#include "WicImage.h"
#include "zyl_kpd_api.h"

struct KpdProcess {
    std::string input;
    int inputFormat = 0;
    int page = 1;
    bool hasCrop = false;
    int cropTop = 0;
    int cropLeft = 0;
    int cropBottom = 0;
    int cropRight = 0;
    bool hasResample = false;
    int resampleLength = 0;
    int resampleWidth = 0;
    bool smooth = false;
    std::string output;
    wicimage::Container outputFormat = wicimage::Container::Unknown;
    bool compressed = false;
    bool processed = false;
    int32_t infoIn[3] = {0, 0, 0};
    int32_t infoOut[3] = {0, 0, 0};
};

namespace {

constexpr int32_t kMaxSide = 32767;

// Processes handed out and not yet destroyed: a stale or foreign handle is refused, not read.
std::mutex g_mutex;
std::set<KpdProcess*> g_live;

bool IsLive(KpdProcess* process) {
    const std::lock_guard<std::mutex> lock(g_mutex);
    return process && g_live.count(process) != 0;
}

std::string LowerExtension(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return std::string();
    }
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

void SetInfo(int32_t* info, const wicimage::Picture& picture) {
    info[0] = picture.height;
    info[1] = picture.width;
    info[2] = picture.BitsPerPixel();
}

int Process(KpdProcess& process) {
    std::string bytes;
    if (!wicimage::ReadWholeFile(process.input, bytes)) {
        return KPD_ERR_OPEN;
    }
    std::string error;
    wicimage::EncodedInfo info;
    if (!wicimage::Probe(bytes, info, error)) {
        return KPD_ERR_FORMAT;
    }
    const wicimage::Container expected = process.inputFormat == KPD_FORMAT_JPEG
                                             ? wicimage::Container::Jpeg
                                             : wicimage::Container::Tiff;
    if (info.container != expected) {
        return KPD_ERR_FORMAT;
    }
    if (process.page > info.frames) {
        return KPD_ERR_PAGE;
    }
    wicimage::Picture input;
    if (!wicimage::Decode(bytes, process.page - 1, input, error)) {
        return KPD_ERR_DECODE;
    }
    bytes.clear();
    int32_t infoIn[3];
    SetInfo(infoIn, input);
    wicimage::Picture picture;
    if (process.hasCrop) {
        if (!wicimage::Crop(input, process.cropTop, process.cropLeft, process.cropBottom,
                            process.cropRight, picture)) {
            return KPD_ERR_PARAM;
        }
    } else {
        picture = std::move(input);
    }
    if (process.hasResample && !wicimage::Resize(picture, process.resampleWidth,
                                                 process.resampleLength, process.smooth, picture)) {
        return KPD_ERR_PARAM;
    }
    if (process.outputFormat == wicimage::Container::Jpeg &&
        picture.kind == wicimage::PixelKind::Bilevel) {
        picture = wicimage::ConvertKind(picture, wicimage::PixelKind::Grey);
    }
    std::string encoded;
    if (!wicimage::Encode({&picture}, process.outputFormat, process.compressed, encoded, error)) {
        return KPD_ERR_ENCODE;
    }
    if (!wicimage::WriteWholeFile(process.output, encoded)) {
        return KPD_ERR_WRITE;
    }
    std::copy(infoIn, infoIn + 3, process.infoIn);
    SetInfo(process.infoOut, picture);
    process.processed = true;
    return KPD_OK;
}

int ImageInfo(KPD_HANDLE process, bool output, int32_t* length, int32_t* width,
              int32_t* bitsPerPixel) {
    int32_t values[3] = {0, 0, 0};
    int result = KPD_ERR_HANDLE;
    if (IsLive(process)) {
        result = process->processed ? KPD_OK : KPD_ERR_STATE;
        if (process->processed) {
            const int32_t* const info = output ? process->infoOut : process->infoIn;
            std::copy(info, info + 3, values);
        }
    }
    if (length) {
        *length = values[0];
    }
    if (width) {
        *width = values[1];
    }
    if (bitsPerPixel) {
        *bitsPerPixel = values[2];
    }
    return result;
}

} // namespace

extern "C" {

KPD_HANDLE KPD_CALL KPD_createProcessADT(void) {
    try {
        KpdProcess* const process = new KpdProcess();
        const std::lock_guard<std::mutex> lock(g_mutex);
        g_live.insert(process);
        return process;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

int KPD_CALL KPD_setFileNameIn(KPD_HANDLE process, const char* path, int32_t format, int32_t,
                               int32_t, int32_t, int32_t page, int32_t, int32_t) {
    if (!IsLive(process)) {
        return KPD_ERR_HANDLE;
    }
    if (!path || !*path || (format != KPD_FORMAT_JPEG && format != KPD_FORMAT_TIFF) || page < 1) {
        return KPD_ERR_PARAM;
    }
    process->input = path;
    process->inputFormat = format;
    process->page = page;
    process->processed = false;
    return KPD_OK;
}

int KPD_CALL KPD_setCrop(KPD_HANDLE process, int32_t top, int32_t left, int32_t bottom,
                         int32_t right) {
    if (!IsLive(process)) {
        return KPD_ERR_HANDLE;
    }
    if (top < 0 || left < 0 || bottom <= top || right <= left) {
        return KPD_ERR_PARAM;
    }
    process->hasCrop = true;
    process->cropTop = top;
    process->cropLeft = left;
    process->cropBottom = bottom;
    process->cropRight = right;
    return KPD_OK;
}

int KPD_CALL KPD_setResample(KPD_HANDLE process, int32_t length, int32_t width, int32_t mode) {
    if (!IsLive(process)) {
        return KPD_ERR_HANDLE;
    }
    if (length < 1 || width < 1 || length > kMaxSide || width > kMaxSide ||
        (mode != KPD_RESAMPLE_NEAREST && mode != KPD_RESAMPLE_SMOOTH)) {
        return KPD_ERR_PARAM;
    }
    process->hasResample = true;
    process->resampleLength = length;
    process->resampleWidth = width;
    process->smooth = mode == KPD_RESAMPLE_SMOOTH;
    return KPD_OK;
}

int KPD_CALL KPD_setFileNameOut(KPD_HANDLE process, const char* path, int32_t format,
                                int32_t options) {
    if (!IsLive(process)) {
        return KPD_ERR_HANDLE;
    }
    if (!path || !*path || (options & ~KPD_OUT_COMPRESSED) != 0) {
        return KPD_ERR_PARAM;
    }
    wicimage::Container container = wicimage::Container::Unknown;
    if (format == KPD_FORMAT_JPEG) {
        container = wicimage::Container::Jpeg;
    } else if (format == KPD_FORMAT_TIFF) {
        container = wicimage::Container::Tiff;
    } else if (format == KPD_FORMAT_BY_NAME) {
        const std::string extension = LowerExtension(path);
        if (extension == "jpg" || extension == "jpeg") {
            container = wicimage::Container::Jpeg;
        } else if (extension == "tif" || extension == "tiff") {
            container = wicimage::Container::Tiff;
        }
    }
    if (container == wicimage::Container::Unknown) {
        return KPD_ERR_PARAM;
    }
    process->output = path;
    process->outputFormat = container;
    process->compressed = (options & KPD_OUT_COMPRESSED) != 0;
    process->processed = false;
    return KPD_OK;
}

int KPD_CALL KPD_doProcess(KPD_HANDLE process) {
    if (!IsLive(process)) {
        return KPD_ERR_HANDLE;
    }
    process->processed = false;
    std::fill(process->infoIn, process->infoIn + 3, 0);
    std::fill(process->infoOut, process->infoOut + 3, 0);
    if (process->input.empty() || process->output.empty()) {
        return KPD_ERR_STATE;
    }
    try {
        return Process(*process);
    } catch (const std::bad_alloc&) {
        return KPD_ERR_SYSTEM;
    }
}

int KPD_CALL KPD_getImageInfoIn(KPD_HANDLE process, int32_t* length, int32_t* width,
                                int32_t* bitsPerPixel, int32_t, int32_t) {
    return ImageInfo(process, false, length, width, bitsPerPixel);
}

int KPD_CALL KPD_getImageInfoOut(KPD_HANDLE process, int32_t* length, int32_t* width,
                                 int32_t* bitsPerPixel, int32_t, int32_t) {
    return ImageInfo(process, true, length, width, bitsPerPixel);
}

int KPD_CALL KPD_destroyProcessADT(KPD_HANDLE* process) {
    if (!process || !*process) {
        return KPD_OK;
    }
    {
        const std::lock_guard<std::mutex> lock(g_mutex);
        if (g_live.erase(*process) == 0) {
            return KPD_ERR_HANDLE;
        }
    }
    delete *process;
    *process = nullptr;
    return KPD_OK;
}

} // extern "C"
