#pragma once

#include <QString>
#include <QStringList>

// The words of a text: the runs between whitespace of any kind (spaces, tabs, line breaks).
inline QStringList splitWords(const QString &text)
{
    QStringList words;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool space = i == text.size() || text.at(i).isSpace();
        if (space && start >= 0) {
            words.append(text.mid(start, i - start));
            start = -1;
        } else if (!space && start < 0) {
            start = i;
        }
    }
    return words;
}
