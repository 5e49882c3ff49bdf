#pragma once
// Errors with numbered codes whose texts come from an "EMsg" message resource.
// A code's high 16 bits select the resource, its low 16 bits (signed) the entry.

#include <cstddef>
#include <cstdint>
#include <exception>

namespace CommonCpp {

class XGError : public std::exception {
public:
    XGError() = default;
    XGError(const XGError& other) = default;
    XGError& operator=(const XGError& other) = default;
    ~XGError() override;

    // Copy the text into buffer, cut to size - 1 characters and terminated.
    virtual void GetMessageText(char* buffer, std::size_t size) const = 0;
    virtual void GetExplanationText(char* buffer, std::size_t size) const = 0;
};

// The two texts are shared by the whole process: constructing one replaces the texts of any
// earlier one. Both stay empty when the module has no entry for the code.
class XGPostError : public XGError {
public:
    static constexpr std::size_t TextSize = 260;

    // Further arguments are the 32-bit values the message's "#" directives take (FormatText.h).
    explicit XGPostError(std::uint32_t code, ...);
    XGPostError(const XGPostError& other) = default;
    XGPostError& operator=(const XGPostError& other) = default;
    ~XGPostError() override;

    void GetMessageText(char* buffer, std::size_t size) const override;
    void GetExplanationText(char* buffer, std::size_t size) const override;

private:
    std::int32_t m_hasText;
};

// Codes thrown by the library.
constexpr std::uint32_t ErrorPreferencesKey = 0x800004;
constexpr std::uint32_t ErrorThreadCreate = 0x800005;

// Size the two buffers of LoadErrorMessage must have: a length byte counts at most 255.
constexpr std::size_t ErrorTextBufferSize = 256;

// Reads entry index of the "EMsg" resource resourceId of the resource module
// (ResourceModule.h) into the two buffers. False when the resource or the entry is missing.
bool LoadErrorMessage(std::uint16_t resourceId, std::int16_t index, char* message,
                      char* explanation);

} // namespace CommonCpp
