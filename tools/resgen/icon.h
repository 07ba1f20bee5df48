#pragma once
#include "image.h"

// The program's icon at one size: a round white clock face with a dark rim,
// hour marks and hands at ten past ten, on a transparent background.
Image DrawIcon(int size);
