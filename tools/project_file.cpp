#include "project_file.h"

#include <utility>

namespace vivo::host {
namespace {

constexpr std::size_t kRoomForOtherLines = 4096;  // in a block's line, for a list that begins with it (LendLine)

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

PhaseOptions::PhaseOptions(std::string tool, std::string_view options) : tool_(std::move(tool)) {
    line_.reserve(tool_.size() + options.size() + 3 + kRoomForOtherLines);
    line_ += tool_;
    line_ += '|';
    line_ += options;
    line_ += '\0';
    line_ += '\0';
}

std::string PhaseOptions::LendLine() {
    line_.pop_back();
    lent_ = line_.size();
    return std::move(line_);
}

void PhaseOptions::GiveBack(std::string list) {
    list.resize(lent_);
    list += '\0';
    // A list that outgrew the line's room holds a large block of another tool: not kept with this one.
    if (list.capacity() > list.size() + 2 * kRoomForOtherLines) list.shrink_to_fit();
    line_ = std::move(list);
}

const PhaseOptions* Project::BlockOf(std::string_view tool) const {
    for (const PhaseOptions& phase : options)
        if (phase.tool() == tool) return &phase;
    return nullptr;
}

PhaseOptions* Project::BlockOf(std::string_view tool) {
    return const_cast<PhaseOptions*>(std::as_const(*this).BlockOf(tool));
}

std::optional<std::string_view> Project::OptionsOf(std::string_view tool) const {
    const PhaseOptions* block = BlockOf(tool);
    return block != nullptr ? std::optional(block->options()) : std::nullopt;
}

Project ParseProject(std::string_view text, const std::string& file) {
    Project project;
    Block block = Block::kNone;
    std::string optionTool;  // of the block being read
    std::string optionText;
    int lineNumber = 0;
    bool seenName = false, seenToolchain = false, seenVersion = false;

    // Where the block's first and last lines that are not empty stand in `text`.
    std::size_t blockBegin = 0, blockEnd = 0;
    bool blockHasText = false;
    auto closeOptions = [&] {
        if (block == Block::kOptions) {
            PhaseOptions& phase = project.options.emplace_back(std::move(optionTool), TrimBlock(std::move(optionText)));
            phase.begin = blockBegin;
            phase.end = blockHasText ? blockEnd : blockBegin;
        }
        optionText = std::string();
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
                if (project.OptionsOf(value))
                    throw ProjectFileError(file, lineNumber, "options of " + std::string(value) + " given twice");
                optionTool = value;
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

void FormatProject(const Project& project, const TextSink& write) {
    std::string text;
    text += "@project " + project.name + "\n";
    text += "@toolchain " + project.toolchain + "\n";
    text += "@version " + project.version + "\n";
    text += "\n@phases\n";
    for (const std::string& phase : project.phases) text += phase + "\n";
    for (const PhaseOptions& phase : project.options) {
        text += "\n@options ";
        text += phase.tool();
        text += '\n';
        write(text);
        write(phase.options());
        text.clear();
        text += '\n';
    }
    text += "\n@mappings\n";
    for (const std::string& mapping : project.mappings) text += mapping + "\n";
    write(text);
}

TextAroundOptions::TextAroundOptions(std::string_view text, const PhaseOptions& block)
    : before(text.substr(0, block.begin)),
      after(text.substr(block.end)),
      crlf(text.find("\r\n") != std::string_view::npos),
      emptyBlock(block.begin == block.end),
      lastLineOpen(block.begin == text.size() && !text.empty() && text.back() != '\n') {}

void TextAroundOptions::Write(std::string_view options, const TextSink& write) const {
    const std::string_view newline = crlf ? "\r\n" : "\n";
    // An empty block gets a line of its own: behind its "@options" line, or after the file's last line
    // when that has no line end.
    const bool ownLine = emptyBlock && !options.empty();
    write(before);
    if (ownLine && lastLineOpen) write(newline);
    for (std::size_t from = 0; from < options.size();) {  // the option string's line ends as the file's
        const std::size_t lf = options.find('\n', from);
        write(options.substr(from, lf - from));
        if (lf == std::string_view::npos) break;
        write(newline);
        from = lf + 1;
    }
    if (ownLine && !lastLineOpen) write(newline);
    write(after);
}

}  // namespace vivo::host
