#include "convert_command.h"

#include "conversion_plan.h"
#include "conversion_run.h"
#include "dialog_texts.h"
#include "file_system_path.h"
#include "outcome_message.h"
#include "output_file.h"

#include <filesystem>
#include <new>
#include <system_error>
#include <utility>

namespace velkaro::dialog {
namespace {

[[nodiscard]] std::vector<ConversionRequest>
requestsFor(const SourceSelection &selection, const std::optional<std::string> &formatItemText) {
    std::vector<ConversionRequest> requests;
    for (const SourceFile &file : selection.files()) {
        ConversionRequest request;
        request.sourcePath = file.path;
        request.sourceFileName = file.name;
        request.formatItemText = formatItemText;
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

// The bare name of a request's output, as the user knows it.
[[nodiscard]] std::string outputNameOf(const ConversionRequest &request) {
    const std::optional<TargetFormat> format =
        targetFormatFromItemText(request.formatItemText.value_or(std::string()));
    return format ? makeOutputFileName(request.sourceFileName, *format) : std::string();
}

} // namespace

Question replaceQuestion(const std::vector<std::string> &existingOutputNames,
                         const NameDecoder &decode) {
    Question question{{}, {}, std::string(kReplaceText), std::string(kCancelText)};
    if (existingOutputNames.size() == 1) {
        question.text =
            "转换文件 " + decode(existingOutputNames.front()) + " 已存在。\n要替换它吗?";
        return question;
    }
    question.text = "下列转换文件已存在:";
    for (const std::string &name : existingOutputNames) {
        question.text += "\n" + decode(name);
    }
    question.text += "\n要替换它们吗?";
    return question;
}

ConvertCommand::ConvertCommand(DialogHost &host, NameDecoder decode)
    : m_host(host), m_decode(std::move(decode)) {}

void ConvertCommand::run(const SourceSelection &selection,
                         const std::optional<std::string> &formatItemText) {
    try {
        convert(selection, formatItemText);
    } catch (const std::bad_alloc &) {
        // Planning and collecting results allocate; the core itself never throws.
        m_host.showMessage({"内存不足，无法转换。", {}, MessageIcon::Warning});
    }
}

void ConvertCommand::convert(const SourceSelection &selection,
                             const std::optional<std::string> &formatItemText) {
    // The core's own checks and words first: no file before no format.
    ConversionRequest first;
    first.sourcePath = selection.sourcePath();
    first.formatItemText = formatItemText;
    if (const std::optional<ConversionOutcome> check = checkRequest(first)) {
        m_host.showMessage(outcomeMessage(*check, m_decode));
        return;
    }
    const std::vector<PlannedConversion> plan =
        planConversions(requestsFor(selection, formatItemText));
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
            taken.push_back(outputNameOf(planned.request));
        }
    }
    return taken.empty() || m_host.ask(replaceQuestion(taken, m_decode)) == Answer::Replace;
}

} // namespace velkaro::dialog
