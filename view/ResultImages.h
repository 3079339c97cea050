#pragma once
// The two images of the results view as QImages: the drawing of every pass
// (ResultDrawing) on canvases that QPainter draws the text of, at the
// screen's pixel ratio when it is given one. Also a picture
// as the bytes of a PNG file, for writing it through the program's own report
// writer (devices, pipes and atomic replacement alike). Usable without any
// widget (a QGuiApplication is enough), e.g. to write the images to files.

#include "view/DrawingObjects.h"
#include "view/ResultDrawing.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

namespace kel {

class ResultImages : public ResultDrawing {
public:
    explicit ResultImages(QSize clientSize, GraphScale scale = DefaultGraphScale());

    // The runs' names for the legend (SetRunNames of the drawing).
    void SetRunNames(const std::vector<QString>& names);

    // What the text image shows, as lines of text (ResultLines).
    QString ResultsText() const;
    // Deep copies, safe to use on any thread while passes keep arriving. Null
    // images when the size is empty or the images could not be made.
    QImage GraphImage() const;
    QImage TextImage() const;

private:
    QImage CopyOf(bool graph) const;
};

// A picture as PNG file bytes; nothing when the picture cannot be encoded.
std::optional<QByteArray> PngBytes(const QImage& image);

}  // namespace kel
