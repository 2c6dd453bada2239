#include "jar/jar_exception.h"

const char* const kTemplateMissingMessage = "找不到电子书模板文件 RDbook.dat，无法生成电子书!";
const char* const kTemplateDamagedMessage = "电子书模板文件 RDbook.dat 不是有效的 jar 文件，无法生成电子书!";
const char* const kBadBookNameMessage = "书名不能包含下列字符：\\ / : * ? \" < > |";
const char* const kEmptyBookNameMessage = "请填写书名!";

std::string CJarException::Message() const
{
    switch (m_cause) {
    case templateMissing: return kTemplateMissingMessage;
    case templateDamaged: return kTemplateDamagedMessage;
    case badBookName: return kBadBookNameMessage;
    case emptyBookName: return kEmptyBookNameMessage;
    case cancelled: return "已取消生成电子书。";
    case outputIsSource: return "电子书不能写在它的来源文件上：" + m_strPath;
    }
    return {};
}
