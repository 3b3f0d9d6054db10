#include "BundleInfo.h"

#include "UpdateLogic.h"

namespace {

constexpr qsizetype ed25519KeySize = 32;

struct UpdateSource {
    QString feedUrl;
    QString publicKeyBase64;
};

UpdateSource &builtInSource()
{
    static UpdateSource source;
    return source;
}

BundleInfo make(const QString &name, const QString &version, const QString &feedUrl, const QString &publicKeyBase64)
{
    BundleInfo info{name, version, QUrl(feedUrl.trimmed(), QUrl::StrictMode), {}};
    const auto key = QByteArray::fromBase64Encoding(publicKeyBase64.trimmed().toLatin1(),
                                                    QByteArray::AbortOnBase64DecodingErrors);
    if (key && key.decoded.size() == ed25519KeySize)
        info.publicKey = *key;
    return info;
}

} // namespace

BundleInfo BundleInfo::current(const QProcessEnvironment &environment)
{
    const UpdateSource &source = builtInSource();
    return from(QStringLiteral(OSTREL_NAME), QStringLiteral(OSTREL_VERSION), source.feedUrl, source.publicKeyBase64,
                environment);
}

BundleInfo BundleInfo::from(const QString &name, const QString &version, const QString &feedUrl,
                            const QString &publicKeyBase64, const QProcessEnvironment &environment)
{
    const BundleInfo builtIn = make(name, version, feedUrl, publicKeyBase64);
    if (!builtIn.updatesEnabled())
        return builtIn;
    const auto value = [&environment](const QString &key, const QString &fallback) {
        return environment.contains(key) ? environment.value(key) : fallback;
    };
    return make(value(nameKey, name), value(versionKey, version), value(feedKey, feedUrl),
                value(publicKeyKey, publicKeyBase64));
}

bool BundleInfo::setUpdateSource(const char *feedUrl, const char *publicKeyBase64)
{
    builtInSource() = {QString::fromUtf8(feedUrl), QString::fromLatin1(publicKeyBase64)};
    return true;
}

bool BundleInfo::updatesEnabled() const
{
    return UpdateLogic::isAllowedFeed(feedUrl) && !publicKey.isEmpty();
}
