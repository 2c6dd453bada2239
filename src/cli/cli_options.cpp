#include "cli/cli_options.h"

#include "platform/user_texts.h"

#include <cstring>

const char* const kUsageText =
    "用法：bookmaker-cli [选项] 来源...\n"
    "      bookmaker-cli inspect 电子书.jar\n"
    "\n"
    "把文本文件（GBK、UTF-8、UTF-16、UTF-32）做成手机电子书（jar）。来源是文本文件或文件夹\n"
    "（文件夹里直接的 .txt 文件，按名称的自然顺序）。超过 150000 字的文本分成几部分。\n"
    "\n"
    "选项：\n"
    "  -n, --name 书名         书名（必填）\n"
    "  -a, --author 作者       作者（默认：佚名）\n"
    "  -m, --maker 制作者      制作者（默认：qinghe.example）\n"
    "  -t, --template 文件     电子书模板（默认：当前文件夹的 RDbook.dat，\n"
    "                          没有时用程序所在文件夹的 RDbook.dat）\n"
    "  -o, --output 路径       电子书文件，或放电子书的文件夹（默认：当前文件夹的 书名.jar）\n"
    "      --chapters          按章节拆分：每个来源在“第一章”“第十回”“楔子”“Chapter 1”这样的\n"
    "                          标题处分开，每章一部分，以标题为名（找到两个以上标题时）\n"
    "  -h, --help              显示本帮助\n"
    "      --version           显示版本\n"
    "\n"
    "inspect 列出电子书的条目、索引和各部分的大小，并校验每个条目的 CRC。\n"
    "\n"
    "只读写普通文件：管道和设备会被拒绝。电子书不能写在模板或来源文件上。\n"
    "\n"
    "退出码：0 成功，1 失败，2 用法错误（包括输出是模板或来源文件）。\n";

namespace {

struct ValueOption {
    const char* shortName;
    const char* longName;
    std::string CliOptions::*text;
    std::optional<std::string> CliOptions::*path;
};

const ValueOption kValueOptions[] = {
    {"-n", "--name", &CliOptions::name, nullptr},
    {"-a", "--author", &CliOptions::author, nullptr},
    {"-m", "--maker", &CliOptions::maker, nullptr},
    {"-t", "--template", nullptr, &CliOptions::templatePath},
    {"-o", "--output", nullptr, &CliOptions::output},
};

void Store(CliOptions& options, const ValueOption& option, const std::string& value)
{
    if (option.text)
        options.*option.text = value;
    else
        options.*option.path = value;
}

} // namespace

CliOptions ParseCommandLine(const std::vector<std::string>& args)
{
    CliOptions options;
    std::vector<std::string> operands;
    const bool inspect = !args.empty() && args[0] == "inspect";
    bool nameGiven = false;
    bool optionsEnded = false;
    for (std::size_t i = inspect ? 1 : 0; i < args.size(); ++i) {
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
        if (arg == "--chapters") {
            options.byChapters = true;
            continue;
        }
        const ValueOption* matched = nullptr;
        std::optional<std::string> value;
        for (const ValueOption& option : kValueOptions) {
            const std::size_t longLength = std::strlen(option.longName);
            if (arg == option.shortName || arg == option.longName) {
                matched = &option;
            } else if (arg.compare(0, longLength + 1, std::string(option.longName) + "=") == 0) {
                matched = &option;
                value = arg.substr(longLength + 1);
            } else if (arg.compare(0, 2, option.shortName) == 0 && arg[1] != '-') {
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
    }

    if (inspect) {
        if (operands.size() != 1)
            throw CUsageError("inspect 需要一个电子书文件");
        options.command = CliOptions::Command::inspect;
        options.book = operands[0];
        return options;
    }
    if (!nameGiven || options.name.empty())
        throw CUsageError(kNeedBookNameMessage);
    if (operands.empty())
        throw CUsageError("没有要生成的内容!请给出文本文件或文件夹。");
    options.sources = operands;
    return options;
}
