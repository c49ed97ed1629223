// The banded report engine: bands, their items and the paging of a report.
#include "widgets/BandedReport.h"

#include "widgets/ReportCanvas.h"

#include <algorithm>

namespace kolmara::ui {

namespace {

// The room a row may overhang its page by through rounding of millimetre sums.
constexpr double kTolerance = 1e-6;

}  // namespace

struct ReportBand::Item {
    enum Kind { Label, Memo, Frame, Line, PageNumber, PrintDate };
    explicit Item(Kind k) : kind(k) {}

    Kind kind;
    ReportLabel label;  // Label, PageNumber, PrintDate
    ReportMemo memo;    // Memo
    QRectF rect;        // Frame
    QPointF from;       // Line
    QPointF to;
    double penWidth = 0;
    QColor color;

    double top() const
    {
        switch (kind) {
        case Memo:
            return memo.rect.top();
        case Frame:
            return rect.top();
        case Line:
            return std::min(from.y(), to.y());
        default:
            return label.rect.top();
        }
    }
};

double ReportMemo::neededHeight() const
{
    if (!stretch)
        return rect.height();
    return std::max(rect.height(), lines.size() * lineHeight() + 2 * kPadding);
}

ReportBand::ReportBand(double height) : m_height(height) {}

ReportBand::~ReportBand() = default;

ReportLabel* ReportBand::addLabel(const QRectF& rect, const QString& text, const ReportFont& font,
                                  Qt::Alignment alignment)
{
    auto item = std::make_unique<Item>(Item::Label);
    item->label = {rect, text, font, alignment};
    m_items.push_back(std::move(item));
    return &m_items.back()->label;
}

ReportMemo* ReportBand::addMemo(const QRectF& rect, const ReportFont& font, bool stretch,
                                double framePen)
{
    auto item = std::make_unique<Item>(Item::Memo);
    item->memo.rect = rect;
    item->memo.font = font;
    item->memo.stretch = stretch;
    item->memo.framePen = framePen;
    m_items.push_back(std::move(item));
    return &m_items.back()->memo;
}

void ReportBand::addFrame(const QRectF& rect, double penWidth, const QColor& color)
{
    auto item = std::make_unique<Item>(Item::Frame);
    item->rect = rect;
    item->penWidth = penWidth;
    item->color = color;
    m_items.push_back(std::move(item));
}

void ReportBand::addLine(const QPointF& from, const QPointF& to, double penWidth,
                         const QColor& color)
{
    auto item = std::make_unique<Item>(Item::Line);
    item->from = from;
    item->to = to;
    item->penWidth = penWidth;
    item->color = color;
    m_items.push_back(std::move(item));
}

void ReportBand::addPageNumber(const QRectF& rect, const ReportFont& font, Qt::Alignment alignment)
{
    auto item = std::make_unique<Item>(Item::PageNumber);
    item->label = {rect, QString(), font, alignment};
    m_items.push_back(std::move(item));
}

void ReportBand::addPrintDate(const QRectF& rect, const ReportFont& font, Qt::Alignment alignment)
{
    auto item = std::make_unique<Item>(Item::PrintDate);
    item->label = {rect, QString(), font, alignment};
    m_items.push_back(std::move(item));
}

double ReportBand::growthAbove(double y) const
{
    double growth = 0;
    for (const auto& item : m_items)
        if (item->kind == Item::Memo && item->memo.rect.bottom() <= y + kTolerance)
            growth += item->memo.neededHeight() - item->memo.rect.height();
    return growth;
}

double ReportBand::printedHeight() const
{
    return m_height + growthAbove(m_height);
}

void ReportBand::draw(ReportCanvas& canvas, QPointF origin, int page,
                      const QDateTime& printed) const
{
    for (const auto& item : m_items) {
        const QPointF at = origin + QPointF(0, growthAbove(item->top()));
        switch (item->kind) {
        case Item::Label:
            canvas.drawText(item->label.rect.translated(at), item->label.text, item->label.font,
                            item->label.alignment);
            break;
        case Item::PageNumber:
            canvas.drawText(item->label.rect.translated(at), QStringLiteral("- %1 -").arg(page),
                            item->label.font, item->label.alignment);
            break;
        case Item::PrintDate:
            canvas.drawText(item->label.rect.translated(at),
                            printed.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                            item->label.font, item->label.alignment);
            break;
        case Item::Memo: {
            const ReportMemo& memo = item->memo;
            QRectF box = memo.rect.translated(at);
            box.setHeight(memo.neededHeight());
            if (memo.framePen > 0)
                canvas.drawFrame(box, memo.framePen, Qt::black);
            const QRectF text = box.adjusted(ReportMemo::kPadding, ReportMemo::kPadding,
                                             -ReportMemo::kPadding, -ReportMemo::kPadding);
            const double h = memo.lineHeight();
            for (int i = 0; i < memo.lines.size(); ++i) {
                const QRectF line(text.left(), text.top() + i * h, text.width(), h);
                // A memo that does not stretch shows only the lines that fit in its box.
                if (line.bottom() > text.bottom() + kTolerance)
                    break;
                canvas.drawText(line, memo.lines[i], memo.font, Qt::AlignLeft | Qt::AlignVCenter);
            }
            break;
        }
        case Item::Frame:
            canvas.drawFrame(item->rect.translated(at), item->penWidth, item->color);
            break;
        case Item::Line:
            canvas.drawLine(item->from + at, item->to + at, item->penWidth, item->color);
            break;
        }
    }
}

BandedReport::BandedReport(const QString& title) : m_title(title) {}

void BandedReport::setMargins(double top, double bottom, double left, double right)
{
    m_top = top;
    m_bottom = bottom;
    m_left = left;
    m_right = right;
}

QRectF BandedReport::contentRect() const
{
    return QRectF(m_left, m_top, kPaperWidth - m_left - m_right, kPaperHeight - m_top - m_bottom);
}

bool BandedReport::render(ReportCanvas& canvas, const QDateTime& printed)
{
    if (beforePrint)
        beforePrint();
    const QRectF area = contentRect();
    int page = 0;
    int rowsOnPage = 0;
    double y = 0;
    double footerTop = 0;

    const auto startPage = [&] {
        ++page;
        if (!canvas.beginPage(page))
            return false;
        if (m_footer.beforePrint)
            m_footer.beforePrint();
        footerTop = area.bottom() - m_footer.printedHeight();
        if (m_header.beforePrint)
            m_header.beforePrint();
        m_header.draw(canvas, area.topLeft(), page, printed);
        y = area.top() + m_header.printedHeight();
        rowsOnPage = 0;
        return true;
    };
    const auto endPage = [&] {
        m_footer.draw(canvas, QPointF(area.left(), footerTop), page, printed);
    };

    if (!startPage())
        return false;
    while (nextRow && nextRow()) {
        if (m_detail.beforePrint)
            m_detail.beforePrint();
        const double height = m_detail.printedHeight();
        // A row taller than a whole page still prints, on a page of its own.
        if (rowsOnPage > 0 && y + height > footerTop + kTolerance) {
            endPage();
            if (!startPage())
                return false;
        }
        m_detail.draw(canvas, QPointF(area.left(), y), page, printed);
        y += height;
        ++rowsOnPage;
    }
    endPage();
    return true;
}

}  // namespace kolmara::ui
