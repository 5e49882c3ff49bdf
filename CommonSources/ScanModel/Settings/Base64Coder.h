#pragma once
// Base64 (standard alphabet, "=" padding, no line breaks) between bytes and text.
// The decoder never rejects input: how it reads characters outside the alphabet decides
// what a stored password reads back as, so those rules are kept exactly.

#include <cstdint>
#include <memory>

class Base64Coder {
public:
    Base64Coder();
    Base64Coder(const Base64Coder&) = delete;
    Base64Coder& operator=(const Base64Coder&) = delete;
    virtual ~Base64Coder();

    // Encodes a zero-terminated text without its terminator; null gives 0 and changes nothing.
    virtual uint32_t Encode(const char* text);
    // Returns the length of the text, which GetText holds zero-terminated.
    virtual uint32_t EncodeBuffer(const unsigned char* bytes, uint32_t count);
    // Decodes a zero-terminated text; null gives 0 and changes nothing.
    virtual uint32_t Decode(const char* text);
    // Returns 3 per full group plus the characters of a final short group; the decoded bytes
    // in GetBinary are followed by zero bytes.
    virtual uint32_t DecodeBuffer(const char* chars, uint32_t count);

    // Null while the buffer was never needed.
    virtual const unsigned char* GetBinary() const;
    virtual const char* GetText() const;

    virtual void ReserveTextBuffer(uint32_t size);
    virtual void ReserveBinaryBuffer(uint32_t size);

    uint32_t GetTextCapacity() const { return m_textCapacity; }
    uint32_t GetBinaryCapacity() const { return m_binaryCapacity; }

protected:
    struct Group {
        unsigned char value[4] = {0, 0, 0, 0};
        uint32_t count = 0;
    };

    virtual void SetTextWithoutBlanks(const char* chars, uint32_t count);
    virtual void SetBinary(const unsigned char* bytes, uint32_t count);
    virtual void EncodeQuantum(const Group& group, char* out) const;
    virtual void DecodeQuantum(const Group& group, unsigned char* out) const;
    virtual void SplitTriplet(const unsigned char in[3], unsigned char out[4]) const;
    virtual void JoinQuad(const unsigned char in[4], unsigned char out[3]) const;
    virtual bool IsBlank(char c) const;

private:
    static void Reserve(std::unique_ptr<unsigned char[]>& buffer, uint32_t& capacity,
                        uint32_t& length, uint32_t size);

    std::unique_ptr<unsigned char[]> m_binary;
    std::unique_ptr<unsigned char[]> m_text;
    uint32_t m_binaryCapacity = 0;
    uint32_t m_textCapacity = 0;
    uint32_t m_binaryLength = 0;
    uint32_t m_textLength = 0;
};
