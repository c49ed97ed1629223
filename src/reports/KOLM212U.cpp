// The printed table list.
#include "reports/KOLM212U.h"

#include "common/KOLMCOMM.h"
#include "data/HORACLEM2.h"
#include "data/SharedSlots.h"
#include "reports/ReportParts.h"
#include "widgets/StringGrid.h"

namespace kolmara::reports {

namespace {

constexpr int kLeft = 15;  // the 702-pixel table, centred between the margins
constexpr int kTableWidth = 702;

}  // namespace

TKOLM212F::TKOLM212F(const ui::StringGrid& tableList)
    : m_grid(tableList), m_report(QStringLiteral("테이블목록표발행"))
{
    m_report.setMargins(10, 10, 20, 7);
    const QList<ReportColumn> columns = {
        {QStringLiteral("No."), 29, Qt::AlignHCenter},
        {QStringLiteral("테이블명"), 119, Qt::AlignLeft},
        {QStringLiteral("테이블명칭"), 257, Qt::AlignLeft},
        {QStringLiteral("테이블스페이스"), 203, Qt::AlignLeft},
        {QStringLiteral("비    고"), 94, Qt::AlignHCenter},
    };

    ui::ReportBand& header = m_report.pageHeader();
    header.setHeight(px(114));
    const QRectF titleBox(px(kLeft), px(4), px(240), px(60));
    header.addFrame(titleBox, kOuterPen);
    header.addLabel(titleBox, QStringLiteral("테이블목록표"), gulimChe(29, true), Qt::AlignCenter);
    header.addLabel(QRectF(px(472), px(20), px(80), px(22)), QStringLiteral("계       정"),
                    batangChe(13));
    qrl_username =
        header.addLabel(QRectF(px(556), px(20), px(161), px(22)), QString(), batangChe(13));
    header.addLine(QPointF(px(556), px(42.5)), QPointF(px(717), px(42.5)), kInnerPen);
    header.addLabel(QRectF(px(472), px(44), px(80), px(22)), QStringLiteral("작성일자"),
                    batangChe(13));
    header.addPrintDate(QRectF(px(556), px(44), px(161), px(22)), batangChe(13));
    header.addLine(QPointF(px(556), px(66.5)), QPointF(px(717), px(66.5)), kInnerPen);
    addColumnHeadings(header, kLeft, 84, 30, columns, batangChe(13));

    ui::ReportBand& detail = m_report.detail();
    detail.setHeight(px(24));
    const QList<ui::ReportLabel*> fields = addDetailRow(detail, kLeft, columns, arial(13));
    qrl_no = fields[0];
    qrl_tableid = fields[1];
    qrl_tablename = fields[2];
    qrl_tablespace = fields[3];
    qrl_bigo = fields[4];

    ui::ReportBand& footer = m_report.pageFooter();
    footer.setHeight(px(44));
    addPageRule(footer, kLeft, 8, kTableWidth);

    m_report.beforePrint = [this] { BeforePrint(); };
    m_report.nextRow = [this] { return NextRow(); };
}

void TKOLM212F::BeforePrint()
{
    CurrentRow = 1;
}

bool TKOLM212F::NextRow()
{
    if (CurrentRow > LastRow)
        return false;
    for (ui::ReportLabel* field : {qrl_no, qrl_tableid, qrl_tablename, qrl_tablespace, qrl_bigo})
        field->text.clear();
    qrl_no->text = m_grid.cell(0, CurrentRow);
    qrl_tableid->text = m_grid.cell(1, CurrentRow);
    qrl_tablename->text = m_grid.cell(2, CurrentRow);
    qrl_bigo->text = m_grid.cell(4, CurrentRow);

    Oraclem2 = std::make_unique<data::HORACLEM2>();
    SubRowCount = Oraclem2->GetTableStorage(ReportOwner, qrl_tableid->text);
    if (SubRowCount > 0)
        qrl_tablespace->text = Oraclem2->slotText(0);
    Oraclem2.reset();

    ++CurrentRow;
    return true;
}

}  // namespace kolmara::reports
