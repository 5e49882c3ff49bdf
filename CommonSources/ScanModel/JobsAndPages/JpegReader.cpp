#include "JpegReader.h"

#include "JpegReaderException.h"

JpegReader::JpegReader(const CommonCpp::FileSpec& input) : PageFileReader(input, KPD_FORMAT_JPEG) {
    if (!Input().IsReadable()) {
        ThrowCantOpen(Input());
    }
}

void JpegReader::ThrowLibraryFailure() const {
    throw JpegReaderException(__FILE__, __LINE__);
}
