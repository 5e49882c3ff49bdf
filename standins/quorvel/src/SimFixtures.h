#pragma once
// Fixture folders of the simulated servers and the one text format they are written in: the
// attribute dump format, one "key = value" pair a line.

#include <string>
#include <utility>
#include <vector>

namespace orvexsim {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// Parses dump text: pairs in file order (duplicates kept). Lines are split at the first " = ";
// the value runs to the line end and may be empty or hold " = " itself ("key =" at the end of
// a line is an empty value). Blank lines and lines
// beginning with "#" are skipped; a leading UTF-8 byte-order mark and CR before LF are dropped.
// A line without " = ", with an empty key, with blanks around the key or with a NUL byte makes
// the whole text malformed: false, with the 1-based line and the reason.
bool ParseDump(const std::string& text, Pairs& pairs, int& errorLine, std::string& reason);

enum class FixtureStatus { Ok, Missing, Malformed };

// Reads and parses one fixture file (kept between calls, SimFileCache.h); error names the file,
// line and reason when malformed.
FixtureStatus ReadDumpFile(const std::string& path, Pairs& pairs, std::string& error);

// The value of the last pair with this key, or null.
const std::string* FindValue(const Pairs& pairs, const std::string& key);

// The whole text is a decimal 32-bit integer, with an optional minus sign.
bool ParseInt(const std::string& text, int& value);

// Null or empty restores the default root.
void SetFixtureRootOverride(const std::string& root);
// The override, else %ORVEX_SIM_ROOT%, else the "servers" folder beside quorvel10.dll.
std::string FixtureRoot();

// The server an address selects: "localhost", "127.0.0.1" and this machine's names select
// "default"; any other address selects the folder of that name when it exists. The name comes
// back in lower case; false for an address that selects nothing (or could leave the root).
bool ResolveServer(const std::string& address, std::string& server);

// Path of a file in a server's folder; relative uses "\" between folders.
std::string ServerFile(const std::string& server, const std::string& relative);

// Letters, digits, "-", "_" and "." (not first), as a folder or file name taken from a caller.
bool IsSafeName(const std::string& name);

} // namespace orvexsim
