#pragma once

#include "layer_files.h"
#include "point_layer_writer.h"

#include <string>

namespace velkaro::gis {

// A layer writer whose output is a LayerFiles: what a run asks of the files after finish(),
// answered once for every format. The output's path is the main file's, the first one added.
class LayerFilesWriter : public PointLayerWriter {
  public:
    [[nodiscard]] FileFailure failure() const override { return files().failure(); }
    [[nodiscard]] bool failedCommitting() const override { return files().failedCommitting(); }
    [[nodiscard]] std::string folderToSync() const override { return files().folderToSync(); }
    [[nodiscard]] std::string outputPath() const override { return files().path(0); }

  protected:
    [[nodiscard]] virtual const LayerFiles &files() const = 0;
};

} // namespace velkaro::gis
