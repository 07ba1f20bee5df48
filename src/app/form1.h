#pragma once
// The main clock window.
#include "app/settings_file.h"
#include "toolkit/form.h"
#include "toolkit/menu.h"

#include <memory>

class TForm1 : public TForm {
  public:
    explicit TForm1(TApplication& application);
    ~TForm1() override;

    // Pulls the window back onto the desktop when it lies wholly off it.
    void checkpos();

    // Menu items whose state the window reads and sets.
    TMenuItem ImmerimVordergrund1{"Immer im &Vordergrund"};
    TMenuItem Taskleiste1{"&Taskleiste", 1, true};

  protected:
    void CreateParams(CreateParamsInfo& params) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormCreate() override;
    void FormShow() override;
    void FormClose() override;
    void FormKeyDown(WORD& key) override;

  private:
    void SetStayOnTop(bool onTop);

    std::unique_ptr<TSettingsFile> settingsFile_;
};
