// The words both front ends use for how a text was read: its conversion and the warning for
// a text that reads as nonsense in the encoding it was detected in.
#pragma once

#include "sources/encoding_detect.h"
#include "sources/text_convert.h"

#include <string>

// "繁体转简体", "简体转繁体", or "" for none.
inline const char* ConversionLabel(TextConversion conversion)
{
    switch (conversion) {
    case TextConversion::t2s: return "繁体转简体";
    case TextConversion::s2t: return "简体转繁体";
    case TextConversion::none: break;
    }
    return "";
}

// The encoding a text was read in, with its conversion: "Big5", "Big5，繁体转简体".
inline std::string ReadingDescription(TextEncoding encoding, TextConversion conversion)
{
    std::string text = EncodingName(encoding);
    if (conversion != TextConversion::none)
        text += std::string("，") + ConversionLabel(conversion);
    return text;
}

// A file whose byte-order mark named another encoding than the one given: "警告：文件开头的
// 标记表明它是 UTF-8，已按 UTF-8 读，没有按指定的 GBK：PATH".
inline std::string MarkOverrodeWarning(const std::string& path, TextEncoding marked, TextEncoding given)
{
    return std::string("警告：文件开头的标记表明它是 ") + EncodingName(marked) + "，已按 " + EncodingName(marked) +
           " 读，没有按指定的 " + EncodingName(given) + "：" + path;
}

// One file's line in the warning: "警告：按 Big5 读出的文字像乱码，编码可能不对：PATH".
inline std::string ImplausibleWarning(const std::string& path, TextEncoding encoding)
{
    return std::string("警告：按 ") + EncodingName(encoding) + " 读出的文字像乱码，编码可能不对：" + path;
}
