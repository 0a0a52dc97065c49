#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The 8-bit text of device names and exported files: code page 936 (GBK),
// where a Latin letter takes one byte and a Chinese character two.

// text in GBK. A character GBK cannot hold becomes "?".
QByteArray GbkFromString(QStringView text);

// GBK bytes as text. A byte that starts no valid character becomes U+FFFD.
QString GbkToString(QByteArrayView gbk);

// The longest front part of gbk that has at most n bytes and does not end
// inside a two-byte character.
QByteArray GbkCut(QByteArrayView gbk, qsizetype n);

// text in GBK cut to at most n bytes without splitting a character, then
// padded with pad to exactly n bytes.
QByteArray GbkFit(QStringView text, qsizetype n, char pad);
