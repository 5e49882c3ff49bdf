#pragma once
// Short names of TWAIN codes as the job attributes exchanged with the server spell them.
// Unknown codes give an empty text.

#include <string>

std::string pixelTypeToString(int code);
std::string compressionToString(int code);
// -1 is the server's own "RAW" format.
std::string fileFormatToString(int code);
