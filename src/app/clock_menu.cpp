#include "app/clock_menu.h"

#include <utility>

TClockMenu::TClockMenu() {
    for (TMenuItem* item : {&Wecker1,
                            &Uhrstellen1,
                            &N4,
                            &ImmerimVordergrund1,
                            &Analoguhr1,
                            &N5,
                            &Standard1,
                            &Mini1,
                            &Taskleiste1,
                            &N1,
                            &LCD0,
                            &LCD1,
                            &LEDGrn1,
                            &LEDRot1,
                            &LEDPunktmatrix1,
                            &Klappziffer1,
                            &N3,
                            &Hilfethehmen1,
                            &Info1,
                            &OnlineUpdate1,
                            &BeiOnlineverbindungautomatischsuchen1,
                            &N2,
                            &Schlieen1}) {
        PopupMenu1.Items.Add(*item);
    }
    // Each item's topic in the help, shown by F1 while it is highlighted.
    for (auto [item, context] : {std::pair{&Wecker1, 1},
                                 {&Uhrstellen1, 2},
                                 {&ImmerimVordergrund1, 3},
                                 {&Analoguhr1, 8},
                                 {&Standard1, 11},
                                 {&Mini1, 9},
                                 {&Taskleiste1, 10},
                                 {&LCD0, 4},
                                 {&LCD1, 4},
                                 {&LEDGrn1, 4},
                                 {&LEDRot1, 4},
                                 {&LEDPunktmatrix1, 4},
                                 {&Klappziffer1, 4},
                                 {&Hilfethehmen1, 5},
                                 {&Info1, 6},
                                 {&N2, 222},
                                 {&Schlieen1, 222}}) {
        item->HelpContext = context;
    }
    // The design-time marks: the window is made on top, and the menu says so
    // until the stored state is applied.
    ImmerimVordergrund1.SetChecked(true);
    Analoguhr1.SetChecked(false);
    LEDGrn1.SetChecked(true);
    BeiOnlineverbindungautomatischsuchen1.SetChecked(true);
}
