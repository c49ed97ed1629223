// The printed table layout.
#include "reports/KOLM211U.h"

#include "common/KOLMCOMM.h"
#include "data/HORACLEM1.h"
#include "data/SharedSlots.h"
#include "reports/ReportParts.h"
#include "widgets/StringGrid.h"

namespace kolmara::reports {

namespace {

constexpr int kLeft = 31;  // the 670-pixel table, centred between the margins
constexpr int kBoxWidth = 731;
constexpr int kBlockLeft = 371;  // the framed block of header rows, ending with the table
constexpr int kBlockLabel = 86;
constexpr int kBlockValue = 244;
constexpr int kBlockRow = 22;

// The box's lines for the rows of GetIndexColumns: index names, their uniqueness and column
// names, in the query's order (by index, then column position).
QStringList indexLines(const QStringList& names, const QStringList& uniqueness,
                       const QStringList& columns)
{
    QStringList lines;
    if (names.isEmpty())
        return lines;
    QString name;
    QString kind;
    QString cols;
    QString previous = names[0];
    for (int r = 0; r < names.size(); ++r) {
        if (names[r] != previous) {
            lines << name + QLatin1Char(' ') + kind + QLatin1Char(' ') + cols + QLatin1Char(')');
            previous = names[r];
            cols.clear();
        }
        name = names[r];
        // UNIQUE takes the width of NONUNIQUE.
        kind = uniqueness[r].size() >= 7 ? uniqueness[r] : uniqueness[r] + QStringLiteral("   ");
        cols =
            cols.isEmpty() ? QLatin1Char('(') + columns[r] : cols + QLatin1Char(',') + columns[r];
    }
    lines << name + QLatin1Char(' ') + kind + QLatin1Char(' ') + cols + QLatin1Char(')');
    return lines;
}

}  // namespace

TKOLM211F::TKOLM211F(const ui::StringGrid& layout)
    : m_grid(layout), m_report(QStringLiteral("테이블레이아웃발행"))
{
    m_report.setMargins(10, 10, 20, 7);
    const QList<ReportColumn> columns = {
        {QStringLiteral("No."), 30, Qt::AlignHCenter},
        {QStringLiteral("컬럼명"), 94, Qt::AlignLeft},
        {QStringLiteral("컬럼명칭"), 200, Qt::AlignLeft},
        {QStringLiteral("컬럼타입"), 90, Qt::AlignHCenter},
        {QStringLiteral("길이"), 29, Qt::AlignRight},
        {QStringLiteral("NULL"), 29, Qt::AlignHCenter},
        {QStringLiteral("P-KEY"), 43, Qt::AlignHCenter},
        {QStringLiteral("초기값"), 50, Qt::AlignHCenter},
        {QStringLiteral("비     고"), 105, Qt::AlignLeft},
    };

    ui::ReportBand& header = m_report.pageHeader();
    header.setHeight(px(150));
    header.addLabel(QRectF(px(kLeft), px(30), px(320), px(50)), QStringLiteral("테이블레이아웃"),
                    gulimChe(29, true));
    const int blockWidth = kBlockLabel + kBlockValue;
    header.addFrame(QRectF(px(kBlockLeft), 0, px(blockWidth), px(5 * kBlockRow)), kOuterPen);
    header.addLine(QPointF(px(kBlockLeft + kBlockLabel), 0),
                   QPointF(px(kBlockLeft + kBlockLabel), px(5 * kBlockRow)), kInnerPen);
    const QStringList captions = {QStringLiteral("계      정"), QStringLiteral("작업일자"),
                                  QStringLiteral("테이블  명"), QStringLiteral("테이블명칭"),
                                  QStringLiteral("설      명")};
    QList<ui::ReportLabel*> values;
    for (int i = 0; i < captions.size(); ++i) {
        const int top = i * kBlockRow;
        if (i > 0)
            header.addLine(QPointF(px(kBlockLeft), px(top)),
                           QPointF(px(kBlockLeft + blockWidth), px(top)), kInnerPen);
        header.addLabel(QRectF(px(kBlockLeft), px(top), px(kBlockLabel), px(kBlockRow)),
                        captions[i], batangChe(13), Qt::AlignCenter);
        const QRectF value(px(kBlockLeft + kBlockLabel + 4), px(top), px(kBlockValue - 8),
                           px(kBlockRow));
        if (i == 1)
            header.addPrintDate(value, batangChe(12));
        else
            values.append(header.addLabel(value, QString(), batangChe(13)));
    }
    qrl_username = values[0];
    qrl_tableid = values[1];
    qrl_tablename = values[2];
    rql_tablespace = values[3];
    addColumnHeadings(header, kLeft, 120, 30, columns, batangChe(13));

    ui::ReportBand& detail = m_report.detail();
    detail.setHeight(px(24));
    const QList<ui::ReportLabel*> fields = addDetailRow(detail, kLeft, columns, batangChe(13));
    qrl_no = fields[0];
    qrl_colid = fields[1];
    qrl_colname = fields[2];
    qrl_coltype = fields[3];
    qrl_length = fields[4];
    qrl_null = fields[5];
    qrl_pkey = fields[6];
    qrl_default = fields[7];
    qrl_bigo = fields[8];

    ui::ReportBand& footer = m_report.pageFooter();
    footer.setHeight(px(112));
    qrm_indexkey =
        footer.addMemo(QRectF(0, px(6), px(kBoxWidth), px(68)), batangChe(13), true, kInnerPen);
    addPageRule(footer, 0, 82, kBoxWidth);

    m_report.beforePrint = [this] { BeforePrint(); };
    m_report.nextRow = [this] { return NextRow(); };
    footer.beforePrint = [this] { IndexBoxBeforePrint(); };
}

void TKOLM211F::BeforePrint()
{
    CurrentRow = 1;
}

bool TKOLM211F::NextRow()
{
    if (CurrentRow > LastRow)
        return false;
    const QList<ui::ReportLabel*> fields = {qrl_no,      qrl_colid,   qrl_colname,
                                            qrl_coltype, qrl_length,  qrl_null,
                                            qrl_pkey,    qrl_default, qrl_bigo};
    for (int c = 0; c < fields.size(); ++c)
        fields[c]->text = m_grid.cell(c, CurrentRow);
    ++CurrentRow;
    return true;
}

void TKOLM211F::IndexBoxBeforePrint()
{
    qrm_indexkey->lines.clear();
    Oraclem1 = std::make_unique<data::HORACLEM1>();
    SubRowCount = Oraclem1->GetIndexColumns(ReportOwner, ReportTable);
    if (SubRowCount > 0) {
        QStringList names;
        QStringList uniqueness;
        QStringList columns;
        for (int r = 0; r < SubRowCount; ++r) {
            names << Oraclem1->slotText(0, r);
            uniqueness << Oraclem1->slotText(2, r);
            columns << Oraclem1->slotText(3, r);
        }
        qrm_indexkey->lines = indexLines(names, uniqueness, columns);
    }
    Oraclem1.reset();
}

}  // namespace kolmara::reports
