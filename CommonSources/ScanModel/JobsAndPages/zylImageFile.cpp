#include "zylImageFile.h"

#include "TwainDefs.h"

zylImageFile::zylImageFile(zylDirectory* parent) : zylFileObj(parent) {
    SetClassName("zylImageFile");
    SetFileType(TWFY_IMAGE);
}

zylImageFile::zylImageFile(const zylImageFile& source, zylDirectory* parent)
    : zylFileObj(source, parent) {
    SetClassName("zylImageFile");
}

zylImageFile::~zylImageFile() = default;

zylImageFile* zylImageFile::Clone(zylDirectory* parent) const {
    return new zylImageFile(*this, parent);
}

std::uint32_t zylImageFile::GetJobID() const {
    return 0;
}
