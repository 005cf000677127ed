#include "convert_command.h"

#include "conversion_run.h"
#include "existing_output.h"
#include "file_names.h"
#include "file_system_path.h"
#include "outcome_message.h"
#include "outcome_text.h"
#include "question_text.h"

#include <filesystem>
#include <new>
#include <system_error>
#include <utility>

namespace velkaro::dialog {
namespace {

[[nodiscard]] std::vector<ConversionRequest> requestsFor(const SourceSelection &selection,
                                                         std::optional<TargetFormat> format,
                                                         const WindowSettings &settings) {
    std::vector<ConversionRequest> requests;
    for (const SourceFile &file : selection.files()) {
        ConversionRequest request;
        request.sourcePath = file.path;
        request.sourceFileName = file.name;
        request.format = format;
        request.options = settings.options;
        request.outputFolder =
            settings.outputPlace == OutputPlace::Folder ? settings.outputFolder : file.folder;
        requests.push_back(std::move(request));
    }
    return requests;
}

[[nodiscard]] std::uint64_t sizeOf(const std::string &path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(toFileSystemPath(path), error);
    return error ? 0 : static_cast<std::uint64_t>(size);
}

// A conversion refused before it ran, as the core would have ended it.
[[nodiscard]] ConversionOutcome refused(const PlannedConversion &planned, FileFailure failure) {
    ConversionOutcome outcome(ConversionOutcome::Kind::OutputCreateFailed);
    outcome.sourcePath = planned.request.sourcePath;
    outcome.outputFileName = planned.outputFileName;
    outcome.failure = std::move(failure);
    return outcome;
}

} // namespace

Question replaceQuestion(const std::vector<wording::ExistingName> &existing,
                         const NameDecoder &decode) {
    return {wording::replaceQuestionText(existing, decode),
            {},
            wording::replaceText(),
            wording::cancelText()};
}

ConvertCommand::ConvertCommand(DialogHost &host, NameDecoder decode)
    : m_host(host), m_decode(std::move(decode)) {}

void ConvertCommand::run(const SourceSelection &selection, std::optional<TargetFormat> format,
                         const WindowSettings &settings) {
    try {
        convert(selection, format, settings);
    } catch (const std::bad_alloc &) {
        // Planning and collecting results allocate; the core itself never throws.
        m_host.showMessage({wording::outOfMemoryText(), {}, MessageIcon::Warning});
    }
}

void ConvertCommand::convert(const SourceSelection &selection, std::optional<TargetFormat> format,
                             const WindowSettings &settings) {
    // The core's own checks first: no file before no format.
    ConversionRequest first;
    first.sourcePath = selection.sourcePath();
    first.format = format;
    first.options = settings.options;
    if (const std::optional<ConversionOutcome> check = checkRequest(first)) {
        m_host.showMessage(outcomeMessage(*check, m_decode));
        return;
    }
    std::vector<PlannedConversion> plan = planConversions(requestsFor(selection, format, settings));
    if (!mayReplaceExistingOutputs(plan)) {
        return;
    }
    showOutcome(runAll(plan));
}

// Only outputs that will be written count; a refused conversion touches nothing. An output that
// cannot be replaced (read-only, a folder or device at its name) is never offered: asking would
// only lead to a failure.
bool ConvertCommand::mayReplaceExistingOutputs(std::vector<PlannedConversion> &plan) {
    std::vector<wording::ExistingName> taken;
    for (PlannedConversion &planned : plan) {
        if (planned.refusal) {
            continue;
        }
        const std::optional<ExistingOutput> existing =
            inspectExistingOutput(planned.request.outputFolder, planned.outputFileName);
        if (existing && existing->refusal) {
            planned.refusal = refused(planned, *existing->refusal);
        } else if (existing) {
            taken.push_back({planned.outputFileName, existing->modifiedSeconds});
        }
    }
    return taken.empty() || m_host.ask(replaceQuestion(taken, m_decode)) == Answer::Replace;
}

// The conversions run off the window's thread; a cancel request stops the one running and the
// ones after it, which end Cancelled without touching a file.
std::vector<BatchResult> ConvertCommand::runAll(const std::vector<PlannedConversion> &plan) {
    WorkProgress progress;
    for (const PlannedConversion &planned : plan) {
        progress.sourceNames.push_back(planned.request.sourceFileName);
        progress.totalBytes += planned.refusal ? 0 : sizeOf(planned.request.sourcePath);
    }
    std::vector<BatchResult> results;
    results.reserve(plan.size());
    m_host.runWork(
        [&] {
            for (std::size_t i = 0; i < plan.size(); ++i) {
                progress.current = i;
                ConversionRequest request = plan[i].request;
                request.progress = &progress.conversion;
                results.push_back({request.sourceFileName,
                                   plan[i].refusal ? *plan[i].refusal : runConversion(request)});
            }
        },
        progress);
    return results;
}

void ConvertCommand::showOutcome(const std::vector<BatchResult> &results) {
    if (needsResultDialog(results)) {
        m_host.showResults(resultReport(results, m_decode));
        return;
    }
    Message message = outcomeMessage(results.front().outcome, m_decode);
    const std::string folder =
        splitPath(results.front().outcome.outputPath, kNativePathStyle).folder;
    message.text += "\n" + wording::savedInText(folder, m_decode);
    m_host.showMessage(message);
}

} // namespace velkaro::dialog
