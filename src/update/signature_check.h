#pragma once
// The platform's cryptography (CNG) for the update: SHA-256 of a message or a
// file, and the check of an ECDSA P-256 signature against the trusted keys.
#include "update/update_rules.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

std::optional<Sha256Digest> Sha256OfBytes(std::string_view bytes);
// Nothing when the file cannot be read.
std::optional<Sha256Digest> Sha256OfFile(const std::string& path);
// The same of a file opened for reading, from its start; the handle stays open.
std::optional<Sha256Digest> Sha256OfOpenFile(HANDLE file);
// True when signature is key's over SHA-256 of message; false for every failure.
bool VerifyEcdsaP256(std::string_view message, const EcdsaSignature& signature,
                     const EcdsaPublicKey& key);
// True when one of the trusted keys signed the message.
bool SignedByTrustedKey(std::string_view message, const EcdsaSignature& signature);
