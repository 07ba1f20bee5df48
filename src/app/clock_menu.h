#pragma once
// The clock's context menu as it stands: its items in menu order, their help
// topics and the marks they carry when the window is made. The check marks
// hold the window's state; the window binds the items' commands.
#include "toolkit/menu.h"

class TClockMenu {
  public:
    TClockMenu();
    TClockMenu(const TClockMenu&) = delete;
    TClockMenu& operator=(const TClockMenu&) = delete;

    TPopupMenu PopupMenu1;
    TMenuItem Wecker1{"&Wecker...", 1};
    TMenuItem Uhrstellen1{"&Uhr stellen...", 1};
    TMenuItem N4{"-", 1};
    TMenuItem ImmerimVordergrund1{"&Immer im Vordergrund", 1};
    TMenuItem Analoguhr1{"&Analoguhr", 1};
    TMenuItem N5{"-", 2};
    TMenuItem Standard1{"Stan&dard", 3, true};
    TMenuItem Mini1{"&Mini", 3, true};
    TMenuItem Taskleiste1{"In die &Taskleiste", 3, true};
    TMenuItem N1{"-", 3};
    TMenuItem LCD0{"&LCD -Display", 4, true};
    TMenuItem LCD1{"LCD -Display &bel.", 4, true};
    TMenuItem LEDGrn1{"LED -Display &Grün", 4, true};
    TMenuItem LEDRot1{"LED -Display &Rot", 4, true};
    TMenuItem LEDPunktmatrix1{"LED -Pu&nktmatrix", 4, true};
    TMenuItem Klappziffer1{"&Klappziffer -Display", 4, true};
    TMenuItem N3{"-", 4};
    TMenuItem Hilfethehmen1{"&Hilfethehmen", 4};
    TMenuItem Info1{"Inf&o...", 4};
    TMenuItem OnlineUpdate1{"Online-U&pdate", 4};
    TMenuItem BeiOnlineverbindungautomatischsuchen1{"Auto -Updat&e", 4};
    TMenuItem N2{"-", 4};
    TMenuItem Schlieen1{"Uhr &schließen", 4};
};
