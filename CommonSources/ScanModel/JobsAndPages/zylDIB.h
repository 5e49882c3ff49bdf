#pragma once
// A picture as a packed device-independent bitmap (BITMAPINFOHEADER, palette, bottom-up rows)
// in a movable global block: what a native transfer hands to the application, and the source
// of BMP files. The block stays locked while the object lives; copies share it.

#include "SafeHandle.h"

#include <windows.h>

#include <cstdint>

namespace CommonCpp {
class FileSpec;
class zylFile;
} // namespace CommonCpp

class zylDIB {
public:
    // A new zero-filled picture with a grey (1, 4, 8 bits) or no palette. std::bad_alloc when the
    // picture is too large for one block.
    zylDIB(std::uint32_t width, std::uint32_t height, std::uint16_t bitsPerPixel, double xDpi,
           double yDpi, bool zeroIsWhite);
    // Adopts a packed bitmap made elsewhere; BadHandleException when the block cannot be
    // locked or does not hold the bitmap its header describes.
    zylDIB(const CommonCpp::SafeHandle& block, double xDpi, double yDpi);
    // Shares the block.
    zylDIB(const zylDIB& other);
    zylDIB& operator=(const zylDIB&) = delete;
    virtual ~zylDIB();

    // A picture over a new block holding a copy of this one.
    virtual zylDIB CopyToHandle() const;
    // palette may be null.
    virtual void Draw(HDC dc, const RECT& destination, const RECT& source, HPALETTE palette) const;
    // BinaryFileException when the file cannot be written.
    virtual void SaveAsBmp(const CommonCpp::FileSpec& file) const;
    virtual BYTE* GetBits() const;
    virtual BITMAPINFOHEADER* GetInfoHeader() const;
    virtual BITMAPINFO* GetBitmapInfo() const;
    virtual HGLOBAL GetRawHandle() const;
    // Hands the block over: it outlives every copy of this picture.
    virtual HGLOBAL Detach();
    virtual CommonCpp::SafeHandle GetHandle() const;
    virtual WORD GetBitCount() const;
    // y counts from the top; at most one row is copied. std::out_of_range for a row beyond the
    // picture.
    virtual void SetRow(std::uint32_t y, const void* bytes, std::uint32_t n);
    // Whole 3-byte pixels with their first and third bytes exchanged.
    virtual void SetRowSwapRB(std::uint32_t y, const void* bytes, std::uint32_t n);
    virtual bool IsZeroWhite() const;
    virtual std::uint32_t GetRowBytes() const;
    virtual BYTE* GetRowPointer(std::uint32_t y) const;
    virtual LONG GetHeight() const;
    virtual LONG GetWidth() const;
    virtual DWORD GetCompression() const;
    virtual DWORD GetClrUsed() const;
    virtual DWORD GetClrImportant() const;
    virtual WORD GetPlanes() const;
    virtual std::uint32_t GetDibSize() const;
    virtual DWORD GetSizeImage() const;
    virtual LONG GetXPelsPerMeter() const;
    virtual LONG GetYPelsPerMeter() const;
    virtual double GetXResolution() const;
    virtual double GetYResolution() const;
    // Every row from the top: n bytes from the reader, stored as by SetRow (SetRowSwapRB).
    virtual void ReadRows(CommonCpp::zylFile& reader, std::uint32_t n);
    virtual void ReadRowsSwapRB(CommonCpp::zylFile& reader, std::uint32_t n);

    // Palette entries of a depth: 2, 16 or 256, none for deeper pictures.
    static std::uint32_t PaletteEntriesOf(std::uint16_t bitsPerPixel);

private:
    // Locks the block and finds header, palette and pixels from the header's values.
    void Attach();
    template <typename Store>
    void ReadRowsWith(CommonCpp::zylFile& reader, std::uint32_t n, Store store);

    CommonCpp::SafeHandle m_block;
    std::uint32_t m_rowBytes = 0;
    std::uint32_t m_paletteEntries = 0;
    std::uint32_t m_dibSize = 0;
    BYTE* m_pixels = nullptr;
    BITMAPINFOHEADER* m_header = nullptr;
    double m_xResolution;
    double m_yResolution;
    bool m_zeroIsWhite = false;
};
