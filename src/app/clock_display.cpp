#include "app/clock_display.h"

#include "rules/display_plan.h"
#include "rules/spoken_clock.h"
#include "settings/program_objects.h"

#include <oleacc.h>

#include <array>

void TClockDisplay::CreateLargeCells(TPanel& panel) {
    Image1 = std::make_unique<TImage>(panel, 6, 6, 16, 27);
    Image2 = std::make_unique<TImage>(panel, 22, 6, 16, 27);
    Image7 = std::make_unique<TImage>(panel, 40, 6, 3, 27);
    Image3 = std::make_unique<TImage>(panel, 45, 6, 16, 27);
    Image4 = std::make_unique<TImage>(panel, 61, 6, 16, 27);
    Image8 = std::make_unique<TImage>(panel, 79, 6, 3, 27);
    Image5 = std::make_unique<TImage>(panel, 84, 6, 16, 27);
    Image6 = std::make_unique<TImage>(panel, 100, 6, 16, 27);
}

void TClockDisplay::CreateDateCells(TPanel& panel) {
    Image21 = std::make_unique<TImage>(panel, 2, 3, 5, 9);
    Image22 = std::make_unique<TImage>(panel, 8, 3, 5, 9);
    Image29 = std::make_unique<TImage>(panel, 15, 3, 1, 9);
    Image23 = std::make_unique<TImage>(panel, 18, 3, 5, 9);
    Image24 = std::make_unique<TImage>(panel, 24, 3, 5, 9);
    Image30 = std::make_unique<TImage>(panel, 30, 3, 1, 9);
    Image25 = std::make_unique<TImage>(panel, 34, 3, 5, 9);
    Image26 = std::make_unique<TImage>(panel, 40, 3, 5, 9);
    Image27 = std::make_unique<TImage>(panel, 46, 3, 5, 9);
    Image28 = std::make_unique<TImage>(panel, 52, 3, 5, 9);
}

void TClockDisplay::CreateSmallCells(TPanel& panel) {
    Image11 = std::make_unique<TImage>(panel, 6, 4, 5, 9);
    Image12 = std::make_unique<TImage>(panel, 12, 4, 5, 9);
    Image9 = std::make_unique<TImage>(panel, 19, 4, 1, 9);
    Image13 = std::make_unique<TImage>(panel, 22, 4, 5, 9);
    Image14 = std::make_unique<TImage>(panel, 28, 4, 5, 9);
    Image10 = std::make_unique<TImage>(panel, 35, 4, 1, 9);
    Image15 = std::make_unique<TImage>(panel, 38, 4, 5, 9);
    Image16 = std::make_unique<TImage>(panel, 44, 4, 5, 9);
}

TClockDisplay::TClockDisplay(const ProgramObjects& objects) : objects_(objects) {
    AccessibleElement clock;
    clock.role = ROLE_SYSTEM_CLOCK;
    clock.state = STATE_SYSTEM_FOCUSABLE;
    reader_.SetSelf(clock);
    announced_ = clock;
}

LRESULT TClockDisplay::AnswerReader(HWND window, WPARAM wParam, LPARAM lParam) {
    return reader_.Answer(window, wParam, lParam);
}

void TClockDisplay::ReaderWindowDestroyed() {
    reader_.Disconnect();
}

void TClockDisplay::SetSpoken(std::string AccessibleElement::*text, std::string spoken) {
    if (reader_.Self().*text != spoken) {
        AccessibleElement clock = reader_.Self();
        clock.*text = std::move(spoken);
        reader_.SetSelf(clock);
    }
}

void TClockDisplay::AnnounceChanges(HWND window) {
    const AccessibleElement& now = reader_.Self();
    for (auto [text, event] : {std::pair{&AccessibleElement::name, EVENT_OBJECT_NAMECHANGE},
                               {&AccessibleElement::value, EVENT_OBJECT_VALUECHANGE},
                               {&AccessibleElement::description, EVENT_OBJECT_DESCRIPTIONCHANGE}}) {
        if (now.*text != announced_.*text) {
            NotifyWinEvent(event, window, OBJID_CLIENT, CHILDID_SELF);
        }
    }
    announced_ = now;
}

void TClockDisplay::LoadStrips() {
    // With the cells just made at their 96-DPI places.
    scale_ = Scale();
    ImageList1.LoadStrip(L"IMAGELIST1");
    ImageList2.LoadStrip(L"IMAGELIST2");
}

std::array<TImage*, 26> TClockDisplay::AllCells() const {
    return {Image1.get(),  Image2.get(),  Image3.get(),  Image4.get(),  Image5.get(),
            Image6.get(),  Image7.get(),  Image8.get(),  Image9.get(),  Image10.get(),
            Image11.get(), Image12.get(), Image13.get(), Image14.get(), Image15.get(),
            Image16.get(), Image21.get(), Image22.get(), Image23.get(), Image24.get(),
            Image25.get(), Image26.get(), Image27.get(), Image28.get(), Image29.get(),
            Image30.get()};
}

void TClockDisplay::SetDisplayScale(Scale scale) {
    if (scale == scale_) {
        return;
    }
    for (TImage* cell : AllCells()) {
        const RECT b = cell->Bounds();
        const RECT design{scale_.Unscaled(b.left), scale_.Unscaled(b.top), scale_.Unscaled(b.right),
                          scale_.Unscaled(b.bottom)};
        const RECT r = scale(design);
        cell->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        cell->Clear();
    }
    for (UniqueBitmap* face : {&Image101, &Image102, &Image103, &Image104, &Image105}) {
        face->reset();
    }
    scale_ = scale;
    ImageList1.LoadStrip(L"IMAGELIST1", scale.Factor());
    ImageList2.LoadStrip(L"IMAGELIST2", scale.Factor());
}

UniqueBitmap& TClockDisplay::FacePicture(int image) {
    UniqueBitmap* faces[] = {&Image101, &Image102, &Image103, &Image104, &Image105};
    UniqueBitmap& face = *faces[image - 101];
    // Loaded when a display style first asks for it: a start shows one face of five.
    if (!face) {
        const std::wstring name = L"FACE" + std::to_wstring(image);
        face.reset(LoadBitmapW(GetModuleHandleW(nullptr), name.c_str()));
        if (face && scale_ != Scale()) {
            face = ScaleBitmapPixels(face.get(), scale_.Factor());
        }
    }
    return face;
}

void TClockDisplay::DrawGlyph(const TImageList& strip, int index, TImage& cell) {
    // A cell that shows this glyph already is left alone: a second changes one
    // or two of the six, a minute's date none but a cell or two.
    const TImage::Source source{&strip, index};
    if (index != kEmptyCell && objects_.glyphs && cell.Shows(source)) {
        return;
    }
    if (index == kEmptyCell || !objects_.glyphs || !strip.GetBitmap(index, *objects_.glyphs)) {
        cell.Clear();
        return;
    }
    cell.Assign(*objects_.glyphs, source);
}

void TClockDisplay::DrawStyleGlyphs() {
    DrawGlyph(ImageList1, kColonGlyph + styleIndex_, *Image7);
    DrawGlyph(ImageList1, kColonGlyph + styleIndex_, *Image8);
    DrawGlyph(ImageList2, kColonGlyph + styleIndex_, *Image9);
    DrawGlyph(ImageList2, kColonGlyph + styleIndex_, *Image10);
    DrawGlyph(ImageList2, kDateDotGlyph + styleIndex_, *Image29);
    DrawGlyph(ImageList2, kDateDotGlyph + styleIndex_, *Image30);
    DrawGlyph(ImageList2, kLetterAGlyph + styleIndex_, *Image11);
    DrawGlyph(ImageList2, kLetterLGlyph + styleIndex_, *Image12);
}

void TClockDisplay::DrawTimeCells(const LocalTime& now, bool smallRow) {
    SetSpoken(&AccessibleElement::name, SpokenTime(now));
    const std::array<int, 6> glyphs = TimeCellGlyphs(FormatTimeText(now), 10 * styleIndex_);
    if (smallRow) {
        TImage* cells[] = {Image11.get(), Image12.get(), Image13.get(),
                           Image14.get(), Image15.get(), Image16.get()};
        // Both colons with the time: the alarm line, which shares the row,
        // clears the second one whenever the alarm is off.
        DrawGlyph(ImageList2, kColonGlyph + styleIndex_, *Image9);
        DrawGlyph(ImageList2, kColonGlyph + styleIndex_, *Image10);
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

void TClockDisplay::DrawDateCells(const LocalTime& now) {
    // A clock set by whole minutes changes the minute without the second.
    SetSpoken(&AccessibleElement::name, SpokenTime(now));
    SetSpoken(&AccessibleElement::value, SpokenDate(now));
    const std::array<int, 8> glyphs = DateCellGlyphs(FormatDateText(now), 10 * styleIndex_);
    TImage* cells[] = {Image21.get(), Image22.get(), Image23.get(), Image24.get(),
                       Image25.get(), Image26.get(), Image27.get(), Image28.get()};
    for (std::size_t slot = 0; slot < 8; ++slot) {
        DrawGlyph(ImageList2, glyphs[slot], *cells[slot]);
    }
}

void TClockDisplay::DrawAlarmLine(const std::string& hour, const std::string& minute) {
    SetSpoken(&AccessibleElement::description, SpokenAlarm(hour, minute));
    const AlarmLineCells cells = AlarmLine(hour, minute, 10 * styleIndex_, styleIndex_);
    DrawGlyph(ImageList2, cells.image9, *Image9);
    DrawGlyph(ImageList2, cells.image10, *Image10);
    DrawGlyph(ImageList2, cells.image11, *Image11);
    DrawGlyph(ImageList2, cells.image12, *Image12);
    DrawGlyph(ImageList2, cells.image13, *Image13);
    DrawGlyph(ImageList2, cells.image14, *Image14);
    DrawGlyph(ImageList2, cells.image15, *Image15);
    DrawGlyph(ImageList2, cells.image16, *Image16);
}

void TClockDisplay::ShowSeconds(bool visible) {
    for (TImage* cell : {Image10.get(), Image15.get(), Image16.get()}) {
        cell->SetVisible(visible);
    }
}

void TClockDisplay::SetSmallCellTop(int top) {
    for (TImage* cell : {Image9.get(), Image10.get(), Image11.get(), Image12.get(), Image13.get(),
                         Image14.get(), Image15.get(), Image16.get()}) {
        RECT b = cell->Bounds();
        cell->SetBounds(b.left, top, b.right - b.left, b.bottom - b.top);
    }
}

void TClockDisplay::SetLargeDigitsVisible(bool visible) {
    for (TImage* cell : {Image1.get(), Image2.get(), Image3.get(), Image4.get(), Image5.get(),
                         Image6.get(), Image7.get(), Image8.get()}) {
        cell->SetVisible(visible);
    }
}
