#pragma once
// The digital display's cells: the large time row, the small row (alarm line
// or small time) and the date row, the glyph strips they are drawn from and
// the analog faces of the display styles. It draws what it is given; which
// rows show and where the panels lie is the window's. It also tells screen
// readers what it shows: the time, the date and the alarm, in every style.
#include "toolkit/accessible.h"
#include "toolkit/bitmap.h"
#include "toolkit/image_list.h"
#include "toolkit/local_time_rules.h"
#include "toolkit/panel.h"
#include "toolkit/scale_rules.h"

#include <array>
#include <memory>
#include <string>

struct ProgramObjects;

class TClockDisplay {
  public:
    // Glyphs are copied through the program's glyph bitmap.
    explicit TClockDisplay(const ProgramObjects& objects);
    TClockDisplay(const TClockDisplay&) = delete;
    TClockDisplay& operator=(const TClockDisplay&) = delete;

    // Made when the window is, into its panels, in this order.
    void CreateLargeCells(TPanel& panel);
    void CreateDateCells(TPanel& panel);
    void CreateSmallCells(TPanel& panel);
    void LoadStrips();

    // The display style whose glyphs are drawn (0 to 5): digit 0 of the
    // style is glyph 10 × styleIndex.
    void SetStyle(int styleIndex) { styleIndex_ = styleIndex; }
    // The colons, the date's dots and the "AL" of the display style in use.
    void DrawStyleGlyphs();
    // The time in the small row (mini and taskbar) or in the large one.
    void DrawTimeCells(const LocalTime& now, bool smallRow);
    void DrawDateCells(const LocalTime& now);
    // An empty hour clears the alarm line.
    void DrawAlarmLine(const std::string& hour, const std::string& minute);
    // The analog face of a display style (101 to 105), loaded when first asked for.
    UniqueBitmap& FacePicture(int image);

    void ShowSeconds(bool visible);
    void SetSmallCellTop(int top);
    void SetLargeDigitsVisible(bool visible);

    // What a screen reader gets for the window (WM_GETOBJECT): a clock named
    // by the shown time, the date in words as its value, the alarm as its
    // description. Readers still holding it when the window is destroyed are
    // cut off.
    LRESULT AnswerReader(HWND window, WPARAM wParam, LPARAM lParam);
    void ReaderWindowDestroyed();
    // Tells readers listening for changes that the shown minute, date or
    // alarm changed since the last call.
    void AnnounceChanges(HWND window);

    // The cells are made at their 96-DPI places; on a denser screen the
    // strips, faces and cells are drawn larger by a whole factor. A change
    // empties the cells and faces: the next drawing fills them at the new size.
    void SetDisplayScale(Scale scale);

  private:
    // What the tests see: the glyph, the place and the picture of each cell.
    friend class TMainWindowProbe;

    // Large row: hour, minute, second digits and the two colons.
    std::unique_ptr<TImage> Image1, Image2, Image3, Image4, Image5, Image6, Image7, Image8;
    // Small row: alarm line or small time.
    std::unique_ptr<TImage> Image9, Image10, Image11, Image12, Image13, Image14, Image15, Image16;
    // Date row.
    std::unique_ptr<TImage> Image21, Image22, Image23, Image24, Image25, Image26, Image27, Image28,
        Image29, Image30;
    // The analog face for each display style, kept out of sight.
    UniqueBitmap Image101, Image102, Image103, Image104, Image105;
    TImageList ImageList1{16, 27};
    TImageList ImageList2{5, 9};

    // Copies glyph index of a strip into a cell through GlyphBitmap; an index
    // of kEmptyCell clears the cell.
    void DrawGlyph(const TImageList& strip, int index, TImage& cell);
    std::array<TImage*, 26> AllCells() const;
    void SetSpoken(std::string AccessibleElement::*text, std::string spoken);
    const ProgramObjects& objects_;
    int styleIndex_ = 0;
    Scale scale_;
    TAccessible reader_;
    // What readers were last told of.
    AccessibleElement announced_;
};
