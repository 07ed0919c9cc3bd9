#pragma once
// The time graph: its picture (frame and curves, built up tick by tick) and
// the recorded points, which pupils can export and analyse.

#include <QImage>
#include <QPointF>
#include <QString>
#include <QStringList>

class QPainter;
#include <optional>
#include <vector>

namespace tolvi {

struct GraphPoint {
    double t;                     // s, since the recording began
    std::optional<double> bleu;   // cm at the blue marker, when placed
    std::optional<double> rouge;  // cm at the red marker, when placed
};

// One mark of a curve: a dot at `to` (the first point of a recording) or a
// line from `from` to `to`, in the picture's units.
struct GraphStroke {
    QPointF from;
    QPointF to;
    bool red;
    bool dot;
};

class GraphRecording {
public:
    static constexpr int kWidth = 781;
    static constexpr int kHeight = 105;
    static constexpr int kOriginX = 30;   // t = 0
    static constexpr int kSpanX = 700;    // the whole duration
    static constexpr int kZeroRow = 54;   // u = 0 (the red curve one row lower)

    GraphRecording();

    // The picture at one device pixel per unit. Its strokes are drawn when
    // it is asked for, all those since the last time in one go: a window
    // shown at another resolution never needs them here.
    const QImage& image() const;
    const std::vector<GraphPoint>& points() const { return points_; }
    const std::vector<GraphStroke>& strokes() const { return strokes_; }
    // Counts every prepare, so a copy of the picture knows when to start over.
    int generation() const { return generation_; }

    // The picture (frame and every stroke so far) at `scale` device pixels
    // per unit, the image's device pixel ratio.
    QImage render(double scale) const;
    // Draws the frame for a duration, or strokes [from, to), on a painter in
    // the picture's units.
    static void paintFrame(QPainter& painter, int dureeGraphe);
    void paintStrokes(QPainter& painter, std::size_t from, std::size_t to) const;

    // The ten time labels of the frame for a duration in seconds ("0,1" ..
    // "1" for 1 s, "60" .. "600" for 600 s).
    static QStringList timeLabels(int dureeGraphe);

    // Clears the picture and draws the empty frame for a duration in seconds;
    // forgets the recorded points.
    void prepare(int dureeGraphe);
    // Records one point and draws it: a dot for the first point of a
    // recording, else lines from the last point (xFrom, yFrom) to (x, y).
    void record(const GraphPoint& point);
    void plotDot(double x, double y, bool red);
    void plotLine(double x1, double y1, double x2, double y2, bool red);

    // The recording as text: header "t (s);u1 (cm);u2 (cm)", then one line
    // per point, decimal comma, an empty field for an absent marker.
    // `separator` is ';' for a CSV file, a tab for the clipboard.
    QString csv(QChar separator = QLatin1Char(';')) const;

    // The texts of that format: the three column titles, and one point's
    // fields ("0,050", "1,2345", "" for an absent marker).
    static QStringList csvHeader();
    static QStringList csvFields(const GraphPoint& point);
    // Header and the points [first, first + count) of `points`, as csv().
    static QString csvText(const std::vector<GraphPoint>& points, QChar separator, std::size_t first = 0,
                           std::size_t count = std::size_t(-1));

private:
    void addStroke(const GraphStroke& stroke);

    mutable QImage image_;
    mutable std::size_t drawnStrokes_ = 0;  // how many image_ shows
    std::vector<GraphPoint> points_;
    std::vector<GraphStroke> strokes_;
    int dureeGraphe_ = 0;
    int generation_ = 0;
};

}  // namespace tolvi
