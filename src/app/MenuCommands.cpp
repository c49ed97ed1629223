// The table of the main window's menus, items and command-bar buttons.
#include "app/MenuCommands.h"

#include "app/KOLM000U.h"
#include "dialogs/KOLM130U.h"
#include "screens/backup/KOLM500U.h"
#include "screens/dbinfo/KOLM120U.h"
#include "screens/objects/KOLM220U.h"
#include "screens/serverbackup/KOLM521U.h"
#include "screens/sessions/KOLM300U.h"
#include "screens/tables/KOLM210U.h"
#include "screens/tablespaces/KOLM310U.h"
#include "screens/users/KOLM320U.h"
#include "screens/worksheet/KOLM410U.h"
#include "screens/worksheet/KOLM420U.h"
#include "widgets/UiServices.h"

#include <QMdiSubWindow>

namespace kolmara::app {

namespace {

// Opens as child: an open window of that class comes to the front, else a new one is made.
template <typename Screen>
void openScreen(TKOLM000F& main)
{
    main.openChild<Screen>([&main] {
        auto* screen = new Screen;
        screen->openIn(main.mdiArea());
        return screen;
    });
}

// Modal, refused with open screens.
template <typename Dialog>
void runEnvironmentDialog(TKOLM000F& main)
{
    if (main.refuseWithOpenScreens())
        return;
    Dialog dialog(&main);
    ui::services().execDialog(&dialog);
}

// Minimised child windows line up along the bottom of the frame.
void arrangeIcons(TKOLM000F& main)
{
    QMdiArea* area = main.mdiArea();
    const QRect room = area->viewport()->rect();
    int x = 0;
    for (QMdiSubWindow* sub : area->subWindowList()) {
        if (!sub->isMinimized())
            continue;
        sub->move(x, room.bottom() - sub->height() + 1);
        x += sub->width();
    }
}

using E = MenuEntry;

}  // namespace

const std::vector<MenuEntry>& menuEntries()
{
    // kind, name, caption, enabled, separator before, button {hint, glyph, colour}, command,
    // the button's own command.
    static const std::vector<MenuEntry> table = {
        {E::Menu, "N1", "환경설정     "},
        {E::Item, "N11", "사용자 환경설정", E::Connected, false,
         {"사용자 환경설정", "환", 0x00806030}, [](TKOLM000F& m) { m.N11Click(); }},
        {E::Item, "N12", "프린트 설정", E::Connected, false, {"프린트 설정", "P", 0x00606060},
         [](TKOLM000F& m) { m.N12Click(); }},
        {E::Item, "N13", "접속하기", E::Always, true, {"접속하기", "접", 0x00308030},
         [](TKOLM000F& m) { m.N13Click(); }},
        {E::Item, "N14", "시스템 끝내기", E::Always, false, {"시스템 끝내기", "X", 0x002020C0},
         [](TKOLM000F& m) { m.N14Click(); }, [](TKOLM000F& m) { m.ExitButtonClick(); }},
        {E::Item, "N15", "데이타베이스 정보", E::Connected, true,
         {"데이타베이스 정보", "DB", 0x00A06000}, openScreen<screens::TKOLM120F>},
        {E::Item, "N16", "오브젝트 생성", E::Connected, false, {"오브젝트 생성", "생", 0x00008080},
         runEnvironmentDialog<dialogs::TKOLM130F>},

        {E::Menu, "N2", "스키마     ", E::Connected},
        {E::Item, "N21", "테이블 관리", E::Always, false, {"테이블 관리", "T", 0x00905010},
         openScreen<screens::TKOLM210F>},
        {E::Item, "N22", "각종 오브젝트 정보", E::Always, false,
         {"각종 오브젝트 정보", "O", 0x00705090}, openScreen<screens::TKOLM220F>},

        {E::Menu, "N3", "관리자     ", E::Connected},
        {E::Item, "N31", "세션/락/트랜잭션 정보", E::Always, false,
         {"세션/락/트랜잭션 정보", "S", 0x000060C0}, openScreen<screens::TKOLM300F>},
        {E::Item, "N32", "테이블 스페이스", E::Always, false, {"테이블 스페이스", "TS", 0x00409000},
         openScreen<screens::TKOLM310F>},
        {E::Item, "N33", "사용자 유저 관리", E::Always, false,
         {"사용자 유저 관리", "U", 0x00904070}, openScreen<screens::TKOLM320F>},

        {E::Menu, "N4", "스크립터     ", E::Connected},
        {E::Item, "N41", "쿼리 실행", E::Always, false, {"쿼리 실행", "Q", 0x00507050},
         openScreen<screens::TKOLM410F>},
        {E::Item, "N42", "프로시져 작성", E::Always, false, {"프로시져 작성", "PL", 0x00505080},
         openScreen<screens::TKOLM420F>},

        {E::Menu, "N5", "데이타관리     ", E::Connected},
        {E::Item, "N51", "백업작업(EXPORT)", E::Always, false,
         {"백업 관리(Export)", "E", 0x00206090}, openScreen<screens::TKOLM500F>},
        {E::Item, "N52", "복구작업(IMPORT)", E::Always, false,
         {"복구하기(Import)", "I", 0x00602090}},
        {E::Item, "N53", "서버 백업 작업", E::Always, false,
         {"백업 스케쥴 관리", "잡", 0x00209060}, openScreen<screens::TKOLM521F>},

        // The window menu ends with the list of open windows, which the main window keeps.
        {E::Menu, "N6", "창     "},
        {E::Item, "N61", "계단식 정렬", E::Always, false, {},
         [](TKOLM000F& m) { m.mdiArea()->cascadeSubWindows(); }},
        {E::Item, "N62", "바둑판 정렬", E::Always, false, {},
         [](TKOLM000F& m) { m.mdiArea()->tileSubWindows(); }},
        {E::Item, "N63", "아이콘 정렬", E::Always, false, {}, arrangeIcons},

        {E::Menu, "N9", "도움말      "},
        {E::Item, "N91", "Kolmara 도움말", E::Always, false, {"Kolmara 도움말", "?", 0x00A08020}},
        {E::Item, "N92", "프로그램에 대하여", E::Always, false,
         {"프로그램에 대하여", "i", 0x00A02080}, [](TKOLM000F& m) { m.N92Click(); }},
        {E::Button, "home", nullptr, E::Always, false, {"홈페이지 가기", "H", 0x00808000}},
    };
    return table;
}

}  // namespace kolmara::app
