#include "Exception.h"

namespace CommonCpp {

Exception::Exception(const std::string& sourceFile, int line)
    : std::exception(), m_sourceFile(sourceFile), m_line(line) {}

Exception::~Exception() = default;

const char* Exception::what() const noexcept { return "Exception"; }

void Exception::NoteCatchSite(const std::string&, int) {}

std::ostream& Exception::Print(std::ostream& os) const {
    os << what() << " line " << m_line << ", source file '" << m_sourceFile << "'" << std::endl;
    return os;
}

std::string Exception::GetDescription() const { return "Exception Occurred"; }

} // namespace CommonCpp
