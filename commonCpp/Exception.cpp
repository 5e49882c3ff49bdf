#include "Exception.h"

#include <windows.h>

#include <atomic>
#include <cstdarg>

namespace CommonCpp {

Exception::Exception(const std::string& sourceFile, int line)
    : std::exception(), m_sourceFile(sourceFile), m_line(line) {}

Exception::~Exception() = default;

const char* Exception::what() const noexcept {
    return "Exception";
}

void Exception::NoteCatchSite(const std::string&, int) {}

std::ostream& Exception::Print(std::ostream& os) const {
    os << what() << " line " << m_line << ", source file '" << m_sourceFile << "'" << std::endl;
    return os;
}

std::string Exception::GetDescription() const {
    return "Exception Occurred";
}

BadHandleException::BadHandleException(const std::string& sourceFile, int line)
    : Exception(sourceFile, line) {}

BadHandleException::~BadHandleException() = default;

const char* BadHandleException::what() const noexcept {
    return "BadHandleException";
}

void NoteException(std::exception* caught, const std::string& catchFile, int line) noexcept {
    auto* own = dynamic_cast<Exception*>(caught);
    if (own == nullptr) {
        return;
    }
    try {
        own->NoteCatchSite(catchFile, line);
    } catch (...) {
        // A hook that throws must not turn a recovery into a second failure.
    }
}

namespace {

void ToDebugger(const char* line) {
    OutputDebugStringA(line);
}

std::atomic<TraceOutput> g_traceOutput{&ToDebugger};

} // namespace

TraceOutput SetTraceOutput(TraceOutput output) {
    return g_traceOutput.exchange(output != nullptr ? output : &ToDebugger);
}

void DebugTrace(const char* format, ...) {
    constexpr std::size_t bufferSize = 1024;
    char buffer[bufferSize];
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(buffer, bufferSize - 1, format, args);
    va_end(args);
    if (written < 0) {
        buffer[0] = '\0';
        written = 0;
    }
    // Leave room for the line break even when the text was cut.
    std::size_t length = static_cast<std::size_t>(written);
    if (length > bufferSize - 2) {
        length = bufferSize - 2;
    }
    buffer[length] = '\n';
    buffer[length + 1] = '\0';
    g_traceOutput.load()(buffer);
}

} // namespace CommonCpp
