#include "update/signature_check.h"

#include "toolkit/wide.h"
#include "update/trusted_keys.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <fstream>
#include <memory>

namespace {

struct AlgorithmCloser {
    void operator()(void* handle) const {
        BCryptCloseAlgorithmProvider(static_cast<BCRYPT_ALG_HANDLE>(handle), 0);
    }
};
using UniqueAlgorithm = std::unique_ptr<void, AlgorithmCloser>;
struct HashCloser {
    void operator()(void* handle) const {
        BCryptDestroyHash(static_cast<BCRYPT_HASH_HANDLE>(handle));
    }
};
using UniqueHash = std::unique_ptr<void, HashCloser>;
struct KeyCloser {
    void operator()(void* handle) const {
        BCryptDestroyKey(static_cast<BCRYPT_KEY_HANDLE>(handle));
    }
};
using UniqueKey = std::unique_ptr<void, KeyCloser>;

bool Ok(NTSTATUS status) {
    return status >= 0;
}

UniqueAlgorithm OpenAlgorithm(const wchar_t* name) {
    BCRYPT_ALG_HANDLE handle = nullptr;
    if (!Ok(BCryptOpenAlgorithmProvider(&handle, name, nullptr, 0))) {
        return nullptr;
    }
    return UniqueAlgorithm(handle);
}

// Feeds the hash from read(buffer, size) until it gives 0; -1 is a failure.
template <typename Read> std::optional<Sha256Digest> Sha256Of(Read read) {
    UniqueAlgorithm algorithm = OpenAlgorithm(BCRYPT_SHA256_ALGORITHM);
    if (!algorithm) {
        return std::nullopt;
    }
    BCRYPT_HASH_HANDLE rawHash = nullptr;
    if (!Ok(BCryptCreateHash(algorithm.get(), &rawHash, nullptr, 0, nullptr, 0, 0))) {
        return std::nullopt;
    }
    UniqueHash hash(rawHash);
    std::vector<UCHAR> buffer(1 << 16);
    for (;;) {
        const long count = read(buffer.data(), buffer.size());
        if (count < 0) {
            return std::nullopt;
        }
        if (count == 0) {
            break;
        }
        if (!Ok(BCryptHashData(hash.get(), buffer.data(), static_cast<ULONG>(count), 0))) {
            return std::nullopt;
        }
    }
    Sha256Digest digest{};
    if (!Ok(BCryptFinishHash(hash.get(), digest.data(), static_cast<ULONG>(digest.size()), 0))) {
        return std::nullopt;
    }
    return digest;
}

} // namespace

std::optional<Sha256Digest> Sha256OfBytes(std::string_view bytes) {
    std::size_t offset = 0;
    return Sha256Of([&](UCHAR* buffer, std::size_t size) -> long {
        const std::size_t count = std::min(size, bytes.size() - offset);
        std::copy_n(bytes.data() + offset, count, buffer);
        offset += count;
        return static_cast<long>(count);
    });
}

std::optional<Sha256Digest> Sha256OfFile(const std::string& path) {
    std::ifstream file(Widen(path).c_str(), std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    return Sha256Of([&](UCHAR* buffer, std::size_t size) -> long {
        file.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(size));
        if (file.bad()) {
            return -1;
        }
        return static_cast<long>(file.gcount());
    });
}

std::optional<Sha256Digest> Sha256OfOpenFile(HANDLE file) {
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
        return std::nullopt;
    }
    return Sha256Of([&](UCHAR* buffer, std::size_t size) -> long {
        DWORD read = 0;
        if (!ReadFile(file, buffer, static_cast<DWORD>(size), &read, nullptr)) {
            return -1;
        }
        return static_cast<long>(read);
    });
}

bool VerifyEcdsaP256(std::string_view message, const EcdsaSignature& signature,
                     const EcdsaPublicKey& key) {
    const auto digest = Sha256OfBytes(message);
    UniqueAlgorithm algorithm = OpenAlgorithm(BCRYPT_ECDSA_P256_ALGORITHM);
    if (!digest || !algorithm) {
        return false;
    }
    std::vector<UCHAR> blob(sizeof(BCRYPT_ECCKEY_BLOB) + key.size());
    BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
    std::copy_n(reinterpret_cast<const UCHAR*>(&header), sizeof(header), blob.data());
    std::copy(key.begin(), key.end(), blob.begin() + sizeof(header));
    BCRYPT_KEY_HANDLE rawKey = nullptr;
    if (!Ok(BCryptImportKeyPair(algorithm.get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &rawKey,
                                blob.data(), static_cast<ULONG>(blob.size()), 0))) {
        return false;
    }
    UniqueKey keyHandle(rawKey);
    Sha256Digest hashed = *digest;
    EcdsaSignature signed_ = signature;
    return Ok(BCryptVerifySignature(keyHandle.get(), nullptr, hashed.data(),
                                    static_cast<ULONG>(hashed.size()), signed_.data(),
                                    static_cast<ULONG>(signed_.size()), 0));
}

bool SignedByTrustedKey(std::string_view message, const EcdsaSignature& signature) {
    for (const EcdsaPublicKey& key : TrustedUpdateKeys()) {
        if (VerifyEcdsaP256(message, signature, key)) {
            return true;
        }
    }
    return false;
}
