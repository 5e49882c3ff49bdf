#pragma once
// Root of the system's exception family: every failure carries where it was thrown.

#include "PrintfLike.h"

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

// A global memory handle that is null, unlocked too often or otherwise unusable.
class BadHandleException : public Exception {
public:
    BadHandleException(const std::string& sourceFile, int line);
    BadHandleException(const BadHandleException& other) = default;
    BadHandleException& operator=(const BadHandleException& other) = default;
    ~BadHandleException() override;

    const char* what() const noexcept override;
};

// Called in blocks that catch std::exception: tells an exception of the family where it was
// caught. Anything else is left alone. Never throws.
void NoteException(std::exception* caught, const std::string& catchFile, int line) noexcept;

// printf-style line to the debugger; longer texts are cut at the 1 KB buffer.
void DebugTrace(const char* format, ...) COMMONCPP_PRINTF_LIKE(1, 2);

// Where DebugTrace lines go: OutputDebugStringA, replaced only by tests that read them.
using TraceOutput = void (*)(const char* line);
// Returns the previous output; null restores OutputDebugStringA.
TraceOutput SetTraceOutput(TraceOutput output);

} // namespace CommonCpp
