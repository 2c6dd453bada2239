#include "sources/chapter_preview.h"

#include "sources/source_list.h"
#include "sources/text_import.h"
#include "sources/text_sniff.h"

ChapterPreview PreviewChapters(const std::string& path, const SourceReading& reading, std::size_t shown)
{
    ChapterPreview preview;
    try {
        std::string bytes;
        if (!ReadSourceFile(path, bytes) || IsClearlyNotText(bytes.data(), bytes.size()))
            return preview;
        const TextEncoding encoding = reading.encoding ? *reading.encoding : DetectEncoding(bytes.data(), bytes.size());
        // Decoded (and converted) as the import does, then read whole.
        CSourceList list;
        const CTextConverter* converter =
            reading.conversion == TextConversion::none ? nullptr : &Converter(reading.conversion);
        ImportText(list, "?", bytes.data(), bytes.size(), false, encoding, {}, converter);
        std::string().swap(bytes);
        std::string text;
        for (const BookPart& part : list.GetParts())
            text += part.text;
        const ChapterList found = FindChapterList(text, "?", reading.chapterPattern);
        preview.read = true;
        preview.patternGaveUpLine = found.patternGaveUpLine;
        for (const Chapter& c : found.chapters) {
            // The text before the first heading is no chapter of its own.
            if (c.begin == 0 && c.title == "?" && c.end > 0)
                continue;
            ++preview.chapters;
            if (preview.first.size() < shown)
                preview.first.push_back(c.title);
        }
    } catch (const CException&) {
        preview.read = false;
    } catch (const std::exception&) {
        preview.read = false;
    }
    return preview;
}

std::string DescribePreview(const ChapterPreview& preview, bool byPattern)
{
    if (!preview.read)
        return "读不出这个文件。";
    if (preview.patternGaveUpLine)
        return "规则在第 " + std::to_string(preview.patternGaveUpLine) + " 行匹配时回溯过多，已放弃；这个文件会整个导入。";
    if (preview.chapters == 0)
        return byPattern ? "规则没有匹配任何一行；这个文件会整个导入。" : "没有找到章节；这个文件会整个导入。";
    std::string text = "找到 " + std::to_string(preview.chapters) + " 章";
    if (preview.first.size() < preview.chapters)
        text += "，前 " + std::to_string(preview.first.size()) + " 章";
    text += "：";
    for (const std::string& title : preview.first)
        text += "\r\n" + title;
    return text;
}
