#include "cli/cli_options.h"

#include "platform/ascii.h"
#include "platform/user_texts.h"

#include <cstring>

const char* const kUsageText =
    "用法：bookmaker-cli [选项] 来源...\n"
    "      bookmaker-cli inspect 电子书.jar\n"
    "      bookmaker-cli chapters 文本文件... [--why] [--chapter-pattern 规则]\n"
    "      bookmaker-cli clean 文本文件... [--why]\n"
    "\n"
    "把文本文件（GBK、Big5、UTF-8、UTF-16、UTF-32）做成手机电子书（jar）。来源是文本文件或文件夹\n"
    "（文件夹里直接的 .txt 文件，按名称的自然顺序）。超过 150000 字的文本分成几部分。\n"
    "\n"
    "选项：\n"
    "  -n, --name 书名         书名（只有一个来源时可不填：取自文件名，如“《书名》作者：某人.txt”\n"
    "                          “书名 作者：某人.txt”“书名_作者.txt”“书名(作者).txt”，或取自开头的\n"
    "                          “书名：”“作者：”行，都没有时用文件名；来源是文件夹时用文件夹名）\n"
    "  -a, --author 作者       作者（默认：只有一个来源时同上取自来源，否则佚名）\n"
    "  -m, --maker 制作者      制作者（默认：qinghe.example）\n"
    "  -t, --template 文件     电子书模板（默认：当前文件夹的 RDbook.dat，\n"
    "                          没有时用程序所在文件夹的 RDbook.dat）\n"
    "  -o, --output 路径       电子书文件，或放电子书的文件夹（默认：当前文件夹的 书名.jar）\n"
    "      --chapters          按章节拆分：每个来源在“第一章”“第十回”“楔子”“Chapter 1”这样的\n"
    "                          标题处分开，每章一部分，以标题为名（找到两个以上标题时）\n"
    "      --chapter-pattern 规则\n"
    "                          自定章节规则（正则表达式，PCRE2 语法）：与规则匹配的行（去掉首尾空白）\n"
    "                          是章节标题，其余都不是；例如 \"^第.{1,9}[章回]\"。隐含 --chapters；\n"
    "                          某个来源没有匹配的行时，说明并整个导入\n"
    "      --max-size 大小     分卷：每个 jar 最多这么大（300K、1M、1.5M，不带单位是字节；\n"
    "                          1K = 1024 字节），放不下时按顺序分成 书名(1).jar、书名(2).jar……\n"
    "      --compression 方式  压缩：fast 最快（书稍大）、normal 标准（默认）、\n"
    "                          small 最小（书约小 5%，用时较长）\n"
    "      --encoding 编码     来源的编码：auto 自动识别（默认）、gbk、big5、utf-8、\n"
    "                          utf-16le、utf-16be；用于所有来源\n"
    "      --convert 方式      繁简转换：none 不转换（默认）、t2s 繁体转简体、s2t 简体转繁体；\n"
    "                          转换正文和各部分标题，不转换书名\n"
    "      --clean             整理文本：删去下载网站的网址和推广行，把固定宽度折断的行接回\n"
    "                          段落，每段以两个全角空格开头、段间至多一个空行（在繁简转换后、\n"
    "                          找章节前）；不加时文本原样导入\n"
    "  -h, --help              显示本帮助\n"
    "      --version           显示版本\n"
    "\n"
    "每个 jar 旁边都写一个同名的 .jad 描述文件，供只认 JAD 的手机安装。\n"
    "\n"
    "自动识别的编码读出来像乱码时，会给出警告（书照样生成）；这时可用 --encoding 指定编码。\n"
    "\n"
    "chapters 列出 --chapters 会把每个文本分成的部分：编码，然后每部分一行（序号、\n"
    "在原文的行号、字数、标题）；加 --why 时还列出像标题却未采用的行及原因。\n"
    "\n"
    "clean 列出 --clean 会对每个文本做的改动：删除的行、删去的行尾网站文字、接合成一段的\n"
    "各行（行号）；加 --why 时还列出删除的原因和找到的折行宽度。\n"
    "\n"
    "inspect 列出电子书的条目、索引和各部分的大小，并校验每个条目的 CRC；旁边有\n"
    ".jad 文件时，也核对它的大小和属性。\n"
    "\n"
    "只读写普通文件：管道和设备会被拒绝。电子书不能写在模板或来源文件上。\n"
    "\n"
    "退出码：0 成功，1 失败，2 用法错误（包括输出是模板或来源文件）。\n";

namespace {

struct ValueOption {
    const char* shortName;  // null: only the long form
    const char* longName;
    std::string CliOptions::*text;
    std::optional<std::string> CliOptions::*path;
    std::uint64_t CliOptions::*size;
    BookCompression CliOptions::*compression = nullptr;
    bool encoding = false;    // --encoding
    bool conversion = false;  // --convert
};

const ValueOption kValueOptions[] = {
    {"-n", "--name", &CliOptions::name, nullptr, nullptr},
    {"-a", "--author", &CliOptions::author, nullptr, nullptr},
    {"-m", "--maker", &CliOptions::maker, nullptr, nullptr},
    {"-t", "--template", nullptr, &CliOptions::templatePath, nullptr},
    {"-o", "--output", nullptr, &CliOptions::output, nullptr},
    {nullptr, "--max-size", nullptr, nullptr, &CliOptions::maxJarBytes},
    {nullptr, "--compression", nullptr, nullptr, nullptr, &CliOptions::compression},
    {nullptr, "--encoding", nullptr, nullptr, nullptr, nullptr, true},
    {nullptr, "--convert", nullptr, nullptr, nullptr, nullptr, false, true},
    {nullptr, "--chapter-pattern", &CliOptions::chapterPattern, nullptr, nullptr},
};

// "300K", "1.5M", "2MB", "65536": digits with an optional fraction and a unit K or M (KB,
// MB; any case; 1K = 1024 bytes), or whole bytes without one. Throws CUsageError.
std::uint64_t ParseSize(const std::string& text)
{
    const std::string example = "（例如 300K、1M、1.5M，或不带单位的字节数）";
    std::size_t i = 0;
    std::uint64_t whole = 0, fraction = 0, scale = 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (i >= 12)
            throw CUsageError("分卷大小太大：" + text);
        whole = whole * 10 + static_cast<std::uint64_t>(text[i] - '0');
    }
    const bool digits = i > 0;
    const bool dot = digits && i < text.size() && text[i] == '.';
    bool hasFraction = false;
    if (dot) {
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            hasFraction = true;
            if (scale < 1000000) {
                fraction = fraction * 10 + static_cast<std::uint64_t>(text[i] - '0');
                scale *= 10;
            }
        }
    }
    const std::string unit = AsciiUpper(text.substr(i));
    std::uint64_t multiplier = 0;
    if (unit.empty())
        multiplier = 1;
    else if (unit == "K" || unit == "KB")
        multiplier = 1024;
    else if (unit == "M" || unit == "MB")
        multiplier = 1024 * 1024;
    if (!digits || multiplier == 0 || dot != hasFraction || (hasFraction && multiplier == 1))
        throw CUsageError("分卷大小无效：" + text + example);
    const std::uint64_t bytes = whole * multiplier + fraction * multiplier / scale;
    if (bytes == 0)
        throw CUsageError("分卷大小必须大于 0：" + text);
    return bytes;
}

void Store(CliOptions& options, const ValueOption& option, const std::string& value)
{
    if (option.text)
        options.*option.text = value;
    else if (option.path)
        options.*option.path = value;
    else if (option.size)
        options.*option.size = ParseSize(value);
    else if (option.encoding) {
        if (!ParseEncodingChoice(value, options.reading.encoding))
            throw CUsageError("编码无效：" + value + "（可选 auto、gbk、big5、utf-8、utf-16le、utf-16be）");
    } else if (option.conversion) {
        if (!ParseConversionName(value, options.reading.conversion))
            throw CUsageError("繁简转换方式无效：" + value + "（可选 none、t2s、s2t）");
    } else if (!ParseCompressionName(value, options.*option.compression))
        throw CUsageError("压缩方式无效：" + value + "（可选 fast、normal、small）");
}

} // namespace

CliOptions ParseCommandLine(const std::vector<std::string>& args)
{
    CliOptions options;
    std::vector<std::string> operands;
    const bool inspect = !args.empty() && args[0] == "inspect";
    const bool chapters = !args.empty() && args[0] == "chapters";
    const bool clean = !args.empty() && args[0] == "clean";
    bool nameGiven = false;
    bool optionsEnded = false;
    for (std::size_t i = inspect || chapters || clean ? 1 : 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            options.command = CliOptions::Command::help;
            return options;
        }
        if (arg == "--version") {
            options.command = CliOptions::Command::version;
            return options;
        }
        if ((chapters || clean) && arg == "--why") {
            options.why = true;
            continue;
        }
        if (arg == "--chapters") {
            options.byChapters = true;
            continue;
        }
        if (arg == "--clean") {
            options.reading.clean = true;
            continue;
        }
        const ValueOption* matched = nullptr;
        std::optional<std::string> value;
        for (const ValueOption& option : kValueOptions) {
            const std::size_t longLength = std::strlen(option.longName);
            const std::string shortName = option.shortName ? option.shortName : "";
            if (arg == shortName || arg == option.longName) {
                matched = &option;
            } else if (arg.compare(0, longLength + 1, std::string(option.longName) + "=") == 0) {
                matched = &option;
                value = arg.substr(longLength + 1);
            } else if (!shortName.empty() && arg.compare(0, 2, shortName) == 0 && arg[1] != '-') {
                matched = &option;
                value = arg.substr(2);
            }
            if (matched)
                break;
        }
        if (!matched)
            throw CUsageError("未知的选项：" + arg);
        if (!value) {
            if (i + 1 >= args.size())
                throw CUsageError("选项 " + arg + " 需要一个值");
            value = args[++i];
        }
        Store(options, *matched, *value);
        if (matched->text == &CliOptions::name)
            nameGiven = true;
        if (matched->text == &CliOptions::author)
            options.authorGiven = true;
        if (matched->text == &CliOptions::chapterPattern) {
            std::string error;
            options.reading.chapterPattern = ChapterPattern::Compile(*value, error);
            if (!options.reading.chapterPattern)
                throw CUsageError("章节规则无效：" + *value + "（" + error + "）");
            options.byChapters = true;
        }
    }

    if (inspect) {
        if (operands.size() != 1)
            throw CUsageError("inspect 需要一个电子书文件");
        options.command = CliOptions::Command::inspect;
        options.book = operands[0];
        return options;
    }
    if (chapters) {
        if (operands.empty())
            throw CUsageError("chapters 需要至少一个文本文件");
        options.command = CliOptions::Command::chapters;
        options.sources = operands;
        return options;
    }
    if (clean) {
        if (operands.empty())
            throw CUsageError("clean 需要至少一个文本文件");
        options.command = CliOptions::Command::clean;
        options.sources = operands;
        return options;
    }
    // One source may name the book itself; none or several need -n.
    if ((nameGiven && options.name.empty()) || (!nameGiven && operands.size() != 1))
        throw CUsageError(kNeedBookNameMessage);
    if (operands.empty())
        throw CUsageError("没有要生成的内容!请给出文本文件或文件夹。");
    options.sources = operands;
    return options;
}
