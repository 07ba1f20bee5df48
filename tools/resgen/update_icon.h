#pragma once
#include "image.h"

// The online update's picture, 32 x 32: a blue globe with green land and
// its lines of latitude and longitude, behind a dark blue floppy disk with
// a grey shutter and a white label, on a transparent background.
Image DrawUpdateIcon();
