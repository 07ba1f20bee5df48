// The digital display of the main window: display styles, time, date, alarm
// line and the grip dots.
#include "rules/display_plan.h"
#include "app/form1.h"
#include "settings/program_objects.h"
#include "toolkit/seams.h"

#include <string>

namespace {

// The six style items in the order their clicks are matched.
constexpr int kClickOrder[] = {3, 2, 0, 1, 4, 5}; // LCD0, LCD1, LEDGrn1, LEDRot1, ...
// The order in which the marks are tested afterwards.
constexpr int kMarkOrder[] = {3, 2, 1, 0, 4, 5}; // LCD0, LCD1, LEDRot1, LEDGrn1, ...

// A tick hands on the time it read; a redraw without a tick reads the clock.
LocalTime TimeOf(const TAMClock* sender) {
    return sender ? sender->TickTime() : seams::Now();
}

} // namespace

TMenuItem* TForm1::StyleItem(int styleIndex) {
    TMenuItem* items[] = {&LEDGrn1, &LEDRot1, &LCD1, &LCD0, &LEDPunktmatrix1, &Klappziffer1};
    return items[styleIndex];
}

UniqueBitmap& TForm1::FacePicture(int image) {
    UniqueBitmap* faces[] = {&Image101, &Image102, &Image103, &Image104, &Image105};
    UniqueBitmap& face = *faces[image - 101];
    // Loaded when a display style first asks for it: a start shows one face of five.
    if (!face) {
        const std::wstring name = L"FACE" + std::to_wstring(image);
        face.reset(LoadBitmapW(GetModuleHandleW(nullptr), name.c_str()));
    }
    return face;
}

void TForm1::DrawGlyph(const TImageList& strip, int index, TImage& cell) {
    // A cell that shows this glyph already is left alone: a second changes one
    // or two of the six, a minute's date none but a cell or two.
    const TImage::Source source{&strip, index};
    if (index != kEmptyCell && GlyphBitmap && cell.Shows(source)) {
        return;
    }
    if (index == kEmptyCell || !GlyphBitmap || !strip.GetBitmap(index, *GlyphBitmap)) {
        cell.Clear();
        return;
    }
    cell.Assign(*GlyphBitmap, source);
}

void TForm1::LCD1Click(TMenuItem* sender) {
    for (int styleIndex : kClickOrder) {
        TMenuItem* item = StyleItem(styleIndex);
        if (sender == item) {
            item->SetChecked(true);
            SettingsFile->WriteString("Clock", "Display", kDisplayStyles[styleIndex].settingsValue);
        }
    }

    for (int styleIndex : kMarkOrder) {
        if (!StyleItem(styleIndex)->Checked()) {
            continue;
        }
        const DisplayStyle& style = kDisplayStyles[static_cast<std::size_t>(styleIndex)];
        GlyphBase = 10 * style.styleIndex;
        StyleIndex = style.styleIndex;
        for (TPanel* panel : {Panel1.get(), Panel3.get(), Panel4.get()}) {
            panel->SetColor(style.panelColor);
        }
        AMClock1->ParentColorChanged(style.panelColor);
        AMClock1->HoursHand().SetColor(style.handColor);
        AMClock1->MinutesHand().SetColor(style.handColor);
        AMClock1->SecondsHand().SetColor(style.handColor);
        AMClock1->SetPicture(FacePicture(style.faceImage).get());
        break;
    }

    DrawGlyph(ImageList1, kColonGlyph + StyleIndex, *Image7);
    DrawGlyph(ImageList1, kColonGlyph + StyleIndex, *Image8);
    DrawGlyph(ImageList2, kColonGlyph + StyleIndex, *Image9);
    DrawGlyph(ImageList2, kColonGlyph + StyleIndex, *Image10);
    DrawGlyph(ImageList2, kDateDotGlyph + StyleIndex, *Image29);
    DrawGlyph(ImageList2, kDateDotGlyph + StyleIndex, *Image30);
    DrawGlyph(ImageList2, kLetterAGlyph + StyleIndex, *Image11);
    DrawGlyph(ImageList2, kLetterLGlyph + StyleIndex, *Image12);

    if (SettingsFile->ReadBool("Wecker", "Aktiv", false)) {
        alarmdisplay(SettingsFile->ReadString("Wecker", "Stunde", "00"),
                     SettingsFile->ReadString("Wecker", "Minute", "00"));
    } else {
        alarmdisplay("", "");
    }

    AMClock1Second(nullptr, 0);
    AMClock1Minute(nullptr, 0);
}

void TForm1::AMClock1Second(TAMClock* sender, int /*second*/) {
    const LocalTime now = TimeOf(sender);
    DrawTime(now);
    AlarmRunner1.Check(now);
}

void TForm1::DrawTime(const LocalTime& now) {
    const std::array<int, 6> glyphs = TimeCellGlyphs(FormatTimeText(now), GlyphBase);
    if (Mini1.Checked() || Taskleiste1.Checked()) {
        TImage* cells[] = {Image11.get(), Image12.get(), Image13.get(),
                           Image14.get(), Image15.get(), Image16.get()};
        DrawGlyph(ImageList2, kColonGlyph + StyleIndex, *Image9);
        for (std::size_t slot = 0; slot < 6; ++slot) {
            DrawGlyph(ImageList2, glyphs[slot], *cells[slot]);
        }
    } else {
        TImage* cells[] = {Image1.get(), Image2.get(), Image3.get(),
                           Image4.get(), Image5.get(), Image6.get()};
        for (std::size_t slot = 0; slot < 6; ++slot) {
            DrawGlyph(ImageList1, glyphs[slot], *cells[slot]);
        }
    }
}

void TForm1::AMClock1Minute(TAMClock* sender, int /*minute*/) {
    const std::array<int, 8> glyphs = DateCellGlyphs(FormatDateText(TimeOf(sender)), GlyphBase);
    TImage* cells[] = {Image21.get(), Image22.get(), Image23.get(), Image24.get(),
                       Image25.get(), Image26.get(), Image27.get(), Image28.get()};
    for (std::size_t slot = 0; slot < 8; ++slot) {
        DrawGlyph(ImageList2, glyphs[slot], *cells[slot]);
    }
}

void TForm1::alarmdisplay(const std::string& hour, const std::string& minute) {
    const AlarmLineCells cells = AlarmLine(hour, minute, GlyphBase, StyleIndex);
    DrawGlyph(ImageList2, cells.image9, *Image9);
    DrawGlyph(ImageList2, cells.image10, *Image10);
    DrawGlyph(ImageList2, cells.image11, *Image11);
    DrawGlyph(ImageList2, cells.image12, *Image12);
    DrawGlyph(ImageList2, cells.image13, *Image13);
    DrawGlyph(ImageList2, cells.image14, *Image14);
    DrawGlyph(ImageList2, cells.image15, *Image15);
    DrawGlyph(ImageList2, cells.image16, *Image16);
}

void TForm1::FormPaint(HDC dc) {
    HBRUSH shadow = GetSysColorBrush(COLOR_BTNSHADOW);
    HBRUSH highlight = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
    for (const GripSquare& square : GripDots(Mini1.Checked(), Analoguhr1.Checked())) {
        RECT r{square.left, square.top, square.right, square.bottom};
        FillRect(dc, &r, square.highlight ? highlight : shadow);
    }
}
