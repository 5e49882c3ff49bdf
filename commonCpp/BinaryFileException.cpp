#include "BinaryFileException.h"

#include <cstring>

namespace CommonCpp {

BinaryFileException::BinaryFileException(const std::string& sourceFile, int line, int reason,
                                         const std::string& fileName, int errnoValue)
    : Exception(sourceFile, line), m_reason(reason), m_errno(errnoValue), m_fileName(fileName) {}

BinaryFileException::~BinaryFileException() = default;

const char* BinaryFileException::what() const noexcept {
    return "BinaryFileException";
}

void BinaryFileException::NoteCatchSite(const std::string& catchFile, int line) {
    Exception::NoteCatchSite(catchFile, line);
}

std::ostream& BinaryFileException::Print(std::ostream& os) const {
    os << what() << " reason '" << ReasonText(m_reason) << "', binary file '" << m_fileName
       << "', errno " << m_errno << ", line " << GetLine() << ", source file '" << GetSourceFile()
       << "'." << std::endl;
    return os;
}

std::string BinaryFileException::GetDescription() const {
    // The errno of the failure, not whatever later calls have left in errno.
    const char* text = std::strerror(m_errno);
    return text != nullptr ? std::string(text) : std::string();
}

const char* BinaryFileException::ReasonText(int reason) {
    switch (reason) {
    case CantOpen:
        return "can't open file";
    case CantWrite:
        return "can't write file";
    case CantRead:
        return "can't read file";
    case CantGetPosition:
        return "can't get file position";
    case CantSetPosition:
        return "can't set file position";
    case WrongFileType:
        return "wrong file type";
    case FileDoesNotExist:
        return "file does not exist";
    default:
        return "unknown reason";
    }
}

} // namespace CommonCpp
