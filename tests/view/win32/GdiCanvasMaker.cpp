#include "tests/view/CanvasRules.h"
#include "view/GdiCanvas.h"

namespace kel::test {

std::unique_ptr<Canvas> MakeToolkitCanvas(Size size, double pixelRatio)
{
    return std::make_unique<GdiCanvas>(size, pixelRatio);
}

}  // namespace kel::test
