#include "conversion_plan.h"

#include "file_identity.h"
#include "output_file.h"

#include <unordered_map>
#include <unordered_set>

namespace velkaro {
namespace {

using Kind = ConversionOutcome::Kind;

[[nodiscard]] ConversionOutcome refusal(Kind kind, std::string message,
                                        const std::string &outputFileName) {
    ConversionOutcome result;
    result.kind = kind;
    result.outputFileName = outputFileName;
    result.message = std::move(message);
    return result;
}

// What the run has planned so far: every source's location, and the first conversion that
// writes each output location.
struct RunPlanner {
    std::vector<std::string> sourceKeys; // by request, empty without a source
    std::unordered_set<std::string> sources;
    std::unordered_map<std::string, std::size_t> writers;

    explicit RunPlanner(const std::vector<ConversionRequest> &requests) {
        sourceKeys.reserve(requests.size());
        for (const ConversionRequest &request : requests) {
            sourceKeys.push_back(request.sourcePath.empty() ? std::string()
                                                            : locationKey(request.sourcePath));
            sources.insert(sourceKeys.back());
        }
    }

    [[nodiscard]] std::optional<ConversionOutcome>
    conflict(const std::vector<ConversionRequest> &requests, std::size_t index,
             const std::string &outputPath, const std::string &outputFileName) {
        const std::string key = locationKey(outputPath);
        if (key != sourceKeys[index] && sources.count(key) != 0) {
            return refusal(Kind::OutputIsSource,
                           "转换文件是本次转换的源文件，不能覆盖:" + outputFileName,
                           outputFileName);
        }
        const auto [writer, first] = writers.emplace(key, index);
        if (!first) {
            return refusal(Kind::DuplicateOutput,
                           "转换文件已由前面的源文件生成:" + requests[writer->second].sourcePath,
                           outputFileName);
        }
        return std::nullopt;
    }
};

} // namespace

std::vector<PlannedConversion> planConversions(const std::vector<ConversionRequest> &requests) {
    RunPlanner planner(requests);
    std::vector<PlannedConversion> plan;
    plan.reserve(requests.size());
    for (std::size_t i = 0; i < requests.size(); ++i) {
        PlannedConversion &planned = plan.emplace_back(PlannedConversion{requests[i], {}, {}});
        planned.refusal = checkRequest(planned.request);
        if (planned.refusal) {
            continue;
        }
        const TargetFormat format = *targetFormatFromItemText(*planned.request.formatItemText);
        const std::string name = makeOutputFileName(planned.request.sourceFileName, format);
        planned.outputPath = joinPath(planned.request.outputFolder, name);
        planned.refusal = planner.conflict(requests, i, planned.outputPath, name);
    }
    return plan;
}

} // namespace velkaro
