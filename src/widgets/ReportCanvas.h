// Where a banded report's pages go. The report draws page items in page millimetres (from the
// paper's top-left corner) onto a ReportCanvas: PainterCanvas paints them with a QPainter (the
// printer, an image), RecordingCanvas writes them down as text lines, one item a line, and passes
// them on to another canvas if it has one.
#pragma once

#include "widgets/BandedReport.h"

#include <QImage>
#include <QStringList>

class QPainter;

namespace kolmara::ui {

class ReportCanvas {
public:
    virtual ~ReportCanvas() = default;

    // Starts page `page` of a report (1 for its first). False stops the report there.
    virtual bool beginPage(int page) = 0;
    // A text in its box, cut off at the box's edges (a painter condenses it first).
    virtual void drawText(const QRectF& rect, const QString& text, const ReportFont& font,
                          Qt::Alignment alignment) = 0;
    virtual void drawFrame(const QRectF& rect, double penWidth, const QColor& color) = 0;
    virtual void drawLine(const QPointF& from, const QPointF& to, double penWidth,
                          const QColor& color) = 0;
};

// Paints onto a QPainter whose device coordinates start at the paper's top-left corner, at the
// given resolution. Subclasses decide what a new page is.
class PainterCanvas : public ReportCanvas {
public:
    PainterCanvas(QPainter& painter, double dotsPerInch);

    void drawText(const QRectF& rect, const QString& text, const ReportFont& font,
                  Qt::Alignment alignment) override;
    void drawFrame(const QRectF& rect, double penWidth, const QColor& color) override;
    void drawLine(const QPointF& from, const QPointF& to, double penWidth,
                  const QColor& color) override;

protected:
    QPainter& painter() { return m_painter; }
    // Whether items are painted; items of pages that are skipped are not.
    void setPainting(bool painting) { m_painting = painting; }

private:
    double dots(double mm) const { return mm * m_dotsPerMm; }
    QRectF dots(const QRectF& mm) const;

    QPainter& m_painter;
    double m_dotsPerMm;
    bool m_painting = true;
};

// Writes every item down as a line of text:
//   page 1
//   text 23.75,12.00 62.50x14.00 "굴림체" 7.25 bold centre "테이블목록표"
//   frame 23.75,12.00 62.50x14.00 pen 0.75 #000000
//   line 20.00,283.00 203.00,283.00 pen 0.75 #800080
// Positions and sizes are page millimetres, font sizes millimetres; the alignment is left, centre
// or right, followed by top or bottom unless the text is centred vertically.
class RecordingCanvas : public ReportCanvas {
public:
    // Items are passed on to `forward` too, when one is given; its answer to a new page stands.
    explicit RecordingCanvas(ReportCanvas* forward = nullptr) : m_forward(forward) {}

    const QStringList& lines() const { return m_lines; }
    void clear() { m_lines.clear(); }

    bool beginPage(int page) override;
    void drawText(const QRectF& rect, const QString& text, const ReportFont& font,
                  Qt::Alignment alignment) override;
    void drawFrame(const QRectF& rect, double penWidth, const QColor& color) override;
    void drawLine(const QPointF& from, const QPointF& to, double penWidth,
                  const QColor& color) override;

private:
    ReportCanvas* m_forward;
    QStringList m_lines;
};

// Page `page` of the report as an image at the given resolution, white paper (the report's
// callbacks run as for printing, up to that page).
QImage renderPageImage(BandedReport& report, int page, double dotsPerInch,
                       const QDateTime& printed);

}  // namespace kolmara::ui
