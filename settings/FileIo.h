#pragma once
// Whole-file reads and atomic whole-file writes. Paths use the system's own
// separators; on POSIX hosts (native tests) backslashes are taken as '/'.
//
// replaceFileAtomically writes a temporary file in the same folder, flushes
// it and renames it over the target, so a crash leaves either the old or the
// new file and never a mix.

#include <string>
#include <string_view>

bool readWholeFile(const std::string& path, std::string& bytes);
bool replaceFileAtomically(const std::string& path, std::string_view bytes);
bool removeFile(const std::string& path);
bool fileExists(const std::string& path);
