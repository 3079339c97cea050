#include "tests/view/CanvasRules.h"
#include "view/DrawingObjects.h"

namespace kel::test {

std::unique_ptr<Canvas> MakeToolkitCanvas(Size size, double pixelRatio)
{
    return std::make_unique<QtCanvas>(size, SharedDrawingObjects(), pixelRatio);
}

}  // namespace kel::test
