// The scripted UI services used by every test that drives a window.
#include "ScriptedUiServices.h"

#include "widgets/ReportPrinter.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>

namespace kolmara::test {

ScriptedUiServices::ScriptedUiServices()
    : m_install(*this), m_now(QDate(2003, 5, 14), QTime(13, 5, 22))
{
    m_printFolder = QDir::tempPath();
    ui::setPrintRecorderForTesting([this](const QString& title, const QStringList& items) {
        m_printedReports.append(QStringList{title} + items);
    });
}

ScriptedUiServices::~ScriptedUiServices()
{
    ui::setPrintRecorderForTesting({});
    if (!m_messageAnswers.isEmpty())
        fail(QStringLiteral("%1 scripted message answer(s) left unused")
                 .arg(m_messageAnswers.size()));
    if (!m_dialogHandlers.isEmpty())
        fail(QStringLiteral("%1 scripted dialog handler(s) left unused")
                 .arg(m_dialogHandlers.size()));
    if (!m_saveAnswers.isEmpty())
        fail(QStringLiteral("%1 scripted save-dialog answer(s) left unused")
                 .arg(m_saveAnswers.size()));
}

void ScriptedUiServices::fail(const QString& why)
{
    const QByteArray text = why.toUtf8();
    QTest::qFail(text.constData(), __FILE__, __LINE__);
}

QStringList ScriptedUiServices::messageTexts() const
{
    QStringList texts;
    for (const auto& m : m_messages)
        texts << m.text;
    return texts;
}

void ScriptedUiServices::clearRecords()
{
    m_messages.clear();
    m_dialogsRun.clear();
    m_clockSettings.clear();
    m_saveStartPaths.clear();
    m_saveFileTypes.clear();
    m_saveProposedTypes.clear();
    m_printedFiles.clear();
    m_printedReports.clear();
    m_printerSetups = 0;
}

QMessageBox::StandardButton ScriptedUiServices::messageBox(QWidget*, const QString& caption,
                                                           const QString& text,
                                                           QMessageBox::Icon icon,
                                                           QMessageBox::StandardButtons buttons)
{
    m_messages.append({caption, text, icon, buttons});
    if (buttons == QMessageBox::Ok || buttons == QMessageBox::NoButton)
        return QMessageBox::Ok;
    if (m_messageAnswers.isEmpty()) {
        fail(QStringLiteral("unexpected message box with a choice: ") + text);
        return QMessageBox::Cancel;
    }
    const auto answer = m_messageAnswers.dequeue();
    if (!(buttons & answer))
        fail(QStringLiteral("scripted answer is not one of the box's buttons: ") + text);
    return answer;
}

int ScriptedUiServices::execDialog(QDialog* dialog)
{
    const QString name = dialog->objectName().isEmpty()
                             ? QString::fromLatin1(dialog->metaObject()->className())
                             : dialog->objectName();
    m_dialogsRun << name;
    if (m_dialogHandlers.isEmpty()) {
        fail(QStringLiteral("unexpected dialog ") + name);
        return QDialog::Rejected;
    }
    const auto handler = m_dialogHandlers.dequeue();
    dialog->show();
    const int result = handler(dialog);
    dialog->hide();
    return result;
}

QString ScriptedUiServices::saveFileName(QWidget*, const QString&, const QString& startPath,
                                         const QString&)
{
    m_saveStartPaths << startPath;
    if (m_saveAnswers.isEmpty()) {
        fail(QStringLiteral("unexpected save dialog starting at ") + startPath);
        return {};
    }
    if (!m_saveTypeAnswers.dequeue().isEmpty())
        fail(QStringLiteral("a file type answered for a save dialog without types at ") +
             startPath);
    return m_saveAnswers.dequeue();
}

QString ScriptedUiServices::saveFileNameWithType(QWidget*, const QString&, const QString& startPath,
                                                 const QStringList& fileTypes, QString* fileType)
{
    m_saveStartPaths << startPath;
    m_saveFileTypes << fileTypes;
    m_saveProposedTypes << (fileType ? *fileType : QString());
    if (m_saveAnswers.isEmpty()) {
        fail(QStringLiteral("unexpected save dialog starting at ") + startPath);
        return {};
    }
    const QString type = m_saveTypeAnswers.dequeue();
    if (!type.isEmpty()) {
        if (!fileTypes.contains(type))
            fail(QStringLiteral("the answered file type is not offered: ") + type);
        else if (fileType)
            *fileType = type;
    }
    return m_saveAnswers.dequeue();
}

void ScriptedUiServices::printerSetup(QWidget*)
{
    ++m_printerSetups;
}

QPrinter& ScriptedUiServices::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setOutputFormat(QPrinter::PdfFormat);
    }
    if (m_noPrinter) {
        m_printer->setOutputFileName(QString());
        return *m_printer;
    }
    const QString file =
        QDir(m_printFolder).filePath(QStringLiteral("print-%1.pdf").arg(m_printedFiles.size()));
    m_printer->setOutputFileName(file);
    m_printedFiles << file;
    return *m_printer;
}

int ScriptedUiServices::pdfPageCount(const QString& file)
{
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly))
        return -1;
    // Qt writes one page object per page.
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page\\b(?!s)"));
    return int(QString::fromLatin1(pdf.readAll()).count(page));
}

void ScriptedUiServices::setSystemClock(const QDateTime& localTime)
{
    m_clockSettings << localTime;
}

QDateTime ScriptedUiServices::now() const
{
    return m_now;
}

}  // namespace kolmara::test
