#include "cli/ViewsPictures.h"

#include "view/GdiCanvas.h"
#include "view/PngFile.h"

namespace kel {

namespace {

class GdiRecordPictures : public RecordPictures {
public:
    explicit GdiRecordPictures(const GraphScale& scale)
        : m_drawing(Size(kPictureWidth, kPictureHeight), scale,
                    [](Size size, double) -> std::unique_ptr<Canvas> { return std::make_unique<GdiCanvas>(size); })
    {
    }
    ResultDrawing& Drawing() override { return m_drawing; }
    PicturesPng Png() override
    {
        PicturesPng pictures;
        m_drawing.WithCanvas(true, [&pictures](Canvas& canvas) { pictures.graph = PngFileBytes(canvas); });
        m_drawing.WithCanvas(false, [&pictures](Canvas& canvas) { pictures.text = PngFileBytes(canvas); });
        return pictures;
    }

private:
    ResultDrawing m_drawing;
};

}  // namespace

std::unique_ptr<RecordPictures> MakeRecordPictures(const GraphScale& scale)
{
    return std::make_unique<GdiRecordPictures>(scale);
}

}  // namespace kel
