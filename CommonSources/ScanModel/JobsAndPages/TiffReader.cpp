#include "TiffReader.h"

#include <cstdio>

#include "BinaryFileException.h"
#include "TiffReaderException.h"
#include "KpdProcess.h"

namespace {

constexpr int32_t kInputFormat = KPD_FORMAT_TIFF;

// Opens and closes the file, so a path that cannot be read or written fails here, before the
// library is asked.
bool CanOpen(const CommonCpp::FileSpec& file, const char* mode) {
    std::FILE* const stream = file.Open(mode);
    if (!stream) {
        return false;
    }
    std::fclose(stream);
    return true;
}

} // namespace

TiffReader::TiffReader(const CommonCpp::FileSpec& input) : m_input(input) {
    if (!CanOpen(m_input, "rb")) {
        throw CommonCpp::BinaryFileException(
            __FILE__, __LINE__, CommonCpp::BinaryFileException::CantOpen, m_input.GetFileName(), 0);
    }
}

TiffReader::~TiffReader() = default;

void TiffReader::Convert(const CommonCpp::FileSpec& output) {
    Process(output, nullptr);
}

void TiffReader::Crop(const CommonCpp::FileSpec& output, int32_t left, int32_t top, int32_t right,
                      int32_t bottom) {
    Process(output,
            [&](KPD_HANDLE process) { return KPD_setCrop(process, top, left, bottom, right); });
}

void TiffReader::Resample(const CommonCpp::FileSpec& output, int32_t length, int32_t width) {
    Process(output, [&](KPD_HANDLE process) {
        return KPD_setResample(process, length, width, KPD_RESAMPLE_SMOOTH);
    });
}

void TiffReader::Process(const CommonCpp::FileSpec& output,
                         const std::function<int(KPD_HANDLE)>& extraStep) {
    if (!CanOpen(m_input, "rb")) {
        throw CommonCpp::BinaryFileException(
            __FILE__, __LINE__, CommonCpp::BinaryFileException::CantOpen, m_input.GetFileName(), 0);
    }
    if (!CanOpen(output, "wb")) {
        throw CommonCpp::BinaryFileException(
            __FILE__, __LINE__, CommonCpp::BinaryFileException::CantOpen, output.GetFileName(), 0);
    }
    KpdProcess process;
    if (!process.IsValid()) {
        throw TiffReaderException(__FILE__, __LINE__);
    }
    if (KPD_setFileNameIn(process.Get(), m_input.GetPath().c_str(), kInputFormat, 0, 0, 0, 1, 0,
                          0) < 0) {
        process.Destroy();
        throw TiffReaderException(__FILE__, __LINE__);
    }
    if (extraStep && extraStep(process.Get()) < 0) {
        process.Destroy();
        throw TiffReaderException(__FILE__, __LINE__);
    }
    if (KPD_setFileNameOut(process.Get(), output.GetPath().c_str(), KPD_FORMAT_BY_NAME,
                           KPD_OUT_COMPRESSED) < 0) {
        process.Destroy();
        throw TiffReaderException(__FILE__, __LINE__);
    }
    if (KPD_doProcess(process.Get()) < 0) {
        process.Destroy();
        throw TiffReaderException(__FILE__, __LINE__);
    }
    KPD_getImageInfoIn(process.Get(), &m_inputInfo1, &m_inputInfo2, &m_inputInfo3, 0, 0);
    KPD_getImageInfoOut(process.Get(), &m_outputInfo1, &m_outputInfo2, &m_outputInfo3, 0, 0);
    m_processed = true;
}
