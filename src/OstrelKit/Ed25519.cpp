#include "Ed25519.h"

#include <dlfcn.h>
#include <memory>
#include <openssl/evp.h>

namespace {

// The crypto library is opened only when an offered update is checked: loading it costs every run
// over a megabyte, and most runs never check one.
struct Crypto {
    decltype(&EVP_PKEY_new_raw_public_key) newRawPublicKey = nullptr;
    decltype(&EVP_PKEY_free) freeKey = nullptr;
    decltype(&EVP_MD_CTX_new) newContext = nullptr;
    decltype(&EVP_MD_CTX_free) freeContext = nullptr;
    decltype(&EVP_DigestVerifyInit) verifyInit = nullptr;
    decltype(&EVP_DigestVerify) verify = nullptr;

    bool complete() const { return newRawPublicKey && freeKey && newContext && freeContext && verifyInit && verify; }
};

template <typename Function>
void resolve(void *library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
}

const Crypto &crypto()
{
    static const Crypto opened = [] {
        Crypto c;
        void *library = dlopen(OSTREL_CRYPTO_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return c;
        resolve(library, "EVP_PKEY_new_raw_public_key", c.newRawPublicKey);
        resolve(library, "EVP_PKEY_free", c.freeKey);
        resolve(library, "EVP_MD_CTX_new", c.newContext);
        resolve(library, "EVP_MD_CTX_free", c.freeContext);
        resolve(library, "EVP_DigestVerifyInit", c.verifyInit);
        resolve(library, "EVP_DigestVerify", c.verify);
        return c;
    }();
    return opened;
}

} // namespace

namespace Ed25519 {

bool verify(const QByteArray &publicKey, const QByteArray &signature, QByteArrayView message)
{
    const Crypto &c = crypto();
    if (!c.complete())
        return false;
    const std::unique_ptr<EVP_PKEY, decltype(c.freeKey)> key(
        c.newRawPublicKey(EVP_PKEY_ED25519, nullptr, reinterpret_cast<const unsigned char *>(publicKey.constData()),
                          size_t(publicKey.size())),
        c.freeKey);
    const std::unique_ptr<EVP_MD_CTX, decltype(c.freeContext)> context(c.newContext(), c.freeContext);
    if (!key || !context || c.verifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1)
        return false;
    return c.verify(context.get(), reinterpret_cast<const unsigned char *>(signature.constData()),
                    size_t(signature.size()), reinterpret_cast<const unsigned char *>(message.data()),
                    size_t(message.size())) == 1;
}

} // namespace Ed25519
