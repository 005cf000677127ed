#include "convert_bytes.h"

#include "outcome_printer.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace velkaro::test {

std::string convertBytes(std::string_view source, TargetFormat format,
                         const ConversionOptions &options) {
    const TempDir dir;
    ConversionRequest request;
    request.sourcePath = dir.file("pts.txt");
    request.sourceFileName = "pts.txt";
    request.format = format;
    request.outputFolder = dir.folder();
    request.options = options;
    writeBytes(request.sourcePath, source);
    const ConversionOutcome outcome = runConversion(request);
    EXPECT_EQ(outcome.kind, ConversionOutcome::Kind::Converted) << outcome;
    return outcome.kind == ConversionOutcome::Kind::Converted ? readBytes(outcome.outputPath) : "";
}

} // namespace velkaro::test
