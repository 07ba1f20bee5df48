#include "update/release_settings_rules.h"

#include "tikkora_release.h"

bool UpdateServerSetUp(std::string_view baseUrl) {
    return baseUrl != kDevelopmentUpdateBaseUrl;
}

std::optional<EcdsaPublicKey> ReleaseUpdateKey() {
#if TIKKORA_RELEASE_BUILD
    return EcdsaPublicKey{TIKKORA_RELEASE_KEY_XY};
#else
    return std::nullopt;
#endif
}
