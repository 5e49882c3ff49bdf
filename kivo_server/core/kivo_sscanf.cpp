// The payload reader. Every read is bounded by the payload length: a payload that does not fit
// its format gives a negative result, never a read outside the payload. What a non-allocating
// target receives is the caller's to hold.
#include "kivo_marshal.h"

#include "kivo_assert.h"
#include "kivo_byteorder.h"
#include "marshal_format.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace kivo {
namespace {

struct ReaderContext {
    kivo_alloc** allocs;
    int version;
    int decrypt;
    fish_state* stream;
    unsigned char* input;
    size_t length;
    size_t pos;
};

int readFormat(ReaderContext& ctx, const char* format, unsigned char* base, ArgSource& args,
               bool allocating);

// The next n payload bytes, or null when the payload ends first.
unsigned char* take(ReaderContext& ctx, size_t n) {
    if (n > ctx.length - ctx.pos)
        return nullptr;
    unsigned char* p = ctx.input + ctx.pos;
    ctx.pos += n;
    return p;
}

void decipher(ReaderContext& ctx, unsigned char* p, size_t n, bool on) {
    if (on)
        fish_crypt(ctx.stream, p, static_cast<long>(n));
}

// A zeroed buffer recorded in the caller's list; null when memory runs out.
void* allocate(ReaderContext& ctx, size_t bytes) {
    void* p = std::calloc(bytes ? bytes : 1, 1);
    if (!p)
        return nullptr;
    if (ctx.allocs) {
        kivo_alloc* node = static_cast<kivo_alloc*>(std::malloc(sizeof(kivo_alloc)));
        if (!node) {
            std::free(p);
            return nullptr;
        }
        node->ptr = p;
        node->next = *ctx.allocs;
        *ctx.allocs = node;
    }
    return p;
}

template <typename T> void storeAt(void* target, T v) {
    if (target)
        std::memcpy(target, &v, sizeof(T));
}

template <typename T> T loadAt(const void* p) {
    T v{};
    if (p)
        std::memcpy(&v, p, sizeof(T));
    return v;
}

// Target of a value directive: the argument or the field, then one pointer per '*'.
void* targetAddress(const Directive& d, unsigned char* base, ArgSource& args) {
    void* at;
    if (args.structMode()) {
        const kivo_offs_t off = args.nextEntry();
        at = base ? base + off : nullptr; // no base: the structure is read past
    } else {
        at = args.nextPtr();
    }
    return const_cast<void*>(followPointers(at, d.stars));
}

// 1 present, 0 absent, negative when the payload ends.
int readPresence(ReaderContext& ctx) {
    const unsigned char* p = take(ctx, 1);
    if (!p)
        return KIVO_SSCANF_TRUNCATED;
    return *p != 0 ? 1 : 0;
}

// Takes n value bytes, deciphered in place when asked; null when the payload ends first.
unsigned char* takeValue(ReaderContext& ctx, size_t n, bool decrypting) {
    unsigned char* p = take(ctx, n);
    if (p)
        decipher(ctx, p, n, decrypting);
    return p;
}

int storeAbsent(const Directive& d, void* target) {
    switch (d.type) {
    case 'i':
    case 'b':
        storeAt<uint8_t>(target, 0);
        break;
    case 'r':
        storeAt<uint16_t>(target, 0);
        break;
    case 'l':
        storeAt<uint64_t>(target, 0);
        break;
    case 'f':
        storeAt<float>(target, 0.0f);
        break;
    case 'd':
        storeAt<double>(target, 0.0);
        break;
    default:
        storeAt<uint32_t>(target, 0);
        break;
    }
    return 0;
}

size_t wireSize(char type) {
    switch (type) {
    case 'i':
        return 1;
    case 'r':
        return 2;
    case 'l':
    case 'd':
        return 8;
    default:
        return 4;
    }
}

int readScalar(ReaderContext& ctx, const Directive& d, unsigned char* base, ArgSource& args,
               bool decrypting) {
    void* target = targetAddress(d, base, args);
    if (d.presence) {
        const int present = readPresence(ctx);
        if (present <= 0)
            return present < 0 ? present : storeAbsent(d, target);
    }
    if ((d.type == 'f' || d.type == 'd') && ctx.version < 7)
        return KIVO_SSCANF_NO_FLOAT;
    const unsigned char* p = takeValue(ctx, wireSize(d.type), decrypting);
    if (!p)
        return KIVO_SSCANF_TRUNCATED;
    switch (d.type) {
    case 'i':
        storeAt<uint8_t>(target, p[0]);
        break;
    case 'r':
        storeAt<uint16_t>(target, kivo_from_big_endian16(loadAt<uint16_t>(p)));
        break;
    case 'n':
        storeAt<uint32_t>(target, kivo_from_big_endian32(loadAt<uint32_t>(p)));
        break;
    case 'l':
        storeAt<uint64_t>(target, kivo_from_big_endian64(loadAt<uint64_t>(p)));
        break;
    case 'b':
        storeAt<uint8_t>(target, p[3] ? 1 : 0);
        break;
    case 'v':
        storeAt<uint32_t>(target, loadAt<uint32_t>(p));
        break;
    case 'f':
        storeAt<float>(target, kivo_wire_to_float(p));
        break;
    case 'd':
        storeAt<double>(target, kivo_wire_to_double(p));
        break;
    default:
        break;
    }
    return 0;
}

int readString(ReaderContext& ctx, const Directive& d, unsigned char* base, ArgSource& args,
               bool decrypting, bool allocating) {
    char** target = static_cast<char**>(targetAddress(d, base, args));
    if (d.presence) {
        const int present = readPresence(ctx);
        if (present <= 0) {
            if (present == 0)
                storeAt<char*>(target, nullptr);
            return present;
        }
    }
    unsigned char* start = ctx.input + ctx.pos;
    size_t n = 0;
    for (;;) {
        if (n >= ctx.length - ctx.pos)
            return KIVO_SSCANF_UNTERMINATED;
        decipher(ctx, start + n, 1, decrypting);
        if (start[n++] == 0)
            break;
    }
    ctx.pos += n;
    if (!target)
        return 0;
    if (allocating) {
        if (args.structMode()) {
            char* copy = static_cast<char*>(allocate(ctx, n));
            if (!copy)
                return KIVO_SSCANF_NO_MEMORY;
            std::memcpy(copy, start, n);
            *target = copy;
        } else {
            *target = reinterpret_cast<char*>(start);
        }
        return 0;
    }
    if (char* buffer = *target)
        std::memcpy(buffer, start, n);
    return 0;
}

int readPointerFlag(ReaderContext& ctx, const Directive& d, unsigned char* base, ArgSource& args) {
    void* value = targetAddress(d, base, args);
    void* flag = targetAddress(d, base, args);
    int present = d.presence ? readPresence(ctx) : 1;
    if (present < 0)
        return present;
    if (present) {
        const unsigned char* p = take(ctx, 1);
        if (!p)
            return KIVO_SSCANF_TRUNCATED;
        present = *p != 0;
    }
    if (present) {
        storeAt<int32_t>(flag, 0);
    } else {
        storeAt<int32_t>(value, 0);
        storeAt<int32_t>(flag, 1);
    }
    return 0;
}

int readStruct(ReaderContext& ctx, const Directive& d, unsigned char* base, ArgSource& args,
               bool allocating) {
    void* at;
    if (args.structMode()) {
        const kivo_offs_t off = args.nextEntry();
        at = base ? base + off : nullptr;
    } else {
        at = args.nextPtr();
    }
    // With '*' `at` ends as the pointer field that holds or receives the structure.
    if (d.stars > 0)
        at = const_cast<void*>(followPointers(at, d.stars - 1));
    const char* format = static_cast<const char*>(args.nextPtr());
    const kivo_offs_t* offsets = static_cast<const kivo_offs_t*>(args.nextPtr());
    KIVO_ASSERT(format != nullptr, "s_fmt!=NULL");
    KIVO_ASSERT(offsets != nullptr, "s_offs!=NULL");
    if (d.presence) {
        const int present = readPresence(ctx);
        if (present <= 0) {
            if (present == 0 && d.stars > 0)
                storeAt<void*>(at, nullptr);
            return present;
        }
    }
    unsigned char* s = static_cast<unsigned char*>(at);
    if (d.stars > 0) {
        if (allocating && at) {
            KIVO_ASSERT(offsets[0] >= 0, "structure size>=0");
            s = static_cast<unsigned char*>(allocate(ctx, static_cast<size_t>(offsets[0])));
            if (!s)
                return KIVO_SSCANF_NO_MEMORY;
            storeAt<void*>(at, s);
        } else {
            s = loadAt<unsigned char*>(at);
        }
    }
    OffsetsArgSource nested(offsets);
    return readFormat(ctx, format, s, nested, allocating);
}

int readArray(ReaderContext& ctx, const Directive& d, unsigned char* base, ArgSource& args,
              bool decrypting, bool allocating) {
    const bool structMode = args.structMode();
    unsigned char* inlineArray = nullptr; // struct-mode '&'
    void* pointerVar = nullptr;           // where the array's address is held or received
    if (structMode) {
        const kivo_offs_t off = args.nextEntry();
        if (base) {
            if (d.type == '&')
                inlineArray = base + off;
            else
                pointerVar = base + off;
        }
    } else {
        pointerVar = args.nextPtr();
    }
    pointerVar = const_cast<void*>(followPointers(pointerVar, d.stars));
    const bool readsPresence = d.type == '@' || d.presence;
    const int dimCount = args.nextInt();
    KIVO_ASSERT(dimCount <= kMaxArrayDims, "array_dim_count<=S_MAX_ARRAY_DIMS");
    KIVO_ASSERT(dimCount >= 1, "array_dim_count>=1");
    int64_t dims[kMaxArrayDims] = {1, 1};
    for (int i = 0; i < dimCount; ++i) {
        if (i == 0 && d.type == '@') {
            if (structMode) {
                const kivo_offs_t off = args.nextEntry();
                dims[0] = base ? readCount(base + off, d.countLetter) : 0;
            } else {
                const void* count = args.nextPtr();
                dims[0] = count ? readCount(count, d.countLetter) : 0;
            }
        } else {
            dims[i] = structMode || d.countLetter != 'l' ? args.nextInt() : args.nextInt64();
            KIVO_ASSERT(dims[i] != 0 || readsPresence, "array dimension");
        }
    }
    const char type = elementType(d);
    const char* nestedFormat = nullptr;
    const kivo_offs_t* nestedOffsets = nullptr;
    if (type == '{') {
        nestedFormat = static_cast<const char*>(args.nextPtr());
        nestedOffsets = static_cast<const kivo_offs_t*>(args.nextPtr());
        KIVO_ASSERT(nestedFormat != nullptr, "s_fmt!=NULL");
        KIVO_ASSERT(nestedOffsets != nullptr, "s_offs!=NULL");
    }
    const size_t elemSize = elementSize(d, nestedOffsets);

    if (readsPresence) {
        const int present = readPresence(ctx);
        if (present <= 0) {
            if (present == 0 && d.type == '@')
                storeAt<void*>(pointerVar, nullptr);
            return present;
        }
    }
    // Counts come from the payload: every element takes at least one payload byte, which
    // bounds the allocation as well as the loop.
    if (dims[0] < 0 || dims[1] < 0)
        return KIVO_SSCANF_BAD_COUNT;
    const size_t remaining = ctx.length - ctx.pos;
    const uint64_t d0 = static_cast<uint64_t>(dims[0]), d1 = static_cast<uint64_t>(dims[1]);
    if (d0 > remaining || d1 > remaining || (d1 != 0 && d0 > remaining / d1))
        return d.type == '@' ? KIVO_SSCANF_BAD_COUNT : KIVO_SSCANF_TRUNCATED;
    const size_t elements = static_cast<size_t>(d0 * d1);
    if (elemSize != 0 && elements > std::numeric_limits<size_t>::max() / elemSize)
        return KIVO_SSCANF_BAD_COUNT;
    const size_t bytes = elements * elemSize;

    unsigned char* data = inlineArray;
    if (!structMode || d.type == '@') {
        if (d.type == '@' && allocating && pointerVar) {
            data = static_cast<unsigned char*>(allocate(ctx, bytes));
            if (!data)
                return KIVO_SSCANF_NO_MEMORY;
            storeAt<void*>(pointerVar, data);
        } else {
            data = loadAt<unsigned char*>(pointerVar);
        }
    }
    if (dimCount == 1 && d.element == "i") {
        const unsigned char* p = takeValue(ctx, elements, decrypting);
        if (!p)
            return KIVO_SSCANF_TRUNCATED;
        if (data && elements > 0)
            std::memcpy(data, p, elements);
        return 0;
    }
    const std::string elementFormat = "%" + d.element;
    for (size_t e = 0; e < elements; ++e) {
        PointerArgSource one(data ? data + e * elemSize : nullptr, nestedFormat, nestedOffsets);
        const int r = readFormat(ctx, elementFormat.c_str(), nullptr, one, allocating);
        if (r < 0)
            return r;
    }
    return 0;
}

int readFormat(ReaderContext& ctx, const char* format, unsigned char* base, ArgSource& args,
               bool allocating) {
    size_t pos = 0;
    while (format[pos]) {
        const Directive d = parseDirective(format, pos, "kivo_sscanf1");
        bool decrypting = ctx.decrypt && ctx.stream && ctx.version > 9;
        if (d.hash && ctx.version >= 12 && ctx.stream)
            decrypting = true;
        const bool alloc = allocating || d.allocate;
        int r;
        if (d.isArray())
            r = readArray(ctx, d, base, args, decrypting, alloc);
        else if (d.type == '{')
            r = readStruct(ctx, d, base, args, alloc);
        else if (d.type == 'O')
            r = readPointerFlag(ctx, d, base, args);
        else if (d.type == 's')
            r = readString(ctx, d, base, args, decrypting, alloc);
        else
            r = readScalar(ctx, d, base, args, decrypting);
        if (r < 0)
            return r;
    }
    return 0;
}

} // namespace
} // namespace kivo

extern "C" int kivo_vsscanf1(kivo_alloc** allocs, int version, int decrypt, fish_state* stream,
                             int flags, char* input, int length, const char* format, void* base,
                             va_list args) {
    if (length < 0 || (!input && length > 0))
        return KIVO_SSCANF_BAD_LENGTH;
    kivo::ReaderContext ctx{allocs,
                            version,
                            decrypt,
                            stream,
                            reinterpret_cast<unsigned char*>(input),
                            static_cast<size_t>(length),
                            0};
    const bool allocating = (flags & KIVO_SSCANF_ALLOCATE) != 0;
    int r;
    if (base) {
        const kivo_offs_t* offsets = va_arg(args, const kivo_offs_t*);
        KIVO_ASSERT(offsets != nullptr, "s_offs!=NULL");
        kivo::OffsetsArgSource source(offsets);
        r = kivo::readFormat(ctx, format, static_cast<unsigned char*>(base), source, allocating);
    } else {
        kivo::VaArgSource source(args);
        r = kivo::readFormat(ctx, format, nullptr, source, allocating);
    }
    return r < 0 ? r : static_cast<int>(ctx.pos);
}

extern "C" int kivo_sscanf1(kivo_alloc** allocs, int version, int decrypt, fish_state* stream,
                            int flags, char* input, int length, const char* format, void* base,
                            ...) {
    va_list args;
    va_start(args, base);
    const int r =
        kivo_vsscanf1(allocs, version, decrypt, stream, flags, input, length, format, base, args);
    va_end(args);
    return r;
}

extern "C" int kivo_server_kivo_sscanf(kivo_alloc** allocs, int version, int decrypt,
                                       fish_state* stream, char* input, const char* format, ...) {
    const int length = kivo_payload_remaining(input);
    if (length < 0)
        return KIVO_SSCANF_NOT_A_PAYLOAD;
    va_list args;
    va_start(args, format);
    const int r =
        kivo_vsscanf1(allocs, version, decrypt, stream, 0, input, length, format, nullptr, args);
    va_end(args);
    return r;
}

extern "C" int kivo_server_kivo_sscanf_free_allocs(kivo_alloc* head) {
    while (head) {
        kivo_alloc* next = head->next;
        std::free(head->ptr);
        std::free(head);
        head = next;
    }
    return 0;
}
