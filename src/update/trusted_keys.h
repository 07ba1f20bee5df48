#pragma once
// The keys whose signature an update needs. The shipped program trusts the
// release key only (a development build none); the test programs link a list
// of their own in its place, so nothing the shipped program reads or
// downloads can add a key.
#include "update/release_settings_rules.h"

#include <vector>

std::vector<EcdsaPublicKey> TrustedUpdateKeys();
