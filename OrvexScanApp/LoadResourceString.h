#pragma once
// A string of the program's own string table, in the language the system picks, as UTF-8.

#include <string>

std::string LoadResourceString(unsigned id);
// UTF-8 to UTF-16 for the wide Win32 calls.
std::wstring WideFromUtf8(const std::string& text);
