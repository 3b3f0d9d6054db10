#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Ed25519 signatures, checked with OpenSSL; without its crypto library every signature fails.
namespace Ed25519 {

// True when `signature` (64 bytes) was made over `message` by the private half of `publicKey` (32 bytes).
bool verify(const QByteArray &publicKey, const QByteArray &signature, QByteArrayView message);

} // namespace Ed25519
