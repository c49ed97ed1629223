// The banded report engine: a report is a page header, a detail band and a page footer, laid out
// on A4 portrait paper in millimetres. The detail band prints once per row, and the rows are
// pulled one at a time through the "next row" callback, so a report over a long list never holds
// more than the row it is printing. The page header prints at the top of every page, the page
// footer at the foot of every page, the last one included; a report without rows prints one page
// with both.
//
// Bands carry labels (a text in a box, filled by the report's callbacks before the band prints),
// multi-line texts, frames, lines, the page number and the print date. Everything is placed in
// millimetres from the band's top-left corner. The pages go to a ReportCanvas (ReportCanvas.h):
// the printer, an image, or a recording of the page items for tests.
#pragma once

#include <QColor>
#include <QDateTime>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace kolmara::ui {

class ReportCanvas;

// A font asked for by family name, its size in millimetres (the em height), and its weight.
struct ReportFont {
    QString family;
    double size = 3.25;
    bool bold = false;
};

// A text in a box. Its text may change before every printing of its band.
struct ReportLabel {
    QRectF rect;
    QString text;
    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// A multi-line text, one line under the other at 1.2 times the font size, inside its box with a
// small padding; the box is outlined when framePen is above 0. A memo that stretches grows
// downwards to hold every line, pushing down what lies below it in its band and taking the room
// from the detail rows of the page, so no line is ever cut off.
struct ReportMemo {
    static constexpr double kPadding = 0.5;

    QRectF rect;
    QStringList lines;
    ReportFont font;
    bool stretch = false;
    double framePen = 0;

    double lineHeight() const { return font.size * 1.2; }
    // The height the memo takes with its present lines: at least its box, more when it stretches.
    double neededHeight() const;
};

class ReportBand {
public:
    explicit ReportBand(double height = 0);
    ~ReportBand();
    ReportBand(const ReportBand&) = delete;
    ReportBand& operator=(const ReportBand&) = delete;

    double height() const { return m_height; }
    void setHeight(double height) { m_height = height; }

    // The returned items belong to the band and live as long as it does.
    ReportLabel* addLabel(const QRectF& rect, const QString& text, const ReportFont& font,
                          Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
    ReportMemo* addMemo(const QRectF& rect, const ReportFont& font, bool stretch = false,
                        double framePen = 0);
    // A rectangle's outline and a straight line; pen widths in millimetres.
    void addFrame(const QRectF& rect, double penWidth, const QColor& color = Qt::black);
    void addLine(const QPointF& from, const QPointF& to, double penWidth,
                 const QColor& color = Qt::black);
    // The number of the page within its report, "- 1 -".
    void addPageNumber(const QRectF& rect, const ReportFont& font,
                       Qt::Alignment alignment = Qt::AlignCenter);
    // The date and time the report began printing, "2003-05-14 13:05:22".
    void addPrintDate(const QRectF& rect, const ReportFont& font,
                      Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

    // Runs each time before the band prints (a page footer's runs as its page begins, so that a
    // stretching memo's height is known before the page's rows are placed).
    std::function<void()> beforePrint;

    // The band's height with its memos stretched.
    double printedHeight() const;
    // Draws the band with its top-left corner at `origin` (page millimetres).
    void draw(ReportCanvas& canvas, QPointF origin, int page, const QDateTime& printed) const;

private:
    struct Item;
    double growthAbove(double y) const;

    double m_height;
    std::vector<std::unique_ptr<Item>> m_items;
};

class BandedReport {
public:
    // The paper is A4 portrait (210 x 297 mm); the margins are in millimetres.
    static constexpr double kPaperWidth = 210.0;
    static constexpr double kPaperHeight = 297.0;

    explicit BandedReport(const QString& title);
    BandedReport(const BandedReport&) = delete;
    BandedReport& operator=(const BandedReport&) = delete;

    // What the progress window calls the report.
    QString title() const { return m_title; }

    void setMargins(double top, double bottom, double left, double right);
    // The area between the margins, in page millimetres.
    QRectF contentRect() const;

    ReportBand& pageHeader() { return m_header; }
    ReportBand& detail() { return m_detail; }
    ReportBand& pageFooter() { return m_footer; }

    // Runs once as the report begins printing.
    std::function<void()> beforePrint;
    // Asked before each detail band: fills the band's labels and answers true, or answers false
    // when there are no more rows. Without it the report has no rows.
    std::function<bool()> nextRow;

    // Prints the whole report onto the canvas, pages numbered from 1, stamped with `printed`.
    // Returns false when the canvas refused a page (a cancelled or failed print); exceptions of
    // the callbacks pass through, with the canvas left as it is.
    bool render(ReportCanvas& canvas, const QDateTime& printed);

private:
    QString m_title;
    double m_top = 10;
    double m_bottom = 10;
    double m_left = 20;
    double m_right = 7;
    ReportBand m_header;
    ReportBand m_detail;
    ReportBand m_footer;
};

}  // namespace kolmara::ui
