#include "jar/jar_exception.h"

#include "platform/path.h"
#include "platform/user_texts.h"
#include "zip/zip_exception.h"

namespace {

constexpr char kTemplateMissingMessage[] = "找不到电子书模板文件 RDbook.dat，无法生成电子书!";
constexpr char kTemplateDamagedMessage[] = "电子书模板文件 RDbook.dat 不是有效的 jar 文件，无法生成电子书!";
constexpr char kBadBookNameMessage[] = "书名不能包含下列字符：\\ / : * ? \" < > |";

} // namespace

bool CJarException::MessageNamesPath() const
{
    switch (m_cause) {
    case outputIsTemplate:
    case outputIsSource:
    case outputNotFile:
    case outputReadOnly:
    case outputNameEndsBadly:
    case bookBeingBuilt:
    case outputIsDescriptor: return true;
    default: return false;
    }
}

namespace {

// "“name”", or nothing for a message without the name.
std::string Quoted(const std::string& name) { return name.empty() ? std::string() : "“" + name + "”"; }

} // namespace

std::string CJarException::Message() const
{
    switch (m_cause) {
    case templateMissing: return kTemplateMissingMessage;
    case templateDamaged:
        if (!m_strDetail.empty())
            return "电子书模板文件 RDbook.dat 已损坏（" + m_strDetail + "），无法生成电子书!";
        return kTemplateDamagedMessage;
    case badBookName:
        return m_strDetail.empty() ? kBadBookNameMessage : "书名“" + m_strDetail + "”不能包含下列字符：\\ / : * ? \" < > |";
    case emptyBookName: return kNeedBookNameMessage;
    case nothingToBuild: return kNothingToGenerateMessage;
    case cancelled: return "已取消生成电子书。";
    case bookNameEndsBadly: return "书名" + Quoted(m_strDetail) + "不能以句点或空格结尾。";
    case outputNameEndsBadly:
        return "输出文件名不能以句点或空格结尾（Windows 会把它们去掉）：“" + FileNameOfPath(m_strPath) + "”";
    case reservedBookName:
        return "书名" + Quoted(m_strDetail) + "不能是 Windows 的设备名（CON、PRN、AUX、NUL、COM1 到 COM9、LPT1 到 LPT9，带不带扩展名都不行）。";
    case bookNameTooLong: return "书名太长，手机读不了：" + m_strDetail;
    case outputIsTemplate: return "电子书不能写在模板上：" + m_strPath;
    case outputIsSource: return "电子书不能写在它的来源文件上：" + m_strPath + "，请换一个书名或输出文件。";
    case outputNotFile: return "这个位置不是普通文件，不能写入电子书：" + m_strPath;
    case outputReadOnly: return "这个文件是只读的，不能替换或删除：" + m_strPath + "（请先去掉它的只读属性）";
    case bookBeingBuilt: return "另一个生成正在写这本书（它的记录：" + m_strPath + "），请等它结束后再试。";
    case fileNameTooLong: return "文件名太长：" + m_strDetail + "。请用短一些的书名或输出文件名。";
    case outputIsDescriptor: return "电子书的文件名不能以 .jad 结尾，那是它的描述文件：" + m_strPath;
    case tooManyParts:
        return "电子书的部分太多：一个 jar 文件最多有 65535 个条目，请把文本分成几本书。";
    case bookTooLarge: return "电子书超过 4 GB，jar 文件容纳不下，请把文本分成几本书。";
    case outOfMemory: return kBookOutOfMemoryMessage;
    case archiveFailed: return "写入电子书 " + FileNameOfPath(m_strPath) + " 时出错（" + m_strDetail + "）。";
    case volumeBelowTemplate:
    case partTooLarge: return m_strDetail;
    }
    return {};
}

CJarException CJarException::VolumeBelowTemplate(const std::string& templatePath, std::uint64_t limit,
                                                 std::uint64_t templateBytes)
{
    return CJarException(volumeBelowTemplate, templatePath,
                         "分卷大小 " + SizeLimitText(limit) + "比电子书模板 RDbook.dat（" + std::to_string(templateBytes) +
                             " 字节）还小，装不下任何内容，请选更大的分卷大小。");
}

CJarException CJarException::PartTooLarge(const std::string& jarPath, std::size_t part, const std::string& title,
                                          std::uint64_t limit, std::uint64_t needed)
{
    CJarException e(partTooLarge, jarPath,
                    "第 " + std::to_string(part + 1) + " 部分“" + title + "”单独成卷也超过了分卷大小 " +
                        SizeLimitText(limit) + "。分卷大小至少要 " + std::to_string(needed) + " 字节（约 " +
                        std::to_string((needed + 1023) / 1024) + " KB）才能放下每一部分。");
    e.m_nNeeded = needed;
    return e;
}

std::string SizeLimitText(std::uint64_t bytes)
{
    const std::string exact = std::to_string(bytes) + " 字节";
    if (bytes == 0 || bytes % 1024 != 0)
        return exact;
    if (bytes % (1024 * 1024) == 0)
        return std::to_string(bytes / (1024 * 1024)) + " MB（" + exact + "）";
    return std::to_string(bytes / 1024) + " KB（" + exact + "）";
}

bool IsDamagedArchiveCause(int zipCause)
{
    return zipCause == CZipException::ZE_DAMAGED || zipCause == CZipException::ZE_NO_DIRECTORY ||
           zipCause == CZipException::ZE_ZIP64_REQUIRED;
}

CJarException JarExceptionFromZip(int zipCause, const std::string& bookPath)
{
    switch (zipCause) {
    case CZipException::ZE_ENTRY_LIMIT: return CJarException(CJarException::tooManyParts, bookPath);
    case CZipException::ZE_SIZE_TOO_LARGE: return CJarException(CJarException::bookTooLarge, bookPath);
    case CZipException::ZE_NO_MEMORY: return CJarException(CJarException::outOfMemory, bookPath);
    case CZipException::ZE_FIELD_TOO_LONG:
        return CJarException(CJarException::archiveFailed, bookPath, "条目的名称或附加数据过长");
    default: break;
    }
    if (IsDamagedArchiveCause(zipCause))
        return CJarException(CJarException::archiveFailed, bookPath, "写入的文件读回时已损坏");
    if (zipCause >= CZipException::ZE_ZLIB_STREAM_END)
        return CJarException(CJarException::archiveFailed, bookPath, "zlib 压缩出错，代码 " + std::to_string(zipCause));
    return CJarException(CJarException::archiveFailed, bookPath, "压缩引擎出错，代码 " + std::to_string(zipCause));
}
