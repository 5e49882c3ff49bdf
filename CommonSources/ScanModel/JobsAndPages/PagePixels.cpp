#include "PagePixels.h"

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

using Microsoft::WRL::ComPtr;

// Rows are taken from the codec in bands, so no second copy of the whole page is made.
constexpr UINT kBandRows = 256;
// Sides beyond this are no page a server sends.
constexpr UINT kMaxSide = 0x7FFF;

// COM for this thread while the object lives; a thread that has it in another mode keeps it.
class ComApartment {
public:
    ComApartment() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(m_result)) {
            CoUninitialize();
        }
    }

private:
    HRESULT m_result;
};

std::wstring Wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) {
        return std::wstring();
    }
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

// One decoded row into the server's form: the codec's bilevel rows have 0 black and its colour
// rows blue first.
void ToServerRow(const BYTE* from, std::uint32_t bitsPerPixel, UINT width, char* to) {
    if (bitsPerPixel == 1) {
        const UINT bytes = (width + 7) / 8;
        for (UINT i = 0; i < bytes; ++i) {
            to[i] = static_cast<char>(~from[i]);
        }
        if (width % 8 != 0) {
            to[bytes - 1] = static_cast<char>(to[bytes - 1] & (0xFF00 >> (width % 8)));
        }
    } else if (bitsPerPixel == 8) {
        std::copy(from, from + width, to);
    } else {
        for (UINT x = 0; x < width; ++x) {
            to[3 * x] = static_cast<char>(from[3 * x + 2]);
            to[3 * x + 1] = static_cast<char>(from[3 * x + 1]);
            to[3 * x + 2] = static_cast<char>(from[3 * x]);
        }
    }
}

} // namespace

bool PagePixels::Load(const std::string& path) {
    *this = PagePixels();
    const ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    const std::wstring widePath = Wide(path);
    UINT width = 0;
    UINT height = 0;
    WICPixelFormatGUID format = {};
    if (widePath.empty() ||
        FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateDecoderFromFilename(widePath.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(frame->GetPixelFormat(&format)) || width == 0 || height == 0 || width > kMaxSide ||
        height > kMaxSide) {
        return false;
    }
    std::uint32_t bits = 24;
    ComPtr<IWICBitmapSource> source = frame;
    if (format == GUID_WICPixelFormatBlackWhite) {
        bits = 1;
    } else if (format == GUID_WICPixelFormat8bppGray) {
        bits = 8;
    } else if (format != GUID_WICPixelFormat24bppBGR) {
        ComPtr<IWICFormatConverter> converter;
        if (FAILED(factory->CreateFormatConverter(&converter)) ||
            FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat24bppBGR,
                                         WICBitmapDitherTypeNone, nullptr, 0.0,
                                         WICBitmapPaletteTypeCustom))) {
            return false;
        }
        source = converter;
    }
    const UINT stride = (width * bits + 31) / 32 * 4;
    const size_t rowBytes = (static_cast<size_t>(width) * bits + 7) / 8;
    std::string rows(rowBytes * height, '\0');
    std::vector<BYTE> band(static_cast<size_t>(stride) * kBandRows);
    for (UINT top = 0; top < height; top += kBandRows) {
        const UINT count = std::min(kBandRows, height - top);
        const WICRect rect = {0, static_cast<INT>(top), static_cast<INT>(width),
                              static_cast<INT>(count)};
        if (FAILED(source->CopyPixels(&rect, stride, stride * count, band.data()))) {
            return false;
        }
        for (UINT r = 0; r < count; ++r) {
            ToServerRow(&band[static_cast<size_t>(r) * stride], bits, width,
                        &rows[(static_cast<size_t>(top) + r) * rowBytes]);
        }
    }
    m_width = static_cast<std::int32_t>(width);
    m_height = static_cast<std::int32_t>(height);
    m_bitsPerPixel = static_cast<std::int32_t>(bits);
    m_rows = std::move(rows);
    return true;
}
