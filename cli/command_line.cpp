#include "command_line.h"

#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>

namespace qx::cli {
namespace {

constexpr std::size_t kLineWidth = 79;

const OptionRule kHelpOption{{"--help", "-h"}, "", "show this help", false};

std::vector<OptionRule> WithHelp(const CommandSyntax& syntax) {
    std::vector<OptionRule> options = syntax.options;
    options.push_back(kHelpOption);
    return options;
}

// Arguments travel through the parser as Latin-1, one character per byte, so
// every byte comes back as given, whatever the encoding of the terminal.
QString ToParser(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
std::string FromParser(const QString& text) { return text.toLatin1().toStdString(); }

std::string Bare(const std::string& name) { return name.substr(name.find_first_not_of('-')); }
std::string Dashed(const std::string& bare) { return (bare.size() == 1 ? "-" : "--") + bare; }

struct QtParser {
    QCommandLineParser parser;
    std::vector<std::pair<OptionRule, QCommandLineOption>> options;
    bool parsed = false;

    QtParser(const CommandSyntax& syntax, const std::vector<std::string>& args) {
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
        parser.setOptionsAfterPositionalArgumentsMode(
            syntax.stopAtFirstArgument ? QCommandLineParser::ParseAsPositionalArguments
                                       : QCommandLineParser::ParseAsOptions);
        for (const OptionRule& option : WithHelp(syntax)) {
            QStringList names;
            for (const std::string& name : option.names) names << ToParser(Bare(name));
            QCommandLineOption qtOption(names);
            if (!option.valueName.empty()) qtOption.setValueName(ToParser(option.valueName));
            parser.addOption(qtOption);
            options.emplace_back(option, qtOption);
        }
        QStringList list{QStringLiteral("program")};
        for (const std::string& arg : args) list << ToParser(arg);
        parsed = parser.parse(list);
    }
};

std::string ErrorText(const QtParser& qt) {
    const QStringList unknown = qt.parser.unknownOptionNames();
    if (!unknown.isEmpty()) return "unknown option \"" + Dashed(FromParser(unknown.front())) + "\"";
    // "Missing value after '--port'." as "missing value after '--port'"
    std::string text = FromParser(qt.parser.errorText());
    if (text.ends_with('.')) text.pop_back();
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

// Words of `text` on lines of at most `width` bytes (a longer word alone).
std::vector<std::string> Wrapped(const std::string& text, std::size_t width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        const std::string word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty()) continue;
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty() || lines.empty()) lines.push_back(line);
    return lines;
}

std::string OptionColumn(const OptionRule& option) {
    std::vector<std::string> names = option.names;
    // Short names first: "-q, --quiet".
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return a.size() < b.size();
    });
    std::string column;
    for (const std::string& name : names) column += (column.empty() ? "" : ", ") + name;
    if (!option.valueName.empty()) column += " " + option.valueName;
    return column;
}

}  // namespace

std::optional<std::string> Arguments::Option(const std::string& name) const {
    const auto it = options.find(name);
    if (it == options.end() || it->second.empty()) return std::nullopt;
    return it->second.back();
}

std::vector<std::string> Arguments::Values(const std::string& name) const {
    const auto it = options.find(name);
    return it == options.end() ? std::vector<std::string>{} : it->second;
}

Arguments ParseCommandLine(const CommandSyntax& syntax, const std::vector<std::string>& args) {
    const QtParser qt(syntax, args);
    if (!qt.parsed) throw UsageError(ErrorText(qt));
    Arguments parsed;
    const QStringList given = qt.parser.optionNames();
    for (const auto& [option, qtOption] : qt.options) {
        if (!qt.parser.isSet(qtOption)) continue;
        const qsizetype times = std::count_if(given.begin(), given.end(), [&](const QString& name) {
            return qtOption.names().contains(name);
        });
        if (times > 1 && !option.repeatable)
            throw UsageError("option \"" + option.names.front() + "\" given twice");
        std::vector<std::string>& values = parsed.options[option.names.front()];
        if (option.valueName.empty()) {
            values.assign(static_cast<std::size_t>(times), "");
        } else {
            for (const QString& value : qt.parser.values(qtOption))
                values.push_back(FromParser(value));
        }
    }
    for (const QString& arg : qt.parser.positionalArguments())
        parsed.positional.push_back(FromParser(arg));
    return parsed;
}

bool AsksForHelp(const CommandSyntax& syntax, const std::vector<std::string>& args) {
    const QtParser qt(syntax, args);
    return qt.parser.isSet(QStringLiteral("help"));
}

std::string AlignedColumns(const std::vector<std::pair<std::string, std::string>>& rows) {
    std::size_t width = 0;
    for (const auto& row : rows) width = std::max(width, row.first.size());
    const std::size_t indent = 2 + width + 2;
    std::string text;
    for (const auto& [first, second] : rows) {
        std::string line = "  " + first;
        const std::vector<std::string> lines =
            Wrapped(second, kLineWidth > indent + 20 ? kLineWidth - indent : 20);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) line = "";
            line.resize(indent, ' ');
            text += line + lines[i] + '\n';
        }
    }
    return text;
}

std::string HelpText(const CommandSyntax& syntax) {
    std::string text =
        "usage: " + syntax.program + (syntax.synopsis.empty() ? "" : " " + syntax.synopsis) + "\n";
    if (!syntax.about.empty()) {
        text += '\n';
        for (const std::string& line : Wrapped(syntax.about, kLineWidth)) text += line + '\n';
    }
    if (!syntax.arguments.empty()) {
        std::vector<std::pair<std::string, std::string>> rows;
        for (const ArgumentRule& argument : syntax.arguments)
            rows.emplace_back(argument.name, argument.description);
        text += "\narguments:\n" + AlignedColumns(rows);
    }
    std::vector<std::pair<std::string, std::string>> rows;
    for (const OptionRule& option : WithHelp(syntax))
        rows.emplace_back(OptionColumn(option), option.description);
    text += "\noptions:\n" + AlignedColumns(rows);
    return text;
}

}  // namespace qx::cli
