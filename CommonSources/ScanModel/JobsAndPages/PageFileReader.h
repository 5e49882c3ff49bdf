#pragma once
// Drives the image library over one page file: each operation runs one library process that
// writes an output file (the format follows the output's extension, ".jpg" or ".tif"), and keeps
// the image values the library reports. It decodes nothing itself. JpegReader and TiffReader
// differ only in the input format they name and the exception they raise.
//
// The values, as the library reports them: info 1 is the length (rows), info 2 the width
// (columns), info 3 the bits per pixel (1, 8 or 24), of the input and of the output page.

#include <cstdint>
#include <functional>

#include "FileSpec.h"
#include "zyl_kpd_api.h"

class PageFileReader {
public:
    PageFileReader(const PageFileReader&) = delete;
    PageFileReader& operator=(const PageFileReader&) = delete;
    virtual ~PageFileReader();

    // Each throws CommonCpp::BinaryFileException when the input cannot be opened or the output
    // cannot be created (before the library is asked), the reader's own exception when the
    // library fails; the six values then stay as they were. The output holds the page on return.
    virtual void Convert(const CommonCpp::FileSpec& output);
    // Keeps the columns left..right-1 and the rows top..bottom-1 of the input.
    virtual void Crop(const CommonCpp::FileSpec& output, int32_t left, int32_t top, int32_t right,
                      int32_t bottom);
    // Resizes the page to length rows of width pixels.
    virtual void Resample(const CommonCpp::FileSpec& output, int32_t length, int32_t width);

    virtual int32_t GetInputInfo2() const { return m_inputInfo2; }
    virtual int32_t GetInputInfo1() const { return m_inputInfo1; }
    virtual int32_t GetInputInfo3() const { return m_inputInfo3; }
    virtual int32_t GetOutputInfo2() const { return m_outputInfo2; }
    virtual int32_t GetOutputInfo1() const { return m_outputInfo1; }
    virtual int32_t GetOutputInfo3() const { return m_outputInfo3; }

protected:
    PageFileReader(const CommonCpp::FileSpec& input, int32_t inputFormat);

    const CommonCpp::FileSpec& Input() const { return m_input; }
    // Opens and closes the file, so a path that cannot be read or written fails before the
    // library is asked.
    static bool CanOpen(const CommonCpp::FileSpec& file, const char* mode);
    [[noreturn]] static void ThrowCantOpen(const CommonCpp::FileSpec& file);
    // The reader's own exception for a failed library step.
    [[noreturn]] virtual void ThrowLibraryFailure() const = 0;

private:
    // One library process: checks both files, names the input, runs the extra step (crop or
    // resample) when there is one, names the output, processes and keeps the values.
    void Process(const CommonCpp::FileSpec& output,
                 const std::function<int(KPD_HANDLE)>& extraStep);

    CommonCpp::FileSpec m_input;
    int32_t m_inputFormat;
    int32_t m_inputInfo2 = 0;
    int32_t m_inputInfo1 = 0;
    int32_t m_inputInfo3 = 0;
    int32_t m_outputInfo2 = 0;
    int32_t m_outputInfo1 = 0;
    int32_t m_outputInfo3 = 0;
    bool m_processed = false;
};
