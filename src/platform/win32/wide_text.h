#pragma once
// UTF-8 (the show's strings) to and from UTF-16 (the wide Windows calls).

#include <string>

std::wstring widen(const std::string& text);
std::string narrow(const std::wstring& text);
