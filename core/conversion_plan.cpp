#include "conversion_plan.h"

#include "file_identity.h"
#include "file_names.h"

#include <unordered_map>

namespace velkaro {
namespace {

using Kind = ConversionOutcome::Kind;

[[nodiscard]] ConversionOutcome refusal(Kind kind, const ConversionRequest &request,
                                        const std::string &outputFileName,
                                        const std::string &conflictingSource) {
    ConversionOutcome result(kind);
    result.sourcePath = request.sourcePath;
    result.outputFileName = outputFileName;
    result.conflictingSource = conflictingSource;
    return result;
}

// What the run has planned so far: every source's location, and the first conversion that
// writes each output location.
struct RunPlanner {
    std::vector<std::string> sourceKeys;                  // by request, empty without a source
    std::unordered_map<std::string, std::size_t> sources; // the first request of each source
    std::unordered_map<std::string, std::size_t> writers;

    explicit RunPlanner(const std::vector<ConversionRequest> &requests) {
        sourceKeys.reserve(requests.size());
        for (const ConversionRequest &request : requests) {
            sourceKeys.push_back(request.sourcePath.empty() ? std::string()
                                                            : locationKey(request.sourcePath));
            sources.emplace(sourceKeys.back(), sourceKeys.size() - 1);
        }
    }

    [[nodiscard]] std::optional<ConversionOutcome>
    conflict(const std::vector<ConversionRequest> &requests, std::size_t index,
             const std::string &outputPath, const std::string &outputFileName) {
        const std::string key = locationKey(outputPath);
        if (key != sourceKeys[index]) {
            if (const auto source = sources.find(key); source != sources.end()) {
                return refusal(Kind::OutputIsSource, requests[index], outputFileName,
                               requests[source->second].sourcePath);
            }
        }
        const auto [writer, first] = writers.emplace(key, index);
        if (!first) {
            return refusal(Kind::DuplicateOutput, requests[index], outputFileName,
                           requests[writer->second].sourcePath);
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
        PlannedConversion &planned = plan.emplace_back(PlannedConversion{requests[i], {}, {}, {}});
        planned.refusal = checkRequest(planned.request);
        if (planned.refusal) {
            continue;
        }
        planned.outputFileName =
            makeOutputFileName(planned.request.sourceFileName, *planned.request.format);
        planned.outputPath = joinPath(planned.request.outputFolder, planned.outputFileName);
        planned.refusal = planner.conflict(requests, i, planned.outputPath, planned.outputFileName);
    }
    return plan;
}

} // namespace velkaro
