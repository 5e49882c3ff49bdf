#pragma once
// Failure of a binary file operation: which file, why, and the errno the failing call left.

#include "Exception.h"

#include <ostream>
#include <string>

namespace CommonCpp {

class BinaryFileException : public Exception {
public:
    // Reason codes; other values print as "unknown reason".
    enum Reason {
        CantOpen = 1,
        CantWrite = 2,
        CantRead = 3,
        CantGetPosition = 4,
        CantSetPosition = 5,
        WrongFileType = 6,
        FileDoesNotExist = 7,
    };

    BinaryFileException(const std::string& sourceFile, int line, int reason,
                        const std::string& fileName, int errnoValue);
    BinaryFileException(const BinaryFileException& other) = default;
    BinaryFileException& operator=(const BinaryFileException& other) = default;
    ~BinaryFileException() override;

    const char* what() const noexcept override;
    void NoteCatchSite(const std::string& catchFile, int line) override;
    std::ostream& Print(std::ostream& os) const override;
    // The runtime's text for the errno kept in this exception.
    std::string GetDescription() const override;

    int GetReason() const { return m_reason; }
    int GetErrno() const { return m_errno; }
    const std::string& GetFileName() const { return m_fileName; }

    static const char* ReasonText(int reason);

private:
    int m_reason;
    int m_errno;
    std::string m_fileName;
};

} // namespace CommonCpp
