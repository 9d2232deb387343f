#pragma once
// Whole folders for the tests and benchmarks that lay out a program folder.

#include <string>

// Both take folders with a trailing backslash.
void copyTree(const std::string& from, const std::string& to);
void removeTree(const std::string& folder);
