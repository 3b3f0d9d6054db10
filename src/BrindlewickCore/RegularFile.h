#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>

namespace RegularFile {

// The bytes of the regular file at `path`, or why they could not be read; `missing` says there is no
// file. Never waits: a FIFO or a device in the file's place must not hold the program up. A file
// larger than `limit` bytes is not read.
std::variant<QByteArray, QString> read(const QString &path, bool &missing, std::optional<qint64> limit = std::nullopt);

} // namespace RegularFile
