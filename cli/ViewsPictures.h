#pragma once
// The two pictures keltally-views writes, drawn from records as the results
// view draws its run: with QPainter and Qt's PNG writer on Linux, with GDI
// and the program's own PNG writer on Windows.

#include "view/GraphScale.h"
#include "view/ResultDrawing.h"

#include <memory>
#include <string>

namespace kel {

// PNG file bytes of each picture; empty when it could not be drawn.
struct PicturesPng {
    std::string graph;
    std::string text;
};

// The results view's drawing at its client size in the dialog, on the
// platform's painter, and its pictures once every pass has been handed on.
class RecordPictures {
public:
    virtual ~RecordPictures() = default;
    virtual ResultDrawing& Drawing() = 0;
    virtual PicturesPng Png() = 0;
};

std::unique_ptr<RecordPictures> MakeRecordPictures(const GraphScale& scale);

// The results view's client area in the dialog.
constexpr int kPictureWidth = 510;
constexpr int kPictureHeight = 299;

}  // namespace kel
