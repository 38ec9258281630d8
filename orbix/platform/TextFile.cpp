#include "orbix/platform/TextFile.h"

#include "orbix/model/modCommon.h"
#include "orbix/platform/FileNames.h"
#include "orbix/platform/FileOutput.h"

namespace orbix {

bool WriteTextFile(const QString& path, const std::string& text) {
    std::string bytes;
    if (!modCommon::EncodeAnsi(text + "\r\n", bytes)) return false;
    return ReplaceFile(FileNameBytes(path), bytes) == 0;
}

}  // namespace orbix
