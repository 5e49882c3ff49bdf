#pragma once
// Root of the system's exception family: every failure carries where it was thrown.

#include <exception>
#include <ostream>
#include <string>

namespace CommonCpp {

class Exception : public std::exception {
public:
    Exception(const std::string& sourceFile, int line);
    Exception(const Exception& other) = default;
    Exception& operator=(const Exception& other) = default;
    ~Exception() override;

    // The class name, never the standard library's default text.
    const char* what() const noexcept override;
    // Told where the exception was caught; does nothing in every class of the system.
    virtual void NoteCatchSite(const std::string& catchFile, int line);
    virtual std::ostream& Print(std::ostream& os) const;
    virtual std::string GetDescription() const;

    const std::string& GetSourceFile() const { return m_sourceFile; }
    int GetLine() const { return m_line; }

private:
    std::string m_sourceFile;
    int m_line;
};

} // namespace CommonCpp
