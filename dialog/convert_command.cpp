#include "convert_command.h"

#include "conversion_run.h"
#include "dialog_texts.h"
#include "file_system_path.h"
#include "outcome_message.h"
#include "output_file.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace velkaro::dialog {
namespace {

[[nodiscard]] std::vector<ConversionRequest> requestsFor(const SourceSelection &selection,
                                                         const std::string &formatItemText) {
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

[[nodiscard]] ConvertCommand::PlannedOutput outputOf(const ConversionRequest &request,
                                                     TargetFormat format) {
    std::string name = makeOutputFileName(request.sourceFileName, format);
    return {joinPath(request.outputFolder, name), name};
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
    const std::optional<TargetFormat> format =
        formatItemText ? targetFormatFromItemText(*formatItemText) : std::nullopt;
    if (selection.files().empty() || !format) {
        // The core's own checks and words: no file before no format.
        ConversionRequest check;
        check.sourcePath = selection.sourcePath();
        m_host.showMessage(outcomeMessage(runConversion(check), {}, m_decode));
        return;
    }
    const std::vector<ConversionRequest> requests = requestsFor(selection, *formatItemText);
    std::vector<ConvertCommand::PlannedOutput> outputs;
    for (const ConversionRequest &request : requests) {
        outputs.push_back(outputOf(request, *format));
    }
    if (!mayReplaceExistingOutputs(outputs)) {
        return;
    }
    std::vector<BatchResult> results;
    for (const ConversionRequest &request : requests) {
        results.push_back({request.sourceFileName, runConversion(request)});
    }
    m_host.showMessage(results.size() == 1 ? outcomeMessage(results.front().outcome,
                                                            results.front().sourceName, m_decode)
                                           : batchSummaryMessage(results, m_decode));
}

bool ConvertCommand::mayReplaceExistingOutputs(const std::vector<PlannedOutput> &outputs) {
    std::vector<std::string> taken;
    for (const PlannedOutput &output : outputs) {
        if (isTaken(output.path)) {
            taken.push_back(output.name);
        }
    }
    return taken.empty() || m_host.ask(replaceQuestion(taken, m_decode)) == Answer::Replace;
}

} // namespace velkaro::dialog
