#include "SimPageData.h"
#include "Simulator.h"

#include <cstdio>
#include <deque>
#include <mutex>
#include <utility>

#include "WicCodec.h"
#include "WicImage.h"

namespace orvexsim {

namespace {

constexpr size_t kMaxRawBytes = 128u * 1024u * 1024u;
// A few recent answers, enough for pages read in turn; the newest is kept whatever its size.
constexpr size_t kCacheEntries = 4;
constexpr size_t kCacheBytes = 96u * 1024u * 1024u;

std::mutex g_cacheMutex;
std::deque<std::pair<std::string, std::shared_ptr<const std::string>>> g_cache;

bool ReadNumber(const std::string* text, int& value) {
    return !text || ParseInt(*text, value);
}

std::string KeyOf(const char* name, int index) {
    return std::string(name) + ":" + std::to_string(index);
}

bool LoadPicture(const SimPage& page, wicimage::Picture& picture, std::string& error) {
    std::string bytes;
    if (!wicimage::ReadWholeFile(page.path, bytes)) {
        error = page.path + ": cannot be read";
        return false;
    }
    if (!wicimage::Decode(bytes, 0, picture, error)) {
        error = page.path + ": " + error;
        return false;
    }
    return true;
}

bool ReadPage(const SimPage& page, std::string& bytes, std::string& error) {
    if (!wicimage::ReadWholeFile(page.path, bytes)) {
        error = page.path + ": cannot be read";
        return false;
    }
    return true;
}

void Append(std::string& pdf, std::vector<size_t>& offsets, const std::string& object) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(offsets.size()) + " 0 obj\n" + object + "\nendobj\n";
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.2f", value);
    return text;
}

// One page a picture, each an embedded JPEG drawn over the whole page.
bool MakePdf(const std::vector<wicimage::Picture>& pictures, std::string& pdf, std::string& error) {
    pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    Append(pdf, offsets, "<< /Type /Catalog /Pages 2 0 R >>");
    std::string kids;
    for (size_t i = 0; i < pictures.size(); ++i) {
        kids += (i ? " " : "") + std::to_string(3 + 3 * i) + " 0 R";
    }
    Append(pdf, offsets,
           "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pictures.size()) +
               " >>");
    for (size_t i = 0; i < pictures.size(); ++i) {
        wicimage::Picture picture = pictures[i];
        if (picture.kind == wicimage::PixelKind::Bilevel) {
            picture = wicimage::ConvertKind(picture, wicimage::PixelKind::Grey);
        }
        std::string jpeg;
        wicimage::EncodedInfo info;
        if (!wicimage::Encode({&picture}, wicimage::Container::Jpeg, true, jpeg, error) ||
            !wicimage::Probe(jpeg, info, error)) {
            return false;
        }
        const double width = picture.width * 72.0 / (picture.dpiX > 0 ? picture.dpiX : 72.0);
        const double height = picture.height * 72.0 / (picture.dpiY > 0 ? picture.dpiY : 72.0);
        const size_t first = 3 + 3 * i;
        Append(pdf, offsets,
               "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Number(width) + " " +
                   Number(height) + "] /Resources << /XObject << /Im0 " +
                   std::to_string(first + 2) + " 0 R >> >> /Contents " + std::to_string(first + 1) +
                   " 0 R >>");
        const std::string content =
            "q " + Number(width) + " 0 0 " + Number(height) + " 0 0 cm /Im0 Do Q";
        Append(pdf, offsets,
               "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content +
                   "\nendstream");
        const char* const space =
            info.kind == wicimage::PixelKind::Colour ? "/DeviceRGB" : "/DeviceGray";
        Append(pdf, offsets,
               "<< /Type /XObject /Subtype /Image /Width " + std::to_string(info.width) +
                   " /Height " + std::to_string(info.height) + " /ColorSpace " + space +
                   " /BitsPerComponent 8 /Filter /DCTDecode /Length " +
                   std::to_string(jpeg.size()) + " >>\nstream\n" + jpeg + "\nendstream");
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (const size_t offset : offsets) {
        char line[24];
        std::snprintf(line, sizeof(line), "%010u 00000 n \n", static_cast<unsigned>(offset));
        pdf += line;
    }
    pdf += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return true;
}

int Render(const SimJob& job, int page, const std::string& format, int bitsPerPixel, int width,
           int height, std::string& data, std::string& error) {
    if (page < 0 || page > static_cast<int>(job.pages.size())) {
        error = "job " + std::to_string(job.id) + " has no page " + std::to_string(page);
        return QUORVEL_ITEM_NOT_FOUND;
    }
    if (job.pages.empty()) {
        error = "job " + std::to_string(job.id) + " has no pages";
        return QUORVEL_ITEM_NOT_FOUND;
    }
    std::vector<const SimPage*> pages;
    if (page == 0) {
        for (const SimPage& each : job.pages) {
            pages.push_back(&each);
        }
    } else {
        pages.push_back(&job.pages[page - 1]);
    }
    const bool single = pages.size() == 1;
    std::string wanted = format;
    if (wanted == "JFIF") {
        wanted = "JPEG";
    } else if (wanted == "TIFFMULTI") {
        wanted = "TIFF";
    }
    if (single && (wanted.empty() || wanted == pages[0]->format)) {
        return ReadPage(*pages[0], data, error) ? QUORVEL_OK : QUORVEL_GENERAL_FAILURE;
    }
    const bool known = wanted == "JPEG" || wanted == "TIFF" || wanted == "PDF" || wanted == "RAW" ||
                       wanted.empty();
    if (!known || (!single && (wanted == "JPEG" || wanted == "RAW"))) {
        error = "no " + (wanted.empty() ? std::string("own-format") : wanted) + " data of " +
                std::to_string(pages.size()) + " page(s)";
        return QUORVEL_ACTION_NOT_SUPPORTED;
    }
    if (wanted.empty()) {
        wanted = "TIFF"; // several pages in the job's own format: one multi-page file
    }
    std::vector<wicimage::Picture> pictures(pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        if (!LoadPicture(*pages[i], pictures[i], error)) {
            return QUORVEL_GENERAL_FAILURE;
        }
    }
    if (wanted == "RAW") {
        wicimage::Picture& picture = pictures[0];
        const int bits = bitsPerPixel > 0 ? bitsPerPixel : picture.BitsPerPixel();
        if (bits != 1 && bits != 8 && bits != 24) {
            error = "no raw data at " + std::to_string(bits) + " bits per pixel";
            return QUORVEL_ACTION_NOT_SUPPORTED;
        }
        const int outWidth = width > 0 ? width : picture.width;
        const int outHeight = height > 0 ? height : picture.height;
        if ((static_cast<unsigned long long>(outWidth) * bits + 7) / 8 * outHeight > kMaxRawBytes) {
            error = "raw data of " + std::to_string(outWidth) + " x " + std::to_string(outHeight) +
                    " pixels is too large";
            return QUORVEL_BAD_LIMIT;
        }
        if ((outWidth != picture.width || outHeight != picture.height) &&
            !wicimage::Resize(picture, outWidth, outHeight, true, picture)) {
            error = "cannot resize the page";
            return QUORVEL_GENERAL_FAILURE;
        }
        data = wicimage::RawRows(picture, bits);
        return QUORVEL_OK;
    }
    if (wanted == "PDF") {
        return MakePdf(pictures, data, error) ? QUORVEL_OK : QUORVEL_GENERAL_FAILURE;
    }
    std::vector<const wicimage::Picture*> frames;
    for (wicimage::Picture& picture : pictures) {
        if (wanted == "JPEG" && picture.kind == wicimage::PixelKind::Bilevel) {
            picture = wicimage::ConvertKind(picture, wicimage::PixelKind::Grey);
        }
        frames.push_back(&picture);
    }
    const wicimage::Container container =
        wanted == "JPEG" ? wicimage::Container::Jpeg : wicimage::Container::Tiff;
    return wicimage::Encode(frames, container, true, data, error) ? QUORVEL_OK
                                                                  : QUORVEL_GENERAL_FAILURE;
}

} // namespace

const SimDestination* SimDataRequest::Caller() const {
    for (const SimDestination& destination : destinations) {
        if (destination.kind == "CALLER") {
            return &destination;
        }
    }
    return nullptr;
}

bool ParseDataRequest(const ServerAttributeList* attributes, SimDataRequest& request,
                      std::string& error) {
    request = SimDataRequest();
    Pairs pairs;
    request.logText = "[";
    for (int32_t i = 0;
         attributes && attributes->keys && attributes->values && i < attributes->count; ++i) {
        const char* const key = attributes->keys[i];
        const char* const value = attributes->values[i];
        request.logText += (i ? " " : "") + Quote(key) + "=" + Quote(value);
        if (key && value) {
            pairs.emplace_back(key, value);
        }
    }
    request.logText += "]";
    if (const std::string* ftp = FindValue(pairs, "FTP_SERVER")) {
        request.ftpServer = *ftp;
    }
    int count = 0;
    const std::string* const declared = FindValue(pairs, "N_DEST");
    if (declared) {
        if (!ParseInt(*declared, count) || count < 0) {
            error = "N_DEST is not a count";
            return false;
        }
    } else {
        while (FindValue(pairs, KeyOf("DEST", count + 1))) {
            ++count;
        }
    }
    for (int index = 1; index <= count; ++index) {
        const std::string* const kind = FindValue(pairs, KeyOf("DEST", index));
        if (!kind) {
            error = KeyOf("DEST", index) + " is missing";
            return false;
        }
        SimDestination destination;
        destination.index = index;
        destination.kind = *kind;
        if (const std::string* format = FindValue(pairs, KeyOf("DEST_FORMAT", index))) {
            destination.format = *format;
        }
        if (const std::string* page = FindValue(pairs, KeyOf("DEST_PAGE", index))) {
            destination.page = *page;
        }
        request.destinations.push_back(destination);
    }
    if (const SimDestination* caller = request.Caller()) {
        if (!caller->page.empty() && !ParseInt(caller->page, request.page)) {
            error = KeyOf("DEST_PAGE", caller->index) + " is not a page";
            return false;
        }
        request.format = caller->format;
        return true;
    }
    const std::string* format = FindValue(pairs, "FILE_FORMAT");
    if (!format) {
        format = FindValue(pairs, "FORMAT");
    }
    request.format = format ? *format : std::string();
    if (!ReadNumber(FindValue(pairs, "PAGE"), request.page) ||
        !ReadNumber(FindValue(pairs, "BITS_PER_PIXEL"), request.bitsPerPixel) ||
        !ReadNumber(FindValue(pairs, "WIDTH_PIXELS"), request.width) ||
        !ReadNumber(FindValue(pairs, "HEIGHT_PIXELS"), request.height)) {
        error = "PAGE, BITS_PER_PIXEL, WIDTH_PIXELS or HEIGHT_PIXELS is not a number";
        return false;
    }
    if (request.page < 0) {
        request.page = 0;
    }
    return true;
}

int RenderData(const std::string& server, const SimJob& job, int page, const std::string& format,
               int bitsPerPixel, int width, int height, std::shared_ptr<const std::string>& data,
               std::string& error) {
    std::string key = server + "|" + std::to_string(job.id) + "|" + std::to_string(page) + "|" +
                      format + "|" + std::to_string(bitsPerPixel) + "|" + std::to_string(width) +
                      "|" + std::to_string(height);
    for (const SimPage& each : job.pages) {
        key += "|" + each.path + "@" + std::to_string(each.stamp) + "/" +
               std::to_string(each.fileSize);
    }
    {
        const std::lock_guard<std::mutex> lock(g_cacheMutex);
        for (const auto& cached : g_cache) {
            if (cached.first == key) {
                data = cached.second;
                return QUORVEL_OK;
            }
        }
    }
    auto rendered = std::make_shared<std::string>();
    const int result = Render(job, page, format, bitsPerPixel, width, height, *rendered, error);
    if (result != QUORVEL_OK) {
        return result;
    }
    data = rendered;
    const std::lock_guard<std::mutex> lock(g_cacheMutex);
    g_cache.emplace_back(key, rendered);
    size_t bytes = 0;
    for (const auto& cached : g_cache) {
        bytes += cached.second->size();
    }
    while (g_cache.size() > kCacheEntries || (g_cache.size() > 1 && bytes > kCacheBytes)) {
        bytes -= g_cache.front().second->size();
        g_cache.pop_front();
    }
    return QUORVEL_OK;
}

void ForgetRenderedData() {
    const std::lock_guard<std::mutex> lock(g_cacheMutex);
    g_cache.clear();
}

} // namespace orvexsim
