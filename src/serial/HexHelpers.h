#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

// Helpers of the ASCII-hex protocols, the Trace window's hex views and a few
// displays and file names. Frame texts are byte strings, one byte per
// character; hex digits produced are upper case. The parsing rules for
// characters that are not hex digits are part of the contract: the protocol
// decoders rely on them.

// 0-9 for "0"-"9", 10-15 for "A"-"F" and "a"-"f", 16 for anything else.
int HexCharValue(char c);

// Value of the first n characters of text read as hex, after padding text on
// the left with "0" to at least n characters. The first non-hex character
// ends the scan and the value read so far is returned.
quint32 HexToInt(QByteArrayView text, int n);

// Value of the 4 characters at four read as hex; non-hex characters are
// skipped without ending the scan.
quint16 Hex4ToWord(const char *four);

// Four hex digits of the low 16 bits of v, most significant first.
QByteArray WordToHex4(quint32 v);

// 1 if bit (bit mod 32) of value is set, else 0.
int BitIsSet(quint32 value, int bit);

// LENGTH field of an ASCII frame for an INFO part of infoLength characters:
// the 12-bit length in hex behind its check nibble.
QByteArray LengthField(int infoLength);

// CHKSUM field covering frame positions 1 to n (the start character at
// position 0 is left out): the two's complement of the byte sum, in hex.
// Positions beyond the end of frame do not exist and add nothing.
QByteArray FrameChecksum(QByteArrayView frame, int n);

// text upper-cased, with every character that is not 0-9 or A-F removed.
QByteArray CleanHexText(QByteArrayView text);

// The bytes the cleaned text spells, two digits per byte; an odd last digit
// is dropped. "01 04 75 30" and "01047530" give the same bytes.
QByteArray HexTextToBytes(QByteArrayView text);

// Each byte as two hex digits followed by separator (after the last byte too).
QString BytesToHexText(QByteArrayView bytes, QStringView separator);

// Decimal text of the low 16 bits of v read as signed.
QString Int16ToText(int v);

// IEEE 754 single that the 8 hex characters at eight spell, least
// significant byte first ("0000C843" is 400.0).
double HexToSingle(const char *eight);

// Decimal text of v padded on the left with "0" to at least width
// characters, then cut to its last width characters.
QString IntToZeroPadded(qint64 v, int width);
