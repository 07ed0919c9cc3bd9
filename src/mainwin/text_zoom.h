#pragma once
// The exercise text at the window's zoom. Its document is laid out for a
// device as many times finer as the zoom, the way Qt lays a document out for
// a printer: every size the text gives itself (its points, margins, pictures
// and tables) grows with the zoom, while the document itself, saved, copied
// and printed, is left as it is. At zoom 1 the text is laid out for its box,
// as it always was.

#include <QImage>

class QTextEdit;

namespace tolvi {

class TextZoom {
public:
    // `edit` keeps its designed font: the layout alone grows.
    explicit TextZoom(QTextEdit& edit);
    void apply(double z);
    double zoom() const { return zoom_; }

private:
    QTextEdit& edit_;
    QImage device_;  // no pixels: only its resolution is used
    double zoom_ = 1.0;
};

}  // namespace tolvi
