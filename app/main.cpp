#include "app/PerfApp.h"

int main(int argc, char** argv)
{
    kel::PerfApp app;
    return app.Run(argc, argv);
}
