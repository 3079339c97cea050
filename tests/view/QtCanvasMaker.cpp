#include "tests/view/CanvasRules.h"
#include "view/DrawingObjects.h"

namespace kel::test {

std::unique_ptr<Canvas> MakeToolkitCanvas(Size size, double)
{
    return std::make_unique<QtCanvas>(size, SharedDrawingObjects());
}

}  // namespace kel::test
