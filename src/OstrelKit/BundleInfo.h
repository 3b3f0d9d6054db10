#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QUrl>

// What the program says about itself: its name and version, and where its updates come from. The name
// and version are fixed when the kit is built; the feed and key are built into the program itself
// (ostrel_update_source() in CMake). Only in a program whose built-in feed and key leave updates on do
// environment variables named after the keys replace the built-in values, which is how tests point
// such a copy at a feed of their own: the environment never switches updates on.
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

    static BundleInfo current(const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
    static BundleInfo from(const QString &name, const QString &version, const QString &feedUrl,
                           const QString &publicKeyBase64, const QProcessEnvironment &environment);

    // Called once, before main, by the source that ostrel_update_source() adds to a program.
    static bool setUpdateSource(const char *feedUrl, const char *publicKeyBase64);

    // With no feed or no usable key the copy never looks for updates: whoever installed it updates it.
    bool updatesEnabled() const;

    bool operator==(const BundleInfo &) const = default;
};
