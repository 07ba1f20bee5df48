#include "rules/dpi_scale.h"

int ScaleFactorForDpi(int dpi) {
    const int factor = (dpi + kBaseDpi / 2) / kBaseDpi;
    return factor < 1 ? 1 : factor;
}
