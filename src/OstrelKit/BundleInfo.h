#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QUrl>

// What the program says about itself: its name and version, and where its updates come from. The
// values are fixed when the program is built; environment variables named after the keys replace
// them, which is how tests point a copy at their own feed and key.
struct BundleInfo {
    QString name;
    QString version;
    QUrl feedUrl;
    // The maker's Ed25519 public key, 32 raw bytes; anything else leaves updates off.
    QByteArray publicKey;

    static inline const QString nameKey = QStringLiteral("CFBundleName");
    static inline const QString versionKey = QStringLiteral("CFBundleShortVersionString");
    static inline const QString feedKey = QStringLiteral("OstrelUpdateFeedURL");
    static inline const QString publicKeyKey = QStringLiteral("OstrelUpdatePublicKey");

    // The values built in, each replaced by its environment variable when that is set.
    static BundleInfo current(const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
    static BundleInfo from(const QString &name, const QString &version, const QString &feedUrl,
                           const QString &publicKeyBase64, const QProcessEnvironment &environment);

    // With no feed or no usable key the copy never looks for updates: whoever installed it updates it.
    bool updatesEnabled() const;

    bool operator==(const BundleInfo &) const = default;
};
