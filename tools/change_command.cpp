// vivo change: moves project files to another KZ toolchain version through the plug-in, calling the
// exports in the order the IDE calls them during a toolchain change, and tells item by item what
// became of every option and what a person must check.
//
// Nothing of a project reaches the disk before its change has run whole and the report dialog has
// closed: the converted project and Upgrade.txt are written to temporary files first and renamed into
// place together (with the report, for a single project). Cancelling the dialog (Escape, or Ctrl+C on
// its terminal) abandons that project's change; Ctrl+C at any other moment ends the run, leaving the
// projects finished before it converted and nothing of the others.
//
// Several projects are converted one after another, each with the plug-in loaded afresh (as the IDE
// has a fresh state per project); with --jobs N, in up to N processes side by side, each loading its
// own copy. Their output is shown in the order the projects were given.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

#include "files.h"
#include "host.h"
#include "json_text.h"
#include "migration_report.h"
#include "project_change.h"
#include "project_file.h"
#include "upgrade_file.h"

namespace vivo::host {
namespace {

constexpr std::size_t kLargeProject = 4u << 20;  // a project file this large shows progress alone

struct ChangeArguments {
    std::vector<std::string> projects;
    std::string to, output, report;
    bool dryRun = false, force = false, verbose = false;
    int jobs = 1;
};

// One project of the run: where it is read and where its files go.
struct Plan {
    std::string file;  // as the user named it (or as found below a folder)
    fs::path source, output, upgradeFile;
    std::size_t size = 0;  // bytes, for progress
    std::string problem;  // a reason it cannot be converted, found before anything ran
};

struct ProjectResult {
    std::string result;  // "converted", "dry run", "failed", "cancelled"
    std::string error;
    MigrationCounts counts;
    int exitCode = kExitOk;
    std::vector<std::string> latin1;  // of its report entry, when a job wrote it
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

// A file that an earlier run wrote: "<name>.kz-<VERSION>.vivo".
bool IsConvertedProject(const fs::path& file) {
    const std::string stem = file.stem().string();
    for (const std::string& version : KzVersions())
        if (stem.ends_with(".kz-" + version)) return true;
    return false;
}

// The project files the arguments name: files as given, folders by every *.vivo file below them
// (in path order, without the converted projects of earlier runs).
std::vector<std::string> ProjectFiles(const std::vector<std::string>& arguments, bool& fromFolder) {
    std::vector<std::string> files;
    fromFolder = false;
    for (const std::string& argument : arguments) {
        std::error_code error;
        if (!fs::is_directory(argument, error)) {
            files.push_back(argument);
            continue;
        }
        fromFolder = true;
        std::vector<std::string> found;
        for (fs::recursive_directory_iterator it(argument, error), end; !error && it != end; it.increment(error)) {
            std::error_code typeError;
            if (it->is_regular_file(typeError) && it->path().extension() == ".vivo" && !IsConvertedProject(it->path()))
                found.push_back(it->path().string());
        }
        if (error) throw Failure("cannot read folder " + argument + ": " + error.message());
        if (found.empty()) throw Failure("no project file (*.vivo) below " + argument);
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
    }
    return files;
}

// The progress line on standard error, when it is a terminal: "project n of N, bytes done".
class Progress {
public:
    Progress(std::size_t projects, std::size_t totalBytes, bool wanted)
        : projects_(projects), total_(totalBytes), on_(wanted && ::isatty(STDERR_FILENO)) {}
    ~Progress() { Clear(); }

    void Show(std::size_t project, const std::string& file, std::size_t bytes) {
        if (!on_) return;
        const bool megabytes = total_ >= 1000000;  // in the unit of the whole
        const double unit = megabytes ? 1e6 : 1e3;
        std::fprintf(stderr, "\r\033[Kvivo: project %zu of %zu (%s), %.1f of %.1f %s", project, projects_,
                     file.c_str(), static_cast<double>(bytes) / unit, static_cast<double>(total_) / unit,
                     megabytes ? "MB" : "KB");
        std::fflush(stderr);
        shown_ = true;
    }
    void Clear() {
        if (!shown_) return;
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        shown_ = false;
    }

private:
    std::size_t projects_, total_;
    bool on_;
    bool shown_ = false;
};

class ChangeRun {
public:
    ChangeRun(Host& host, const ChangeArguments& args) : host_(host), args_(args) {}

    int Run() {
        bool fromFolder = false;
        const std::vector<std::string> files = ProjectFiles(args_.projects, fromFolder);
        const bool single = files.size() == 1 && !fromFolder;
        if (files.size() > 1 && !args_.output.empty())
            throw Failure("--output names the converted project of a single project; this run has " +
                          std::to_string(files.size()));
        Plans(files);
        if (single && !plans_[0].problem.empty()) throw Failure(plans_[0].problem);

        std::unique_ptr<AtomicFile> reportFile;
        if (!args_.report.empty()) {
            const fs::path report = fs::absolute(args_.report);
            for (const Plan& plan : plans_)
                if (SameFile(report, plan.source) ||
                    (!args_.dryRun && (SameFile(report, plan.output) || SameFile(report, plan.upgradeFile))))
                    throw Failure("the report " + report.string() + " would replace another file of this change");
            CheckOutputPath(report, true, "report");
            reportFile = std::make_unique<AtomicFile>(report);
            report_ = std::make_unique<ReportWriter>([file = reportFile.get()](std::string_view bytes) {
                file->Write(bytes);
            }, args_.to, args_.dryRun);
        }

        std::size_t totalBytes = 0;
        for (Plan& plan : plans_) {
            std::error_code error;
            const auto size = fs::file_size(plan.source, error);
            plan.size = error ? 0 : static_cast<std::size_t>(size);
            totalBytes += plan.size;
        }
        progress_ = std::make_unique<Progress>(plans_.size(), totalBytes, plans_.size() > 1 || totalBytes > kLargeProject);

        if (single) {
            ProjectResult result = RunOne(0, reportFile.get(), /*rethrow=*/true);
            if (!args_.report.empty() && !args_.dryRun) {
                Out(fs::absolute(args_.report).string() + "\n");
            } else if (reportFile) {
                report_->Finish();
                CommitAll({reportFile.get()});
            }
            return result.exitCode;
        }

        std::vector<ProjectResult> results =
            args_.jobs > 1 ? RunInProcesses() : RunInTurn();
        progress_->Clear();
        if (reportFile) {
            report_->Finish();
            CommitAll({reportFile.get()});
        }
        PrintTable(results);
        if (reportFile && !args_.dryRun) Out(fs::absolute(args_.report).string() + "\n");
        int code = kExitOk;
        for (const ProjectResult& result : results) code = std::max(code, Rank(result.exitCode));
        return code == 4 ? kExitFailure : code == 3 ? kExitInterrupted : code;
    }

private:
    // 0 < 1 (attention) < 2 (failed) < 130 (cancelled counts below a failure): ranked for the run's code.
    static int Rank(int exitCode) { return exitCode == kExitInterrupted ? 3 : exitCode == kExitFailure ? 4 : exitCode; }

    void Plans(const std::vector<std::string>& files) {
        std::map<fs::path, int> perFolder;
        for (const std::string& file : files) ++perFolder[fs::absolute(file).parent_path()];
        for (const std::string& file : files) {
            Plan plan;
            plan.file = file;
            plan.source = fs::absolute(file);
            const fs::path folder = plan.source.parent_path();
            plan.output = args_.output.empty() ? folder / (plan.source.stem().string() + ".kz-" + args_.to +
                                                           plan.source.extension().string())
                                               : fs::absolute(args_.output);
            // Projects sharing a folder in one run would share its Upgrade.txt: each gets its own.
            plan.upgradeFile = folder / (perFolder[folder] > 1 ? plan.source.stem().string() + ".Upgrade.txt"
                                                                : std::string("Upgrade.txt"));
            if (!args_.dryRun) {
                try {
                    if (SameFile(plan.output, plan.source))
                        throw Failure("the converted project would replace the original " + plan.source.string());
                    for (const Plan& other : plans_)
                        if (SameFile(other.source, plan.source))
                            throw Failure(file + " is named twice");
                    CheckOutputPath(plan.output, args_.force, "converted project");
                    CheckOutputPath(plan.upgradeFile, true, "summary file");
                } catch (const Failure& failure) {
                    plan.problem = failure.what();
                }
            }
            plans_.push_back(std::move(plan));
        }
    }

    // Converts project `index`; a failure is the result's (or thrown when `rethrow`, for one project).
    ProjectResult RunOne(std::size_t index, AtomicFile* reportFile, bool rethrow) {
        const Plan& plan = plans_[index];
        ProjectResult result;
        try {
            if (!plan.problem.empty()) throw Failure(plan.problem);
            Convert(index, reportFile, result);
        } catch (const std::exception& error) {
            // Failure, a malformed project file (ProjectFileError), or memory running out.
            if (rethrow) throw;
            const auto* failure = dynamic_cast<const Failure*>(&error);
            result.exitCode = failure != nullptr ? failure->exitCode : kExitFailure;
            result.result = result.exitCode == kExitInterrupted ? "cancelled" : "failed";
            result.error = dynamic_cast<const std::bad_alloc*>(&error) != nullptr ? "not enough memory" : error.what();
            progress_->Clear();
            std::fprintf(stderr, "vivo: %s\n", result.error.c_str());
            if (report_) report_->AddFailure(plan.file, result.result, result.error);
        }
        return result;
    }

    void Convert(std::size_t index, AtomicFile* reportFile, ProjectResult& result) {
        const Plan& plan = plans_[index];
        std::size_t before = 0;  // bytes of the projects before this one
        for (std::size_t i = 0; i < index; ++i) before += plans_[i].size;
        progress_->Show(index + 1, plan.file, before);
        host_.Unload();  // a fresh plug-in state for every project
        LoadedPlugin& plugin = host_.Plugin();
        Project project = ParseProject(ReadWholeFile(plan.source, "project file"), plan.file);
        const std::vector<std::string> reachable = ReachableVersions(plugin, project);
        if (std::find(reachable.begin(), reachable.end(), args_.to) == reachable.end()) {
            throw Failure(plan.file + ": no change from " + project.toolchain + " " + project.version + " to " +
                          kKzToolchain + " " + args_.to +
                          (reachable.empty() ? std::string("; the plug-in's TC.ini defines none for this project")
                                             : "; this project can go to " + Joined(reachable)));
        }
        const ProjectChange change = ChangeProject(plugin, project, args_.to, [&](std::size_t bytes) {
            progress_->Show(index + 1, plan.file, before + std::min(bytes, plan.size));
        });

        if (args_.dryRun) {
            const std::string summary = CaptureSummary(plugin, project.name);
            const Migration migration(project, change,
                                      summary.empty() ? std::nullopt : std::optional(ReadSummary(summary)));
            progress_->Clear();
            migration.WriteText([](std::string_view text) { Out(text); }, plan.file, args_.verbose);
            if (plans_.size() > 1) Out("\n");
            Finish(result, migration, "dry run");
            if (report_) report_->AddProject(plan.file, migration, "dry run", std::nullopt, std::nullopt);
            return;
        }

        AtomicFile converted(plan.output);
        FormatProject(change.converted, [&](std::string_view piece) { converted.Write(piece); });
        AtomicFile summary(plan.upgradeFile);
        progress_->Clear();
        const SummaryOutcome outcome = ShowSummary(plugin, project.name, summary);
        if (outcome == SummaryOutcome::kCancelled)
            throw Failure(plan.file + ": change cancelled in the report dialog; nothing was written", kExitInterrupted);
        const bool summaryWritten = outcome == SummaryOutcome::kWritten;
        std::string summaryText;
        if (summaryWritten) {
            summaryText = ReadWholeFile(summary.temporary(), "summary file");
        } else {
            // The box was cleared, so the dialog kept the summary to itself: the change runs once more
            // with a fresh plug-in, whose dialog then hands its text over without being shown.
            host_.Unload();
            ChangeProject(host_.Plugin(), project, args_.to);
            summaryText = CaptureSummary(host_.Plugin(), project.name);
        }
        const Migration migration(project, change,
                                  summaryText.empty() ? std::nullopt : std::optional(ReadSummary(summaryText)));
        Finish(result, migration, "converted");
        if (report_)
            report_->AddProject(plan.file, migration, "converted", plan.output.string(),
                                summaryWritten ? std::optional(plan.upgradeFile.string()) : std::nullopt);
        if (reportFile != nullptr) report_->Finish();
        CommitAll({&converted, summaryWritten ? &summary : nullptr, reportFile});

        Out(plan.output.string() + "\n");
        if (summaryWritten)
            Out(plan.upgradeFile.string() + "\n");
        else
            std::fprintf(stderr, "vivo: %s: Upgrade.txt not written (the box was cleared in the report dialog)\n",
                         plan.file.c_str());
        FlushOut();
        migration.ForEachAttention([&](const Attention& attention) {
            std::fprintf(stderr, "vivo: %s: needs attention: %s%s%s: %s\n", plan.file.c_str(),
                         attention.phase.empty() ? "Upgrade.txt" : std::string(attention.phase).c_str(),
                         attention.phase.empty() ? "" : ": ", attention.phase.empty() ? "" : std::string(attention.item).c_str(),
                         attention.phase.empty() ? std::string(attention.item).c_str() : attention.detail.c_str());
        });
    }

    static void Finish(ProjectResult& result, const Migration& migration, const char* what) {
        result.result = what;
        result.counts = migration.counts();
        result.exitCode = migration.counts().attention > 0 ? kExitProblems : kExitOk;
    }

    std::vector<ProjectResult> RunInTurn() {
        std::vector<ProjectResult> results;
        for (std::size_t i = 0; i < plans_.size(); ++i) results.push_back(RunOne(i, nullptr, false));
        return results;
    }

    // --jobs: each project in a process of its own, with standard input from /dev/null (so that its
    // report dialog confirms without being shown) and its standard output, standard error, report entry
    // and result kept in files without a name, replayed here in the order of the projects.
    struct Child {
        pid_t pid = -1;
        int files[4] = {-1, -1, -1, -1};  // standard output, standard error, report entry, result
        bool done = false;
    };

    static int AnonymousFile() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/vivo-job-XXXXXX";
        const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd < 0) throw Failure("cannot make a file for a job's output: " + std::string(std::strerror(errno)));
        ::unlink(pattern.c_str());
        return fd;
    }

    static void CopyAll(int fd, const TextSink& sink) {
        char buffer[65536];
        ::lseek(fd, 0, SEEK_SET);
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            sink(std::string_view(buffer, static_cast<std::size_t>(got)));
        }
    }

    [[noreturn]] void RunChild(std::size_t index, const Child& child) {
        ::fflush(stdout);
        const int null = ::open("/dev/null", O_RDONLY);
        ::dup2(null, STDIN_FILENO);
        ::dup2(child.files[0], STDOUT_FILENO);
        ::dup2(child.files[1], STDERR_FILENO);
        int code = 0;
        try {
            const int entryFile = child.files[2];
            report_ = args_.report.empty()
                          ? nullptr
                          : std::make_unique<ReportWriter>(
                                [entryFile](std::string_view bytes) {
                                    while (!bytes.empty()) {
                                        const ssize_t written = ::write(entryFile, bytes.data(), bytes.size());
                                        if (written < 0 && errno == EINTR) continue;
                                        if (written <= 0) throw Failure("cannot write a job's report entry");
                                        bytes.remove_prefix(static_cast<std::size_t>(written));
                                    }
                                },
                                index);
            progress_ = std::make_unique<Progress>(plans_.size(), 0, false);
            const ProjectResult result = RunOne(index, nullptr, false);
            if (report_) report_->Flush();
            Json status = {{"result", result.result}, {"error", result.error}, {"exitCode", result.exitCode},
                           {"counts", Json::array()}, {"latin1", report_ ? report_->latin1() : std::vector<std::string>{}}};
            for (std::size_t count : result.counts.items) status["counts"].push_back(count);
            status["counts"].push_back(result.counts.attention);
            const std::string text = status.dump();
            if (::write(child.files[3], text.data(), text.size()) != static_cast<ssize_t>(text.size())) code = 2;
            FlushOut();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "vivo: %s\n", error.what());
            code = 2;
        }
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(code);
    }

    std::vector<ProjectResult> RunInProcesses() {
        std::vector<Child> children(plans_.size());
        std::vector<ProjectResult> results(plans_.size());
        std::size_t next = 0, shown = 0, running = 0, finished = 0;
        host_.Unload();
        while (shown < plans_.size()) {
            while (running < static_cast<std::size_t>(args_.jobs) && next < plans_.size()) {
                Child& child = children[next];
                for (int& fd : child.files) fd = AnonymousFile();
                FlushOut();
                std::fflush(stderr);
                child.pid = ::fork();
                if (child.pid < 0) throw Failure("cannot start a job: " + std::string(std::strerror(errno)));
                if (child.pid == 0) RunChild(next, child);
                ++next;
                ++running;
            }
            int status = 0;
            const pid_t pid = ::waitpid(-1, &status, 0);
            if (pid < 0) {
                if (errno == EINTR) continue;
                throw Failure("cannot wait for a job: " + std::string(std::strerror(errno)));
            }
            for (std::size_t i = 0; i < children.size(); ++i) {
                if (children[i].pid != pid) continue;
                children[i].done = true;
                --running;
                ++finished;
                results[i] = Collect(children[i], status);
            }
            std::size_t done = 0;
            for (std::size_t i = 0; i < children.size(); ++i) done += children[i].done ? plans_[i].size : 0;
            if (next < plans_.size()) progress_->Show(finished + 1, plans_[next].file, done);
            while (shown < plans_.size() && children[shown].done) {
                Replay(shown, children[shown], results[shown]);
                ++shown;
            }
        }
        return results;
    }

    ProjectResult Collect(const Child& child, int status) {
        ProjectResult result;
        try {
            std::string text;
            CopyAll(child.files[3], [&](std::string_view part) { text.append(part); });
            const Json parsed = Json::parse(text);
            result.result = parsed["result"];
            result.error = parsed["error"];
            result.exitCode = parsed["exitCode"];
            for (int s = 0; s < kItemStatusCount; ++s) result.counts.items[s] = parsed["counts"][s];
            result.counts.attention = parsed["counts"][kItemStatusCount];
            result.latin1 = parsed["latin1"].get<std::vector<std::string>>();
        } catch (const std::exception&) {
            result.result = "failed";
            result.error = WIFSIGNALED(status) ? "the job ended with signal " + std::to_string(WTERMSIG(status))
                                               : "the job ended without a result";
            result.exitCode = kExitFailure;
        }
        return result;
    }

    void Replay(std::size_t index, Child& child, const ProjectResult& result) {
        progress_->Clear();
        CopyAll(child.files[0], [](std::string_view text) { Out(text); });
        FlushOut();
        CopyAll(child.files[1], [](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); });
        std::fflush(stderr);
        if (report_) {
            if (::lseek(child.files[2], 0, SEEK_END) > 0)
                report_->AddEntry([&](const TextSink& sink) { CopyAll(child.files[2], sink); }, result.counts,
                                  result.result == "failed" || result.result == "cancelled", result.latin1);
            else
                report_->AddFailure(plans_[index].file, result.result, result.error);
        }
        for (int& fd : child.files) {
            ::close(fd);
            fd = -1;
        }
    }

    // The closing table: counts first, so that long paths do not push them apart; "changed" counts
    // the changed, renamed and moved items.
    void PrintTable(const std::vector<ProjectResult>& results) {
        const char* row = "%6s %8s %8s %6s %10s  %-10s %s\n";
        const char* counts = "%6zu %8zu %8zu %6zu %10zu  %-10s %s\n";
        OutF(row, "kept", "changed", "dropped", "added", "attention", "result", "project");
        MigrationCounts totals;
        std::size_t failed = 0;
        for (std::size_t i = 0; i < plans_.size(); ++i) {
            const ProjectResult& r = results[i];
            const std::size_t* c = r.counts.items;
            if (r.result == "converted" || r.result == "dry run") {
                totals += r.counts;
                OutF(counts, c[0], c[1] + c[2] + c[3], c[4], c[5], r.counts.attention, r.result.c_str(),
                     plans_[i].file.c_str());
            } else {
                ++failed;
                OutF(row, "-", "-", "-", "-", "-", r.result.c_str(), (plans_[i].file + " (" + r.error + ")").c_str());
            }
        }
        const std::size_t* c = totals.items;
        const std::string all = std::to_string(plans_.size()) + " projects" +
                                (failed > 0 ? ", " + std::to_string(failed) + " not converted" : std::string());
        OutF(counts, c[0], c[1] + c[2] + c[3], c[4], c[5], totals.attention, "total", all.c_str());
    }

    Host& host_;
    const ChangeArguments& args_;
    std::vector<Plan> plans_;
    std::unique_ptr<ReportWriter> report_;
    std::unique_ptr<Progress> progress_;
};

}  // namespace

void AddChangeCommand(CLI::App& app, Host& host) {
    auto args = std::make_shared<ChangeArguments>();
    CLI::App* command = app.add_subcommand("change", "moves project files to a KZ toolchain version");
    command->add_option("projects", args->projects, "project files (.vivo), or folders: every project file below")
        ->required()
        ->type_name("PROJECT|DIR");
    command->add_option("--to", args->to, "the KZ toolchain version to move to")->required()->type_name("VERSION");
    command->add_option("--output", args->output,
                        "the converted project (default: PROJECT's name + .kz-VERSION, beside it); one project only")
        ->type_name("FILE");
    command->add_option("--report", args->report, "also write a JSON migration report there")->type_name("FILE.json");
    command->add_flag("--dry-run", args->dryRun,
                      "print item by item what would change and write nothing (but the --report)");
    command->add_flag("--verbose", args->verbose, "with --dry-run, list the kept items too");
    command->add_flag("--force", args->force, "overwrite an existing converted project");
    command->add_option("--jobs", args->jobs,
                        "convert up to N projects side by side, each in its own process (their report "
                        "dialogs are not shown: each is confirmed as it stands)")
        ->type_name("N")
        ->check(CLI::Range(1, 256));
    std::string versions;
    for (const std::string& version : KzVersions()) versions += (versions.empty() ? "" : ", ") + version;
    command->footer(
        "KZ versions: " + versions +
        ". A KZ project can go to any other of them (up or down); Pexa V5.45 and V6.00, Lumo V6 and V7 and "
        "Tessaro V9.04 projects go to 1.01.00. The plug-in's TC.ini beside it decides.\n"
        "A project's converted file and Upgrade.txt (when the report dialog is confirmed with its box ticked) "
        "appear together at the end of its change, or not at all. Several projects in one folder get "
        "<name>.Upgrade.txt each. What needs attention is listed at the end (standard error for a change, "
        "the dry run's text otherwise).\n"
        "Exit status: 0 converted and nothing needs attention, 1 something needs attention, 2 a project "
        "failed (or bad usage), 130 cancelled or interrupted.");
    command->callback([&host, args] {
        host.run = [&host, args] { return ChangeRun(host, *args).Run(); };
    });
}

}  // namespace vivo::host
