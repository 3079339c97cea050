#include "cli/ViewsPictures.h"

#include "view/GdiCanvas.h"
#include "view/PngFile.h"
#include "view/ResultDrawing.h"

#include <memory>

namespace kel {

PicturesPng DrawRecordPictures(const RunRecord& record, const GraphScale& scale)
{
    ResultDrawing drawing(Size(kPictureWidth, kPictureHeight), scale,
                          [](Size size) -> std::unique_ptr<Canvas> { return std::make_unique<GdiCanvas>(size); });
    ReplayRecord(drawing, record);
    PicturesPng pictures;
    drawing.WithCanvas(true, [&pictures](Canvas& canvas) { pictures.graph = PngFileBytes(canvas); });
    drawing.WithCanvas(false, [&pictures](Canvas& canvas) { pictures.text = PngFileBytes(canvas); });
    return pictures;
}

}  // namespace kel
