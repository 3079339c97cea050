#include "app/PerfApp.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (const auto answer = kel::AnswerBeforeWindow(argc, argv)) {
        std::fputs(answer->text.c_str(), answer->exitCode == 0 ? stdout : stderr);
        return answer->exitCode;
    }
    kel::PerfApp app;
    return app.Run(argc, argv);
}
