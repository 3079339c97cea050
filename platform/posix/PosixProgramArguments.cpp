#include "platform/ProgramArguments.h"

namespace kel {

std::vector<std::string> ProgramArguments(int argc, char* argv[])
{
    return std::vector<std::string>(argv, argv + argc);
}

void PrepareStandardStreams()
{
}

}  // namespace kel
