#include "tests/view/CanvasRules.h"
#include "view/GdiCanvas.h"

namespace kel::test {

std::unique_ptr<Canvas> MakeToolkitCanvas(Size size, double)
{
    return std::make_unique<GdiCanvas>(size);
}

}  // namespace kel::test
