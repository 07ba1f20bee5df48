#pragma once
// Pictures of the 96-DPI layout on a denser screen: drawn at their own size,
// then each pixel made a factor × factor block, so they stay as sharp as at
// 96 DPI instead of being resampled.
#include <windows.h>

// Copies a picture (selected into no DC) to dc with its top left corner at
// (left, top), factor times larger.
void DrawPixelsScaled(HDC dc, int left, int top, HBITMAP picture, int factor);

// Draws the icon at size × size on the background colour, then factor times
// larger with its corner at (left, top) of dc. At a factor of 1 it is drawn
// straight onto dc, over what lies there.
void DrawIconScaled(HDC dc, int left, int top, HICON icon, int size, COLORREF background,
                    int factor);
