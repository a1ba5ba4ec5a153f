// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four code pages Polish banks write statements in, told apart by the text itself.

#include <QString>

#include <optional>
#include <string>

enum class TextEncoding { Utf8, Windows1250, Iso88592, Cp852 };

namespace TextDecoding {

// Valid UTF-8 (with or without a byte-order mark) is UTF-8; otherwise the code page in which the
// bytes above 127 read most often as Polish letters (Windows-1250 on a tie).
TextEncoding Detect(const std::string& bytes);

// The text; a byte-order mark is dropped, a byte that is no character becomes U+FFFD.
QString Decode(const std::string& bytes, TextEncoding encoding);

// Detect, then Decode.
QString DecodeDetected(const std::string& bytes);

// An encoding as files and users name it ("UTF-8", "windows-1250", "CP1250", "1250",
// "ISO-8859-2", "latin2", "CP852", "IBM852", ...); nothing for anything else.
std::optional<TextEncoding> FromName(const QString& name);

bool IsUtf8(const std::string& bytes);

}  // namespace TextDecoding
