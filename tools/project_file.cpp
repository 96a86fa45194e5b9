#include "project_file.h"

namespace vivo::host {
namespace {

enum class Block { kNone, kPhases, kOptions, kMappings };

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool IsBlank(std::string_view line) { return Trim(line).empty(); }

// Drops the line breaks and blank lines that stand around an option block, in place.
std::string TrimBlock(std::string block) {
    const std::size_t last = block.find_last_not_of("\r\n");
    block.erase(last == std::string::npos ? 0 : last + 1);
    block.erase(0, block.find_first_not_of("\r\n"));
    return block;
}

}  // namespace

ProjectFileError::ProjectFileError(const std::string& file, int line, const std::string& what)
    : std::runtime_error(file + ":" + std::to_string(line) + ": " + what) {}

const std::string* Project::OptionsOf(std::string_view tool) const {
    for (const PhaseOptions& phase : options)
        if (phase.tool == tool) return &phase.options;
    return nullptr;
}

Project ParseProject(std::string_view text, const std::string& file) {
    Project project;
    Block block = Block::kNone;
    std::string optionText;
    int lineNumber = 0;
    bool seenName = false, seenToolchain = false, seenVersion = false;

    // Where the block's first and last lines that are not empty stand in `text`.
    std::size_t blockBegin = 0, blockEnd = 0;
    bool blockHasText = false;
    auto closeOptions = [&] {
        if (block == Block::kOptions) {
            PhaseOptions& phase = project.options.back();
            phase.options = TrimBlock(std::move(optionText));
            phase.begin = blockBegin;
            phase.end = blockHasText ? blockEnd : blockBegin;
        }
        optionText.clear();
        blockHasText = false;
    };

    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        const std::size_t lineStart = pos;
        pos = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        if (line.starts_with("@")) {
            closeOptions();
            const std::size_t space = line.find(' ');
            const std::string_view keyword = line.substr(0, space);
            const std::string_view value = space == std::string_view::npos ? "" : Trim(line.substr(space + 1));
            auto headerValue = [&](std::string& field, bool& seen) {
                if (seen) throw ProjectFileError(file, lineNumber, std::string(keyword) + " given twice");
                if (value.empty()) throw ProjectFileError(file, lineNumber, std::string(keyword) + " needs a value");
                field = value;
                seen = true;
                block = Block::kNone;
            };
            if (keyword == "@project") {
                headerValue(project.name, seenName);
            } else if (keyword == "@toolchain") {
                headerValue(project.toolchain, seenToolchain);
            } else if (keyword == "@version") {
                headerValue(project.version, seenVersion);
            } else if (keyword == "@phases" || keyword == "@mappings") {
                if (!value.empty()) throw ProjectFileError(file, lineNumber, std::string(keyword) + " takes no value");
                block = keyword == "@phases" ? Block::kPhases : Block::kMappings;
            } else if (keyword == "@options") {
                if (value.empty()) throw ProjectFileError(file, lineNumber, "@options needs the tool name");
                if (project.OptionsOf(value) != nullptr)
                    throw ProjectFileError(file, lineNumber, "options of " + std::string(value) + " given twice");
                project.options.push_back({std::string(value), {}});
                block = Block::kOptions;
                blockBegin = std::min(pos, text.size());
            } else {
                throw ProjectFileError(file, lineNumber, "unknown section " + std::string(keyword));
            }
            continue;
        }
        if (block == Block::kOptions) {  // raw: comments and blank lines belong to the option string
            if (!line.empty()) {
                if (!blockHasText) blockBegin = lineStart;
                blockHasText = true;
                blockEnd = lineStart + line.size();
            }
            optionText.append(line);
            optionText.push_back('\n');
            continue;
        }
        if (IsBlank(line) || Trim(line).starts_with("#")) continue;
        switch (block) {
            case Block::kPhases:
                if (line.find('|') == std::string_view::npos)
                    throw ProjectFileError(file, lineNumber, "a phase line is tool|kind|state, without a bar here");
                project.phases.emplace_back(Trim(line));
                break;
            case Block::kMappings:
                if (line.find('|') == std::string_view::npos)
                    throw ProjectFileError(file, lineNumber, "a mapping line is tool|file type|tool, without a bar here");
                project.mappings.emplace_back(Trim(line));
                break;
            default:
                throw ProjectFileError(file, lineNumber, "text outside any section: " + std::string(Trim(line)));
        }
    }
    closeOptions();
    if (!seenName) throw ProjectFileError(file, lineNumber, "no @project line");
    if (!seenToolchain) throw ProjectFileError(file, lineNumber, "no @toolchain line");
    if (!seenVersion) throw ProjectFileError(file, lineNumber, "no @version line");
    return project;
}

std::string FormatProject(const Project& project) {
    std::string text;
    text += "@project " + project.name + "\n";
    text += "@toolchain " + project.toolchain + "\n";
    text += "@version " + project.version + "\n";
    text += "\n@phases\n";
    for (const std::string& phase : project.phases) text += phase + "\n";
    for (const PhaseOptions& phase : project.options) text += "\n@options " + phase.tool + "\n" + phase.options + "\n";
    text += "\n@mappings\n";
    for (const std::string& mapping : project.mappings) text += mapping + "\n";
    return text;
}

std::string ReplaceOptions(std::string_view text, const PhaseOptions& block, std::string_view options) {
    const bool crlf = text.find("\r\n") != std::string_view::npos;
    std::string replacement;
    for (char c : options) {
        if (c == '\n' && crlf) replacement += '\r';
        replacement += c;
    }
    if (block.begin == block.end && !replacement.empty()) {  // an empty block gets a line of its own
        if (block.begin == text.size() && !text.empty() && text.back() != '\n') replacement.insert(0, crlf ? "\r\n" : "\n");
        else replacement += crlf ? "\r\n" : "\n";
    }
    std::string result(text.substr(0, block.begin));
    result += replacement;
    result += text.substr(block.end);
    return result;
}

}  // namespace vivo::host
