#include "TiffReader.h"

#include "TiffReaderException.h"

TiffReader::TiffReader(const CommonCpp::FileSpec& input) : PageFileReader(input, KPD_FORMAT_TIFF) {
    if (!CanOpen(Input(), "rb")) {
        ThrowCantOpen(Input());
    }
}

void TiffReader::ThrowLibraryFailure() const {
    throw TiffReaderException(__FILE__, __LINE__);
}
