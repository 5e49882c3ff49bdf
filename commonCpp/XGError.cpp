#include "XGError.h"

#include "FormatText.h"
#include "ResourceModule.h"
#include "StringUtils.h"

#include <windows.h>

#include <cstdarg>
#include <cstring>
#include <mutex>

namespace CommonCpp {

namespace {

struct SharedTexts {
    std::mutex lock;
    char message[XGPostError::TextSize] = {};
    char explanation[XGPostError::TextSize] = {};
};

SharedTexts& Texts() {
    static SharedTexts texts;
    return texts;
}

void CopyBounded(char* buffer, std::size_t size, const char* text) {
    if (buffer == nullptr || size == 0) {
        return;
    }
    std::size_t length = std::strlen(text);
    if (length > size - 1) {
        length = size - 1;
    }
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
}

} // namespace

XGError::~XGError() = default;

XGPostError::XGPostError(std::uint32_t code, ...) : XGError(), m_hasText(1) {
    char message[ErrorTextBufferSize] = {};
    char explanation[ErrorTextBufferSize] = {};
    LoadErrorMessage(static_cast<std::uint16_t>(code >> 16),
                     static_cast<std::int16_t>(code & 0xFFFF), message, explanation);

    SharedTexts& texts = Texts();
    std::lock_guard<std::mutex> guard(texts.lock);
    va_list args;
    va_start(args, code);
    va_list again;
    va_copy(again, args);
    FormatTextV(texts.message, sizeof texts.message, message, args);
    FormatTextV(texts.explanation, sizeof texts.explanation, explanation, again);
    va_end(again);
    va_end(args);
}

XGPostError::~XGPostError() = default;

void XGPostError::GetMessageText(char* buffer, std::size_t size) const {
    SharedTexts& texts = Texts();
    std::lock_guard<std::mutex> guard(texts.lock);
    CopyBounded(buffer, size, texts.message);
}

void XGPostError::GetExplanationText(char* buffer, std::size_t size) const {
    SharedTexts& texts = Texts();
    std::lock_guard<std::mutex> guard(texts.lock);
    CopyBounded(buffer, size, texts.explanation);
}

bool LoadErrorMessage(std::uint16_t resourceId, std::int16_t index, char* message,
                      char* explanation) {
    HMODULE module = GetResourceModule();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), "EMsg");
    if (found == nullptr) {
        return false;
    }
    HGLOBAL loaded = LoadResource(module, found);
    if (loaded == nullptr) {
        return false;
    }
    const auto* data = static_cast<const unsigned char*>(LockResource(loaded));
    const DWORD size = SizeofResource(module, found);
    if (data == nullptr || size < 2) {
        return false;
    }
    const int count = (data[0] << 8) | data[1];
    if (index < 0 || index >= count) {
        return false;
    }

    // Each entry is two length-prefixed strings; never read past the resource's end.
    DWORD offset = 2;
    auto skipString = [&]() {
        if (offset >= size) {
            return false;
        }
        offset += 1 + data[offset];
        return offset <= size;
    };
    for (int i = 0; i < index; ++i) {
        if (!skipString() || !skipString()) {
            return false;
        }
    }
    const DWORD messageAt = offset;
    if (!skipString()) {
        return false;
    }
    const DWORD explanationAt = offset;
    if (!skipString()) {
        return false;
    }
    PascalToCString(message, data + messageAt);
    PascalToCString(explanation, data + explanationAt);
    // Resources loaded from a module need no freeing.
    return true;
}

} // namespace CommonCpp
