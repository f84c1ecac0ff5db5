#pragma once
// Whole small files and questions about names: state files, plots, and
// whether two names lead to one file.
#include <string>

namespace render {

// True when both names lead to one existing file (hard links, symbolic links
// and other spellings included).
bool SameFile(const std::string& a, const std::string& b);
bool Exists(const std::string& path);
// Whole small files (state files), at most maxBytes.
bool ReadSmallFile(const std::string& path, size_t maxBytes, std::string* bytes, std::string* error);
bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string* error);

} // namespace render
