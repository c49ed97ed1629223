// Font names and their substitutes.
#include "widgets/Fonts.h"

#include <QStringList>

namespace kolmara::ui {

void installFontSubstitutions()
{
    QFont::insertSubstitutions(QStringLiteral("굴림체"),
                               {QStringLiteral("GulimChe"), QStringLiteral("NanumGothicCoding"),
                                QStringLiteral("D2Coding"), QStringLiteral("Noto Sans Mono CJK KR"),
                                QStringLiteral("Monospace")});
    QFont::insertSubstitutions(QStringLiteral("굴림"),
                               {QStringLiteral("Gulim"), QStringLiteral("NanumGothic"),
                                QStringLiteral("Noto Sans CJK KR"), QStringLiteral("Sans Serif")});
    // The printed reports' faces.
    QFont::insertSubstitutions(QStringLiteral("바탕체"),
                               {QStringLiteral("BatangChe"), QStringLiteral("NanumMyeongjo"),
                                QStringLiteral("Noto Serif CJK KR"), QStringLiteral("Serif")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
}

QFont gulimChe(int pixelSize)
{
    QFont font(QStringLiteral("굴림체"));
    font.setPixelSize(pixelSize);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QFont gulim(int pixelSize)
{
    QFont font(QStringLiteral("굴림"));
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace kolmara::ui
