#pragma once
// One line for whoever started a windowless run of a program: its standard
// output or error when it was given one (a pipe, a file), else the console
// of the process that started it, else nowhere.

#include <string>

enum class ConsoleStream { Output, Error };
void writeConsoleLine(ConsoleStream stream, const std::string& utf8);
