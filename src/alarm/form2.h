#pragma once
// The alarm dialog: the time of the one daily alarm, whether it is on and
// whether it switches itself off after ringing, its message (with the list of
// recently used messages) and its sound. Made once at program start and shown
// modally by the main window; everything is read from and stored in the
// settings file's [Wecker] section, the message list in [meldungen].
#include "controls/xpcontrols.h"
#include "rules/stored_alarm.h"
#include "settings/program_objects.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"

#include <functional>
#include <memory>
#include <string>

// What the dialog is given by the window that opens it.
struct AlarmDialogLinks {
    // The controls' context menu ("&Direkthilfe").
    TControlPopupMenu* contextMenu = nullptr;
    // The stored alarm changed: its hour and minute, or two empty texts when it is off.
    std::function<void(const std::string& hour, const std::string& minute)> alarmLineChanged;
    // The settings file and the folder of the sounds.
    ProgramObjects objects;
};

class TApplication;

class TForm2 : public TForm {
  public:
    TForm2(TApplication& application, AlarmDialogLinks links);
    ~TForm2() override;

    // The user changed the time: the caption shows it.
    void DateTimePicker1Change();
    // The user picked a sound: it is played once as a preview.
    void ComboBox1Click();
    // "OK": stores everything and closes.
    void Button1Click();
    // "Abbrechen": closes without storing.
    void Button2Click();
    // "Alte Meldungen löschen": empties the message list after asking.
    void Button3Click();

    std::unique_ptr<TButton> Button1;
    std::unique_ptr<TButton> Button2;
    std::unique_ptr<TXPGroupBox> GroupBox1;
    std::unique_ptr<TXPCheckBox> CheckBox2;
    std::unique_ptr<TStaticText> StaticText3;
    std::unique_ptr<TComboBox> ComboBox1;
    std::unique_ptr<TStaticText> StaticText2;
    std::unique_ptr<TComboBox> ComboBox2;
    std::unique_ptr<TButton> Button3;
    std::unique_ptr<TXPCheckBox> CheckBox1;
    std::unique_ptr<TStaticText> StaticText1;
    std::unique_ptr<TDateTimePicker> DateTimePicker1;

  protected:
    void CreateParams(CreateParamsInfo& params) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CreateComponents() override;
    void FormCreate() override;
    void FormShow() override;

  private:
    // The picker's time as the stored text: two-digit hour and minute.
    std::string PickedHour() const;
    std::string PickedMinute() const;
    // Reads the stored alarm time into the picker; throws EConvertError when
    // the stored hour and minute are no time of day.
    void ShowStoredTime(const StoredAlarm& alarm);
    void FillSoundList(const std::string& stored);
    // The help pop-up for the control a help request came from.
    void ControlHelp(HWND window);

    // Help topic, tab place and context menu of one control.
    void Describe(TWinControl& control, int help, int tabOrder);

    TApplication& application_;
    AlarmDialogLinks links_;
    bool shownBefore_ = false;
    // The control that had the focus when the dialog was last left.
    HWND focused_ = nullptr;
};

extern TForm2* Form2;
