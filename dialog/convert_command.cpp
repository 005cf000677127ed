#include "convert_command.h"

#include "conversion_plan.h"
#include "conversion_run.h"
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
                                                        std::optional<TargetFormat> format) {
    std::vector<ConversionRequest> requests;
    for (const SourceFile &file : selection.files()) {
        ConversionRequest request;
        request.sourcePath = file.path;
        request.sourceFileName = file.name;
        request.format = format;
        request.outputFolder = file.folder;
        requests.push_back(std::move(request));
    }
    return requests;
}

// A file at the output's name, or a link (even a dangling one), is something the user may lose.
// A folder there is not: no output can replace it, and the core says so.
[[nodiscard]] bool isTaken(const std::string &path) {
    namespace fs = std::filesystem;
    const fs::path name = toFileSystemPath(path);
    std::error_code error;
    const fs::file_status link = fs::symlink_status(name, error);
    if (error || link.type() == fs::file_type::not_found) {
        return false;
    }
    return !fs::is_directory(fs::status(name, error));
}

} // namespace

Question replaceQuestion(const std::vector<std::string> &existingOutputNames,
                         const NameDecoder &decode) {
    return {wording::replaceQuestionText(existingOutputNames, decode), {}, wording::replaceText(),
            wording::cancelText()};
}

ConvertCommand::ConvertCommand(DialogHost &host, NameDecoder decode)
    : m_host(host), m_decode(std::move(decode)) {}

void ConvertCommand::run(const SourceSelection &selection, std::optional<TargetFormat> format) {
    try {
        convert(selection, format);
    } catch (const std::bad_alloc &) {
        // Planning and collecting results allocate; the core itself never throws.
        m_host.showMessage({wording::outOfMemoryText(), {}, MessageIcon::Warning});
    }
}

void ConvertCommand::convert(const SourceSelection &selection,
                             std::optional<TargetFormat> format) {
    // The core's own checks first: no file before no format.
    ConversionRequest first;
    first.sourcePath = selection.sourcePath();
    first.format = format;
    if (const std::optional<ConversionOutcome> check = checkRequest(first)) {
        m_host.showMessage(outcomeMessage(*check, m_decode));
        return;
    }
    const std::vector<PlannedConversion> plan =
        planConversions(requestsFor(selection, format));
    if (!mayReplaceExistingOutputs(plan)) {
        return;
    }
    std::vector<BatchResult> results;
    for (const PlannedConversion &planned : plan) {
        results.push_back({planned.request.sourceFileName,
                           planned.refusal ? *planned.refusal : runConversion(planned.request)});
    }
    m_host.showMessage(results.size() == 1 ? outcomeMessage(results.front().outcome, m_decode)
                                           : batchSummaryMessage(results, m_decode));
}

// Only outputs that will be written count; a refused conversion touches nothing.
bool ConvertCommand::mayReplaceExistingOutputs(const std::vector<PlannedConversion> &plan) {
    std::vector<std::string> taken;
    for (const PlannedConversion &planned : plan) {
        if (!planned.refusal && isTaken(planned.outputPath)) {
            taken.push_back(planned.outputFileName);
        }
    }
    return taken.empty() || m_host.ask(replaceQuestion(taken, m_decode)) == Answer::Replace;
}

} // namespace velkaro::dialog
