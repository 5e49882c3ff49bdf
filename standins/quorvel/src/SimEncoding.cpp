#include "SimEncoding.h"

#include <vector>

#include <windows.h>

namespace orvexsim {

unsigned int CodePageOf(const std::string& encoding) {
    if (encoding == "ISO8859_1") {
        return 28591;
    }
    if (encoding == "SJIS") {
        return 932;
    }
    if (encoding == "GBK") {
        return 936;
    }
    if (encoding == "UTF8" || encoding == "UTF8NOBOM") {
        return CP_UTF8;
    }
    return 0;
}

bool ConvertText(const std::string& text, unsigned int fromCodePage, unsigned int toCodePage,
                 std::string& converted) {
    converted.clear();
    if (text.empty()) {
        return true;
    }
    const int length = static_cast<int>(text.size());
    const int wideLength =
        MultiByteToWideChar(fromCodePage, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (wideLength <= 0) {
        return false;
    }
    std::vector<wchar_t> wide(static_cast<size_t>(wideLength));
    MultiByteToWideChar(fromCodePage, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(),
                        wideLength);
    // UTF-8 takes neither a default character nor its flag.
    const bool utf8 = toCodePage == CP_UTF8;
    const int narrowLength = WideCharToMultiByte(toCodePage, 0, wide.data(), wideLength, nullptr, 0,
                                                 utf8 ? nullptr : "?", nullptr);
    if (narrowLength <= 0) {
        return false;
    }
    converted.resize(static_cast<size_t>(narrowLength));
    WideCharToMultiByte(toCodePage, 0, wide.data(), wideLength, &converted[0], narrowLength,
                        utf8 ? nullptr : "?", nullptr);
    return true;
}

} // namespace orvexsim
