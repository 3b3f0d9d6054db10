#include "BundleInfo.h"

#include "UpdateLogic.h"

namespace {

constexpr qsizetype ed25519KeySize = 32;

QString value(const QProcessEnvironment &environment, const QString &key, const QString &builtIn)
{
    return environment.contains(key) ? environment.value(key) : builtIn;
}

} // namespace

BundleInfo BundleInfo::current(const QProcessEnvironment &environment)
{
    return from(QStringLiteral(OSTREL_NAME), QStringLiteral(OSTREL_VERSION), QStringLiteral(OSTREL_UPDATE_FEED_URL),
                QStringLiteral(OSTREL_UPDATE_PUBLIC_KEY), environment);
}

BundleInfo BundleInfo::from(const QString &name, const QString &version, const QString &feedUrl,
                            const QString &publicKeyBase64, const QProcessEnvironment &environment)
{
    BundleInfo info;
    info.name = value(environment, nameKey, name);
    info.version = value(environment, versionKey, version);
    info.feedUrl = QUrl(value(environment, feedKey, feedUrl).trimmed(), QUrl::StrictMode);
    const auto key = QByteArray::fromBase64Encoding(value(environment, publicKeyKey, publicKeyBase64).trimmed().toLatin1(),
                                                    QByteArray::AbortOnBase64DecodingErrors);
    if (key && key.decoded.size() == ed25519KeySize)
        info.publicKey = *key;
    return info;
}

bool BundleInfo::updatesEnabled() const
{
    return UpdateLogic::isAllowedAddress(feedUrl) && !publicKey.isEmpty();
}
