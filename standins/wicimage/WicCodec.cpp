#include "WicCodec.h"

#include "TiffWriter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include <windows.h>
#include <wincodec.h>

namespace wicimage {

namespace {

// Owner of one COM interface reference.
template <class T> class ComRef {
public:
    ComRef() = default;
    ~ComRef() { Release(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    T* operator->() const { return m_pointer; }
    T* Get() const { return m_pointer; }
    T** Out() {
        Release();
        return &m_pointer;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }

private:
    void Release() {
        if (m_pointer) {
            m_pointer->Release();
            m_pointer = nullptr;
        }
    }

    T* m_pointer = nullptr;
};

// Rows handed to or taken from the codecs in bands, so a large page never needs a second
// full-size copy.
constexpr UINT kBandRows = 128;

std::string HresultText(const char* what, HRESULT hr) {
    char text[96];
    std::snprintf(text, sizeof(text), "%s failed (0x%08lX)", what, static_cast<unsigned long>(hr));
    return text;
}

bool MakeFactory(ComRef<IWICImagingFactory>& factory, std::string& error) {
    const HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IWICImagingFactory, factory.OutVoid());
    if (FAILED(hr)) {
        error = HresultText("creating the imaging factory", hr);
        return false;
    }
    return true;
}

Container ContainerOf(const GUID& format) {
    if (format == GUID_ContainerFormatJpeg) {
        return Container::Jpeg;
    }
    if (format == GUID_ContainerFormatTiff) {
        return Container::Tiff;
    }
    if (format == GUID_ContainerFormatPng) {
        return Container::Png;
    }
    if (format == GUID_ContainerFormatBmp) {
        return Container::Bmp;
    }
    if (format == GUID_ContainerFormatGif) {
        return Container::Gif;
    }
    return Container::Unknown;
}

// An open decoder over bytes that must outlive it.
struct OpenDecoder {
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
};

bool Open(const std::string& bytes, OpenDecoder& open, std::string& error) {
    if (bytes.empty()) {
        error = "no data";
        return false;
    }
    if (!MakeFactory(open.factory, error)) {
        return false;
    }
    HRESULT hr = open.factory->CreateStream(open.stream.Out());
    if (SUCCEEDED(hr)) {
        hr = open.stream->InitializeFromMemory(
            reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
            static_cast<DWORD>(bytes.size()));
    }
    if (FAILED(hr)) {
        error = HresultText("opening a memory stream", hr);
        return false;
    }
    hr = open.factory->CreateDecoderFromStream(open.stream.Get(), nullptr,
                                               WICDecodeMetadataCacheOnDemand, open.decoder.Out());
    if (FAILED(hr)) {
        error = HresultText("finding a decoder", hr);
        return false;
    }
    return true;
}

PixelKind KindOf(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame,
                 const WICPixelFormatGUID& format) {
    if (format == GUID_WICPixelFormatBlackWhite) {
        return PixelKind::Bilevel;
    }
    if (format == GUID_WICPixelFormat2bppGray || format == GUID_WICPixelFormat4bppGray ||
        format == GUID_WICPixelFormat8bppGray || format == GUID_WICPixelFormat16bppGray ||
        format == GUID_WICPixelFormat32bppGrayFloat) {
        return PixelKind::Grey;
    }
    if (format == GUID_WICPixelFormat1bppIndexed || format == GUID_WICPixelFormat2bppIndexed ||
        format == GUID_WICPixelFormat4bppIndexed || format == GUID_WICPixelFormat8bppIndexed) {
        ComRef<IWICPalette> palette;
        if (SUCCEEDED(factory->CreatePalette(palette.Out())) &&
            SUCCEEDED(frame->CopyPalette(palette.Get()))) {
            BOOL answer = FALSE;
            if (SUCCEEDED(palette->IsBlackWhite(&answer)) && answer) {
                return PixelKind::Bilevel;
            }
            if (SUCCEEDED(palette->IsGrayscale(&answer)) && answer) {
                return PixelKind::Grey;
            }
        }
    }
    return PixelKind::Colour;
}

bool FrameInfo(OpenDecoder& open, UINT index, ComRef<IWICBitmapFrameDecode>& frame,
               EncodedInfo& info, WICPixelFormatGUID& format, std::string& error) {
    GUID containerFormat = {};
    UINT frames = 0;
    HRESULT hr = open.decoder->GetContainerFormat(&containerFormat);
    if (SUCCEEDED(hr)) {
        hr = open.decoder->GetFrameCount(&frames);
    }
    if (FAILED(hr)) {
        error = HresultText("reading the container", hr);
        return false;
    }
    info.container = ContainerOf(containerFormat);
    info.frames = static_cast<int>(frames);
    if (index >= frames) {
        error = "no frame " + std::to_string(index + 1) + " of " + std::to_string(frames);
        return false;
    }
    hr = open.decoder->GetFrame(index, frame.Out());
    UINT width = 0;
    UINT height = 0;
    if (SUCCEEDED(hr)) {
        hr = frame->GetSize(&width, &height);
    }
    if (SUCCEEDED(hr)) {
        hr = frame->GetPixelFormat(&format);
    }
    if (FAILED(hr)) {
        error = HresultText("reading the frame", hr);
        return false;
    }
    if (width == 0 || height == 0 || width > 0x7FFF || height > 0x7FFF) {
        error = "frame size out of range";
        return false;
    }
    info.width = static_cast<int>(width);
    info.height = static_cast<int>(height);
    info.kind = KindOf(open.factory.Get(), frame.Get(), format);
    double dpiX = 0.0;
    double dpiY = 0.0;
    if (FAILED(frame->GetResolution(&dpiX, &dpiY)) || dpiX <= 0.0 || dpiY <= 0.0) {
        dpiX = dpiY = 72.0;
    }
    info.dpiX = dpiX;
    info.dpiY = dpiY;
    return true;
}

// Copies the frame's pixels into the picture's samples, band by band.
bool CopySamples(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame,
                 const WICPixelFormatGUID& format, Picture& picture, std::string& error) {
    enum class Layout { BlackWhite, Gray8, Bgr24, Bgra32 };
    Layout layout = Layout::Bgra32;
    IWICBitmapSource* source = frame;
    ComRef<IWICFormatConverter> converter;
    if (format == GUID_WICPixelFormatBlackWhite) {
        layout = Layout::BlackWhite;
    } else if (format == GUID_WICPixelFormat8bppGray) {
        layout = Layout::Gray8;
    } else if (format == GUID_WICPixelFormat24bppBGR) {
        layout = Layout::Bgr24;
    } else {
        HRESULT hr = factory->CreateFormatConverter(converter.Out());
        if (SUCCEEDED(hr)) {
            hr = converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                       nullptr, 0.0, WICBitmapPaletteTypeCustom);
        }
        if (FAILED(hr)) {
            error = HresultText("converting the pixel format", hr);
            return false;
        }
        source = converter.Get();
    }
    const UINT width = static_cast<UINT>(picture.width);
    const UINT bits = layout == Layout::BlackWhite ? 1
                      : layout == Layout::Gray8    ? 8
                      : layout == Layout::Bgr24    ? 24
                                                   : 32;
    const UINT stride = ((width * bits + 31) / 32) * 4;
    std::vector<BYTE> band(static_cast<size_t>(stride) * kBandRows);
    const int channels = picture.Channels();
    for (UINT top = 0; top < static_cast<UINT>(picture.height); top += kBandRows) {
        const UINT rows = std::min(kBandRows, static_cast<UINT>(picture.height) - top);
        const WICRect rect = {0, static_cast<INT>(top), static_cast<INT>(width),
                              static_cast<INT>(rows)};
        const HRESULT hr = source->CopyPixels(&rect, stride, stride * rows, band.data());
        if (FAILED(hr)) {
            error = HresultText("decoding the pixels", hr);
            return false;
        }
        for (UINT r = 0; r < rows; ++r) {
            const BYTE* const from = &band[static_cast<size_t>(r) * stride];
            std::uint8_t* const to =
                &picture.samples[(static_cast<size_t>(top) + r) * width * channels];
            for (UINT x = 0; x < width; ++x) {
                std::uint8_t red = 0;
                std::uint8_t green = 0;
                std::uint8_t blue = 0;
                switch (layout) {
                case Layout::BlackWhite:
                    red = green = blue = (from[x / 8] & (0x80 >> (x % 8))) ? 255 : 0;
                    break;
                case Layout::Gray8:
                    red = green = blue = from[x];
                    break;
                case Layout::Bgr24:
                    blue = from[x * 3];
                    green = from[x * 3 + 1];
                    red = from[x * 3 + 2];
                    break;
                case Layout::Bgra32:
                    blue = from[x * 4];
                    green = from[x * 4 + 1];
                    red = from[x * 4 + 2];
                    break;
                }
                if (channels == 3) {
                    to[x * 3] = red;
                    to[x * 3 + 1] = green;
                    to[x * 3 + 2] = blue;
                } else {
                    const std::uint8_t grey = static_cast<std::uint8_t>(
                        (red * 299 + green * 587 + blue * 114 + 500) / 1000);
                    to[x] = picture.kind == PixelKind::Bilevel ? (grey < 128 ? 0 : 255) : grey;
                }
            }
        }
    }
    return true;
}

bool WriteOption(IPropertyBag2* options, const wchar_t* name, VARIANT& value, std::string& error) {
    PROPBAG2 option = {};
    option.pstrName = const_cast<LPOLESTR>(name);
    const HRESULT hr = options->Write(1, &option, &value);
    if (FAILED(hr)) {
        error = HresultText("setting an encoder option", hr);
        return false;
    }
    return true;
}

// Fills band rows in the pixel format the encoder settled on.
bool FillBand(const Picture& page, const WICPixelFormatGUID& format, UINT top, UINT rows,
              UINT stride, std::vector<BYTE>& band, std::string& error) {
    std::fill(band.begin(), band.end(), 0);
    const int channels = page.Channels();
    const UINT width = static_cast<UINT>(page.width);
    for (UINT r = 0; r < rows; ++r) {
        const std::uint8_t* const from =
            &page.samples[(static_cast<size_t>(top) + r) * width * channels];
        BYTE* const to = &band[static_cast<size_t>(r) * stride];
        for (UINT x = 0; x < width; ++x) {
            const std::uint8_t red = from[x * channels];
            const std::uint8_t green = from[x * channels + (channels == 3 ? 1 : 0)];
            const std::uint8_t blue = from[x * channels + (channels == 3 ? 2 : 0)];
            const std::uint8_t grey =
                static_cast<std::uint8_t>((red * 299 + green * 587 + blue * 114 + 500) / 1000);
            if (format == GUID_WICPixelFormatBlackWhite) {
                if (grey >= 128) {
                    to[x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
                }
            } else if (format == GUID_WICPixelFormat8bppGray) {
                to[x] = grey;
            } else if (format == GUID_WICPixelFormat24bppBGR) {
                to[x * 3] = blue;
                to[x * 3 + 1] = green;
                to[x * 3 + 2] = red;
            } else if (format == GUID_WICPixelFormat32bppBGR ||
                       format == GUID_WICPixelFormat32bppBGRA) {
                to[x * 4] = blue;
                to[x * 4 + 1] = green;
                to[x * 4 + 2] = red;
                to[x * 4 + 3] = 255;
            } else {
                error = "the encoder asks for an unexpected pixel format";
                return false;
            }
        }
    }
    return true;
}

UINT BitsOf(const WICPixelFormatGUID& format) {
    if (format == GUID_WICPixelFormatBlackWhite) {
        return 1;
    }
    if (format == GUID_WICPixelFormat8bppGray) {
        return 8;
    }
    if (format == GUID_WICPixelFormat24bppBGR) {
        return 24;
    }
    return 32;
}

// One JPEG frame; bilevel pictures go in as grey.
bool EncodeJpegPage(IWICBitmapEncoder* encoder, const Picture& page, std::string& error) {
    ComRef<IWICBitmapFrameEncode> frame;
    ComRef<IPropertyBag2> options;
    HRESULT hr = encoder->CreateNewFrame(frame.Out(), options.Out());
    if (FAILED(hr)) {
        error = HresultText("creating a frame", hr);
        return false;
    }
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_R4;
    value.fltVal = 0.9f;
    if (!WriteOption(options.Get(), L"ImageQuality", value, error)) {
        return false;
    }
    WICPixelFormatGUID format =
        page.kind == PixelKind::Colour ? GUID_WICPixelFormat24bppBGR : GUID_WICPixelFormat8bppGray;
    hr = frame->Initialize(options.Get());
    if (SUCCEEDED(hr)) {
        hr = frame->SetSize(static_cast<UINT>(page.width), static_cast<UINT>(page.height));
    }
    if (SUCCEEDED(hr)) {
        hr = frame->SetResolution(page.dpiX > 0.0 ? page.dpiX : 72.0,
                                  page.dpiY > 0.0 ? page.dpiY : 72.0);
    }
    if (SUCCEEDED(hr)) {
        hr = frame->SetPixelFormat(&format);
    }
    if (FAILED(hr)) {
        error = HresultText("setting up the frame", hr);
        return false;
    }
    const UINT stride = ((static_cast<UINT>(page.width) * BitsOf(format) + 31) / 32) * 4;
    std::vector<BYTE> band(static_cast<size_t>(stride) * kBandRows);
    for (UINT top = 0; top < static_cast<UINT>(page.height); top += kBandRows) {
        const UINT rows = std::min(kBandRows, static_cast<UINT>(page.height) - top);
        if (!FillBand(page, format, top, rows, stride, band, error)) {
            return false;
        }
        hr = frame->WritePixels(rows, stride, stride * rows, band.data());
        if (FAILED(hr)) {
            error = HresultText("encoding the pixels", hr);
            return false;
        }
    }
    hr = frame->Commit();
    if (FAILED(hr)) {
        error = HresultText("finishing the frame", hr);
        return false;
    }
    return true;
}

bool StreamBytes(IStream* stream, std::string& bytes, std::string& error) {
    STATSTG stat = {};
    HGLOBAL global = nullptr;
    HRESULT hr = stream->Stat(&stat, STATFLAG_NONAME);
    if (SUCCEEDED(hr)) {
        hr = GetHGlobalFromStream(stream, &global);
    }
    if (FAILED(hr)) {
        error = HresultText("reading the encoded data", hr);
        return false;
    }
    const size_t size = static_cast<size_t>(stat.cbSize.QuadPart);
    const void* const data = GlobalLock(global);
    if (!data) {
        error = "the encoded data cannot be locked";
        return false;
    }
    bytes.assign(static_cast<const char*>(data), size);
    GlobalUnlock(global);
    return true;
}

} // namespace

ComScope::ComScope() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    m_initialized = SUCCEEDED(hr); // RPC_E_CHANGED_MODE: the thread's own COM serves
}

ComScope::~ComScope() {
    if (m_initialized) {
        CoUninitialize();
    }
}

bool Probe(const std::string& bytes, EncodedInfo& info, std::string& error) {
    ComScope com;
    OpenDecoder open;
    if (!Open(bytes, open, error)) {
        return false;
    }
    ComRef<IWICBitmapFrameDecode> frame;
    WICPixelFormatGUID format = {};
    return FrameInfo(open, 0, frame, info, format, error);
}

bool Decode(const std::string& bytes, int frameIndex, Picture& picture, std::string& error) {
    if (frameIndex < 0) {
        error = "negative frame";
        return false;
    }
    ComScope com;
    OpenDecoder open;
    if (!Open(bytes, open, error)) {
        return false;
    }
    ComRef<IWICBitmapFrameDecode> frame;
    EncodedInfo info;
    WICPixelFormatGUID format = {};
    if (!FrameInfo(open, static_cast<UINT>(frameIndex), frame, info, format, error)) {
        return false;
    }
    Picture decoded;
    decoded.width = info.width;
    decoded.height = info.height;
    decoded.kind = info.kind;
    decoded.dpiX = info.dpiX;
    decoded.dpiY = info.dpiY;
    decoded.Allocate();
    if (!CopySamples(open.factory.Get(), frame.Get(), format, decoded, error)) {
        return false;
    }
    picture = std::move(decoded);
    return true;
}

bool Encode(const std::vector<const Picture*>& pages, Container container, bool compressed,
            std::string& bytes, std::string& error) {
    if (container != Container::Jpeg && container != Container::Tiff) {
        error = "only JPEG and TIFF are written";
        return false;
    }
    if (pages.empty() || (container == Container::Jpeg && pages.size() != 1)) {
        error = "JPEG holds exactly one page, TIFF at least one";
        return false;
    }
    for (const Picture* page : pages) {
        if (!page || page->width < 1 || page->height < 1 ||
            page->samples.size() !=
                static_cast<size_t>(page->width) * page->height * page->Channels()) {
            error = "a page without pixels";
            return false;
        }
    }
    if (container == Container::Tiff) {
        bytes = WriteTiff(pages, compressed);
        return true;
    }
    ComScope com;
    ComRef<IWICImagingFactory> factory;
    if (!MakeFactory(factory, error)) {
        return false;
    }
    ComRef<IStream> stream;
    HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.Out());
    ComRef<IWICBitmapEncoder> encoder;
    if (SUCCEEDED(hr)) {
        hr = factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.Out());
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache);
    }
    if (FAILED(hr)) {
        error = HresultText("creating the encoder", hr);
        return false;
    }
    if (!EncodeJpegPage(encoder.Get(), *pages[0], error)) {
        return false;
    }
    hr = encoder->Commit();
    if (FAILED(hr)) {
        error = HresultText("finishing the file", hr);
        return false;
    }
    return StreamBytes(stream.Get(), bytes, error);
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        return false;
    }
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

} // namespace wicimage
