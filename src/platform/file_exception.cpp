#include "platform/file_exception.h"

#include "platform/system_error.h"

namespace {

// The line a message adds when another program may hold the file.
constexpr char kCloseTheOtherProgramHint[] = "请关闭正在使用该文件的程序后再试。";

const char* CauseText(CFileException::Cause cause)
{
    switch (cause) {
    case CFileException::fileNotFound: return "找不到文件";
    case CFileException::badPath: return "路径无效";
    case CFileException::tooManyOpenFiles: return "打开的文件过多";
    case CFileException::accessDenied: return "拒绝访问";
    case CFileException::invalidFile: return "文件句柄无效";
    case CFileException::removeCurrentDir: return "不能删除当前目录";
    case CFileException::directoryFull: return "目录已满";
    case CFileException::badSeek: return "文件定位出错";
    case CFileException::hardIO: return "硬件输入/输出错误";
    case CFileException::sharingViolation: return "文件正被其他程序使用";
    case CFileException::lockViolation: return "文件区域已被锁定";
    case CFileException::diskFull: return "磁盘已满";
    case CFileException::endOfFile: return "意外到达文件末尾";
    case CFileException::notRegularFile: return "不是普通文件（管道、设备等）";
    case CFileException::fileExists: return "文件已存在";
    case CFileException::none:
    case CFileException::genericException: break;
    }
    return "文件操作出错";
}

} // namespace

std::string CFileException::Message() const
{
    std::string text = CauseText(m_cause);
    if (!m_strFileName.empty())
        text += "：" + m_strFileName;
    if (m_lOsError != 0) {
        std::string detail = PlatformErrorText(m_lOsError);
        while (!detail.empty() && (detail.back() == '\n' || detail.back() == '\r' || detail.back() == ' '))
            detail.pop_back();
        if (!detail.empty())
            text += "（" + detail + "）";
    }
    // What the user can do about it: on Windows a file open in another program cannot be
    // shared or replaced, and replacing it is refused as access denied.
    if (m_cause == sharingViolation || m_cause == lockViolation || (m_cause == accessDenied && m_bReplacing))
        text += "\n" + std::string(kCloseTheOtherProgramHint);
    return text;
}
