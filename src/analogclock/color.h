#pragma once
// The colour type now lives in the toolkit; this name stays only for the
// drop-down button's rules until they include the toolkit's header.
#include "toolkit/color_rules.h"
