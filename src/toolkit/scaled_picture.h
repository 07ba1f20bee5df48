#pragma once
// Pictures of the 96-DPI layout on a denser screen: drawn at their own size,
// then each pixel made a factor × factor block, so they stay as sharp as at
// 96 DPI instead of being resampled.
#include <windows.h>

// Copies a picture (selected into no DC) to dc with its top left corner at
// (left, top), factor times larger.
void DrawPixelsScaled(HDC dc, int left, int top, HBITMAP picture, int factor);

// Draws the icon at size × size, factor times larger with its corner at
// (left, top) of dc, over what lies there. What lies there must itself be
// drawn in blocks of the factor: the icon is drawn on one pixel of each.
void DrawIconScaled(HDC dc, int left, int top, HICON icon, int size, int factor);
