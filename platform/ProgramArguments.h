#pragma once
// A console program's arguments as the program keeps them, and its standard
// streams made ready for what it prints.

#include <string>
#include <vector>

namespace kel {

// The arguments of main: the system's bytes, whatever their encoding.
std::vector<std::string> ProgramArguments(int argc, char* argv[]);
// The arguments of wmain (Windows): UTF-8 from the system's UTF-16.
std::vector<std::string> ProgramArguments(int argc, wchar_t* argv[]);

// On Windows, standard output and error take the program's bytes unchanged
// (no carriage return added), and a console shows them as UTF-8 until the
// program ends. Nothing to do elsewhere.
void PrepareStandardStreams();

}  // namespace kel
