// The payload writer and its size count: one walk serves both, so that the count always
// equals what the writer puts out.
#include "kivo_marshal.h"

#include "kivo_assert.h"
#include "kivo_byteorder.h"
#include "marshal_format.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kivo {
namespace {

constexpr unsigned char kValueMarker = 5;
constexpr unsigned char kStructMarker = 3;
constexpr unsigned char kArrayMarker = 4;
constexpr unsigned char kAbsent = 0;
constexpr unsigned char kPointerSet = 9;
constexpr size_t kFloatTextBytes = 64;

struct WriterContext {
    int version;
    int encrypt;
    fish_state* stream;
};

// Counts without a destination; enciphered bytes take the next keystream bytes.
class Sink {
public:
    explicit Sink(unsigned char* out) : out_(out) {}
    void put(const unsigned char* bytes, size_t n, fish_state* cipher) {
        if (out_) {
            for (size_t i = 0; i < n; ++i)
                out_[count_ + i] = cipher ? bytes[i] ^ fish_next_byte(cipher) : bytes[i];
        }
        count_ += n;
    }
    void putByte(unsigned char b) { put(&b, 1, nullptr); }
    size_t count() const { return count_; }
    unsigned char* position() const { return out_ ? out_ + count_ : nullptr; }
    void advance(size_t n) { count_ += n; }

private:
    unsigned char* out_;
    size_t count_ = 0;
};

size_t writeFormat(const WriterContext& ctx, Sink& sink, const char* format,
                   const unsigned char* base, ArgSource& args);

// A scalar's address in memory, or null when the value comes by value (list mode without '*').
const void* valueAddress(const Directive& d, const unsigned char* base, ArgSource& args,
                         bool& byValue) {
    byValue = false;
    if (args.structMode()) {
        const kivo_offs_t off = args.nextEntry();
        return followPointers(base + off, d.stars);
    }
    if (d.stars == 0) {
        byValue = true;
        return nullptr;
    }
    return followPointers(args.nextPtr(), d.stars - 1);
}

template <typename T> T readAt(const void* p) {
    T v{};
    if (p)
        std::memcpy(&v, p, sizeof(T));
    return v;
}

void floatText(double value, unsigned char* field) {
    char text[kFloatTextBytes] = {};
    std::snprintf(text, sizeof(text), "%.32g", value);
    for (char& c : text)
        if (c == ',')
            c = '.';
    std::memcpy(field, text, kFloatTextBytes); // zero-filled behind the text
}

void writeScalar(const WriterContext& ctx, Sink& sink, const Directive& d,
                 const unsigned char* base, ArgSource& args, bool encipher) {
    bool byValue;
    const void* at = valueAddress(d, base, args, byValue);
    unsigned char bytes[kFloatTextBytes];
    size_t n = 0;
    const char* text = nullptr;
    switch (d.type) {
    case 'i':
        bytes[0] = static_cast<unsigned char>(byValue ? args.nextInt() : readAt<int8_t>(at));
        n = 1;
        break;
    case 'r': {
        const uint16_t v = kivo_to_big_endian16(
            static_cast<uint16_t>(byValue ? args.nextInt() : readAt<int16_t>(at)));
        std::memcpy(bytes, &v, 2);
        n = 2;
        break;
    }
    case 'n': {
        const uint32_t v = kivo_to_big_endian32(
            static_cast<uint32_t>(byValue ? args.nextInt() : readAt<int32_t>(at)));
        std::memcpy(bytes, &v, 4);
        n = 4;
        break;
    }
    case 'l': {
        const uint64_t v = kivo_to_big_endian64(
            static_cast<uint64_t>(byValue ? args.nextInt64() : readAt<int64_t>(at)));
        std::memcpy(bytes, &v, 8);
        n = 8;
        break;
    }
    case 'b': {
        const unsigned char low =
            static_cast<unsigned char>(byValue ? args.nextInt() : readAt<uint8_t>(at));
        const uint32_t v = kivo_to_big_endian32(low ? 1 : 0);
        std::memcpy(bytes, &v, 4);
        n = 4;
        break;
    }
    case 'v': {
        const uint32_t v = byValue ? static_cast<uint32_t>(args.nextInt()) : readAt<uint32_t>(at);
        std::memcpy(bytes, &v, 4);
        n = 4;
        break;
    }
    case 'f':
    case 'd': {
        const double v = byValue         ? args.nextDouble()
                         : d.type == 'f' ? readAt<float>(at)
                                         : readAt<double>(at);
        if (ctx.version < 7) {
            floatText(v, bytes);
            n = kFloatTextBytes;
        } else if (d.type == 'f') {
            kivo_float_to_wire(static_cast<float>(v), bytes);
            n = 4;
        } else {
            kivo_double_to_wire(v, bytes);
            n = 8;
        }
        encipher = false;
        break;
    }
    case 's':
        text = static_cast<const char*>(byValue ? args.nextPtr() : readAt<const char*>(at));
        break;
    default:
        break;
    }
    fish_state* cipher = encipher ? ctx.stream : nullptr;
    if (d.type == 's') {
        if (text) {
            if (d.presence)
                sink.putByte(kValueMarker);
            sink.put(reinterpret_cast<const unsigned char*>(text), std::strlen(text) + 1, cipher);
        } else if (d.presence) {
            sink.putByte(kAbsent);
        }
        return;
    }
    if (d.presence)
        sink.putByte(kValueMarker);
    sink.put(bytes, n, cipher);
}

void writePointerFlag(Sink& sink, const Directive& d, const unsigned char* base, ArgSource& args) {
    bool byValue;
    const void* at = valueAddress(d, base, args, byValue);
    const int32_t v = byValue ? args.nextInt() : readAt<int32_t>(at);
    if (d.presence)
        sink.putByte(kValueMarker);
    sink.putByte(v ? kPointerSet : kAbsent);
}

void writeStruct(const WriterContext& ctx, Sink& sink, const Directive& d,
                 const unsigned char* base, ArgSource& args) {
    const void* s;
    if (args.structMode()) {
        const kivo_offs_t off = args.nextEntry();
        s = followPointers(base + off, d.stars);
    } else {
        s = followPointers(args.nextPtr(), d.stars > 1 ? d.stars - 1 : 0);
    }
    const char* format = static_cast<const char*>(args.nextPtr());
    const kivo_offs_t* offsets = static_cast<const kivo_offs_t*>(args.nextPtr());
    KIVO_ASSERT(format != nullptr, "t_fmt!=NULL");
    KIVO_ASSERT(offsets != nullptr, "t_offs!=NULL");
    if (!s) {
        if (d.presence)
            sink.putByte(kAbsent);
        return;
    }
    if (d.presence)
        sink.putByte(kStructMarker);
    OffsetsArgSource nested(offsets);
    writeFormat(ctx, sink, format, static_cast<const unsigned char*>(s), nested);
}

void writeArray(const WriterContext& ctx, Sink& sink, const Directive& d, const unsigned char* base,
                ArgSource& args, bool encipher) {
    const unsigned char* data;
    if (args.structMode()) {
        const kivo_offs_t off = args.nextEntry();
        data = d.type == '&' ? base + off : readAt<const unsigned char*>(base + off);
    } else {
        data = static_cast<const unsigned char*>(args.nextPtr());
    }
    data = static_cast<const unsigned char*>(followPointers(data, d.stars));
    const int dimCount = args.nextInt();
    KIVO_ASSERT(dimCount <= kMaxArrayDims, "array_dim_count<=MAX_ARRAY_DIMS");
    KIVO_ASSERT(dimCount >= 1, "array_dim_count>=1");
    int64_t dims[kMaxArrayDims] = {1, 1};
    for (int i = 0; i < dimCount; ++i) {
        if (args.structMode())
            dims[i] = d.type == '@' ? readCount(base + args.nextEntry(), d.countLetter)
                                    : args.nextEntry();
        else
            dims[i] = d.countLetter == 'l' ? args.nextInt64() : args.nextInt();
        if (dims[i] < 0)
            dims[i] = 0;
    }
    const char type = elementType(d);
    const char* nestedFormat = nullptr;
    const kivo_offs_t* nestedOffsets = nullptr;
    if (type == '{') {
        nestedFormat = static_cast<const char*>(args.nextPtr());
        nestedOffsets = static_cast<const kivo_offs_t*>(args.nextPtr());
        KIVO_ASSERT(nestedFormat != nullptr, "t_fmt!=NULL");
        KIVO_ASSERT(nestedOffsets != nullptr, "t_offs!=NULL");
    }
    const size_t size = elementSize(d, nestedOffsets);
    if (!data) {
        if (d.presence)
            sink.putByte(kAbsent);
        return;
    }
    if (d.presence)
        sink.putByte(kArrayMarker);
    if (dimCount == 1 && d.element == "i") {
        sink.put(data, static_cast<size_t>(dims[0]), encipher ? ctx.stream : nullptr);
        return;
    }
    const std::string elementFormat = "%*" + d.element;
    const size_t rowBytes = static_cast<size_t>(dims[1]) * size;
    for (int64_t i = 0; i < dims[0]; ++i)
        for (int64_t j = 0; j < dims[1]; ++j) {
            const unsigned char* element =
                data + static_cast<size_t>(i) * rowBytes + static_cast<size_t>(j) * size;
            PointerArgSource one(const_cast<unsigned char*>(element), nestedFormat, nestedOffsets);
            writeFormat(ctx, sink, elementFormat.c_str(), nullptr, one);
        }
}

size_t writeFormat(const WriterContext& ctx, Sink& sink, const char* format,
                   const unsigned char* base, ArgSource& args) {
    const size_t start = sink.count();
    size_t pos = 0;
    while (format[pos]) {
        const Directive d = parseDirective(format, pos, "kivo_sprintf1");
        bool encipher = ctx.encrypt && ctx.stream && ctx.version > 9;
        if (d.hash && ctx.version >= 12 && ctx.stream)
            encipher = true;
        if (d.isArray())
            writeArray(ctx, sink, d, base, args, encipher);
        else if (d.type == '{')
            writeStruct(ctx, sink, d, base, args);
        else if (d.type == 'O')
            writePointerFlag(sink, d, base, args);
        else
            writeScalar(ctx, sink, d, base, args, encipher);
    }
    return sink.count() - start;
}

int run(const WriterContext& ctx, char* dest, const char* format, const void* base, va_list args) {
    Sink sink(reinterpret_cast<unsigned char*>(dest));
    const unsigned char* structBase = static_cast<const unsigned char*>(base);
    if (base) {
        const kivo_offs_t* offsets = va_arg(args, const kivo_offs_t*);
        KIVO_ASSERT(offsets != nullptr, "t_offs!=NULL");
        OffsetsArgSource source(offsets);
        return static_cast<int>(writeFormat(ctx, sink, format, structBase, source));
    }
    VaArgSource source(args);
    return static_cast<int>(writeFormat(ctx, sink, format, nullptr, source));
}

} // namespace
} // namespace kivo

extern "C" int kivo_vsprintf1(int version, int encrypt, fish_state* stream, char* dest,
                              const char* format, const void* base, va_list args) {
    const kivo::WriterContext ctx{version, encrypt, stream};
    return kivo::run(ctx, dest, format, base, args);
}

extern "C" int kivo_sprintf1(int version, int encrypt, fish_state* stream, char* dest,
                             const char* format, const void* base, ...) {
    va_list args;
    va_start(args, base);
    const int n = kivo_vsprintf1(version, encrypt, stream, dest, format, base, args);
    va_end(args);
    return n;
}

extern "C" int kivo_vtally(int version, const char* format, const void* base, va_list args) {
    const kivo::WriterContext ctx{version, 0, nullptr};
    return kivo::run(ctx, nullptr, format, base, args);
}

extern "C" int kivo_tally(int version, const char* format, const void* base, ...) {
    va_list args;
    va_start(args, base);
    const int n = kivo_vtally(version, format, base, args);
    va_end(args);
    return n;
}

extern "C" int kivo_server_kivo_sprintf(int version, int encrypt, fish_state* stream, char** out,
                                        const char* format, ...) {
    va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    const int count = kivo_vtally(version, format, nullptr, args);
    *out = nullptr;
    int written = 0;
    if (count > 0) {
        *out = static_cast<char*>(std::malloc(static_cast<size_t>(count)));
        if (!*out)
            std::fprintf(stderr, "- kivo_sprintf: ERROR malloc (%d) failed -\n", count);
        else
            written = kivo_vsprintf1(version, encrypt, stream, *out, format, nullptr, again);
    }
    if (written != count)
        std::fprintf(stderr, "- kivo_sprintf: WARNING kivo_sprintf: (%d) != kivo_tally: (%d) -\n",
                     written, count);
    va_end(again);
    va_end(args);
    return written;
}
