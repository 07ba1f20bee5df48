#pragma once
// What the build was given for the online update (cmake/release_settings.cmake):
// a release build its update address and the public key its updates are
// signed with, a development build neither. Window-free.
#include "update/update_rules.h"

#include <optional>
#include <string_view>

// A development build's built-in address: a reserved name that never resolves.
constexpr std::string_view kDevelopmentUpdateBaseUrl = "http://update.tikkora.example/tikkora";

// False for the development build's address: nobody runs a server there, so
// the check neither looks the name up nor connects, and says so when asked.
bool UpdateServerSetUp(std::string_view baseUrl);

// The key the release's updates are signed with; none in a development build.
std::optional<EcdsaPublicKey> ReleaseUpdateKey();
