// vivo change: moves a project file to another KZ toolchain version through the plug-in, calling
// the exports in the order the IDE calls them during a toolchain change.
//
// Nothing reaches the disk before the change has run whole and the report dialog has closed: the
// converted project, Upgrade.txt and the JSON report are written to temporary files first and renamed
// into place together at the end. Cancelling the dialog (Escape, or Ctrl+C on its terminal) abandons
// the change; Ctrl+C at any other moment too. Either way the disk stays as it was, exit code 130.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "files.h"
#include "host.h"
#include "migration_report.h"
#include "project_change.h"
#include "project_file.h"
#include "upgrade_file.h"

namespace vivo::host {
namespace {

struct ChangeArguments {
    std::string project, to, output, report;
    bool dryRun = false, force = false;
};

std::string Joined(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) joined += (joined.empty() ? "" : ", ") + text;
    return joined;
}

bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::weakly_canonical(a, error) == fs::weakly_canonical(b, error);
}

int RunChange(LoadedPlugin& plugin, const ChangeArguments& args) {
    const fs::path source = fs::absolute(args.project);
    const fs::path folder = source.parent_path();
    const fs::path output = args.output.empty()
                                ? folder / (source.stem().string() + ".kz-" + args.to + source.extension().string())
                                : fs::absolute(args.output);
    const fs::path upgradeFile = folder / "Upgrade.txt";
    const std::optional<fs::path> report = args.report.empty() ? std::nullopt : std::optional(fs::absolute(args.report));

    const Project project = ParseProject(ReadWholeFile(source, "project file"), args.project);

    // Every output is checked before anything is written.
    if (!args.dryRun) {
        if (SameFile(output, source)) throw Failure("the converted project would replace the original " + source.string());
        CheckOutputPath(output, args.force, "converted project");
        CheckOutputPath(upgradeFile, true, "summary file");
        if (report) {
            if (SameFile(*report, source) || SameFile(*report, output) || SameFile(*report, upgradeFile))
                throw Failure("the report " + report->string() + " would replace another file of this change");
            CheckOutputPath(*report, true, "report");
        }
    }

    const std::vector<std::string> reachable = ReachableVersions(plugin, project);
    if (std::find(reachable.begin(), reachable.end(), args.to) == reachable.end()) {
        throw Failure(args.project + ": no change from " + project.toolchain + " " + project.version + " to " +
                      kKzToolchain + " " + args.to +
                      (reachable.empty() ? std::string("; the plug-in's TC.ini defines none for this project")
                                         : "; this project can go to " + Joined(reachable)));
    }
    const ProjectChange change = ChangeProject(plugin, project, args.to);

    if (args.dryRun) {
        Out(DryRunText(project, change));
        return kExitOk;
    }

    AtomicFile converted(output);
    converted.Write(FormatProject(change.converted));
    AtomicFile summary(upgradeFile);
    const SummaryOutcome outcome = ShowSummary(plugin, project.name, summary);
    if (outcome == SummaryOutcome::kCancelled)
        throw Failure("change cancelled in the report dialog; nothing was written", kExitInterrupted);
    const bool summaryWritten = outcome == SummaryOutcome::kWritten;

    std::unique_ptr<AtomicFile> reportFile;
    if (report) {
        const std::optional<std::string> lines =
            summaryWritten ? std::optional(ReadWholeFile(summary.temporary(), "summary file")) : std::nullopt;
        reportFile = std::make_unique<AtomicFile>(*report);
        reportFile->Write(MigrationReport(project, change,
                                          summaryWritten ? std::optional(upgradeFile.string()) : std::nullopt, lines));
    }
    CommitAll({&converted, summaryWritten ? &summary : nullptr, reportFile.get()});

    Out(output.string() + "\n");
    if (summaryWritten)
        Out(upgradeFile.string() + "\n");
    else
        std::fprintf(stderr, "vivo: Upgrade.txt not written (the box was cleared in the report dialog)\n");
    if (report) Out(report->string() + "\n");
    return kExitOk;
}

}  // namespace

void AddChangeCommand(CLI::App& app, Host& host) {
    auto args = std::make_shared<ChangeArguments>();
    CLI::App* command = app.add_subcommand("change", "moves a project file to a KZ toolchain version");
    command->add_option("project", args->project, "the project file (.vivo)")->required()->type_name("PROJECT");
    command->add_option("--to", args->to, "the KZ toolchain version to move to")->required()->type_name("VERSION");
    command->add_option("--output", args->output,
                        "the converted project (default: PROJECT's name + .kz-VERSION, beside it)")
        ->type_name("FILE");
    command->add_option("--report", args->report, "also write a JSON migration report there")->type_name("FILE.json");
    command->add_flag("--dry-run", args->dryRun, "print what would change and write nothing");
    command->add_flag("--force", args->force, "overwrite an existing converted project");
    std::string versions;
    for (const std::string& version : KzVersions()) versions += (versions.empty() ? "" : ", ") + version;
    command->footer(
        "KZ versions: " + versions +
        ". A KZ project can go to any other of them (up or down); Pexa V5.45 and V6.00, Lumo V6 and V7 and "
        "Tessaro V9.04 projects go to 1.01.00. The plug-in's TC.ini beside it decides.\n"
        "The converted project, Upgrade.txt (when the report dialog is confirmed with its box ticked) and the "
        "report appear together at the end, or not at all: exit 0 written, 2 failed, 130 cancelled or "
        "interrupted.");
    command->callback([&host, args] {
        host.run = [&host, args] { return RunChange(host.Plugin(), *args); };
    });
}

}  // namespace vivo::host
