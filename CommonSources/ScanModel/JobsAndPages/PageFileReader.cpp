#include "PageFileReader.h"

#include <cstdio>

#include "BinaryFileException.h"
#include "KpdProcess.h"

PageFileReader::PageFileReader(const CommonCpp::FileSpec& input, int32_t inputFormat)
    : m_input(input), m_inputFormat(inputFormat) {}

PageFileReader::~PageFileReader() = default;

bool PageFileReader::CanOpen(const CommonCpp::FileSpec& file, const char* mode) {
    std::FILE* const stream = file.Open(mode);
    if (!stream) {
        return false;
    }
    std::fclose(stream);
    return true;
}

void PageFileReader::ThrowCantOpen(const CommonCpp::FileSpec& file) {
    throw CommonCpp::BinaryFileException(
        __FILE__, __LINE__, CommonCpp::BinaryFileException::CantOpen, file.GetFileName(), 0);
}

void PageFileReader::Convert(const CommonCpp::FileSpec& output) {
    Process(output, nullptr);
}

void PageFileReader::Crop(const CommonCpp::FileSpec& output, int32_t left, int32_t top,
                          int32_t right, int32_t bottom) {
    Process(output,
            [&](KPD_HANDLE process) { return KPD_setCrop(process, top, left, bottom, right); });
}

void PageFileReader::Resample(const CommonCpp::FileSpec& output, int32_t length, int32_t width) {
    Process(output, [&](KPD_HANDLE process) {
        return KPD_setResample(process, length, width, KPD_RESAMPLE_SMOOTH);
    });
}

void PageFileReader::Process(const CommonCpp::FileSpec& output,
                             const std::function<int(KPD_HANDLE)>& extraStep) {
    if (!CanOpen(m_input, "rb")) {
        ThrowCantOpen(m_input);
    }
    if (!CanOpen(output, "wb")) {
        ThrowCantOpen(output);
    }
    KpdProcess process;
    if (!process.IsValid()) {
        ThrowLibraryFailure();
    }
    const bool done = KPD_setFileNameIn(process.Get(), m_input.GetPath().c_str(), m_inputFormat, 0,
                                        0, 0, 1, 0, 0) >= 0 &&
                      (!extraStep || extraStep(process.Get()) >= 0) &&
                      KPD_setFileNameOut(process.Get(), output.GetPath().c_str(),
                                         KPD_FORMAT_BY_NAME, KPD_OUT_COMPRESSED) >= 0 &&
                      KPD_doProcess(process.Get()) >= 0;
    if (!done) {
        process.Destroy();
        ThrowLibraryFailure();
    }
    KPD_getImageInfoIn(process.Get(), &m_inputInfo1, &m_inputInfo2, &m_inputInfo3, 0, 0);
    KPD_getImageInfoOut(process.Get(), &m_outputInfo1, &m_outputInfo2, &m_outputInfo3, 0, 0);
    m_processed = true;
}
