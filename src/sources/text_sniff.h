// Whether the bytes of a file are clearly not a text: what the file commands refuse instead
// of cutting a picture or an archive into chapters of garbage.
#pragma once

#include "platform/exception.h"
#include "sources/encoding_detect.h"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

// True when the bytes start with the signature of a common binary format (images, archives,
// executables, audio and video, PDF, office documents, databases), or hold NUL bytes as no
// text in GBK or UTF-8 does (see text_sniff.cpp for the rule). Bytes that start with a
// byte-order mark, and BOM-less UTF-16 and UTF-32, are text; so is an empty file.
bool IsClearlyNotText(const char* data, std::size_t size);

// The byte order of UTF-16 text without a byte-order mark (EncodingUtf16Le or
// EncodingUtf16Be), or nothing when the bytes do not read as such a text.
std::optional<TextEncoding> Utf16WithoutMark(const char* data, std::size_t size);
// The byte order of UTF-32 text without a byte-order mark, or nothing: every unit a
// character of text, nearly all of them likely ones.
std::optional<TextEncoding> Utf32WithoutMark(const char* data, std::size_t size);

// A file refused because it is clearly not a text.
class CNotTextException : public CException {
public:
    explicit CNotTextException(std::string path) : m_strPath(std::move(path)) {}
    std::string GetPath() const override { return m_strPath; }
    bool MessageNamesPath() const override { return true; }
    // "不是文本文件：" and the path.
    std::string Message() const override;

private:
    std::string m_strPath;
};
